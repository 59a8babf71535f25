#include <gtest/gtest.h>

#include <QImage>

#include "model/Global.h"
#include "model/ui/IndInfoPanel.h"
#include "platform/Hooks.h"

namespace {

// Pixels inside r (shrunk by one on every side) that are darker than mid-grey.
int inkIn(const QImage& img, const QRect& r) {
    int n = 0;
    const QRect in = r.adjusted(1, 1, -1, -1);
    for (int y = in.top(); y <= in.bottom(); ++y)
        for (int x = in.left(); x <= in.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) ++n;
    return n;
}

QImage render(TIndInfoPanel& p) { return p.grab().toImage().convertToFormat(QImage::Format_RGB32); }

} // namespace

TEST(IndInfoPanel, HeightFollowsLinesAndFontSize) {
    TIndInfoPanel p;
    p.resize(200, p.height());
    const int h = p.LineHeight();
    EXPECT_EQ(h, 13); // 8 point + 5
    EXPECT_EQ(p.height(), 3 * h + 4);
    p.SetLinesToShow(1);
    EXPECT_EQ(p.height(), h + 2);
    p.SetLinesToShow(2);
    EXPECT_EQ(p.height(), 2 * h + 3);
    p.SetLinesToShow(0);
    p.SetLinesToShow(4);
    EXPECT_EQ(p.LinesToShow(), 2);
    EXPECT_EQ(p.height(), 2 * h + 3);
    p.SetLinesToShow(3);
    p.SetFontSize(10);
    EXPECT_EQ(p.LineHeight(), 16);
    EXPECT_EQ(p.height(), 3 * 16 + 4);
    EXPECT_EQ(p.NameRect(), QRect(QPoint(1, 0), QPoint(198, 16)));
    EXPECT_EQ(p.BirthRect().top(), 17);
    EXPECT_EQ(p.DeathRect().top(), 34);
    EXPECT_EQ(p.DeathRect().bottom(), 50);
    p.resize(300, p.height());
    EXPECT_EQ(p.NameRect().right(), 298);
}

TEST(IndInfoPanel, DrawsTheLinesItShows) {
    TIndInfoPanel p;
    p.SetFontSize(10);
    p.resize(240, p.height());
    QImage blank = render(p);
    EXPECT_EQ(inkIn(blank, p.NameRect()), 0);
    EXPECT_EQ(inkIn(blank, p.BirthRect()), 0);
    // The black frame round the panel.
    EXPECT_LT(qGray(blank.pixel(0, 0)), 64);
    EXPECT_LT(qGray(blank.pixel(239, p.height() - 1)), 64);

    p.SetNameString("Smith, John");
    p.SetBirthString("1 Jan 1850, London");
    p.SetDeathString("2 Feb 1900, York");
    QImage full = render(p);
    EXPECT_GT(inkIn(full, p.NameRect()), 10);
    EXPECT_GT(inkIn(full, p.BirthRect()), 10);
    EXPECT_GT(inkIn(full, p.DeathRect()), 10);

    // With two lines the death text is kept but not drawn.
    p.SetLinesToShow(2);
    EXPECT_EQ(p.DeathString(), "2 Feb 1900, York");
    QImage two = render(p);
    EXPECT_EQ(two.height(), 2 * p.LineHeight() + 3);
    EXPECT_GT(inkIn(two, p.BirthRect()), 10);

    p.Clear();
    EXPECT_EQ(p.NameString(), "");
    EXPECT_EQ(p.BirthString(), "");
    QImage cleared = render(p);
    EXPECT_EQ(inkIn(cleared, p.NameRect()), 0);
    EXPECT_EQ(inkIn(cleared, p.BirthRect()), 0);
}

TEST(IndInfoPanel, LdsLettersSitInTheirCells) {
    TIndInfoPanel p;
    p.SetFontSize(10);
    p.resize(240, p.height());
    p.SetNameString("");
    EXPECT_TRUE(p.LDSBoxRect().isNull());
    p.UseLDS = true;
    p.LDSSP = true;
    EXPECT_EQ(p.LDSLetters(), "  P ");
    EXPECT_EQ(p.LDSCellRect(2).left(), p.LDSBoxRect().left() + 2 * p.LDSBoxWidth());
    EXPECT_EQ(p.LDSBoxRect().right(), 238);
    const QImage img = render(p);
    EXPECT_EQ(inkIn(img, p.LDSCellRect(0)), 0);
    EXPECT_EQ(inkIn(img, p.LDSCellRect(1)), 0);
    EXPECT_GT(inkIn(img, p.LDSCellRect(2)), 0);
    EXPECT_EQ(inkIn(img, p.LDSCellRect(3)), 0);

    p.LDSBap = p.LDSEnd = p.LDSSS = true;
    EXPECT_EQ(p.LDSLetters(), "BEPS");
    p.Clear();
    EXPECT_EQ(p.LDSLetters(), "    ");
    const QImage cleared = render(p);
    for (int k = 0; k < 4; ++k) EXPECT_EQ(inkIn(cleared, p.LDSCellRect(k)), 0) << k;
}

TEST(IndInfoPanel, ColoursAndLargeFonts) {
    TIndInfoPanel p;
    p.resize(120, p.height());
    p.SetColor(plat::kYellow);
    const QImage img = render(p);
    const QRgb inside = img.pixel(60, p.BirthRect().center().y());
    EXPECT_EQ(qRed(inside), 255);
    EXPECT_EQ(qGreen(inside), 255);
    EXPECT_EQ(qBlue(inside), 0);
    EXPECT_EQ(p.LDSBoxWidth(), 7);

    plat::hooks().screenDpi = [] { return 120; };
    Global::ForgetLargeFonts();
    TIndInfoPanel large;
    EXPECT_EQ(large.LDSBoxWidth(), 8);
    plat::resetHooks();
    Global::ForgetLargeFonts();
}
