#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "model/Ini2.h"
#include "model/Options.h"
#include "platform/IniFile.h"
#include "platform/TempFiles.h"
#include "support/TestFiles.h"

namespace {

using tsupport::fileExists;
using tsupport::readFile;
using tsupport::writeFile;

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override { WOptions::Clear(); }
    void TearDown() override {
        ini2::Close();
        WOptions::Clear();
    }
    void load(const std::string& text) {
        writeFile(ini_, text);
        ini2::Open(ini_);
        WOptions::Load(opt::kEditionThis);
    }
    tsupport::TempDir dir_{"brenthaul-options"};
    std::string ini_ = dir_.file("zelt.ini");
};

} // namespace

TEST_F(OptionsTest, MissingFileGivesDefaultsAndFirstSaveWritesEveryKey) {
    ini2::Open(ini_);
    WOptions::Load(opt::kEditionThis);
    EXPECT_FALSE(fileExists(ini_)) << "loading must not write";
    for (int i = 1; i <= opt::kOptionCount; ++i) EXPECT_EQ(WOptions::GetString(i), WOptions::Row(i).Default) << i;
    EXPECT_FALSE(WOptions::GetBool(opt::UseLDS));
    EXPECT_TRUE(WOptions::GetBool(opt::FirstTime));
    EXPECT_EQ(WOptions::GetInt(opt::FindDlg), 3);
    EXPECT_EQ(WOptions::GetInt(opt::HLCol), 65535);
    EXPECT_EQ(WOptions::GetString(opt::DesColumns), "65,67,19,59,60");
    EXPECT_EQ(WOptions::GetString(opt::IslandColumns), "1,2,7,65,67,19,18,54,55");
    EXPECT_EQ(WOptions::GetString(opt::sendmsg), "sendmsg.txt");
    EXPECT_EQ(WOptions::GetString(opt::Finddir), "");
    EXPECT_TRUE(WOptions::GetBool(opt::ShowSplash));
    EXPECT_EQ(WOptions::GetGroupString(opt::NoOpt), "T");
    EXPECT_TRUE(WOptions::GroupLoaded(opt::kEditionThis));
    EXPECT_FALSE(WOptions::GroupLoaded(opt::kEditionLite));

    WOptions::Save();
    ASSERT_TRUE(fileExists(ini_));
    plat::IniFile f(ini_);
    int keys = 0;
    for (const char* s : {"General", "Printing", "Internet", "SelfExtract", "Help", "TMG"})
        keys += int(f.keys(s).size());
    EXPECT_EQ(keys, opt::kOptionCount);
    for (int i = 1; i <= opt::kOptionCount; ++i) {
        const WOptionRow& r = WOptions::Row(i);
        EXPECT_TRUE(f.hasKey(r.Section, r.Key)) << r.Key;
        EXPECT_EQ(f.readString(r.Section, r.Key, "?"), r.Default) << r.Key;
    }
    EXPECT_EQ(f.readString("Brenthaul", "NoOpt", "?"), "T");
    EXPECT_FALSE(f.hasKey("BrenthaulLite", "Special"));
    const std::string text = readFile(ini_);
    EXPECT_NE(text.find("[SelfExtract]\r\nName=\r\n"), std::string::npos);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
}

TEST_F(OptionsTest, WindowsWrittenFileReadsRightAndKeepsUnknownLines) {
    load("; written by hand\r\n"
         "[general]\r\n"
         "uselds=T\r\n"
         "  FontSize = 10  \r\n"
         "Mystery=1\r\n"
         "\r\n"
         "# another comment\r\n"
         "[Other]\r\n"
         "Foo=Bar\r\n"
         "\r\n"
         "[PRINTING]\r\n"
         "ped_single=F\r\n");
    EXPECT_TRUE(WOptions::GetBool(opt::UseLDS));
    EXPECT_EQ(WOptions::GetInt(opt::FontSize), 10);
    EXPECT_FALSE(WOptions::GetBool(opt::Ped_Single));
    EXPECT_EQ(WOptions::GetInt(opt::GridHeight), 14); // absent: default

    WOptions::SetInt(opt::FontSize, 12);
    WOptions::Save();
    const std::string text = readFile(ini_);
    const std::size_t comment = text.find("; written by hand\r\n");
    const std::size_t mystery = text.find("Mystery=1\r\n");
    const std::size_t hash = text.find("# another comment\r\n");
    const std::size_t other = text.find("[Other]\r\nFoo=Bar\r\n");
    ASSERT_NE(comment, std::string::npos);
    ASSERT_NE(mystery, std::string::npos);
    ASSERT_NE(hash, std::string::npos);
    ASSERT_NE(other, std::string::npos);
    EXPECT_LT(comment, mystery);
    EXPECT_LT(hash, other);
    EXPECT_NE(text.find("uselds=T\r\n"), std::string::npos); // key keeps its spelling
    EXPECT_NE(text.find("FontSize=12\r\n"), std::string::npos);
    EXPECT_EQ(text.find("[General]"), std::string::npos); // no second General section
    EXPECT_EQ(text.find("UseLDS="), std::string::npos);

    // A second run reads what the first one wrote.
    ini2::Close();
    WOptions::Clear();
    ini2::Open(ini_);
    WOptions::Load(opt::kEditionThis);
    EXPECT_EQ(WOptions::GetInt(opt::FontSize), 12);
    EXPECT_TRUE(WOptions::GetBool(opt::UseLDS));
}

TEST_F(OptionsTest, ValueForms) {
    load("[General]\r\n"
         "UseLDS=t\r\n"      // lower case is not True
         "FindDlg=12abc\r\n" // not a whole number
         "LastTab=\r\n"      // present but empty
         "FirstTime=\r\n"
         "FontSize=-5\r\n"
         "GridHeight=+7\r\n"
         "LastPanel=99999999999\r\n"
         "FamCol1=0x10\r\n"
         "FamCol2=+-3\r\n"
         "HLCol=\"255\"\r\n"
         "[Help]\r\n"
         "IH1=TRUE\r\n");
    EXPECT_FALSE(WOptions::GetBool(opt::UseLDS));
    EXPECT_EQ(WOptions::GetInt(opt::FindDlg), 0);
    EXPECT_EQ(WOptions::GetString(opt::FindDlg), "12abc");
    // An empty value is a value: it does not fall back to the default.
    EXPECT_EQ(WOptions::GetString(opt::LastTab), "");
    EXPECT_EQ(WOptions::GetInt(opt::LastTab), 0);
    EXPECT_FALSE(WOptions::GetBool(opt::FirstTime));
    EXPECT_EQ(WOptions::GetInt(opt::LastID), 1);         // absent: default
    EXPECT_TRUE(WOptions::GetBool(opt::LastPanelState)); // absent: default
    EXPECT_EQ(WOptions::GetInt(opt::FontSize), -5);
    EXPECT_EQ(WOptions::GetInt(opt::GridHeight), 7);
    EXPECT_EQ(WOptions::GetInt(opt::LastPanel), 0); // out of range
    EXPECT_EQ(WOptions::GetInt(opt::FamCol1), 0);
    EXPECT_EQ(WOptions::GetInt(opt::FamCol2), 0);
    EXPECT_EQ(WOptions::GetInt(opt::HLCol), 255);
    EXPECT_FALSE(WOptions::GetBool(opt::IH1));

    EXPECT_EQ(ini2::ReadInteger("General", "FindDlg", 42), 42); // not a number: caller's default
    EXPECT_EQ(ini2::ReadInteger("General", "Nothing", 43), 43);
    EXPECT_EQ(ini2::ReadInteger("General", "FontSize", 0), -5);
}

TEST_F(OptionsTest, NumbersOutsideTheStoreAreHarmless) {
    ini2::Open(ini_);
    WOptions::Load(opt::kEditionThis);
    const std::string before = WOptions::GetString(1);
    for (int i : {0, -1, 501, 1000, INT_MAX, INT_MIN}) {
        WOptions::SetString(i, "T");
        WOptions::SetInt(i, 7);
        WOptions::SetBool(i, true);
        EXPECT_EQ(WOptions::GetString(i), "") << i;
        EXPECT_FALSE(WOptions::GetBool(i)) << i;
        EXPECT_EQ(WOptions::GetInt(i), 0) << i;
        EXPECT_EQ(WOptions::GetGroupString(i), "") << i;
    }
    EXPECT_EQ(WOptions::GetString(1), before);
    // Past the table but inside the store: empty until set, kept in memory only.
    EXPECT_EQ(WOptions::GetString(139), "");
    EXPECT_EQ(WOptions::GetString(500), "");
    WOptions::SetBool(500, true);
    EXPECT_TRUE(WOptions::GetBool(500));
    WOptions::Save();
    plat::IniFile f(ini_);
    int keys = 0;
    for (const char* s : {"General", "Printing", "Internet", "SelfExtract", "Help", "TMG", "Brenthaul"})
        keys += int(f.keys(s).size());
    EXPECT_EQ(keys, opt::kOptionCount + 1);
}

TEST_F(OptionsTest, SettingChangesMemoryUntilSave) {
    ini2::Open(ini_);
    WOptions::Load(opt::kEditionThis);
    WOptions::Save();
    const std::string saved = readFile(ini_);
    WOptions::SetBool(opt::UseLDS, true);
    WOptions::SetString(opt::Title, "Family \xC9t\xE9");
    EXPECT_EQ(readFile(ini_), saved);
    EXPECT_EQ(WOptions::GetString(opt::UseLDS), "T");
    WOptions::SetBool(opt::UseLDS, false);
    EXPECT_EQ(WOptions::GetString(opt::UseLDS), "F");
    WOptions::SetInt(opt::LastID, -12345);
    EXPECT_EQ(WOptions::GetString(opt::LastID), "-12345");
    WOptions::Save();
    plat::IniFile f(ini_);
    EXPECT_EQ(f.readString("SelfExtract", "Title", ""), "Family \xC9t\xE9");
    EXPECT_EQ(f.readString("General", "LastID", ""), "-12345");
}

TEST_F(OptionsTest, LiteGroupLoadsItsOwnSection) {
    load("[BrenthaulLite]\r\nSpecial=T\r\n");
    EXPECT_EQ(WOptions::GetGroupString(1), "T"); // this program's NoOpt default
    WOptions::Load(opt::kEditionLite);
    EXPECT_TRUE(WOptions::GroupLoaded(opt::kEditionLite));
    EXPECT_EQ(WOptions::GetGroupString(1), "T");
    ini2::Close();
    ini2::Open(ini_);
    WOptions::Clear();
    WOptions::Load(opt::kEditionLite);
    WOptions::SetGroupString(1, "F");
    WOptions::Save();
    plat::IniFile f(ini_);
    EXPECT_EQ(f.readString("BrenthaulLite", "Special", ""), "F");
    EXPECT_FALSE(f.hasKey("Brenthaul", "NoOpt"));
}

TEST_F(OptionsTest, WithoutSettingsFileReadsAreEmptyAndWritesDoNothing) {
    ini2::Close();
    EXPECT_FALSE(ini2::IsOpen());
    EXPECT_EQ(ini2::ReadString("General", "UseLDS", "F"), "");
    EXPECT_EQ(ini2::ReadInteger("General", "FontSize", 8), 0);
    ini2::WriteString("General", "UseLDS", "T");
    ini2::WriteInteger("General", "FontSize", 9);
    WOptions::Load(opt::kEditionThis);
    EXPECT_EQ(WOptions::GetString(opt::FirstTime), "");
    WOptions::Save();
    EXPECT_FALSE(fileExists(ini_));
}

TEST(Ini2, DefaultNameBesideTheProgram) {
    const std::string own = plat::ownProgramPath();
    const std::string name = ini2::DefaultFileName();
    const std::string folder = own.substr(0, own.rfind('/') + 1);
    EXPECT_EQ(name.compare(0, folder.size(), folder), 0);
    EXPECT_EQ(name.substr(name.size() - 4), ".ini");
    EXPECT_EQ(name.find('/', folder.size()), std::string::npos);
}

TEST(OptionsTable, NamesMatchTheirNumbers) {
    EXPECT_STREQ(WOptions::Row(opt::UseLDS).Key, "UseLDS");
    EXPECT_STREQ(WOptions::Row(opt::TMGTagSent).Key, "TMGTagSent");
    EXPECT_STREQ(WOptions::Row(opt::TMGTagSent).Section, "TMG");
    EXPECT_EQ(opt::TMGTagSent, 126);
    EXPECT_EQ(opt::ViewSaved, 93);
    EXPECT_EQ(opt::ShowSplash, 138);
    EXPECT_STREQ(WOptions::Row(139).Key, "");
    EXPECT_STREQ(WOptions::Row(0).Key, "");
}
