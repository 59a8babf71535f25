// End to end on a GEDCOM file: the reader's collection with two marriages,
// half-brothers of one name, cousins who marry (pedigree collapse), a family
// loop, LDS status words and qualified dates, through the islands, the
// relationship calculator and the conditions.
#include "CondFixture.h"

#include "gedcom/GEDCollection.h"
#include "model/Generations.h"
#include "model/Islands.h"
#include "model/RelCalc.h"
#include "support/SharedData.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using condtest::Highlighted;
using condtest::Set;

const char* const kFile =
    "0 HEAD\n1 CHAR ASCII\n1 GEDC\n2 VERS 5.5\n"
    "0 @I1@ INDI\n1 NAME Adam /Stone/\n1 SEX M\n1 BIRT\n2 DATE 1 JAN 1800\n2 PLAC London\n1 FAMS @F1@\n1 FAMS @F2@\n"
    "0 @I2@ INDI\n1 NAME Eve /Brook/\n1 SEX F\n1 BIRT\n2 DATE ABT 1805\n1 FAMS @F1@\n"
    "0 @I3@ INDI\n1 NAME Lilith /Night/\n1 SEX F\n1 FAMS @F2@\n"
    "0 @I4@ INDI\n1 NAME Cain /Stone/\n1 SEX M\n1 BIRT\n2 DATE BEF 1830\n1 FAMC @F1@\n1 FAMS @F3@\n"
    "0 @I5@ INDI\n1 NAME Seth /Stone/\n1 SEX M\n1 BIRT\n2 DATE 1832\n1 FAMC @F1@\n1 FAMS @F4@\n"
    "0 @I6@ INDI\n1 NAME Cain /Stone/\n1 SEX M\n1 FAMC @F2@\n"
    "1 BAPL\n2 DATE COMPLETED\n1 ENDL\n2 DATE 1 JAN 1850\n2 TEMP LOGAN\n1 SLGC\n2 DATE BIC\n2 FAMC @F2@\n"
    "0 @I7@ INDI\n1 NAME Awan /Stone/\n1 SEX F\n1 FAMS @F3@\n"
    "0 @I8@ INDI\n1 NAME Enos /Stone/\n1 SEX M\n1 FAMC @F3@\n1 FAMS @F5@\n"
    "0 @I9@ INDI\n1 NAME Noam /Stone/\n1 SEX F\n1 FAMC @F4@\n1 FAMS @F5@\n"
    "0 @I10@ INDI\n1 NAME Kenan /Stone/\n1 SEX M\n1 BIRT\n2 DATE AFT 1890\n1 FAMC @F5@\n"
    "0 @I11@ INDI\n1 NAME Ann /Loop/\n1 SEX M\n1 FAMC @F6@\n1 FAMS @F7@\n"
    "0 @I12@ INDI\n1 NAME Bob /Loop/\n1 SEX M\n1 FAMC @F7@\n1 FAMS @F6@\n"
    "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I4@\n1 CHIL @I5@\n1 MARR\n2 DATE 1825\n2 PLAC Bath\n"
    "1 SLGS\n2 DATE DNS/CAN\n"
    "0 @F2@ FAM\n1 HUSB @I1@\n1 WIFE @I3@\n1 CHIL @I6@\n1 MARR\n2 DATE 1840\n"
    "0 @F3@ FAM\n1 HUSB @I4@\n1 WIFE @I7@\n1 CHIL @I8@\n"
    "0 @F4@ FAM\n1 HUSB @I5@\n1 CHIL @I9@\n"
    "0 @F5@ FAM\n1 HUSB @I8@\n1 WIFE @I9@\n1 CHIL @I10@\n"
    "0 @F6@ FAM\n1 HUSB @I12@\n1 CHIL @I11@\n"
    "0 @F7@ FAM\n1 HUSB @I11@\n1 CHIL @I12@\n"
    "0 TRLR\n";

class GedcomConds : public ::testing::Test {
protected:
    GedcomConds() {
        tsupport::writeFile(m_path, kFile);
        c = std::make_unique<WGEDCollection>(m_path);
        opened = c->Open();
        if (opened) c->AfterOpen();
    }

    condtest::PlainNames names;
    tsupport::TempDir m_dir{"brenthaul-condged"};
    std::string m_path = m_dir.file("cond.ged");
    std::unique_ptr<WGEDCollection> c;
    bool opened = false;
};

TEST_F(GedcomConds, IslandsAndDepths) {
    ASSERT_TRUE(opened);
    ASSERT_EQ(c->GetIndividualCount(), 12);
    WIslands islands(*c);
    ASSERT_EQ(islands.GetIslandCount(), 2);
    EXPECT_EQ(islands.GetIslandSize(1), 10);
    EXPECT_EQ(islands.GetIslandFamilyCount(1), 5);
    EXPECT_EQ(islands.GetIslandFirstIndividual(1), 1);
    EXPECT_EQ(islands.GetIslandSize(2), 2);
    EXPECT_EQ(islands.GetIslandFamilyCount(2), 2);
    EXPECT_EQ(islands.GetIslandOfIndividual(10), 1);
    EXPECT_EQ(islands.GetIslandOfIndividual(12), 2);

    WGenerations g(*c);
    EXPECT_EQ(g.GetNumAncestors(10), 7); // Adam once, though through both parents
    EXPECT_EQ(g.GetAncestorGenerations(10), 3);
    EXPECT_EQ(g.GetNumDescendants(1), 6);
    EXPECT_EQ(g.GetDescendantGenerations(1), 3);
    EXPECT_EQ(g.GetAncestorGenerations(11), 2); // the loop closes at 0
}

TEST_F(GedcomConds, Relationships) {
    ASSERT_TRUE(opened);
    WRelCalc calc(c.get());
    EXPECT_EQ(calc.GetRelationship(10, 8), "Father");
    EXPECT_EQ(calc.GetRelationship(10, 9), "Mother");
    EXPECT_EQ(calc.GetRelationship(10, 5), "Grand Father");
    EXPECT_EQ(calc.GetRelationship(10, 1), "G Grand Father");
    EXPECT_EQ(calc.GetRelationship(10, 6), "Great Uncle");
    std::string name;
    calc.GetCommonAncestorName(10, 6, name, false);
    EXPECT_EQ(name, "Stone, Adam");
    EXPECT_EQ(calc.GetRelationship(8, 9), "1st Cousin");
    EXPECT_EQ(calc.GetRelationship(10, 11), "");
    EXPECT_EQ(calc.GetRelationship(0, 10), "");
}

TEST_F(GedcomConds, ConditionsOnTheFile) {
    ASSERT_TRUE(opened);
    EXPECT_EQ(Highlighted(*c, "+38"), (Set{1, 2, 3}));
    EXPECT_EQ(Highlighted(*c, "+38", true), (Set{1, 2, 3}));
    EXPECT_EQ(Highlighted(*c, "+56"), (Set{4, 7, 8, 9}));
    EXPECT_EQ(Highlighted(*c, "+56", true), (Set{4, 7, 8, 9}));
    EXPECT_EQ(Highlighted(*c, "+21:10^2"), (Set{8, 9, 4, 7, 5}));
    EXPECT_EQ(Highlighted(*c, "+21:10^3"), (Set{8, 9, 4, 7, 5, 1, 2}));
    EXPECT_EQ(Highlighted(*c, "+50:57"), (Set{10}));
    EXPECT_EQ(Highlighted(*c, "+95:11"), (Set{11, 12}));
    EXPECT_EQ(Highlighted(*c, "+96:12"), (Set{11, 12}));
    EXPECT_EQ(Highlighted(*c, "+87:4"), (Set{6}));
    EXPECT_EQ(Highlighted(*c, "+88:1"), (Set{6}));
    EXPECT_EQ(Highlighted(*c, "+89:5"), (Set{6}));
    EXPECT_EQ(Highlighted(*c, "+90:7"), (Set{1, 2}));
    EXPECT_EQ(Highlighted(*c, "+39:BEF 1831"), (Set{1, 2, 4}));
    EXPECT_EQ(Highlighted(*c, "+39:AFT 1850"), (Set{10}));
    EXPECT_EQ(Highlighted(*c, "+39:AFT "), Set{});
    EXPECT_EQ(Highlighted(*c, "+29:3ST"), (Set{1, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Highlighted(*c, "+57:2S350"), (Set{1, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Highlighted(*c, "+57:1stone"), (Set{1, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(Highlighted(*c, "+43:1BATH"), (Set{1, 2}));
    EXPECT_EQ(Highlighted(*c, "+108:2BROOK"), (Set{4, 5, 8, 9, 10}));
    EXPECT_EQ(Highlighted(*c, "+23:10"), (Set{1, 2, 4, 5, 6, 7, 8, 9, 10}));
}

// Real files: the islands agree with a union of every family's members, and
// each island's first individual is its lowest number.
TEST(GedcomIslandsRealFiles, AgreeWithAUnionOfFamilies) {
    condtest::PlainNames names;
    int checked = 0;
    for (const char* name : {"royal92.ged", "kennedy.ged", "pres2020.ged", "allged.ged"}) {
        const std::string path = std::string(BRENTHAUL_SHARED_DATA) + "/" + name;
        if (::access(path.c_str(), R_OK) != 0) continue;
        WGEDCollection c(path);
        ASSERT_TRUE(c.Open()) << name;
        c.AfterOpen();
        const std::int32_t n = c.GetIndividualCount();
        std::vector<std::int32_t> root(static_cast<std::size_t>(n) + 1);
        for (std::int32_t i = 0; i <= n; ++i) root[static_cast<std::size_t>(i)] = i;
        auto find = [&](std::int32_t x) {
            while (root[static_cast<std::size_t>(x)] != x)
                x = root[static_cast<std::size_t>(x)] =
                    root[static_cast<std::size_t>(root[static_cast<std::size_t>(x)])];
            return x;
        };
        std::vector<std::int32_t> kids;
        for (std::int32_t f = 1; f <= c.GetMarriageCount(); ++f) {
            std::vector<std::int32_t> members{c.LinkHusband(f), c.LinkWife(f)};
            c.LinkChildren(f, kids);
            members.insert(members.end(), kids.begin(), kids.end());
            std::int32_t first = 0;
            for (std::int32_t m : members) {
                if (m < 1 || m > n) continue;
                if (first == 0) first = m;
                root[static_cast<std::size_t>(find(m))] = find(first);
            }
        }
        WIslands islands(c);
        const std::int32_t count = islands.GetIslandCount();
        std::int64_t total = 0;
        for (std::int32_t pos = 1; pos <= count; ++pos) total += islands.GetIslandSize(pos);
        EXPECT_EQ(total, n) << name;
        for (std::int32_t i = 1; i <= n; ++i) {
            const std::int32_t first = islands.GetIslandFirstIndividual(islands.GetIslandOfIndividual(i));
            ASSERT_EQ(find(first), find(i)) << name << " " << i;
            EXPECT_LE(first, i) << name << " " << i;
        }
        ++checked;
    }
    if (checked == 0) BRENTHAUL_NEED_SHARED("royal92.ged");
}

} // namespace
