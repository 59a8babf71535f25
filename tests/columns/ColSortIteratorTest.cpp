// The column-sort iterator: filling, sorting by each sort kind, direction,
// the find-index sort, message pumping, cancelling and re-entry.
#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>

#include "ColumnFixture.h"
#include "columns/Attrib.h"
#include "columns/AttribArray.h"
#include "columns/ColSortIterator.h"
#include "columns/ColumnTable.h"
#include "columns/ListColumns.h"
#include "gedcom/GEDCollection.h"
#include "model/Global.h"
#include "model/Options.h"
#include "model/StrFunc.h"
#include "platform/Hooks.h"
#include "support/TestFiles.h"

namespace {

using coltest::Family;

std::vector<std::int32_t> items(WColSortIterator& it) {
    std::vector<std::int32_t> v;
    for (std::int32_t p = 1; p <= it.Count(); ++p) v.push_back(it.GetItem(p));
    return v;
}

std::vector<std::string> texts(WColSortIterator& it, WAttrib& a) {
    std::vector<std::string> v;
    for (std::int32_t p = 1; p <= it.Count(); ++p) v.push_back(a.Text(it.GetItem(p)));
    return v;
}

// Restores the hooks and the cancel flag after a test that changes them.
struct HookScope {
    ~HookScope() {
        plat::resetHooks();
        plat::setCancelRequested(false);
    }
};

// A collection of n individuals named after a pattern.
void addPeople(WMemCollection& c, int n) {
    for (int i = 1; i <= n; ++i) c.AddPerson("P" + std::to_string(i) + " /S" + std::to_string((i * 37) % 101) + "/");
}

// An integer column whose keys come from a table, and that records how many
// messages had been pumped when each key was asked for.
class ProbeAttrib : public WAttrib {
public:
    ProbeAttrib(std::int32_t id, WABSCollection* c, const int* pumps) : WAttrib(c), m_pumps(pumps) {
        m_columnId = id;
        m_sortKind = SortKind::Integer;
    }
    void GetText(std::int32_t row, std::int32_t, std::string& s) override { s = std::to_string(row); }
    std::int32_t GetInteger(std::int32_t row) override {
        seen[row] = *m_pumps;
        return -row;
    }
    std::map<std::int32_t, int> seen;

private:
    const int* m_pumps;
};

TEST(ColSortIterator, FillsLazilyInViewOrder) {
    Family f;
    WColSortIterator it("", 0, &f.c);
    EXPECT_FALSE(it.IsSortedOnce());
    EXPECT_EQ(it.Count(), f.c.GetIndividualCount());
    EXPECT_TRUE(it.IsSortedOnce());
    for (std::int32_t p = 1; p <= it.Count(); ++p) EXPECT_EQ(it.GetItem(p), p);
    EXPECT_EQ(it.GetItem(0), 0);
    EXPECT_EQ(it.GetItem(it.Count() + 1), 0);
    WColSortIterator none("", 0, nullptr);
    EXPECT_EQ(none.Count(), 0);
    EXPECT_EQ(none.GetItem(1), 0);
    none.SortByColumnId(7);
    EXPECT_EQ(none.Count(), 0);
}

// A view of three individuals, as the island view installs one.
class ThreeView : public WCollectionIterator {
public:
    ThreeView(WABSCollection* c) : WCollectionIterator("", c, 3) {
        for (std::int32_t n : {9, 3, 6}) AddItem(n);
    }
    void Sort() override {}
};

TEST(ColSortIterator, FillsFromTheCollectionsView) {
    Family f;
    f.c.SetView(std::make_unique<ThreeView>(&f.c));
    WColSortIterator it("", f.c.GetCount(), &f.c);
    EXPECT_EQ(items(it), (std::vector<std::int32_t>{9, 3, 6}));
    auto index = ColumnTable::MakeAttrib(1, &f.c);
    it.SortBy(index.get(), true);
    EXPECT_EQ(items(it), (std::vector<std::int32_t>{3, 6, 9}));
    f.c.ClearView();
}

TEST(ColSortIterator, IndexSortThenToggleGivesDescending) {
    Family f;
    const std::int32_t n = f.c.GetIndividualCount();
    WColSortIterator it("", n, &f.c);
    auto index = ColumnTable::MakeAttrib(1, &f.c);
    it.SortBy(index.get(), true);
    EXPECT_TRUE(it.IsSorted());
    EXPECT_TRUE(it.IsAscending());
    EXPECT_EQ(it.GetSortColumnId(), 1);
    for (std::int32_t p = 1; p <= n; ++p) EXPECT_EQ(it.GetItem(p), p);
    it.SortBy(index.get(), true);
    EXPECT_FALSE(it.IsAscending());
    for (std::int32_t p = 1; p <= n; ++p) EXPECT_EQ(it.GetItem(p), n - p + 1);
    // The cursor walk follows the direction too.
    EXPECT_EQ(it.First(), n);
    EXPECT_EQ(it.Next(), n - 1);
    EXPECT_EQ(it.Last(), 1);
    EXPECT_EQ(it.Prev(), 2);
    // Without toggle the same column changes nothing.
    it.SortBy(index.get(), false);
    EXPECT_FALSE(it.IsAscending());
    // A new column with toggle starts ascending.
    auto surname = ColumnTable::MakeAttrib(4, &f.c);
    it.SortBy(surname.get(), true);
    EXPECT_TRUE(it.IsAscending());
    EXPECT_EQ(it.GetSortColumnId(), 4);
    it.SortBy(nullptr, true);
    EXPECT_EQ(it.GetSortColumnId(), 4);
}

TEST(ColSortIterator, NewColumnWithoutToggleKeepsTheDirection) {
    Family f;
    WColSortIterator it("", 0, &f.c);
    it.SetAscending(false);
    auto index = ColumnTable::MakeAttrib(1, &f.c);
    it.SortBy(index.get(), false);
    EXPECT_FALSE(it.IsAscending());
    EXPECT_EQ(it.GetItem(1), f.c.GetIndividualCount());
}

TEST(ColSortIterator, SurnamesWithAccentsSortTogether) {
    WDefaultSettings settings;
    WMemCollection c;
    auto zoe = c.AddPerson("Zo\xEB /Zed/");
    auto e1 = c.AddPerson("A /\xC9mile/");
    auto b = c.AddPerson("B /Brown/");
    auto e2 = c.AddPerson("C /EMILE/");
    auto e3 = c.AddPerson("D /emile/");
    auto f2 = c.AddPerson("E /Emilf/");
    auto o = c.AddPerson("F /\xD8ster/"); // O with stroke: an O once accents are removed
    WColSortIterator it("", 0, &c);
    auto surname = ColumnTable::MakeAttrib(4, &c);
    it.SortBy(surname.get(), true);
    auto v = items(it);
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v[0], b);
    std::set<std::int32_t> emiles(v.begin() + 1, v.begin() + 4);
    EXPECT_EQ(emiles, (std::set<std::int32_t>{e1, e2, e3}));
    EXPECT_EQ(v[4], f2);
    EXPECT_EQ(v[5], o);
    EXPECT_EQ(v[6], zoe);
    auto* keys = dynamic_cast<const WAttribStrArray*>(it.GetKeys());
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->Key(e1), "EMILE");
    EXPECT_EQ(keys->Key(o), "OSTER");
}

TEST(ColSortIterator, DateSortUsesTheWholeSortText) {
    Family f;
    WMemCollection& c = f.c;
    auto early = c.AddPerson("Early /Z/").Birth("500");
    auto late = c.AddPerson("Late /Z/").Birth("1 JAN 1855");
    auto junk = c.AddPerson("Junk /Z/").Birth("-");
    WColSortIterator it("", 0, &c);
    auto birth = ColumnTable::MakeAttrib(10, &c);
    it.SortBy(birth.get(), true);
    auto v = items(it);
    auto pos = [&](std::int32_t who) { return std::find(v.begin(), v.end(), who) - v.begin(); };
    // Pierre's "From 12 Dec 1850 to 1860" sorts in 1850: after 500 and 1 Mar 1830, before 1855.
    EXPECT_LT(pos(early), pos(f.pierre));
    EXPECT_LT(pos(f.john), pos(f.pierre));
    EXPECT_LT(pos(f.pierre), pos(late));
    // Empty keys first, then the text that is no date, then the dates.
    EXPECT_LT(pos(f.nobody), pos(junk));
    EXPECT_LT(pos(junk), pos(early));
    // Text that cannot be read word by word sorts before the dates that can.
    auto* keys = dynamic_cast<const WAttribDateArray*>(it.GetKeys());
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->KeyText(f.pierre), "FROM 12 DEC 1850 TO 1860");
}

TEST(ColSortIterator, AgeSortOrder) {
    WDefaultSettings settings;
    WFixedToday today(2026, 6, 1);
    WMemCollection c;
    auto exact = c.AddPerson("A /A/").Birth("1 JAN 1900").Death("1 JUN 1945"); // 45
    auto approx = c.AddPerson("B /B/").Birth("1900").Death("1945");            // ~45
    auto none = c.AddPerson("C /C/");
    auto young = c.AddPerson("D /D/").Birth("1 JAN 1900").Death("1 JUN 1910"); // 10
    WColSortIterator it("", 0, &c);
    auto age = ColumnTable::MakeAttrib(19, &c);
    ASSERT_EQ(age->Text(approx), "~45");
    it.SortBy(age.get(), true);
    EXPECT_EQ(items(it), (std::vector<std::int32_t>{none, young, exact, approx}));
}

TEST(ColSortIterator, SortByColumnIdSortsOnceWithoutPrefixes) {
    WDefaultSettings settings;
    WMemCollection c;
    auto b = c.AddPerson("Bob /Smith/");
    auto a = c.AddPerson("Adam /Jones/").Prefix("Zz");
    WColSortIterator it("", 0, &c);
    it.SortByColumnId(6);
    EXPECT_EQ(it.GetSortColumnId(), 6);
    EXPECT_EQ(items(it), (std::vector<std::int32_t>{a, b}));
    EXPECT_EQ(WOptions::GetString(opt::PreSuf), "T");
    // Already sorted: another id changes nothing.
    it.SortByColumnId(7);
    EXPECT_EQ(it.GetSortColumnId(), 6);
    WColSortIterator other("", 0, &c);
    other.SortByColumnId(4); // not a find column
    EXPECT_EQ(other.GetSortColumnId(), 0);
    EXPECT_FALSE(other.IsSorted());
    other.SortByColumnId(48);
    EXPECT_EQ(other.GetSortColumnId(), 48);
    // A value other than "T" or "F" comes back exactly.
    WOptions::SetString(opt::PreSuf, "x");
    WColSortIterator third("", 0, &c);
    third.SortByColumnId(2);
    EXPECT_EQ(WOptions::GetString(opt::PreSuf), "x");
}

TEST(ColSortIterator, PrefixSettingIsRestoredWhenTheSortThrows) {
    WDefaultSettings settings;
    HookScope hooks;
    WMemCollection c;
    addPeople(c, 120);
    bool sawOff = false;
    plat::hooks().processMessages = [&] {
        sawOff = !WOptions::GetBool(opt::PreSuf);
        throw std::runtime_error("pump failed");
    };
    WColSortIterator it("", 0, &c);
    EXPECT_THROW(it.SortByColumnId(6), std::runtime_error);
    EXPECT_TRUE(sawOff);
    EXPECT_EQ(WOptions::GetString(opt::PreSuf), "T");
    EXPECT_FALSE(it.IsBusy());
    EXPECT_FALSE(WColSortIterator::RebuildBlocked());
    EXPECT_FALSE(it.IsSorted());
    // The next use sorts normally.
    plat::resetHooks();
    it.SortByColumnId(6);
    EXPECT_TRUE(it.IsSorted());
}

TEST(ColSortIterator, PumpsEvery50Keys) {
    HookScope hooks;
    WMemCollection c;
    addPeople(c, 120);
    int pumps = 0;
    plat::hooks().processMessages = [&] { ++pumps; };
    ProbeAttrib probe(1, &c, &pumps);
    WColSortIterator it("", 0, &c);
    it.SortBy(&probe, true);
    ASSERT_EQ(probe.seen.size(), 120u);
    for (std::int32_t i = 1; i <= 120; ++i) EXPECT_EQ(probe.seen[i], i / 50) << i;
    // Keys -row: the sort reverses the view order.
    EXPECT_EQ(it.GetItem(1), 120);
    EXPECT_EQ(it.GetItem(120), 1);
    EXPECT_GT(pumps, 2); // the array sort pumps as well
}

TEST(ColSortIterator, CancelLeavesEverythingAsItWas) {
    HookScope hooks;
    WDefaultSettings settings;
    WMemCollection c;
    addPeople(c, 200);
    WColSortIterator it("", 0, &c);
    auto index = ColumnTable::MakeAttrib(1, &c);
    it.SortBy(index.get(), true);
    it.SortBy(index.get(), true); // descending by index
    const auto before = items(it);
    int pumps = 0;
    plat::hooks().processMessages = [&] {
        if (++pumps == 2) plat::setCancelRequested(true);
    };
    auto surname = ColumnTable::MakeAttrib(4, &c);
    it.SortBy(surname.get(), true);
    EXPECT_TRUE(it.WasCancelled());
    EXPECT_EQ(pumps, 2);
    EXPECT_EQ(it.GetSortColumnId(), 1);
    EXPECT_TRUE(it.IsSorted());
    EXPECT_FALSE(it.IsAscending());
    EXPECT_EQ(items(it), before);
    EXPECT_FALSE(WColSortIterator::RebuildBlocked());
}

TEST(ColSortIterator, ALeftOverCancelFlagDoesNotStopASort) {
    HookScope hooks;
    WMemCollection c;
    addPeople(c, 200);
    plat::setCancelRequested(true);
    WColSortIterator it("", 0, &c);
    auto surname = ColumnTable::MakeAttrib(4, &c);
    it.SortBy(surname.get(), true);
    EXPECT_FALSE(it.WasCancelled());
    EXPECT_TRUE(it.IsSorted());
    EXPECT_EQ(it.GetSortColumnId(), 4);
}

TEST(ColSortIterator, ANestedSortDuringThePumpDoesNothing) {
    HookScope hooks;
    WDefaultSettings settings;
    WMemCollection c;
    addPeople(c, 300);
    WColSortIterator it("", 0, &c);
    auto surname = ColumnTable::MakeAttrib(4, &c);
    auto index = ColumnTable::MakeAttrib(1, &c);
    int nested = 0;
    bool busySeen = true, blockedSeen = true;
    plat::hooks().processMessages = [&] {
        ++nested;
        busySeen = busySeen && it.IsBusy();
        blockedSeen = blockedSeen && WColSortIterator::RebuildBlocked();
        it.SortBy(index.get(), true); // a click on another column meanwhile
    };
    it.SortBy(surname.get(), true);
    EXPECT_GT(nested, 0);
    EXPECT_TRUE(busySeen);
    EXPECT_TRUE(blockedSeen);
    EXPECT_EQ(it.GetSortColumnId(), 4);
    EXPECT_TRUE(it.IsAscending());
    EXPECT_FALSE(it.IsBusy());
    EXPECT_FALSE(WColSortIterator::RebuildBlocked());
    // Still in surname order.
    auto v = texts(it, *surname);
    EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
}

TEST(ColSortIterator, AColumnSetRefusesRebuildsWhileItSorts) {
    HookScope hooks;
    WDefaultSettings settings;
    WMemCollection c;
    addPeople(c, 300);
    WListColumns set(&c, "List");
    set.SetColumnList("1,4");
    WColSortIterator it("", 0, &c);
    set.SetSortIterator(&it);
    int calls = 0;
    bool refused = true;
    plat::hooks().processMessages = [&] {
        ++calls;
        refused = refused && set.IsSorting() && !set.SetColumnList("7") && !set.SetCollection(nullptr);
        set.SortByColumn(1); // nested: ignored
    };
    set.SortByColumn(2);
    EXPECT_GT(calls, 0);
    EXPECT_TRUE(refused);
    EXPECT_EQ(set.GetColumnList(), "1,4");
    EXPECT_EQ(set.GetSortColumn(), 2);
    EXPECT_EQ(it.GetSortColumnId(), 4);
    EXPECT_FALSE(set.IsSorting());
    plat::resetHooks();
    EXPECT_TRUE(set.SetColumnList("7"));
    set.SetSortIterator(nullptr);
}

// Past 16,384 individuals the keys of names, dates and ages are built on
// several threads by default; the order is the one a single thread gives.
// The surname find index ranks its given names on them too: a search with
// given names finds the first and last entries a walk over it finds, with
// given names of their own, alike across the file, cut from their stored
// keys (alike or not) and holding a comma.
TEST(ColSortIterator, DefaultThreadsSortAsOneThreadDoes) {
    WDefaultSettings settings;
    const char* months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    const char* qualifiers[] = {"", "ABT ", "BEF ", "AFT ", "EST "};
    std::string text = "0 HEAD\n1 CHAR UTF-8\n";
    const int n = 33000;
    const std::string longName = "Alexandrina Maximiliana Wilhelmina Theodora ";
    for (int i = 1; i <= n; ++i) {
        const std::string year = std::to_string(1600 + i * 7 % 400);
        const std::string given[] = {longName + std::to_string(i % 3), longName + std::to_string(i),
                                     "Ann, G" + std::to_string(i % 5), "G" + std::to_string(i % 53)};
        text += "0 @I" + std::to_string(i) + "@ INDI\n1 NAME " + (i % 7 < 4 ? given[i % 7] : "G" + std::to_string(i)) +
                " /S" + std::to_string(i * 37 % 211) + "/\n1 SEX " + (i % 2 ? "M" : "F") + "\n";
        if (i % 9) text += "1 BIRT\n2 DATE " + std::string(qualifiers[i % 5]) + months[i % 12] + " " + year + "\n";
        if (i % 4 == 0) text += "1 DEAT\n2 DATE " + std::to_string(i % 28 + 1) + " JUN " + year.substr(0, 3) + "9\n";
        if (i % 3 == 0) text += "1 FAMS @F" + std::to_string(i / 3) + "@\n";
        if (i % 3 == 2 && i > 3) text += "1 FAMC @F" + std::to_string(i / 3 - 1) + "@\n";
    }
    for (int f = 1; f <= n / 3; ++f)
        text += "0 @F" + std::to_string(f) + "@ FAM\n1 HUSB @I" + std::to_string(3 * f) + "@\n1 CHIL @I" +
                std::to_string(3 * f + 5) + "@\n1 MARR\n2 DATE " + std::to_string(1650 + f % 300) + "\n";
    text += "0 TRLR\n";
    tsupport::TempDir dir;
    tsupport::writeFile(dir.file("many.ged"), text);
    WGEDCollection c(dir.file("many.ged"));
    ASSERT_TRUE(c.Open());
    c.AfterOpen();
    ASSERT_GT(c.GetIndividualCount(), 16384);
    std::set<std::int32_t> kinds;
    for (std::int32_t id = 1; id <= ColumnTable::kColumnCount; ++id) {
        auto attrib = ColumnTable::MakeAttrib(id, &c);
        if (!attrib->CloneForThread()) continue;
        kinds.insert(attrib->GetSortKind());
        WColSortIterator one("", c.GetCount(), &c), many("", c.GetCount(), &c);
        WColSortIterator::SetKeyThreads(1);
        one.SortBy(attrib.get(), true);
        WColSortIterator::SetKeyThreads(0);
        many.SortBy(attrib.get(), true);
        EXPECT_EQ(items(many), items(one)) << "column " << id;
    }
    EXPECT_EQ(kinds, (std::set<std::int32_t>{SortKind::Text, SortKind::Date, SortKind::Age}));

    WColSortIterator index("", c.GetCount(), &c);
    index.SortByColumnId(7);
    const std::int32_t count = index.Count();
    auto keyOf = [](const std::string& text) { return Global::ToUpper(StrFunc::SquashBlanks(text)); };
    std::vector<std::pair<std::string, std::string>> entries(std::size_t(count) + 1);
    for (std::int32_t p = 1; p <= count; ++p) {
        auto name = c.GetIndividual(index.GetItem(p))->GetName();
        entries[std::size_t(p)] = {keyOf(name->GetSurnameText()), keyOf(name->GetGiven())};
    }
    for (std::int32_t i = 1; i <= n; i += 331) {
        auto name = c.GetIndividual(i)->GetName();
        const std::string surname = name->GetSurnameText(), given = name->GetGiven();
        for (const auto& [s, g] : {std::pair(std::string(), given.substr(0, 1)),
                                   {std::string(), given.substr(0, 4)},
                                   {std::string(), given},
                                   {surname.substr(0, 2), given}}) {
            auto matches = [&, &s = s, &g = g](std::int32_t p) {
                return entries[std::size_t(p)].first.rfind(keyOf(s), 0) == 0 &&
                       entries[std::size_t(p)].second.rfind(keyOf(g), 0) == 0;
            };
            const auto search = WCollectionIterator::SurnameGivenSearch(s, g);
            SCOPED_TRACE(s + ", " + g);
            for (std::int32_t from : {1, count / 2, count}) {
                std::int32_t next = from, prev = from;
                while (next <= count && !matches(next)) ++next;
                while (prev >= 1 && !matches(prev)) --prev;
                EXPECT_EQ(index.NextMatch(from, search), next > count ? 0 : next) << from;
                EXPECT_EQ(index.PrevMatch(from, search), prev) << from;
            }
        }
    }
}

} // namespace
