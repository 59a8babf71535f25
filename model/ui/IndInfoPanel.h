#pragma once
// A painted panel that shows one individual in up to three lines: the name in
// bold, the birth line and the death line, with an optional box of LDS
// ordinance letters at the right of the name line. The owner fills the texts
// (and colours); the panel only lays them out and draws them.
#include <string>

#include <QRect>
#include <QWidget>

#include "platform/Colour.h"

class TIndInfoPanel : public QWidget {
    Q_OBJECT
public:
    explicit TIndInfoPanel(QWidget* parent = nullptr);

    int LinesToShow() const { return m_linesToShow; }
    // 1 to 3; any other value is ignored.
    void SetLinesToShow(int lines);

    const std::string& NameString() const { return m_name; }
    const std::string& BirthString() const { return m_birth; }
    const std::string& DeathString() const { return m_death; }
    // The width at which the name line shows the whole name (left of the LDS box when there is one).
    int NameFitWidth() const;
    void SetNameString(const std::string& text);
    void SetBirthString(const std::string& text);
    void SetDeathString(const std::string& text);

    bool UseLDS = false;
    bool LDSBap = false;
    bool LDSEnd = false;
    bool LDSSS = false;
    bool LDSSP = false;

    // Record number of the individual shown (0 = none); kept for the owner.
    int IndividualNumber = 0;

    // Empties the three texts and the four ordinance letters.
    void Clear();
    // Point size of the panel's type; the line height becomes size + 6.
    void SetFontSize(int size);
    void SetFontColor(plat::ColorRef colour);
    void SetColor(plat::ColorRef colour);
    plat::ColorRef Color() const { return m_color; }
    plat::ColorRef FontColor() const { return m_fontColor; }

    int LineHeight() const { return m_lineHeight; }
    int LDSBoxWidth() const { return m_boxWidth; }
    // Line k (0 name, 1 birth, 2 death) at the current width.
    QRect LineRect(int k) const;
    QRect NameRect() const { return LineRect(0); }
    QRect BirthRect() const { return LineRect(1); }
    QRect DeathRect() const { return LineRect(2); }
    // The LDS box of the name line (empty without UseLDS) and its k-th letter cell (0..3).
    QRect LDSBoxRect() const;
    QRect LDSCellRect(int k) const;
    // The four letters as they are drawn, blank where an ordinance is missing ("B  S").
    std::string LDSLetters() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Layout();

    int m_linesToShow = 3;
    int m_lineHeight = 0;
    int m_boxWidth = 7;
    std::string m_name, m_birth, m_death;
    plat::ColorRef m_color = plat::rgb(255, 255, 255);
    plat::ColorRef m_fontColor = 0;
};
