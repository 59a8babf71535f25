#include "model/ui/IndInfoPanel.h"

#include <QFontMetrics>
#include <QPainter>

#include "model/Global.h"
#include "platform/ui/QtText.h"

namespace {
constexpr int kDefaultPointSize = 8;
constexpr int kTextLeft = 4;
} // namespace

TIndInfoPanel::TIndInfoPanel(QWidget* parent) : QWidget(parent) {
    QFont f = font();
    f.setPointSize(kDefaultPointSize);
    setFont(f);
    fLineHeight = kDefaultPointSize + 5;
    fBoxWidth = Global::IsLargeFonts() ? int(7 * 1.25) : 7;
    setAttribute(Qt::WA_OpaquePaintEvent);
    Layout();
}

void TIndInfoPanel::Layout() {
    const int h = fLineHeight;
    const int height = fLinesToShow == 1 ? h + 2 : fLinesToShow == 2 ? 2 * h + 3 : 3 * h + 4;
    if (this->height() != height) setFixedHeight(height);
    update();
}

QRect TIndInfoPanel::LineRect(int k) const {
    if (k < 0 || k > 2) return QRect();
    const int h = fLineHeight;
    return QRect(QPoint(1, k * (h + 1)), QPoint(width() - 2, k * (h + 1) + h));
}

void TIndInfoPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void TIndInfoPanel::SetLinesToShow(int lines) {
    if (lines < 1 || lines > 3 || lines == fLinesToShow) return;
    fLinesToShow = lines;
    Layout();
}

void TIndInfoPanel::SetNameString(const std::string& text) {
    fName = text;
    update();
}

void TIndInfoPanel::SetBirthString(const std::string& text) {
    fBirth = text;
    if (fLinesToShow > 1) update();
}

void TIndInfoPanel::SetDeathString(const std::string& text) {
    fDeath = text;
    if (fLinesToShow > 2) update();
}

void TIndInfoPanel::Clear() {
    fName.clear();
    fBirth.clear();
    fDeath.clear();
    LDSBap = LDSEnd = LDSSS = LDSSP = false;
    update();
}

void TIndInfoPanel::SetFontSize(int size) {
    if (size < 1) return;
    QFont f = font();
    f.setPointSize(size);
    setFont(f);
    fLineHeight = size + 6;
    Layout();
}

void TIndInfoPanel::SetFontColor(plat::ColorRef colour) {
    fFontColor = colour;
    update();
}

void TIndInfoPanel::SetColor(plat::ColorRef colour) {
    fColor = colour;
    update();
}

int TIndInfoPanel::NameFitWidth() const {
    QFont bold = font();
    bold.setBold(true);
    // The text starts at kTextLeft and ends clear of the frame, or of the LDS box.
    const int text = kTextLeft + QFontMetrics(bold).horizontalAdvance(toQ(fName)) + 2;
    return UseLDS ? text + 4 * fBoxWidth + 4 : text;
}

QRect TIndInfoPanel::LDSBoxRect() const {
    if (!UseLDS) return QRect();
    const int w = width();
    return QRect(QPoint(w - 4 * fBoxWidth - 5, NameRect().top() + 1), QPoint(w - 2, NameRect().bottom() - 1));
}

QRect TIndInfoPanel::LDSCellRect(int k) const {
    const QRect box = LDSBoxRect();
    if (box.isNull() || k < 0 || k > 3) return QRect();
    return QRect(box.left() + k * fBoxWidth, box.top(), fBoxWidth, box.height());
}

std::string TIndInfoPanel::LDSLetters() const {
    std::string s = "    ";
    if (LDSBap) s[0] = 'B';
    if (LDSEnd) s[1] = 'E';
    if (LDSSP) s[2] = 'P';
    if (LDSSS) s[3] = 'S';
    return s;
}

void TIndInfoPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor back = toQColor(fColor);
    const QColor ink = toQColor(fFontColor);
    const int w = width();
    p.fillRect(rect(), back);
    p.setPen(ink);
    p.setFont(font());
    const int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    auto textRect = [&](const QRect& line) { return QRect(kTextLeft, line.top(), w - kTextLeft - 1, line.height()); };
    if (fLinesToShow > 1) p.drawText(textRect(BirthRect()), textFlags, toQ(fBirth));
    if (fLinesToShow > 2) p.drawText(textRect(DeathRect()), textFlags, toQ(fDeath));

    p.fillRect(NameRect(), back);
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(textRect(NameRect()), textFlags, toQ(fName));

    if (UseLDS) {
        const QRect box = LDSBoxRect();
        p.fillRect(box, back);
        QFont small = font();
        small.setPointSize(8);
        p.setFont(small);
        const std::string letters = LDSLetters();
        for (int k = 0; k < 4; ++k)
            if (letters[size_t(k)] != ' ')
                p.drawText(LDSCellRect(k), Qt::AlignCenter, QString(QChar(letters[size_t(k)])));
        p.setPen(Qt::black);
        const int nameBottom = NameRect().bottom();
        p.drawLine(box.left(), NameRect().top(), box.left(), nameBottom + (fLinesToShow == 1 ? 1 : 0));
        if (fLinesToShow >= 2) p.drawLine(box.left(), nameBottom, w - 1, nameBottom);
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
