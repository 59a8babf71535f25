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
    m_lineHeight = kDefaultPointSize + 5;
    m_boxWidth = Global::IsLargeFonts() ? int(7 * 1.25) : 7;
    setAttribute(Qt::WA_OpaquePaintEvent);
    Layout();
}

void TIndInfoPanel::Layout() {
    const int h = m_lineHeight;
    const int height = m_linesToShow == 1 ? h + 2 : m_linesToShow == 2 ? 2 * h + 3 : 3 * h + 4;
    if (this->height() != height) setFixedHeight(height);
    update();
}

QRect TIndInfoPanel::LineRect(int k) const {
    if (k < 0 || k > 2) return QRect();
    const int h = m_lineHeight;
    return QRect(QPoint(1, k * (h + 1)), QPoint(width() - 2, k * (h + 1) + h));
}

void TIndInfoPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Layout();
}

void TIndInfoPanel::SetLinesToShow(int lines) {
    if (lines < 1 || lines > 3 || lines == m_linesToShow) return;
    m_linesToShow = lines;
    Layout();
}

void TIndInfoPanel::SetNameString(const std::string& text) {
    m_name = text;
    update();
}

void TIndInfoPanel::SetBirthString(const std::string& text) {
    m_birth = text;
    if (m_linesToShow > 1) update();
}

void TIndInfoPanel::SetDeathString(const std::string& text) {
    m_death = text;
    if (m_linesToShow > 2) update();
}

void TIndInfoPanel::Clear() {
    m_name.clear();
    m_birth.clear();
    m_death.clear();
    LDSBap = LDSEnd = LDSSS = LDSSP = false;
    update();
}

void TIndInfoPanel::SetFontSize(int size) {
    if (size < 1) return;
    QFont f = font();
    f.setPointSize(size);
    setFont(f);
    m_lineHeight = size + 6;
    Layout();
}

void TIndInfoPanel::SetFontColor(plat::ColorRef colour) {
    m_fontColor = colour;
    update();
}

void TIndInfoPanel::SetColor(plat::ColorRef colour) {
    m_color = colour;
    update();
}

int TIndInfoPanel::NameFitWidth() const {
    QFont bold = font();
    bold.setBold(true);
    // The text starts at kTextLeft and ends clear of the frame, or of the LDS box.
    const int text = kTextLeft + QFontMetrics(bold).horizontalAdvance(toQ(m_name)) + 2;
    return UseLDS ? text + 4 * m_boxWidth + 4 : text;
}

QRect TIndInfoPanel::LDSBoxRect() const {
    if (!UseLDS) return QRect();
    const int w = width();
    return QRect(QPoint(w - 4 * m_boxWidth - 5, NameRect().top() + 1), QPoint(w - 2, NameRect().bottom() - 1));
}

QRect TIndInfoPanel::LDSCellRect(int k) const {
    const QRect box = LDSBoxRect();
    if (box.isNull() || k < 0 || k > 3) return QRect();
    return QRect(box.left() + k * m_boxWidth, box.top(), m_boxWidth, box.height());
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
    const QColor back = toQColor(m_color);
    const QColor ink = toQColor(m_fontColor);
    const int w = width();
    p.fillRect(rect(), back);
    p.setPen(ink);
    p.setFont(font());
    const int textFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    auto textRect = [&](const QRect& line) { return QRect(kTextLeft, line.top(), w - kTextLeft - 1, line.height()); };
    if (m_linesToShow > 1) p.drawText(textRect(BirthRect()), textFlags, toQ(m_birth));
    if (m_linesToShow > 2) p.drawText(textRect(DeathRect()), textFlags, toQ(m_death));

    p.fillRect(NameRect(), back);
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    p.drawText(textRect(NameRect()), textFlags, toQ(m_name));

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
        p.drawLine(box.left(), NameRect().top(), box.left(), nameBottom + (m_linesToShow == 1 ? 1 : 0));
        if (m_linesToShow >= 2) p.drawLine(box.left(), nameBottom, w - 1, nameBottom);
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
