// Line model of the mapped text: navigation, values, pointers, continuation,
// and the end of the data.
#include <unistd.h>

#include "GedTestUtil.h"
#include "gedcom/GEDTextMMF.h"
#include "model/Date.h"

using gedtest::TempGed;
using gedtest::withEol;

namespace {

// Every line the navigation reaches, as text.
std::vector<std::string> lines(const WGEDTextMMF& f) {
    std::vector<std::string> out;
    for (const char* l = f.Begin(); l; l = f.NextLine(l))
        out.emplace_back(f.LineEnd(l) - l > 0 ? std::string(l, f.LineEnd(l)) : "");
    return out;
}

std::vector<std::string> records(const WGEDTextMMF& f) {
    std::vector<std::string> out;
    for (const char* l = f.NextRecord(f.Begin()); l; l = f.NextRecord(l)) out.emplace_back(l, f.LineEnd(l));
    return out;
}

const char* lineWith(const WGEDTextMMF& f, const std::string& start) {
    for (const char* l = f.Begin(); l; l = f.NextLine(l))
        if (std::string_view(l, std::size_t(f.End() - l)).substr(0, start.size()) == start) return l;
    return nullptr;
}

const std::string kSample =
    "0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME John /Smith/  \n\n   2 GIVN John\n1 BIRT\n2 DATE 1 JAN 1900\n"
    "1 NOTE abc\n2 CONC  def\n2 CONT ghi\n1 ADDR\n2 CONT x\n0 @F1@ FAM\n1 HUSB @I1@\n0 TRLR\n";

} // namespace

TEST(GedText, NavigationIsTheSameForEveryLineEnd) {
    TempGed lf(kSample), crlf(withEol(kSample, "\r\n")), cr(withEol(kSample, "\r"));
    WGEDTextMMF a(lf.path()), b(crlf.path()), c(cr.path());
    EXPECT_TRUE(a.IsLFOnly());
    EXPECT_FALSE(b.IsLFOnly());
    EXPECT_FALSE(c.IsLFOnly());
    auto la = lines(a);
    EXPECT_EQ(la, lines(b));
    EXPECT_EQ(la, lines(c));
    // Empty lines and indentation disappear.
    ASSERT_GE(la.size(), 5u);
    EXPECT_EQ(la[4], "2 GIVN John");
    auto ra = records(a);
    EXPECT_EQ(ra, records(b));
    EXPECT_EQ(ra, records(c));
    EXPECT_EQ(ra, (std::vector<std::string>{"0 @I1@ INDI", "0 @F1@ FAM", "0 TRLR"}));
}

TEST(GedText, ValuesAreTrimmedOfBlanksButKeepTabs) {
    TempGed t("0 HEAD\r\n1 NAME  John\t/Smith/   \r\n0 TRLR\r\n");
    WGEDTextMMF f(t.path());
    const char* l = lineWith(f, "1 NAME");
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(f.GetValue(f.At(l, 6)), "John\t/Smith/");
    EXPECT_EQ(f.GetValue(f.At(l, 7)), "John\t/Smith/");
    EXPECT_EQ(f.GetLineValue(l), "John\t/Smith/");
    EXPECT_EQ(f.GetValue(nullptr), "");
}

TEST(GedText, EmptyValueNeverReadsTheNextLine) {
    for (const char* eol : {"\n", "\r", "\r\n"}) {
        TempGed t(withEol(kSample, eol));
        WGEDTextMMF f(t.path());
        const char* birt = lineWith(f, "1 BIRT");
        const char* addr = lineWith(f, "1 ADDR");
        ASSERT_NE(birt, nullptr);
        EXPECT_EQ(f.GetValue(f.At(birt, 6)), "") << int(eol[0]);
        EXPECT_EQ(f.GetValue(f.At(birt, 7)), "") << int(eol[0]);
        EXPECT_EQ(f.GetLineValue(birt), "");
        // The continuation of an empty first line still follows.
        EXPECT_EQ(f.GetText(f.At(addr, 7)), (std::vector<std::string>{"", "x"}));
    }
}

TEST(GedText, Pointers) {
    TempGed t("0 @I123@ INDI\n1 FAMC   @F7@\n1 X @@\n1 Y @ABC\n1 Z @ABCDEFGHIJKLMNOPQRST@\n1 W @A\n@\n");
    WGEDTextMMF f(t.path());
    EXPECT_EQ(f.GetXREF(f.At(f.Begin(), 2), false).value(), "I123");
    EXPECT_EQ(f.GetXREF(f.At(f.Begin(), 2), true).value(), "123");
    EXPECT_EQ(f.GetXREF(f.At(lineWith(f, "1 FAMC"), 6), false).value(), "F7");
    auto empty = f.GetXREF(f.At(lineWith(f, "1 X"), 4), false);
    ASSERT_TRUE(empty.has_value());
    EXPECT_EQ(*empty, "");
    EXPECT_FALSE(f.GetXREF(f.At(lineWith(f, "1 Y"), 4), false).has_value());
    // The closing sign must stand on the same line.
    EXPECT_FALSE(f.GetXREF(f.At(lineWith(f, "1 W"), 4), false).has_value());
    // Identifiers are kept whole.
    EXPECT_EQ(f.GetXREF(f.At(lineWith(f, "1 Z"), 4), false).value(), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_FALSE(f.GetXREF(nullptr, false).has_value());
}

TEST(GedText, ContinuedText) {
    TempGed t(kSample);
    WGEDTextMMF f(t.path());
    const char* note = lineWith(f, "1 NOTE");
    EXPECT_EQ(f.GetText(f.At(note, 7)), (std::vector<std::string>{"abcdef", "ghi"}));
    EXPECT_TRUE(f.GetText(nullptr).empty());
}

TEST(GedText, RecordTypesAndLevels) {
    TempGed t("0 @I1@ INDI\n0 @F1@ FAMILY\n0 @S1@ SOUR\n0 @N1@ NOTE x\n0 @U1@ SUBM\n0 @B1@ SUBN\n0 @R1@ REPO\n"
              "0 @O1@ OBJE\n0 @X1@ _CUSTOM\n0 @X2@\n0 HEAD\n0 @X3\n12 CONT a\nx1 B\n");
    WGEDTextMMF f(t.path());
    std::vector<int> types;
    for (const char* l = f.Begin(); l && *l == '0'; l = f.NextLine(l)) types.push_back(f.GetRecordType(l));
    EXPECT_EQ(types, (std::vector<int>{0, 1, 5, 3, 7, 6, 4, 2, 7, 7, 8, 8}));
    EXPECT_EQ(f.GetRecordType(nullptr), 8);
    EXPECT_EQ(f.GetLevel(lineWith(f, "12 CONT")), 12);
    EXPECT_EQ(f.GetLevel(lineWith(f, "x1")), 0);
    EXPECT_EQ(f.GetLevel(nullptr), 0);
}

TEST(GedText, DatesAndPlaces) {
    TempGed t("0 @I1@ INDI\n1 BIRT\n2 TYPE x\n2 DATE 1900\n2 PLAC Town\n1 DEAT\n2 DATE 5 MAY 1950\n3 PLAC Deep\n"
              "2 PLAC There\n");
    WGEDTextMMF f(t.path());
    std::unique_ptr<WDate> d;
    // Only the line right after the event is looked at.
    f.GetDate(d, lineWith(f, "1 BIRT"), true);
    EXPECT_EQ(d, nullptr);
    f.GetDate(d, lineWith(f, "2 DATE 1900"), false);
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->GetYear(), 1900);
    f.GetDate(d, lineWith(f, "1 DEAT"), true); // already set: unchanged
    EXPECT_EQ(d->GetYear(), 1900);
    EXPECT_EQ(f.GetPlace(lineWith(f, "1 BIRT")), "Town");
    // The search stops at the first line that is not of level 2.
    EXPECT_EQ(f.GetPlace(lineWith(f, "1 DEAT")), "");
}

TEST(GedText, LastRecordWithoutTrailerRunsToTheEnd) {
    TempGed t("0 HEAD\n0 @I1@ INDI\n1 NAME A /B/\n1 SEX F");
    WGEDTextMMF f(t.path());
    const char* rec = lineWith(f, "0 @I1@");
    EXPECT_EQ(f.GetRecordText(rec), "0 @I1@ INDI\n1 NAME A /B/\n1 SEX F");
    EXPECT_EQ(f.GetRecordText(f.Begin()), "0 HEAD\n");
    EXPECT_EQ(f.GetRecordText(nullptr), "");
}

TEST(GedText, ScansStopAtTheEndOfData) {
    // A file that fills whole pages exactly and ends without a line end: any
    // read past the last byte faults (and the sanitizers see it).
    const long page = sysconf(_SC_PAGESIZE);
    std::string body = "0 @I1@ INDI\n1 NOTE ";
    std::string tail = "\n1 SEX F";
    body.append(std::size_t(page * 2) - body.size() - tail.size(), 'x');
    body += tail;
    ASSERT_EQ(long(body.size()), page * 2);
    TempGed t(body);
    WGEDTextMMF f(t.path());
    const char* sex = lineWith(f, "1 SEX");
    ASSERT_NE(sex, nullptr);
    EXPECT_EQ(f.GetValue(f.At(sex, 6)), "F");
    EXPECT_EQ(f.GetValue(f.At(sex, 7)), "");
    EXPECT_EQ(f.GetLineValue(sex), "F");
    EXPECT_TRUE(f.Tag3Is(sex, "SEX"));
    EXPECT_EQ(f.GetLevel(sex), 1);
    EXPECT_EQ(f.NextLine(sex), nullptr);
    EXPECT_EQ(f.NextRecord(sex), nullptr);
    EXPECT_EQ(f.GetText(f.At(sex, 6)), (std::vector<std::string>{"F"}));
    // Lines cut by the end of the data: record type, tag and value of the last line.
    struct Cut {
        std::string text;
        int type;
        bool chr;
        std::string value;
    };
    for (const Cut& cut :
         {Cut{"0 @I1@ INDI\n1 CHR", 0, true, ""}, Cut{"0 @I1@ INDI\n1 S", 0, false, ""}, Cut{"0 @I1", 8, false, ""},
          Cut{"0 @I1@", 7, false, ""}, Cut{"0 @I1@ INDI\n1 NOTE a b ", 0, false, "a b"}}) {
        TempGed c(cut.text);
        WGEDTextMMF g(c.path());
        const char* last = g.Begin();
        while (const char* n = g.NextLine(last)) last = n;
        EXPECT_EQ(g.GetRecordType(g.Begin()), cut.type) << cut.text;
        EXPECT_EQ(g.Tag3Is(last, "CHR"), cut.chr) << cut.text;
        EXPECT_EQ(g.GetValue(g.At(last, 7)), cut.value) << cut.text;
        EXPECT_EQ(g.GetLineValue(last), last == g.Begin() ? "" : cut.value) << cut.text;
    }
}
