#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/IniFile.h"
#include "support/TestFiles.h"

namespace {

using tsupport::readFile;

struct IniFileTest : ::testing::Test {
    tsupport::TempDir dir{"brenthaul-ini"};
    std::string path = dir.file("test.ini");
    void write(const std::string& text) { tsupport::writeFile(path, text); }
};

TEST_F(IniFileTest, ReadsWindowsFileCaseInsensitivelyAndKeepsUnknownLines) {
    write("; written elsewhere\r\n[GENERAL]\r\n  useLDS = T \r\n\r\n[Other]\r\nx=1\r\n[general]\r\nLate=3\r\n");
    plat::IniFile ini(path);
    EXPECT_EQ(ini.readString("General", "UseLDS", "F"), "T");
    EXPECT_EQ(ini.readString("General", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.readInteger("Other", "X", 7), 1);
    ASSERT_TRUE(ini.writeString("General", "UseLDS", "F"));
    ASSERT_TRUE(ini.writeString("General", "NewKey", "v"));
    ASSERT_TRUE(ini.writeString("Fresh", "K", "1"));
    const std::string text = readFile(path);
    EXPECT_NE(text.find("; written elsewhere\r\n"), std::string::npos);
    EXPECT_NE(text.find("useLDS=F\r\n"), std::string::npos); // spelling kept
    EXPECT_NE(text.find("NewKey=v\r\n\r\n[Other]"), std::string::npos);
    EXPECT_NE(text.find("[Other]\r\nx=1\r\n"), std::string::npos);
    EXPECT_NE(text.find("[Fresh]\r\nK=1\r\n"), std::string::npos);
    plat::IniFile again(path);
    EXPECT_EQ(again.readString("general", "newkey", ""), "v");
}

TEST_F(IniFileTest, IntegersFallBackToDefault) {
    write("[S]\nA=12abc\nB=-4\nC=\n");
    plat::IniFile ini(path);
    EXPECT_EQ(ini.readInteger("S", "A", 9), 9);
    EXPECT_EQ(ini.readInteger("S", "B", 9), -4);
    EXPECT_EQ(ini.readInteger("S", "C", 9), 9);
    EXPECT_TRUE(ini.hasKey("S", "C"));
    EXPECT_EQ(ini.readString("S", "C", "x"), ""); // empty differs from absent
    EXPECT_EQ(ini.readString("S", "D", "x"), "x");
}

TEST_F(IniFileTest, MissingFileReadsDefaultsAndFirstWriteCreatesIt) {
    plat::IniFile ini(path);
    EXPECT_EQ(ini.readString("General", "K", "d"), "d");
    ASSERT_TRUE(ini.writeInteger("General", "K", 5));
    EXPECT_EQ(readFile(path), "[General]\r\nK=5\r\n");
}

} // namespace

TEST_F(IniFileTest, WriteNeverGoesThroughAPlantedLink) {
    // Someone who could write the folder links a file of ours under the names a
    // fixed temp scheme would use.
    const std::string victim = path + "-victim";
    tsupport::writeFile(victim, "precious");
    ASSERT_EQ(::link(victim.c_str(), (path + ".new").c_str()), 0);
    ASSERT_EQ(::symlink(victim.c_str(), (path + ".tmp").c_str()), 0);
    plat::IniFile ini(path);
    ASSERT_TRUE(ini.writeString("General", "UseLDS", "T"));
    EXPECT_EQ(readFile(victim), "precious");
    EXPECT_EQ(readFile(path), "[General]\r\nUseLDS=T\r\n");
}
