#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "model/Global.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"
#include "support/ScopedTempDir.h"

using tsupport::fileExists;

TEST(GlobalSoundex, KnownCodes) {
    const struct {
        const char* name;
        const char* code;
    } cases[] = {
        {"Pfister", "P123"}, // F keeps its digit although P has the same one
        {"Tymczak", "T522"},
        {"Lee", "L000"},
        {"A", "A000"},
        {"O'Hara", "O600"},
        {"Ashcraft", "A226"}, // H separates like a vowel
        {"Robert", "R163"},
        {"Rupert", "R163"},
        {"Rubin", "R150"},
        {"Jackson", "J250"},
        {"Washington", "W252"},
        {"tymczak", "T522"}, // first letter upper-cased
        {"Bb", "B100"},      // second letter with the first letter's digit is written
        {"B-b", "B100"},     // a non-letter neither writes nor separates
        {"Dd-d", "D300"},
        {"1abc", "1120"},
        {"\xC9mile", "\xC9"
                     "540"}, // accented first letter kept upper-cased
        {"\xE9mile", "\xC9"
                     "540"},
    };
    for (const auto& c : cases) EXPECT_EQ(Global::Soundex(c.name), c.code) << c.name;
    EXPECT_EQ(Global::Soundex(""), "");
}

TEST(GlobalSoundex, AlwaysFourCharactersAndStopsAfterFourth) {
    EXPECT_EQ(Global::Soundex("Bcdlmnr"), "B234");
    for (const char* s : {"X", "Xy", "Aeiou", "Zzzzzzzzzzzzzzz", "12345"})
        EXPECT_EQ(Global::Soundex(s).size(), 4u) << s;
}

TEST(GlobalBusy, CountNeverBelowZeroAndCursorFollowsCount) {
    std::vector<bool> cursor;
    plat::hooks().setBusyCursor = [&](bool b) { cursor.push_back(b); };
    while (Global::BusyCount() > 0) Global::SetBusy(false);
    cursor.clear();

    Global::SetBusy(false);
    EXPECT_EQ(Global::BusyCount(), 0);
    ASSERT_FALSE(cursor.empty());
    EXPECT_FALSE(cursor.back());

    Global::SetBusy(true);
    Global::SetBusy(true);
    Global::SetBusy(false);
    EXPECT_EQ(Global::BusyCount(), 1);
    EXPECT_TRUE(cursor.back());
    Global::SetBusy(false);
    EXPECT_EQ(Global::BusyCount(), 0);
    EXPECT_FALSE(cursor.back());
    // One more end after zero, then a begin: the count starts again from zero.
    Global::SetBusy(false);
    Global::SetBusy(true);
    EXPECT_EQ(Global::BusyCount(), 1);
    Global::SetBusy(false);
    EXPECT_EQ(Global::BusyCount(), 0);
    plat::resetHooks();
}

TEST(GlobalFonts, LargeOnlyAt120AndCached) {
    int dpi = 144;
    int asked = 0;
    plat::hooks().screenDpi = [&] {
        ++asked;
        return dpi;
    };
    Global::ForgetLargeFonts();
    EXPECT_FALSE(Global::IsLargeFonts());
    Global::ForgetLargeFonts();
    dpi = 96;
    EXPECT_FALSE(Global::IsLargeFonts());
    Global::ForgetLargeFonts();
    dpi = 120;
    EXPECT_TRUE(Global::IsLargeFonts());
    dpi = 96;
    EXPECT_TRUE(Global::IsLargeFonts()); // cached for the run
    EXPECT_EQ(asked, 3);
    Global::ForgetLargeFonts();
    plat::resetHooks();
}

TEST(GlobalSplit, AtComma) {
    const struct {
        const char* in;
        const char* first;
        const char* second;
    } cases[] = {
        {"Smith, John, Jr", "Smith", "John"},
        {"  Smith  ", "  Smith  ", ""}, // no comma: unchanged, not trimmed
        {"", "", ""},
        {"Smith,", "Smith", ""},
        {",John", "", "John"},
        {",,x", "", ""},                             // empty pieces are kept
        {" \tA \r, \x01 B\n ,C", "A", "B"},          // blanks and control characters trimmed
        {"\xE9t\xE9 , \xA0x", "\xE9t\xE9", "\xA0x"}, // only bytes up to blank count as blanks
    };
    for (const auto& c : cases) {
        std::string a = "junk", b = "junk";
        Global::SplitAtComma(c.in, a, b);
        EXPECT_EQ(a, c.first) << c.in;
        EXPECT_EQ(b, c.second) << c.in;
    }
}

TEST(GlobalUpper, CodePageTable) {
    EXPECT_EQ(Global::ToUpper("abc xyz 019"), "ABC XYZ 019");
    // Letters beyond ASCII: scaron, oe, zcaron, y-diaeresis, e-acute, thorn.
    EXPECT_EQ(Global::ToUpper("\x9A\x9C\x9E\xFF\xE9\xFE"), "\x8A\x8C\x8E\x9F\xC9\xDE");
    // Division sign, sharp s and micro have no upper form here.
    EXPECT_EQ(Global::ToUpper("\xF7\xDF\xB5"), "\xF7\xDF\xB5");
    for (int c = 0; c < 256; ++c) {
        const unsigned char u = Global::UpperChar(static_cast<unsigned char>(c));
        EXPECT_EQ(Global::UpperChar(u), u) << c; // upper-casing is idempotent
    }
}

TEST(GlobalTemp, KeptPrivateFilesAndCleanUp) {
    ScopedTempDir tmp;
    const std::string dir = tmp.privateDir() + "/";

    EXPECT_EQ(Global::GetTempPath(), dir);
    const std::string a = Global::GetTempFileName();
    const std::string b = Global::GetTempFileName();
    EXPECT_NE(a, b);
    for (const auto& n : {a, b}) {
        EXPECT_EQ(n.compare(0, dir.size() + 3, dir + "qel"), 0) << n;
        EXPECT_EQ(n.substr(n.size() - 4), ".tmp");
        struct stat st {};
        ASSERT_EQ(::stat(n.c_str(), &st), 0) << "the name's file must be kept";
        EXPECT_EQ(st.st_mode & 0777, 0600u);
    }
    // A leftover from an earlier run that nobody holds goes; our live file stays.
    plat::releaseTempFile(b);
    Global::DeleteTempFiles();
    EXPECT_TRUE(fileExists(a));
    EXPECT_FALSE(fileExists(b));
    EXPECT_TRUE(Global::DeleteTempFile(a));
    EXPECT_FALSE(fileExists(a));

    EXPECT_EQ(Global::GetProgressCount(), 0);
    EXPECT_FALSE(Global::GetProgressDone());
}
