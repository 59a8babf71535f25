#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>
#include <vector>

#include "app/FindBox.h"
#include "app/FindNextPrev.h"
#include "columns/ColSortIterator.h"
#include "gedcom/GedTestUtil.h"
#include "highlight/FindContext.h"
#include "model/Options.h"
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

} // namespace

namespace {

// Names as a real file holds them: accents, prefixes, suffixes, particles,
// letters the code page lacks (read as '?'), a missing surname or given
// name. plainGiven and plainSurname are what the searches must see: plain
// capitals, one character for each character of the name.
struct Person {
    const char* given;
    const char* surname;
    const char* extra; // further lines of the record
    const char* plainGiven;
    const char* plainSurname;
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
    {"Zoë", "Müller", "", "ZOE", "MULLER"},
    {"Jürgen", "Müller", "2 NPFX Dr.\n2 NSFX III\n", "JURGEN", "MULLER"},
    {"Karl", "Muller", "", "KARL", "MULLER"},
    {"Émile", "Ölander", "", "EMILE", "OLANDER"},
    {"Françoise", "de la Cruz", "", "FRANCOISE", "DE LA CRUZ"},
    {"Simon", "van der Berg", "2 NPFX Sir\n", "SIMON", "VAN DER BERG"},
    {"José", "García", "", "JOSE", "GARCIA"},
    {"Ángel", "Núñez", "", "ANGEL", "NUNEZ"},
    {"Иван", "Petrov", "", "????", "PETROV"},
    {"Olga", "Петрова", "", "OLGA", "???????"},
    {"李", "Wang", "", "?", "WANG"},
    {"Henry", "Dixon", "2 NPFX Dr.\n", "HENRY", "DIXON"},
    {"Thomas", "Garner", "", "THOMAS", "GARNER"},
    {"Sven", "Åkesson", "", "SVEN", "AKESSON"},
    {"", "Alone", "", "", "ALONE"},
    {"Mononym", "", "", "MONONYM", ""},
    {"Walter", "Simon", "", "WALTER", "SIMON"},
    {"Bärbel", "Hicks", "", "BARBEL", "HICKS"},
};
constexpr int kCount = int(sizeof kPeople / sizeof kPeople[0]);

std::string cp(const std::string& utf8) { return plat::utf8ToCp1252(utf8); }

// Case of a cp1252 text, letters with accents included.
std::string withCase(std::string s, bool upper) {
    for (char& ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        const bool lowerLetter = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c != 0xF7 && c != 0xFF);
        const bool upperLetter = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
        if (upper && lowerLetter) ch = char(c - 0x20);
        if (!upper && upperLetter) ch = char(c + 0x20);
    }
    return s;
}

std::string surnameKey(const Person& p) { return std::string(p.plainSurname) + ", " + p.plainGiven; }
std::string givenKey(const Person& p) {
    return *p.plainGiven ? std::string(p.plainGiven) + " " + p.plainSurname : p.plainSurname;
}
// Identifiers are read as they stand in the file, so these are plain.
std::string refn(int i) { return withCase(kPeople[i].plainSurname, false) + "-" + std::to_string(i + 1); }
std::string refnKey(int i) { return std::string(kPeople[i].plainSurname) + "-" + std::to_string(i + 1); }

struct AccentedNames : ::testing::Test {
    void SetUp() override {
        WOptions::Clear();
        WOptions::Load(0);
        std::string text = "0 HEAD\n1 CHAR UTF-8\n";
        for (int i = 0; i < kCount; ++i) {
            const Person& p = kPeople[i];
            text += "0 @I" + std::to_string(i + 1) + "@ INDI\n1 NAME " + p.given + " /" + p.surname + "/\n" + p.extra +
                    "1 REFN " + refn(i) + "\n";
        }
        file = gedtest::openText(text + "0 TRLR\n");
        box.SetCollection(file.collection.get());
    }
    void TearDown() override { WOptions::Clear(); }

    // Individuals in the order of a key this test makes itself.
    std::vector<std::int32_t> orderBy(std::string (*key)(int)) {
        std::vector<std::int32_t> order(kCount);
        for (int i = 0; i < kCount; ++i) order[i] = i + 1;
        std::sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) { return key(a - 1) < key(b - 1); });
        return order;
    }
    // The entries of that order whose key starts with a plain text.
    std::vector<std::int32_t> run(std::string (*key)(int), const std::string& plain) {
        std::vector<std::int32_t> out;
        for (std::int32_t n : orderBy(key))
            if (key(n - 1).rfind(plain, 0) == 0) out.push_back(n);
        return out;
    }
    // The texts a user may type for one name: whole and as its beginning, in
    // its own, lower and upper case, and plain; each with the plain text it stands for.
    static std::vector<std::pair<std::string, std::string>> typings(const std::string& text, const std::string& plain,
                                                                    std::size_t beginning) {
        std::vector<std::pair<std::string, std::string>> out;
        for (std::size_t n : {text.size(), std::min(beginning, text.size())}) {
            const std::string part = text.substr(0, n), plainPart = plain.substr(0, n);
            for (const std::string& typed : {part, withCase(part, false), withCase(part, true), plainPart})
                out.emplace_back(typed, plainPart);
        }
        return out;
    }

    gedtest::Opened file;
    WFindBox box;
    WFindNextPrev finder{box};
};

TEST_F(AccentedNames, EveryNameReachesItsPersonInEveryFind) {
    auto bySurname = [](int i) { return surnameKey(kPeople[i]); };
    auto byGiven = [](int i) { return givenKey(kPeople[i]); };
    auto byRefN = [](int i) { return refnKey(i); };
    for (int mode : {WFindBox::mdIdentifier, WFindBox::mdSurname, WFindBox::mdGiven, WFindBox::mdCustom})
        box.BuildFindIndex(mode, false);
    WFindSearch dialog({file.collection.get(), box.Index(WFindBox::mdIdentifier), box.Index(WFindBox::mdGiven),
                        box.Index(WFindBox::mdSurname), box.Index(WFindBox::mdCustom)});
    auto dialogFinds = [&](int mode, const std::string& typed) {
        dialog.SetMode(mode);
        return dialog.IndividualAt(dialog.Search(typed));
    };

    for (int i = 0; i < kCount; ++i) {
        const Person& p = kPeople[i];
        SCOPED_TRACE(p.plainGiven + std::string(" ") + p.plainSurname);
        const std::string given = cp(p.given), surname = cp(p.surname);
        for (const auto& [typed, plain] : typings(surname + ", " + given, surnameKey(p), surname.size() + 3)) {
            const std::vector<std::int32_t> hits = run(bySurname, plain);
            ASSERT_FALSE(hits.empty()) << typed;
            box.SetQuickFindMode(WFindBox::mdSurname);
            EXPECT_EQ(box.TextChanged(typed), hits[0]) << typed;
            EXPECT_EQ(dialogFinds(WFindSearch::mSurname, typed), hits[0]) << typed;
        }
        const std::string full = given.empty() ? surname : given + " " + surname;
        for (const auto& [typed, plain] : typings(full, givenKey(p), given.size() + 2)) {
            const std::vector<std::int32_t> hits = run(byGiven, plain);
            ASSERT_FALSE(hits.empty()) << typed;
            box.SetQuickFindMode(WFindBox::mdGiven);
            EXPECT_EQ(box.TextChanged(typed), hits[0]) << typed;
            EXPECT_EQ(dialogFinds(WFindSearch::mGiven, typed), hits[0]) << typed;
        }
        for (const auto& [typed, plain] : typings(refn(i), refnKey(i), 3))
            EXPECT_EQ(dialogFinds(WFindSearch::mCustom, typed), run(byRefN, plain).front()) << typed;
    }

    // Find next walks the run of hits of a beginning and wraps; find previous
    // from the first hit goes to the last.
    for (int i = 0; i < kCount; ++i) {
        const Person& p = kPeople[i];
        for (const auto& [mode, text, plain, key] :
             {std::tuple{WFindBox::mdSurname, cp(p.surname), std::string(p.plainSurname), +bySurname},
              std::tuple{WFindBox::mdGiven, cp(p.given), std::string(p.plainGiven), +byGiven}}) {
            if (text.empty()) continue;
            const std::string typed = text.substr(0, 2);
            const std::vector<std::int32_t> hits = run(key, plain.substr(0, 2));
            SCOPED_TRACE(typed);
            box.SetQuickFindMode(mode);
            ASSERT_EQ(box.TextChanged(typed), hits[0]);
            finder.Reset();
            std::vector<std::int32_t> walked;
            for (std::size_t k = 0; k < hits.size(); ++k)
                finder.FindNext(typed, [&](std::int32_t n) { walked.push_back(n); });
            std::vector<std::int32_t> expected(hits.begin() + 1, hits.end());
            expected.push_back(hits[0]);
            EXPECT_EQ(walked, expected);
            std::int32_t back = 0;
            finder.FindPrevious(typed, [&](std::int32_t n) { back = n; });
            EXPECT_EQ(back, hits.back());
        }
    }
}

} // namespace
