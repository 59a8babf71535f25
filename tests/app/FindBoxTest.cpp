#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>
#include <vector>

#include "app/FindBox.h"
#include "app/FindNextPrev.h"
#include "columns/Attrib.h"
#include "columns/ColSortIterator.h"
#include "columns/ColumnTable.h"
#include "gedcom/GEDCollection.h"
#include "gedcom/GedTestUtil.h"
#include "highlight/FindContext.h"
#include "model/ABSName.h"
#include "model/Global.h"
#include "model/Options.h"
#include "model/StrFunc.h"
#include "platform/CodePage.h"

namespace {

const char* const kFile = "0 HEAD\n1 CHAR ANSI\n"
                          "0 @I1@ INDI\n1 NAME Carl /Zeller/\n"
                          "0 @I2@ INDI\n1 NAME Anna /Smith/\n"
                          "0 @I3@ INDI\n1 NAME John /Smith/\n"
                          "0 @I23@ INDI\n1 NAME Johanna /Brown/\n"
                          "0 @I5@ INDI\n1 NAME Jonas /Adler/\n"
                          "0 @I6@ INDI\n1 NAME Bert /Smith/\n"
                          "0 TRLR\n";

struct FindBoxTest : ::testing::Test {
    void SetUp() override {
        WOptions::Clear();
        WOptions::Load(0);
        file = gedtest::openText(kFile);
        box.SetCollection(file.collection.get());
    }
    void TearDown() override { WOptions::Clear(); }
    gedtest::Opened file;
    WFindBox box;
};

TEST_F(FindBoxTest, IndexAndIdentifierModes) {
    box.SetQuickFindMode(WFindBox::mdIndex);
    EXPECT_EQ(box.TextChanged("5"), 5);
    EXPECT_EQ(box.TextChanged("x5"), 0);
    box.SetQuickFindMode(WFindBox::mdIdentifier);
    // A GEDCOM file puts the letter I before the typed number.
    EXPECT_EQ(box.TextChanged("23"), 4);
    EXPECT_EQ(box.TextChanged("99"), 0);
    EXPECT_EQ(box.SelectedText(4), "23");
    ASSERT_NE(box.Index(WFindBox::mdIdentifier), nullptr);
}

TEST_F(FindBoxTest, SurnameModeFindsFirstMatchOrFallsBackToTheFirstEntry) {
    box.SetQuickFindMode(WFindBox::mdSurname);
    const std::int32_t hit = box.TextChanged("smith, j");
    EXPECT_EQ(hit, 3);
    EXPECT_TRUE(box.NextPrevEnabled());
    EXPECT_GT(box.FindPosition(), 0);
    // Sorted by surname: Adler comes first; no match lands there.
    EXPECT_EQ(box.TextChanged("Quist"), 5);
    EXPECT_EQ(box.FindPosition(), 1);
    EXPECT_EQ(box.TextChanged(""), 0);
    EXPECT_EQ(box.FindPosition(), 0);
    EXPECT_FALSE(box.NextPrevEnabled());
}

TEST_F(FindBoxTest, GivenModeStepsBackToTheFirstMatchingGivenName) {
    box.SetQuickFindMode(WFindBox::mdGiven);
    const std::int32_t hit = box.TextChanged("jo");
    // Johanna, John and Jonas all begin with "Jo"; the first of them in
    // given-name order is Johanna.
    EXPECT_EQ(hit, 4);
    EXPECT_EQ(box.TextChanged("zz"), 0);
    EXPECT_EQ(box.TextChanged("  "), 0); // blanks alone name nobody
    EXPECT_EQ(box.SelectedText(3), "John");
}

TEST_F(FindBoxTest, NothingWithoutACollectionAndIndexesFreedWithTheFile) {
    box.SetQuickFindMode(WFindBox::mdSurname);
    box.TextChanged("smith");
    ASSERT_NE(box.Current(), nullptr);
    box.SetCollection(nullptr);
    EXPECT_EQ(box.Current(), nullptr);
    EXPECT_EQ(box.Index(WFindBox::mdSurname), nullptr);
    EXPECT_EQ(box.TextChanged("smith"), 0);
    EXPECT_EQ(box.SelectedText(1), "");
}

// "Surname, given" finds names whose surname and given names begin with the
// typed parts, over every surname that begins alike; blanks inside the
// slashes or doubled in a name neither hide it nor move it in the order.
TEST(FindNamesByBeginnings, BothPartsAcrossSurnamesAndWhateverTheBlanks) {
    WOptions::Clear();
    WOptions::Load(0);
    // In surname order, which the record numbers follow.
    const char* const names[] = {"Zed /Bak/",          "Abe /Baker/",        "Dora /Baker/",
                                 "Ed /Baker/",         "Dolly /Bakker/",     "Ann /Bakst/",
                                 "Don /Bakst/",        "Lucy / Bartram/",    "Catherine / de Stafford/",
                                 "Thomas /Hernandez/", "Anna  Eva /Hicks /", "Anna Bea /Zed/"};
    std::string text = "0 HEAD\n1 CHAR ANSI\n";
    for (int i = 0; i < 12; ++i) text += "0 @I" + std::to_string(i + 1) + "@ INDI\n1 NAME " + names[i] + "\n";
    gedtest::Opened file = gedtest::openText(text + "0 TRLR\n");
    WFindBox box;
    WFindNextPrev finder{box};
    box.SetCollection(file.collection.get());
    for (int mode : {WFindBox::mdIdentifier, WFindBox::mdSurname, WFindBox::mdGiven, WFindBox::mdCustom})
        box.BuildFindIndex(mode, false);
    WFindSearch dialog({file.collection.get(), box.Index(WFindBox::mdIdentifier), box.Index(WFindBox::mdGiven),
                        box.Index(WFindBox::mdSurname), box.Index(WFindBox::mdCustom)});
    auto step = [&](bool forward) {
        std::int32_t moved = 0;
        auto to = [&](std::int32_t n) { moved = n; };
        forward ? finder.FindNext("Bak, Do", to) : finder.FindPrevious("Bak, Do", to);
        return moved;
    };

    // Dora Baker first; next passes over Ed Baker and Ann Bakst, then wraps.
    box.SetQuickFindMode(WFindBox::mdSurname);
    EXPECT_EQ(box.TextChanged("Bak, Do"), 3);
    std::vector<std::int32_t> walked;
    for (int k = 0; k < 4; ++k) walked.push_back(step(true));
    EXPECT_EQ(walked, (std::vector<std::int32_t>{5, 7, 3, 5}));
    walked.clear();
    for (int k = 0; k < 4; ++k) walked.push_back(step(false));
    EXPECT_EQ(walked, (std::vector<std::int32_t>{3, 7, 5, 3}));
    EXPECT_EQ(box.TextChanged("bakst, d"), 7);
    EXPECT_EQ(box.TextChanged("Bartram"), 8);
    EXPECT_EQ(box.TextChanged("hicks, anna  e"), 11);
    box.SetQuickFindMode(WFindBox::mdGiven);
    EXPECT_EQ(box.TextChanged("Catherine de Staf"), 9);
    EXPECT_EQ(box.TextChanged("anna eva hick"), 11);

    // The find dialog's surname mode, its text trimmed with or without a comma.
    dialog.SetMode(WFindSearch::mSurname);
    for (const char* typed : {"Bak, Do", "bak,do "}) EXPECT_EQ(dialog.IndividualAt(dialog.Search(typed)), 3) << typed;
    for (const auto& [typed, who] : {std::pair{"Hicks ", 11}, {" Hicks", 11}, {"Bartram", 8}})
        EXPECT_EQ(dialog.IndividualAt(dialog.Search(typed)), who) << typed;

    // The surname column's order puts Bartram among the B's and de Stafford
    // among the D's, while the name is shown as the file writes it.
    WColSortIterator* bySurname = box.Index(WFindBox::mdSurname);
    for (std::int32_t p = 1; p <= 11; ++p) EXPECT_EQ(bySurname->GetItem(p), p);
    EXPECT_EQ(file->GetIndividual(8)->GetSurnameText(), " Bartram");
    // So do the list's Surname and Given columns.
    auto sortedBy = [&](std::int32_t id) {
        WColSortIterator list("", 12, file.collection.get());
        auto column = ColumnTable::MakeAttrib(id, file.collection.get());
        list.SortBy(column.get(), true);
        std::vector<std::int32_t> v;
        for (std::int32_t p = 1; p <= 12; ++p) v.push_back(list.GetItem(p));
        return v;
    };
    const std::vector<std::int32_t> surnameColumn = sortedBy(4); // the Bakers and the Baksts tie among themselves
    EXPECT_EQ(std::vector<std::int32_t>(surnameColumn.begin() + 7, surnameColumn.end()),
              (std::vector<std::int32_t>{8, 9, 10, 11, 12}));
    EXPECT_EQ(sortedBy(5), (std::vector<std::int32_t>{2, 6, 12, 11, 9, 5, 7, 3, 4, 8, 10, 1}));
    WOptions::Clear();
}

// Names as a real file holds them: accents, prefixes, suffixes, particles,
// letters the code page lacks (read as '?'), a missing surname or given name.
// The plain forms are what the searches must see: capitals, one character
// for each character of the name.
struct Person {
    const char *given, *surname, *extra, *plainGiven, *plainSurname;
};
const Person kPeople[] = {
    {"Anna Eva", "Hicks", "", "ANNA EVA", "HICKS"},
    {"Michael Walter", "Haynes", "2 NSFX Jr\n", "MICHAEL WALTER", "HAYNES"},
    {"Nuño", "Adams", "2 NPFX Rev.\n", "NUNO", "ADAMS"},
    {"Ñuño", "Álvarez", "", "NUNO", "ALVAREZ"},
    {"Walter", "Ørsted", "", "WALTER", "ORSTED"},
    {"Lætitia", "Davenport", "", "LATITIA", "DAVENPORT"},
    {"Letitia", "Moreno", "", "LETITIA", "MORENO"},
    {"Leah", "Moreno", "", "LEAH", "MORENO"},
    {"Zoë", "Müller", "2 NPFX Dr.\n2 NSFX III\n", "ZOE", "MULLER"},
    {"Karl", "Muller", "", "KARL", "MULLER"},
    {"Françoise", "de la Cruz", "", "FRANCOISE", "DE LA CRUZ"},
    {"Иван", "Petrov", "", "????", "PETROV"},
    {"Olga", "Петрова", "", "OLGA", "???????"},
    {"李", "Wang", "", "?", "WANG"},
    {"", "Alone", "", "", "ALONE"},
    {"Mononym", "", "", "MONONYM", ""},
    {"Bärbel", "Hicks", "", "BARBEL", "HICKS"},
    {"Guðrún", "Guðmundsdóttir", "", "GUDRUN", "GUDMUNDSDOTTIR"},
};
constexpr int kCount = int(sizeof kPeople / sizeof kPeople[0]);

// Case of a cp1252 text, letters with accents included.
std::string withCase(std::string s, bool upper) {
    for (char& ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (upper && ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c != 0xF7 && c != 0xFF))) ch = char(c - 0x20);
        if (!upper && ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))) ch = char(c + 0x20);
    }
    return s;
}

using KeyOf = std::string (*)(int);
std::string surnameKey(int i) { return std::string(kPeople[i].plainSurname) + ", " + kPeople[i].plainGiven; }
std::string givenKey(int i) {
    const Person& p = kPeople[i];
    return *p.plainGiven ? std::string(p.plainGiven) + " " + p.plainSurname : p.plainSurname;
}
// Identifiers are read as they stand in the file, so these are plain.
std::string refnKey(int i) { return std::string(kPeople[i].plainSurname) + "-" + std::to_string(i + 1); }

// The individuals whose key starts with a plain text, in an order this test makes itself.
std::vector<std::int32_t> hitsOf(KeyOf key, const std::string& plain) {
    std::vector<std::int32_t> out;
    for (int i = 0; i < kCount; ++i)
        if (key(i).rfind(plain, 0) == 0) out.push_back(i + 1);
    std::sort(out.begin(), out.end(), [&](std::int32_t a, std::int32_t b) { return key(a - 1) < key(b - 1); });
    return out;
}

struct AccentedNames : ::testing::Test {
    void SetUp() override {
        WOptions::Clear();
        WOptions::Load(0);
        std::string text = "0 HEAD\n1 CHAR UTF-8\n";
        for (int i = 0; i < kCount; ++i) {
            const Person& p = kPeople[i];
            text += "0 @I" + std::to_string(i + 1) + "@ INDI\n1 NAME " + p.given + " /" + p.surname + "/\n" + p.extra +
                    "1 REFN " + withCase(refnKey(i), false) + "\n";
        }
        file = gedtest::openText(text + "0 TRLR\n");
        box.SetCollection(file.collection.get());
    }
    void TearDown() override { WOptions::Clear(); }
    gedtest::Opened file;
    WFindBox box;
    WFindNextPrev finder{box};
};

TEST_F(AccentedNames, EveryNameReachesItsPersonInEveryFind) {
    for (int mode : {WFindBox::mdIdentifier, WFindBox::mdSurname, WFindBox::mdGiven, WFindBox::mdCustom})
        box.BuildFindIndex(mode, false);
    WFindSearch dialog({file.collection.get(), box.Index(WFindBox::mdIdentifier), box.Index(WFindBox::mdGiven),
                        box.Index(WFindBox::mdSurname), box.Index(WFindBox::mdCustom)});
    for (int i = 0; i < kCount; ++i) {
        const Person& p = kPeople[i];
        const std::string given = plat::utf8ToCp1252(p.given), surname = plat::utf8ToCp1252(p.surname);
        // What is typed, its plain key, how much of it is a beginning, and the
        // find box mode (0: the dialog alone) and dialog mode that search it.
        const std::tuple<std::string, std::string, std::size_t, KeyOf, int, int> finds[] = {
            {surname + ", " + given, surnameKey(i), surname.size() + 3, surnameKey, WFindBox::mdSurname,
             WFindSearch::mSurname},
            {given.empty() ? surname : given + " " + surname, givenKey(i), given.size() + 2, givenKey,
             WFindBox::mdGiven, WFindSearch::mGiven},
            {withCase(refnKey(i), false), refnKey(i), 3, refnKey, 0, WFindSearch::mCustom}};
        for (const auto& [text, plain, beginning, key, boxMode, dialogMode] : finds) {
            // Whole and as its beginning, in its own, lower and upper case, and plain.
            for (std::size_t n : {text.size(), std::min(beginning, text.size())}) {
                const std::string part = text.substr(0, n), plainPart = plain.substr(0, n);
                const std::int32_t first = hitsOf(key, plainPart).at(0);
                for (const std::string& typed : {part, withCase(part, false), withCase(part, true), plainPart}) {
                    SCOPED_TRACE(typed);
                    box.SetQuickFindMode(boxMode ? boxMode : WFindBox::mdIndex);
                    if (boxMode) {
                        EXPECT_EQ(box.TextChanged(typed), first);
                    }
                    dialog.SetMode(dialogMode);
                    EXPECT_EQ(dialog.IndividualAt(dialog.Search(typed)), first);
                }
            }
            // Find next walks the run of hits of a beginning and wraps; find
            // previous from the first hit goes to the last.
            const std::string typed = text.substr(0, 2);
            if (!boxMode || typed.empty() || typed[0] == ',') continue;
            const std::vector<std::int32_t> hits = hitsOf(key, plain.substr(0, 2));
            box.SetQuickFindMode(boxMode);
            ASSERT_EQ(box.TextChanged(typed), hits[0]) << typed;
            finder.Reset();
            std::vector<std::int32_t> walked;
            for (std::size_t k = 0; k < hits.size(); ++k)
                finder.FindNext(typed, [&](std::int32_t n) { walked.push_back(n); });
            std::rotate(walked.rbegin(), walked.rbegin() + 1, walked.rend());
            EXPECT_EQ(walked, hits) << typed;
            std::int32_t back = 0;
            finder.FindPrevious(typed, [&](std::int32_t n) { back = n; });
            EXPECT_EQ(back, hits.back()) << typed;
        }
    }
}

// Every name of every shared file, typed whole and as its beginnings, reaches
// the first individual that has it in every mode of the find box, its next and
// previous steps and the find dialog; the hits are found here by walking the
// whole index.
TEST(FindEveryName, EverySharedFileInEveryMode) {
    BRENTHAUL_NEED_SHARED("");
    WOptions::Clear();
    WOptions::Load(0);
    // Trimmed, blanks squashed, accents removed, capitals.
    auto keyOf = [](const std::string& text) {
        return Global::ToUpper(StrFunc::RemoveAccents(StrFunc::SquashBlanks(text)));
    };
    using Parts = std::pair<std::string, std::string>;
    std::int32_t searched = 0;
    for (const auto& entry : std::filesystem::directory_iterator(tsupport::sharedFile(""))) {
        WGEDCollection file(entry.path().string());
        if (!file.Open()) continue; // the UTF-16 file is refused
        file.AfterOpen();
        SCOPED_TRACE(entry.path().filename().string());
        WFindBox box;
        WFindNextPrev finder{box};
        box.SetCollection(&file);
        for (int mode : {WFindBox::mdIdentifier, WFindBox::mdSurname, WFindBox::mdGiven, WFindBox::mdCustom})
            box.BuildFindIndex(mode, true);
        WFindSearch dialog({&file, box.Index(WFindBox::mdIdentifier), box.Index(WFindBox::mdGiven),
                            box.Index(WFindBox::mdSurname), box.Index(WFindBox::mdCustom)});
        const std::int32_t n = file.GetIndividualCount();
        for (const auto& [mode, dialogMode] : {std::pair{WFindBox::mdSurname, WFindSearch::mSurname},
                                               {WFindBox::mdGiven, WFindSearch::mGiven},
                                               {WFindBox::mdCustom, WFindSearch::mCustom}}) {
            // What a typed text must begin: surname and given names, the full
            // name or the REFN; and the same of each entry of the mode's index.
            auto partsOf = [&, mode = mode](const std::string& surname, const std::string& given,
                                            const std::string& refn) -> Parts {
                if (mode == WFindBox::mdSurname) return {keyOf(surname), keyOf(given)};
                return {keyOf(mode == WFindBox::mdCustom ? refn : given.empty() ? surname : given + " " + surname), ""};
            };
            WColSortIterator* index = box.Index(mode);
            std::vector<Parts> entries;
            for (std::int32_t p = 1; p <= index->Count(); ++p) {
                auto ind = file.GetIndividual(index->GetItem(p));
                auto name = ind->GetName();
                entries.push_back(
                    partsOf(name ? name->GetSurnameText() : "", name ? name->GetGiven() : "", ind->GetRefN()));
            }
            dialog.SetMode(dialogMode);
            for (std::int32_t i = 1; i <= n; ++i) {
                auto ind = file.GetIndividual(i);
                const std::string surname = ind->GetSurnameText(), given = ind->GetGivenText();
                std::vector<std::string> typed = {ind->GetRefN()};
                // A surname with a comma cannot be typed: the comma ends it.
                if (mode == WFindBox::mdSurname)
                    typed = {surname + ", " + given, surname.substr(0, 3) + ", " + given.substr(0, 2)};
                if (mode == WFindBox::mdSurname && surname.find(',') != std::string::npos) typed.clear();
                // Without the blank a surname may end with: a typed blank ends a word.
                if (mode == WFindBox::mdGiven)
                    typed = {StrFunc::SquashBlanks(given.empty() ? surname : given + " " + surname),
                             StrFunc::SquashBlanks(given.substr(0, 4))};
                for (const std::string& text : typed) {
                    std::string s, g;
                    WFindBox::SplitName(text, s, g);
                    const Parts wanted = mode == WFindBox::mdSurname ? partsOf(s, g, "") : Parts{keyOf(text), ""};
                    if (wanted.first.empty() && wanted.second.empty()) continue;
                    std::vector<std::int32_t> hits;
                    for (std::size_t p = 0; p < entries.size(); ++p)
                        if (entries[p].first.rfind(wanted.first, 0) == 0 &&
                            entries[p].second.rfind(wanted.second, 0) == 0)
                            hits.push_back(index->GetItem(std::int32_t(p) + 1));
                    SCOPED_TRACE(text);
                    ASSERT_FALSE(hits.empty());
                    ++searched;
                    // The dialog splits at the first comma and drops what follows a second.
                    if (std::count(text.begin(), text.end(), ',') < 2) {
                        EXPECT_EQ(dialog.IndividualAt(dialog.Search(text)), hits[0]);
                    }
                    if (mode == WFindBox::mdCustom) continue;
                    box.SetQuickFindMode(mode);
                    EXPECT_EQ(box.TextChanged(text), hits[0]);
                    finder.Reset();
                    std::vector<std::int32_t> stepped;
                    auto to = [&](std::int32_t individual) { stepped.push_back(individual); };
                    finder.FindNext(text, to);
                    finder.FindPrevious(text, to);
                    finder.FindPrevious(text, to);
                    EXPECT_EQ(stepped, (std::vector<std::int32_t>{hits[1 % hits.size()], hits[0], hits.back()}));
                }
            }
        }
        // Record numbers, and identifiers of the form "I" and digits.
        for (std::int32_t i = 1; i <= n; ++i) {
            box.SetQuickFindMode(WFindBox::mdIndex);
            EXPECT_EQ(box.TextChanged(std::to_string(i)), i);
            const std::string xref = file.GetIndividual(i)->GetXRef();
            box.SetQuickFindMode(WFindBox::mdIdentifier);
            if (xref.size() < 2 || xref[0] != 'I') continue;
            auto found = file.GetIndividual(box.TextChanged(xref.substr(1)));
            ASSERT_TRUE(found) << xref;
            EXPECT_EQ(found->GetXRef(), xref);
        }
    }
    EXPECT_GT(searched, 30000);
    WOptions::Clear();
}

} // namespace
