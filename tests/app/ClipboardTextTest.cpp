// Text and comma-separated forms of the views for the clipboard.
#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/ClipboardText.h"
#include "app/FamilyRows.h"
#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "model/DescendantIterator.h"
#include "model/Options.h"
#include "model/WaitHooks.h"
#include "platform/Hooks.h"
#include "support/MemCollection.h"
#include "support/TestFiles.h"

using namespace ClipText;

namespace {

struct ClipboardText : ::testing::Test {
    WDefaultSettings settings;
    WMemCollection c;
    void SetUp() override { WOptions::SetBool(opt::FNValueFlag, false); }
    void TearDown() override { plat::resetHooks(); }
};

} // namespace

TEST_F(ClipboardText, PiecesPadQuoteAndLabel) {
    std::string b;
    WritePaddedField("abcdefghijkl", 50 / 5, b); // 9-character cell, 8 of text
    WritePaddedField("ab", 4, b);
    WritePaddedField("zz", 1, b); // no room at all
    EXPECT_EQ(b, "abcdefgh ab ");
    b.clear();
    WritePaddedField(std::string(100000, 'x'), 7, b); // a long name stays in its cell
    EXPECT_EQ(b, "xxxxx ");

    EXPECT_EQ(QuoteCSV("Say \"hi\", Bob"), "\"Say \"\"hi\"\", Bob\"");
    EXPECT_EQ(QuoteCSV(""), "\"\"");

    b.clear();
    WriteLabelledLine("Birth:  ", " , ", b);
    WriteLabelledLine("Birth:  ", "", b);
    WriteLabelledLine("Death:  ", "1970, Rome", b);
    EXPECT_EQ(b, "Birth:  \r\nBirth:   \r\nDeath:   1970, Rome\r\n");
    EXPECT_EQ(BareFileName("C:\\dir\\a.ged"), "a.ged");
    EXPECT_EQ(BareFileName("/tmp/x/qel1.tmp"), "qel1.tmp");
}

TEST_F(ClipboardText, FamilyUnknownSexWithoutSpouseIsTheWife) {
    auto u = c.AddPerson("Pat /Doe/", 'U').Birth("", "");
    const std::int32_t dad = c.AddPerson("Old /Doe/", 'M');
    c.AddFamily(dad, 0).Child(u);
    WFamilySubject s;
    ASSERT_TRUE(s.Take(&c, u));
    const std::string empty = "Name:    \r\nBirth:   \r\nChr:     \r\nDeath:   \r\nBurial:  \r\n";
    EXPECT_EQ(FamilyViewText(c, s), "FAMILY GROUP\r\n\r\nHUSBAND\r\n" + empty +
                                        "Father:  \r\nMother:  \r\n\r\nWIFE\r\n"
                                        "Name:    Pat /Doe/\r\nBirth:  \r\nChr:     \r\nDeath:   \r\nBurial:  \r\n"
                                        "Father:  Old /Doe/\r\nMother:  \r\n");
    WFamilySubject none;
    EXPECT_EQ(FamilyViewText(c, none), "");
}

TEST_F(ClipboardText, FamilyWithChildrenAndPedigreeChart) {
    auto john = c.AddPerson("John /Smith/", 'M').Birth("1900", "Boston");
    auto mary = c.AddPerson("Mary /Jones/", 'F');
    auto tom = c.AddPerson("Tom /Smith/", 'M').Birth("1926");
    c.AddFamily(john, mary).Marriage("1925", "Boston").Child(tom);
    const std::int32_t gf = c.AddPerson("Granddad /Smith/ " + std::string(60, 'Q'), 'M');
    c.AddFamily(gf, 0).Child(john);

    WFamilySubject s;
    ASSERT_TRUE(s.Take(&c, mary)); // F subject: the spouse is the husband
    const std::string text = FamilyViewText(c, s);
    EXPECT_NE(text.find("HUSBAND\r\nName:    John /Smith/\r\nBirth:   1900, Boston\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\r\nWIFE\r\nName:    Mary /Jones/\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nChild 1\r\nName:    Tom /Smith/\r\nSex:     M\r\nBirth:   1926, \r\n"), std::string::npos);
    EXPECT_EQ(text.find("Sex:     F"), std::string::npos); // spouses have no sex line

    ASSERT_TRUE(s.Take(&c, tom));
    const std::string chart = PedigreeViewText(c, s);
    std::vector<std::string> lines;
    std::stringstream ss(chart);
    for (std::string l; std::getline(ss, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[0], "PEDIGREE CHART\r");
    EXPECT_EQ(lines[12], "Tom /Smith/\r");
    EXPECT_EQ(lines[13], "b. 1926,\r");
    EXPECT_EQ(lines[5], std::string(9, ' ') + "John /Smith/\r");
    EXPECT_EQ(lines[8], std::string(9, ' ') + "m. 1925, Boston\r");
    EXPECT_EQ(lines[20], std::string(9, ' ') + "Mary /Jones/\r");
    // A grandparent's long name stops at column 79.
    EXPECT_EQ(lines[1], std::string(43, ' ') + ("Granddad /Smith/ " + std::string(60, 'Q')).substr(0, 36) + "\r");
    EXPECT_EQ(lines[27], "\r"); // no spouse box
}

TEST_F(ClipboardText, DescendantListWithSeveralMarriages) {
    auto john = c.AddPerson("John /Smith/", 'M');
    auto ann = c.AddPerson("Ann /A/", 'F');
    auto bea = c.AddPerson("Bea /B/", 'F');
    auto tom = c.AddPerson("Tom /Smith/", 'M');
    c.AddFamily(john, ann).Child(tom);
    c.AddFamily(john, bea);
    WDesIterator it;
    it.SetCollection(&c);
    ASSERT_TRUE(it.Build(john, 10, true));
    int waits = 0;
    WaitHooks::handlers().show = [&](const std::string& m, bool, bool) { waits += m == "Copying to clipboard"; };
    EXPECT_EQ(DescendantsViewText(c, it), "DESCENDANT LIST\r\n\r\n"
                                          "1 - John /Smith/ + Ann /A/ [1 of 2]\r\n"
                                          "  2 - Tom /Smith/\r\n"
                                          "1 - John /Smith/ + Bea /B/ [2 of 2]\r\n");
    EXPECT_EQ(waits, 1);
    WaitHooks::reset();
}

TEST_F(ClipboardText, ListFixedAndCommaSeparated) {
    c.AddPerson("Jo \"Red\", Jr /Smith/", 'M');
    for (int i = 0; i < 59; ++i) c.AddPerson("P" + std::to_string(i) + " /X/", 'F');
    WListColumns cols(&c, "ClipTestList");
    cols.SetColumnList("6,9");
    cols.SetColumnWidth(1, 50);
    cols.SetColumnWidth(2, 25);
    WColSortIterator it("", 0, &c);
    int pumps = 0;
    plat::hooks().processMessages = [&] { ++pumps; };

    EXPECT_FALSE(ListViewText(cols, it, 99).has_value());
    const auto fixed = ListViewText(cols, it, kFixed);
    ASSERT_TRUE(fixed);
    const std::string head = "Full Nam Sex \r\nJo \"Red\" M   \r\nP0 /X/   F   \r\n";
    EXPECT_EQ(fixed->substr(0, head.size()), head);
    EXPECT_EQ(pumps, 2); // every 25th of 60 rows

    const auto csv = ListViewText(cols, it, kCSV);
    ASSERT_TRUE(csv);
    const std::string csvHead = "\"Full Name\",\"Sex\"\r\n\"Jo \"\"Red\"\", Jr /Smith/\",\"M\"\r\n";
    EXPECT_EQ(csv->substr(0, csvHead.size()), csvHead);
    EXPECT_EQ(std::count(csv->begin(), csv->end(), '\n'), 61);
}

TEST_F(ClipboardText, IslandsForms) {
    auto r = IslandsViewText(c, kFixed);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, "ISLANDS\r\n\r\n    #      Ind      Mar     Note   Source 1st Individual\r\n");
    EXPECT_FALSE(IslandsViewText(c, 0).has_value());

    WMemCollection d;
    auto a = d.AddPerson("Al \"Big\" /Q/", 'M');
    d.AddFamily(a, d.AddPerson("Bo /Q/", 'F'));
    r = IslandsViewText(d, kCSV);
    ASSERT_TRUE(r);
    EXPECT_EQ(*r, "\"#\",\"Ind\",\"Mar\",\"Note\",\"Source\",\"1st Individual\"\r\n"
                  "\"1\",\"2\",\"1\",\"0\",\"0\",\"Al \"\"Big\"\" /Q/\"\r\n");
    r = IslandsViewText(d, kFixed);
    EXPECT_NE(r->find("\r\n    1        2        1        0        0 Al \"\"Big\"\" /Q/\r\n"), std::string::npos) << *r;
}

TEST_F(ClipboardText, GeneralGridPage) {
    c.AddPerson("A /B/");
    c.SetSubmitter({"Sub", "L1", "L2", "L3", "UK", "123", "s@x", "0 @S@ SUBM"});
    EXPECT_EQ(
        GeneralViewText(c, "/tmp/dir/qel1.tmp", true),
        "GENERAL INFORMATION\r\n\r\nFILE INFORMATION\r\nFile Name:   qel1.tmp\r\nFile Size:   1 KB\r\n"
        "File Date:   1 Jan 2000\r\nIndividuals: 1\r\nFamilies:    0\r\nNotes:       0\r\nSources:     0\r\n"
        "\r\nHEADER INFORMATION\r\nSource:  memory\r\n\r\nSUBMITTER INFORMATION\r\nName:      Sub\r\n"
        "Address 1: L1\r\nAddress 2: L2\r\nAddress 3: L3\r\nCountry:   UK\r\nPhone:     123\r\nEmail:     s@x\r\n");
    const std::string raw = GeneralViewText(c, "x.ged", false);
    EXPECT_NE(raw.find("HEADER INFORMATION\r\n0 HEAD\r\nSUBMITTER INFORMATION\r\n0 @S@ SUBM"), std::string::npos);
}

TEST_F(ClipboardText, SettingRestoredAndFileSaved) {
    WOptions::SetBool(opt::TMGTagSent, true);
    try {
        WTMGTagSentOff off;
        EXPECT_FALSE(WOptions::GetBool(opt::TMGTagSent));
        SaveTextToFile("/nonexistent-dir-h19/x.csv", "a");
        ADD_FAILURE() << "no error for an unwritable file";
    } catch (const EInOutError& e) {
        EXPECT_NE(std::string(e.what()).find("x.csv"), std::string::npos);
    }
    EXPECT_TRUE(WOptions::GetBool(opt::TMGTagSent));

    const tsupport::TempDir dir("brenthaul-clip");
    const std::string name = dir.file("list.csv");
    SaveTextToFile(name, std::string("\"a\",\"b\"\r\n") + '\0' + "junk");
    SaveTextToFile("", "ignored");
    EXPECT_EQ(tsupport::readFile(name), "\"a\",\"b\"\r\n");
    {
        // A full disk (a file-size limit of one byte here) leaves no part of a new file, and a
        // file it was to replace as it was.
        struct rlimit old {};
        ::getrlimit(RLIMIT_FSIZE, &old);
        const struct rlimit lim = {1, old.rlim_max};
        const auto action = std::signal(SIGXFSZ, SIG_IGN);
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
        EXPECT_THROW(SaveTextToFile(dir.file("full.csv"), "abc"), EInOutError);
        EXPECT_THROW(SaveTextToFile(name, "\"c\",\"d\"\r\n"), EInOutError);
        ::setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, action);
        EXPECT_FALSE(tsupport::fileExists(dir.file("full.csv")));
        EXPECT_EQ(tsupport::readFile(name), "\"a\",\"b\"\r\n");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1); // no working file left
    }
    // The CSV file choice replaces it with the same text that goes to the clipboard,
    // keeping it owner-only (and in its group) as the user had made it.
    ASSERT_EQ(::chmod(name.c_str(), 0600), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(name.c_str(), uid_t(-1), 4321), 0);
    }
    c.AddPerson("Solo /S/");
    const auto csv = IslandsViewText(c, kCSVFile, name);
    ASSERT_TRUE(csv);
    EXPECT_EQ(tsupport::readFile(name), *csv);
    EXPECT_NE(csv->find("\"Solo /S/\""), std::string::npos);
    struct stat st {};
    ASSERT_EQ(::stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    if (root) {
        EXPECT_EQ(st.st_gid, 4321u);
    }
}

TEST_F(ClipboardText, IndividualRowsAndRawRecord) {
    auto p = c.AddPerson("Ann /Lee/", 'F').Birth("1900", "Oslo").Note("Kind");
    p.Data().recordText = "0 @I1@ INDI";
    const std::string text = IndividualViewText(c, nullptr, p, false);
    EXPECT_NE(text.find("\r\nName: Ann /Lee/\r\nSex: Female\r\nModify Date: \r\nBirth: 1900, Oslo"), std::string::npos)
        << text;
    EXPECT_EQ(IndividualViewText(c, nullptr, p, true), "0 @I1@ INDI");
    EXPECT_EQ(IndividualViewText(c, nullptr, 99, false), "");
}
