// Every column on real files: cell texts and sorts never fail, sorting is the
// same run to run, and the order agrees with the comparer.
#include "columns/Attrib.h"
#include "columns/AttribArray.h"
#include "columns/ColSortIterator.h"
#include "columns/ColumnTable.h"
#include "columns/ListColumns.h"
#include "gedcom/GEDCollection.h"
#include "support/MemCollection.h"
#include "support/SharedData.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using tsupport::sharedFile;

std::unique_ptr<WGEDCollection> open(const std::string& name) {
    auto c = std::make_unique<WGEDCollection>(sharedFile(name));
    EXPECT_TRUE(c->Open()) << name;
    c->AfterOpen();
    return c;
}

std::vector<std::int32_t> sortedBy(WABSCollection& c, std::int32_t id, std::int32_t reference,
                                   std::unique_ptr<WColSortIterator>& keep) {
    keep = std::make_unique<WColSortIterator>("", c.GetCount(), &c);
    auto a = ColumnTable::MakeAttrib(id, &c);
    a->SetReferencePerson(reference);
    keep->SortBy(a.get(), true);
    std::vector<std::int32_t> v;
    for (std::int32_t p = 1; p <= keep->Count(); ++p) v.push_back(keep->GetItem(p));
    return v;
}

// Adjacent entries never out of order (for the kinds whose comparer is a strict weak order).
void expectOrdered(const WColSortIterator& it, const std::vector<std::int32_t>& v, std::int32_t kind) {
    const WAttribArray* keys = it.GetKeys();
    ASSERT_NE(keys, nullptr);
    WCompareProc cmp = keys->Comparer();
    if (kind == SortKind::Date) return;
    for (std::size_t k = 1; k < v.size(); ++k)
        ASSERT_LE(cmp(&v[k - 1], &v[k], const_cast<WAttribArray*>(keys)), 0) << "at " << k;
}

class RealFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(RealFiles, EveryColumnSortsTheSameTwiceAndInOrder) {
    const std::string name = GetParam();
    BRENTHAUL_NEED_SHARED(name);
    WDefaultSettings settings;
    auto c = open(name);
    const std::int32_t n = c->GetIndividualCount();
    ASSERT_GT(n, 0);
    for (std::int32_t id = 1; id <= ColumnTable::kColumnCount; ++id) {
        SCOPED_TRACE("column " + std::to_string(id));
        std::unique_ptr<WColSortIterator> it1, it2;
        auto first = sortedBy(*c, id, 1, it1);
        auto second = sortedBy(*c, id, 1, it2);
        ASSERT_EQ(first.size(), static_cast<std::size_t>(n));
        EXPECT_EQ(first, second);
        // Every individual exactly once.
        std::vector<std::int32_t> sorted = first;
        std::sort(sorted.begin(), sorted.end());
        for (std::int32_t i = 0; i < n; ++i) ASSERT_EQ(sorted[static_cast<std::size_t>(i)], i + 1);
        expectOrdered(*it1, first, ColumnTable::SortKindOf(id));
        // The ranked keys move as the comparer alone would, ties and all.
        WAttribArray* keys = const_cast<WAttribArray*>(it1->GetKeys());
        if (keys) {
            WABSArrayIndex plain("", false, 4, n);
            for (std::int32_t p = 1; p <= n; ++p) {
                const std::int32_t individual = c->ViewToIndex(p);
                plain.Add(&individual);
            }
            plain.Sort(keys->Comparer(), keys, false);
            for (std::int32_t p = 1; p <= n; ++p)
                ASSERT_EQ(std::memcmp(plain.GetPtr(p), &first[std::size_t(p - 1)], 4), 0) << "at " << p;
        }
        // Descending is the exact reverse.
        auto a = ColumnTable::MakeAttrib(id, c.get());
        it1->SortBy(a.get(), true);
        for (std::int32_t p = 1; p <= n; ++p) ASSERT_EQ(it1->GetItem(p), first[static_cast<std::size_t>(n - p)]);
    }
}

TEST_P(RealFiles, EveryCellOfEveryFamily) {
    const std::string name = GetParam();
    BRENTHAUL_NEED_SHARED(name);
    WDefaultSettings settings;
    auto c = open(name);
    WListColumns set(c.get(), "List");
    std::string all;
    for (std::int32_t id = 1; id <= 68; ++id) all += std::to_string(id) + ",";
    set.SetColumnList(all);
    ASSERT_EQ(set.GetCount(), 68);
    set.SetReferencePerson(1);
    std::int64_t filled = 0;
    for (std::int32_t row = 1; row <= c->GetIndividualCount(); ++row)
        for (std::int32_t fam = 0; fam <= 3; ++fam)
            for (std::int32_t pos = 1; pos <= 68; ++pos) {
                std::string s = set.CellText(pos, row, fam);
                ASSERT_NE(s, "ERROR");
                filled += s.empty() ? 0 : 1;
            }
    EXPECT_GT(filled, 0);
    std::int32_t mark = 0;
    std::string title;
    set.GetColumnTitle(2, false, mark, title);
    EXPECT_EQ(title, "REF");
}

INSTANTIATE_TEST_SUITE_P(TortureAndRoyal, RealFiles,
                         ::testing::Values("TGC55C.ged", "TGC55CLF.ged", "TGC551LF.ged", "royal92.ged"));

// Keys built on several threads give the very keys and order of one thread.
TEST_P(RealFiles, EveryColumnSortsAlikeOnOneThreadAndOnMany) {
    const std::string name = GetParam();
    BRENTHAUL_NEED_SHARED(name);
    WDefaultSettings settings;
    auto c = open(name);
    for (std::int32_t id = 1; id <= ColumnTable::kColumnCount; ++id) {
        SCOPED_TRACE("column " + std::to_string(id));
        std::unique_ptr<WColSortIterator> one, many;
        WColSortIterator::SetKeyThreads(1);
        auto expected = sortedBy(*c, id, 1, one);
        WColSortIterator::SetKeyThreads(5);
        auto got = sortedBy(*c, id, 1, many);
        WColSortIterator::SetKeyThreads(0);
        ASSERT_EQ(got, expected);
        const auto* a = dynamic_cast<const WAttribDateArray*>(one->GetKeys());
        const auto* b = dynamic_cast<const WAttribDateArray*>(many->GetKeys());
        if (!a || !b) continue;
        for (std::int32_t i = 1; i <= c->GetIndividualCount(); ++i) {
            ASSERT_EQ(b->KeyText(i), a->KeyText(i)) << i;
            ASSERT_EQ(b->RecordOf(i)->slot, a->RecordOf(i)->slot) << i;
        }
    }
}

// Cells of a small GEDCOM file read end to end (the reader gives identifiers
// without their letter: @I3@ is "3").
TEST(GedcomCells, SmallFileThroughTheReader) {
    WDefaultSettings settings;
    const std::string text =
        "0 HEAD\n1 CHAR ANSEL\n"
        "0 @I1@ INDI\n1 NAME Jean /Dupont/\n1 SEX M\n1 BIRT\n2 DATE 15 MAR 1830\n2 PLAC Paris\n1 FAMS @F1@\n"
        "1 REFN 77\n"
        "0 @I2@ INDI\n1 NAME Marie /Curie/\n1 SEX F\n1 FAMS @F1@\n"
        "0 @I3@ INDI\n1 NAME Paul /Dupont/\n1 CHR\n2 DATE 2 APR 1860\n1 FAMC @F1@\n"
        "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 CHIL @I3@\n1 MARR\n2 DATE 1855\n2 PLAC Lyon\n"
        "0 TRLR\n";
    const tsupport::TempDir dir("brenthaul-colged");
    const std::string path = dir.file("small.ged");
    tsupport::writeFile(path, text);
    WGEDCollection c(path);
    ASSERT_TRUE(c.Open());
    c.AfterOpen();
    WListColumns set(&c, "List");
    set.SetColumnList("1,2,7,65,67,18,20,48,41,59");
    std::vector<std::string> paul, jean;
    for (std::int32_t p = 1; p <= set.GetCount(); ++p) {
        paul.push_back(set.CellText(p, 3));
        jean.push_back(set.CellText(p, 1));
    }
    EXPECT_EQ(paul, (std::vector<std::string>{"3", "3", "Dupont, Paul", "[2 Apr 1860]", "", "Jean /Dupont/", "", "", "",
                                              "[30]"}));
    EXPECT_EQ(jean, (std::vector<std::string>{"1", "1", "Dupont, Jean", "15 Mar 1830", "", "(S)-Marie /Curie/", "~25",
                                              "77", "Lyon", ""}));
    std::int32_t mark = 0;
    std::string title;
    set.GetColumnTitle(2, true, mark, title);
    EXPECT_EQ(title, "REF");
}

TEST(RealFileKeys, Royal92NamesAndFindIndexes) {
    BRENTHAUL_NEED_SHARED("royal92.ged");
    WDefaultSettings settings;
    auto c = open("royal92.ged");
    // The four find indexes, each sorted on first use.
    for (std::int32_t id : {2, 6, 7, 48}) {
        WColSortIterator it("", c->GetCount(), c.get());
        EXPECT_FALSE(it.IsSorted());
        it.SortByColumnId(id);
        EXPECT_TRUE(it.IsSorted()) << id;
        EXPECT_EQ(it.GetSortColumnId(), id);
        EXPECT_EQ(it.Count(), c->GetIndividualCount());
    }
    // Surname search on the surname index finds a surname that starts with the text.
    WColSortIterator it("", c->GetCount(), c.get());
    it.SortByColumnId(7);
    std::int32_t pos = it.FindSurnameGiven("Windsor", "");
    ASSERT_GT(pos, 0);
    auto ind = c->GetIndividual(it.GetItem(pos));
    ASSERT_NE(ind, nullptr);
    EXPECT_EQ(ind->GetSurnameText().substr(0, 7), "Windsor");
}

} // namespace
