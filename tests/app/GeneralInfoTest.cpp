#include <fstream>
#include <gtest/gtest.h>

#include "app/GeneralInfo.h"
#include "gedcom/FormatString.h"
#include "support/MemCollection.h"
#include "support/SharedData.h"

namespace {

// A collection of file kind 3, as other back ends report it.
class KindCollection : public WMemCollection {
public:
    explicit KindCollection(std::uint8_t kind) { m_fileKind = kind; }
};

TEST(GeneralInfoTest, SubmitterRowsAndKindThreeTitles) {
    WMemCollection c;
    std::array<std::string, GeneralInfo::kSubmitterRows> v;
    EXPECT_FALSE(GeneralInfo::SubmitterValues(c, v));
    EXPECT_TRUE(v[0].empty());
    EXPECT_TRUE(GeneralInfo::SubmitterRecordText(c).empty());
    c.SetSubmitter({"Ann", "1 Road", "Town", "Shire", "UK", "555", "ann@x.org", "0 @U1@ SUBM"});
    ASSERT_TRUE(GeneralInfo::SubmitterValues(c, v));
    EXPECT_EQ(v[0], "Ann");
    EXPECT_EQ(v[3], "Shire");
    EXPECT_EQ(v[6], "ann@x.org");
    EXPECT_EQ(GeneralInfo::SubmitterRecordText(c), "0 @U1@ SUBM");
    EXPECT_EQ(GeneralInfo::SubmitterTitle(5, 1), "Country");
    EXPECT_EQ(GeneralInfo::SubmitterTitle(5, 3), "Web Site");
    EXPECT_EQ(GeneralInfo::SubmitterTitle(8, 1), "");
}

TEST(GeneralInfoTest, StatisticsColumn) {
    KindCollection c(3);
    for (int i = 0; i < 1234; ++i) c.AddPerson("A /B/");
    c.AddNote({"x"});
    auto s = GeneralInfo::StatsValues(c);
    EXPECT_EQ(s[0], ""); // the name row is not filled
    EXPECT_EQ(s[3], ""); // the load time is written at open time
    EXPECT_EQ(s[4], "1,234");
    EXPECT_EQ(s[6], "N/A");
    EXPECT_EQ(s[7], "0");
    KindCollection g(1);
    g.AddNote({"x"});
    EXPECT_EQ(GeneralInfo::StatsValues(g)[6], "1");
    EXPECT_STREQ(GeneralInfo::StatsTitle(4), "Importing");
}

TEST(GeneralInfoTest, TabStopTexts) {
    EXPECT_EQ(GeneralInfo::ParseTabStops("40, 120,300"), (std::vector<int>{40, 120, 300}));
    EXPECT_EQ(GeneralInfo::ParseTabStops("40,x,3"), (std::vector<int>{40}));
    EXPECT_TRUE(GeneralInfo::ParseTabStops("").empty());
}

TEST(GeneralInfoTest, HeaderOfARealFile) {
    BRENTHAUL_NEED_SHARED("TGC55C.ged");
    const std::string path = tsupport::sharedFile("TGC55C.ged");
    std::string error;
    auto c = FormatString::OpenCollection(path, error);
    ASSERT_NE(c, nullptr) << error;
    ASSERT_TRUE(c->Open());
    const auto entries = GeneralInfo::HeaderEntries(*c);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.size(), c->GetFileInfo().size());
    bool hasChar = false;
    for (const auto& e : entries) hasChar |= e.Label == "Char Set";
    EXPECT_TRUE(hasChar);
}

} // namespace
