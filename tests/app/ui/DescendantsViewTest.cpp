#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QSpinBox>

#include "app/ui/DescendantsView.h"
#include "app/ui/DrawGrid.h"
#include "columns/ListColumns.h"
#include "model/DescendantIterator.h"
#include "model/Options.h"
#include "platform/ui/QtText.h"
#include "support/MemCollection.h"

namespace {

// Root 1 with three marriages (Ann from the first, Bob from the second);
// Bob marries Ida and has Gus.
struct Family {
    WDefaultSettings settings;
    WMemCollection c;
    Family() {
        auto root = c.AddPerson("Root /Main/", 'M'); // 1
        auto w1 = c.AddPerson("Wife /One/", 'F');    // 2
        auto w2 = c.AddPerson("Wife /Two/", 'F');    // 3
        auto w3 = c.AddPerson("Wife /Three/", 'F');  // 4
        auto a = c.AddPerson("Ann /Main/", 'F');     // 5
        auto b = c.AddPerson("Bob /Main/", 'M');     // 6
        auto in = c.AddPerson("Ida /Law/", 'F');     // 7
        auto gc = c.AddPerson("Gus /Main/", 'M');    // 8
        c.AddFamily(root, w1).Child(a);
        c.AddFamily(root, w2).Child(b);
        c.AddFamily(root, w3);
        c.AddFamily(b, in).Child(gc);
    }
};

QString Name(WABSCollection& c, std::int32_t n) { return toQ(c.GetIndividual(n)->GetDisplayName()); }

QString Join(const DesNameLine& line) {
    QString s;
    for (const auto& p : line.Pieces) s += toQ(p.Text);
    return s;
}

TEST(DescendantsView, NameLinesMarriagesAndIndent) {
    Family f;
    WOptions::SetInt(opt::DesIndent, 8);
    WListColumns cols(nullptr, "DesList");
    cols.SetColumnList("65,67,19");
    TDescendantsView v;
    v.resize(800, 400);
    v.SetCollection(&f.c);
    v.SetColumns(&cols);
    v.ApplySettings();
    v.Fill(1);
    ASSERT_EQ(v.Grid()->RowCount(), 6);
    EXPECT_EQ(v.Grid()->ColumnCount(), 4);
    EXPECT_EQ(v.NameColumnTitle(), QStringLiteral("Descendants (3 individuals)"));
    // The second of three marriages names its ordinal.
    EXPECT_EQ(Join(v.NameLine(3)), "1 - " + Name(f.c, 1) + " + " + Name(f.c, 3) + " [2 of 3]");
    const DesNameLine third = v.NameLine(5); // Gus, generation 2
    EXPECT_EQ(Join(third), "3 - " + Name(f.c, 8));
    EXPECT_EQ(third.Indent, 16);

    // Drawn: the row's first dark pixel lies just after 16 pixels.
    QImage img(300, 20, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        v.Grid()->OnDrawCell(p, QRect(0, 0, 300, 20), 5, 0, false);
    }
    int first = -1;
    for (int x = 0; x < img.width() && first < 0; ++x)
        for (int y = 0; y < img.height(); ++y)
            if (qGray(img.pixel(x, y)) < 128) {
                first = x;
                break;
            }
    EXPECT_GE(first, 16);
    EXPECT_LE(first, 20);
}

TEST(DescendantsView, ControlsAndRepeatedIndividuals) {
    WDefaultSettings settings;
    // Cousins 4 and 5 marry; their child 6 is reached twice.
    WMemCollection c;
    auto root = c.AddPerson("Root /A/", 'M');
    auto s1 = c.AddPerson("Son /A/", 'M').Birth("1900");
    auto d1 = c.AddPerson("Dau /A/", 'F').Birth("1902");
    auto g1 = c.AddPerson("Gs /A/", 'M');
    auto g2 = c.AddPerson("Gd /B/", 'F');
    auto kid = c.AddPerson("Kid /A/", 'M');
    c.AddFamily(root, 0).Child(s1).Child(d1);
    c.AddFamily(s1, 0).Child(g1);
    c.AddFamily(0, d1).Child(g2);
    c.AddFamily(g1, g2).Child(kid);

    TDescendantsView v;
    v.SetCollection(&c);
    v.ApplySettings();
    v.Fill(root);
    v.ShowDupBox()->click(); // "Repeat Individuals" off -> on
    const bool allowRepeats = WOptions::GetBool(opt::DesRepDups);
    EXPECT_EQ(allowRepeats, v.ShowDupBox()->isChecked());
    v.ShowDupBox()->setChecked(false);
    WOptions::SetBool(opt::DesRepDups, false);
    v.Fill(root);
    ASSERT_EQ(v.DesIterator()->Count(), 7);
    const DesNameLine last = v.NameLine(7);
    ASSERT_EQ(last.Pieces.size(), 4u);
    EXPECT_EQ(Join(last), "4 - " + Name(c, kid) + " (DUPLICATED)");
    EXPECT_EQ(toQColor(last.Pieces[3].Back), QColor(0, 255, 255));

    // Generation spin edit: 0 means all; the setting follows and the list is rebuilt.
    v.GenSpinEdit()->setValue(1);
    EXPECT_EQ(v.GenLabel()->text(), QStringLiteral("Show 1 Generations"));
    EXPECT_EQ(v.DesIterator()->Count(), 3);
    v.GenSpinEdit()->setValue(0);
    EXPECT_EQ(v.GenLabel()->text(), QStringLiteral("Show ALL Generations"));
    EXPECT_EQ(WOptions::GetInt(opt::DesGenLimit), 0);
    EXPECT_EQ(v.DesIterator()->Count(), 7);

    // Double click moves to the entry's individual.
    QSignalSpy chosen(&v, &TViewPage::individualChosen);
    emit v.Grid()->dblClick(3);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<std::int32_t>(), g1);

    // A new file drops the list of the old one.
    v.SetCollection(nullptr);
    EXPECT_EQ(v.DesIterator(), nullptr);
    EXPECT_EQ(v.NameColumnTitle(), QStringLiteral("Descendants (0)"));
}

} // namespace
