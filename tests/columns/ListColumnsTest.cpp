// Column sets: parsing the column list, titles, widths in the settings file,
// sort column and direction marks, the chooser order.
#include "ColumnFixture.h"

#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "model/Ini2.h"
#include "model/WaitHooks.h"
#include "support/TestFiles.h"
#include <set>

namespace {

using coltest::Family;

// A private settings file opened through ini2 for the test.
class IniScope {
public:
    IniScope() { ini2::Open(m_path); }
    ~IniScope() { ini2::Close(); }
    std::string Text() const { return tsupport::readFile(m_path); }
    void Write(const std::string& text) {
        ini2::Close();
        tsupport::writeFile(m_path, text);
        ini2::Open(m_path);
    }

private:
    tsupport::TempDir m_dir{"brenthaul-listcols"};
    std::string m_path = m_dir.file("zelt.ini");
};

std::string title(const WListColumns& set, std::int32_t pos, bool longTitle, std::int32_t* mark = nullptr) {
    std::int32_t m = 0;
    std::string s;
    set.GetColumnTitle(pos, longTitle, m, s);
    if (mark) *mark = m;
    return s;
}

TEST(ListColumns, TitlesOfAGedcomFile) {
    Family f;
    WListColumns set(&f.c, "List");
    set.SetColumnList("1,2,7");
    ASSERT_EQ(set.GetCount(), 3);
    EXPECT_EQ(title(set, 1, false), "Index");
    EXPECT_EQ(title(set, 2, false), "REF");
    EXPECT_EQ(title(set, 3, false), "Surname, Given");
    EXPECT_EQ(title(set, 1, true), "Index");
    EXPECT_EQ(title(set, 2, true), "REF");
    EXPECT_EQ(title(set, 3, true), "Surname, Given");
    EXPECT_EQ(set.GetColumnList(), "1,2,7");
    // Without a collection id 2 keeps its table title.
    WListColumns bare(nullptr, "List");
    bare.SetColumnList("2,20");
    EXPECT_EQ(title(bare, 1, false), "RIN");
    EXPECT_EQ(title(bare, 2, false), "Mar. Age");
    EXPECT_EQ(title(bare, 2, true), "Married Age");
    EXPECT_EQ(set.GetTitleForId(0, false), "DONTDOIT");
    EXPECT_EQ(set.GetTitleForId(2, true), "REF");
    EXPECT_EQ(bare.GetTitleForId(59, true), "Father's age at birth");
}

TEST(ListColumns, UnknownIdsShowError) {
    Family f;
    WListColumns set(&f.c, "List");
    set.SetColumnList("1,99,2");
    ASSERT_EQ(set.GetCount(), 3);
    EXPECT_EQ(title(set, 2, false), "ERROR");
    EXPECT_EQ(set.CellText(2, f.john), "ERROR");
    EXPECT_EQ(set.GetColumnId(2), 0);
    EXPECT_EQ(set.GetColumnId(3), 2);
    EXPECT_EQ(set.CellText(3, f.john), "I3");
    EXPECT_EQ(set.GetTabStops(2), nullptr);
    EXPECT_EQ(set.GetColumnWidth(2), WListColumns::kUnknownWidth);
    set.SetColumnWidth(2, 500); // goes nowhere
    EXPECT_EQ(set.GetColumnWidth(2), WListColumns::kUnknownWidth);
    // Positions outside the set.
    EXPECT_EQ(title(set, 0, false), "ERROR");
    EXPECT_EQ(title(set, 4, false), "ERROR");
    EXPECT_EQ(set.CellText(4, f.john), "ERROR");
    EXPECT_EQ(set.GetColumnId(-1), 0);
}

TEST(ListColumns, ItemsThatAreNoNumbersAreSkipped) {
    Family f;
    WListColumns set(&f.c, "List");
    set.SetColumnList("1,,2");
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetColumnId(1), 1);
    EXPECT_EQ(set.GetColumnId(2), 2);
    set.SetColumnList(" 7 ,x, 4a,-3,0,65,");
    ASSERT_EQ(set.GetCount(), 4);
    EXPECT_EQ(set.GetColumnId(1), 7);
    EXPECT_EQ(set.GetColumnId(2), 0); // -3: a number, no column
    EXPECT_EQ(set.GetColumnId(3), 0); // 0
    EXPECT_EQ(set.GetColumnId(4), 65);
    set.SetColumnList("");
    EXPECT_EQ(set.GetCount(), 0);
    set.SetColumnList("99999999999999999999,5");
    ASSERT_EQ(set.GetCount(), 2);
    EXPECT_EQ(set.GetColumnId(1), 0);
    EXPECT_EQ(set.GetColumnId(2), 5);
}

TEST(ListColumns, AtMost68Positions) {
    Family f;
    std::string text;
    for (int k = 1; k <= 70; ++k) text += std::to_string((k - 1) % 68 + 1) + ",";
    WListColumns set(&f.c, "List");
    set.SetColumnList(text);
    EXPECT_EQ(set.GetCount(), 68);
    EXPECT_EQ(set.GetColumnId(68), 68);
    EXPECT_EQ(set.GetColumnId(69), 0);
}

TEST(ListColumns, WidthsAreReadPerIdAndWrittenOnlyForShownIds) {
    IniScope ini;
    ini.Write("[List]\r\n7=222\r\n5=abc\r\n[DesList]\r\n7=99\r\n");
    Family f;
    {
        WListColumns set(&f.c, "List");
        set.SetColumnList("1,7,5");
        EXPECT_EQ(set.GetColumnWidth(1), 40);  // default
        EXPECT_EQ(set.GetColumnWidth(2), 222); // from the file
        EXPECT_EQ(set.GetColumnWidth(3), 160); // not a number: default
        set.SetColumnWidth(1, 55);
        WListColumns des(&f.c, "DesList");
        des.SetColumnList("7");
        EXPECT_EQ(des.GetColumnWidth(1), 99);
    }
    std::string text = ini.Text();
    EXPECT_NE(text.find("1=55"), std::string::npos) << text;
    EXPECT_NE(text.find("7=222"), std::string::npos) << text;
    EXPECT_NE(text.find("5=160"), std::string::npos) << text;
    EXPECT_EQ(text.find("0="), std::string::npos) << text;
    EXPECT_EQ(text.find("2="), std::string::npos) << text;
    EXPECT_EQ(text.find("65="), std::string::npos) << text;
}

TEST(ListColumns, UnknownIdsWriteNoWidth) {
    IniScope ini;
    Family f;
    {
        WListColumns set(&f.c, "IslandList");
        set.SetColumnList("1,99,0,x,7");
    }
    std::string text = ini.Text();
    EXPECT_NE(text.find("[IslandList]"), std::string::npos) << text;
    EXPECT_NE(text.find("1=40"), std::string::npos) << text;
    EXPECT_NE(text.find("7=160"), std::string::npos) << text;
    EXPECT_EQ(text.find("99="), std::string::npos) << text;
    EXPECT_EQ(text.find("\n0="), std::string::npos) << text;
}

TEST(ListColumns, WithoutSettingsFileWidthsAreZero) {
    ini2::Close();
    WListColumns set(nullptr, "List");
    set.SetColumnList("1");
    EXPECT_EQ(set.GetColumnWidth(1), 0);
}

TEST(ListColumns, SortByColumnTwiceReversesAndMarks) {
    Family f;
    WListColumns set(&f.c, "List");
    set.SetColumnList("1,2,7");
    std::int32_t mark = 0;
    title(set, 2, false, &mark);
    EXPECT_EQ(mark, 1);
    WColSortIterator it("", f.c.GetCount(), &f.c);
    set.SortByColumn(2); // no iterator yet: nothing sorts, no mark
    title(set, 2, false, &mark);
    EXPECT_EQ(mark, 1);
    set.SetSortIterator(&it); // sorts by the remembered column
    title(set, 2, false, &mark);
    EXPECT_EQ(mark, 2);
    set.SortByColumn(2);
    title(set, 2, false, &mark);
    EXPECT_EQ(mark, 3);
    EXPECT_FALSE(set.IsAscending());
    EXPECT_FALSE(it.IsAscending());
    title(set, 1, false, &mark);
    EXPECT_EQ(mark, 1);
    set.SortByColumn(2);
    title(set, 2, false, &mark);
    EXPECT_EQ(mark, 2);
    // A new column starts ascending.
    set.SortByColumn(2);
    set.SortByColumn(3);
    EXPECT_TRUE(set.IsAscending());
    EXPECT_EQ(it.GetSortColumnId(), 7);
    // Resort keeps the direction.
    set.SortByColumn(3);
    set.Resort();
    EXPECT_FALSE(it.IsAscending());
    set.ClearSortColumn();
    title(set, 3, false, &mark);
    EXPECT_EQ(mark, 1);
}

TEST(ListColumns, SortingShowsTheWaitDialog) {
    Family f;
    std::vector<std::string> shown;
    int hides = 0;
    WaitHooks::handlers().show = [&](const std::string& m, bool, bool) { shown.push_back(m); };
    WaitHooks::handlers().hide = [&] { ++hides; };
    {
        WListColumns set(&f.c, "List");
        set.SetColumnList("7");
        WColSortIterator it("", f.c.GetCount(), &f.c);
        set.SetSortIterator(&it);
        EXPECT_TRUE(shown.empty()); // no sort column yet
        set.SortByColumn(1);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], "Sorting.  Please Wait...");
        EXPECT_EQ(hides, 1);
        // A new iterator takes the set's direction and is sorted at once.
        set.SortByColumn(1);
        WColSortIterator other("", f.c.GetCount(), &f.c);
        set.SetSortIterator(&other);
        EXPECT_FALSE(other.IsAscending());
        EXPECT_EQ(other.GetSortColumnId(), 7);
        EXPECT_EQ(hides, 3);
        set.SetSortIterator(nullptr);
    }
    WaitHooks::reset();
}

TEST(ListColumns, NewCollectionForgetsSortAndReference) {
    Family f;
    WListColumns set(&f.c, "List");
    set.SetColumnList("38,7");
    set.SetReferencePerson(f.tom);
    EXPECT_EQ(set.CellText(1, f.alice), "Aunt");
    WColSortIterator it("", f.c.GetCount(), &f.c);
    set.SetSortIterator(&it);
    set.SortByColumn(2);
    EXPECT_EQ(set.GetSortColumn(), 2);
    WMemCollection other;
    other.AddPerson("Solo /One/");
    EXPECT_TRUE(set.SetCollection(&other));
    EXPECT_EQ(set.GetSortColumn(), -1);
    EXPECT_EQ(set.CellText(2, 1), "One, Solo");
    EXPECT_EQ(set.CellText(1, 1), ""); // reference person 0
    set.SetSortIterator(nullptr);
}

TEST(ListColumns, ChooserOrder) {
    EXPECT_EQ(WListColumns::GetChooserPosition(48), 4);
    EXPECT_EQ(WListColumns::GetChooserPosition(0), 0);
    EXPECT_EQ(WListColumns::GetChooserPosition(69), 0);
    EXPECT_EQ(WListColumns::GetColumnIdAt(1), 1);
    EXPECT_EQ(WListColumns::GetColumnIdAt(11), 65);
    EXPECT_EQ(WListColumns::GetColumnIdAt(68), 55);
    EXPECT_EQ(WListColumns::GetColumnIdAt(0), 0);
    EXPECT_EQ(WListColumns::GetColumnIdAt(69), 0);
    std::set<std::int32_t> ids;
    for (std::int32_t p = 1; p <= 68; ++p) {
        ids.insert(WListColumns::GetColumnIdAt(p));
        EXPECT_EQ(WListColumns::GetChooserPosition(WListColumns::GetColumnIdAt(p)), p);
    }
    EXPECT_EQ(ids.size(), 68u);
}

TEST(ListColumns, ColumnsText) {
    Family f;
    WListColumns set(&f.c, "List");
    set.SetColumnList("1,2,20");
    std::string s;
    set.GetColumnsText(s);
    EXPECT_EQ(s, "Column 1: Index\r\nColumn 2: REF\r\nColumn 3: Married Age");
    set.SetColumnList("");
    set.GetColumnsText(s);
    EXPECT_EQ(s, "");
}

} // namespace
