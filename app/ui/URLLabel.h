#pragma once
// A label that opens its link when clicked (only vetted links are opened).
#include <string>

#include <QColor>
#include <QLabel>

class TURLLabel : public QLabel {
    Q_OBJECT
public:
    explicit TURLLabel(QWidget* parent = nullptr);
    void setURL(const std::string& url) { FURL = url; }
    const std::string& URL() const { return FURL; }
    // The three colours: at rest, under the pointer, while pressed.
    void setColorNormal(const QColor& c);
    void setColorMoveOver(const QColor& c) { ColorMoveOver = c; }
    void setColorClick(const QColor& c) { ColorClick = c; }
    QColor colorNormal() const { return ColorNormal; }
    QColor colorMoveOver() const { return ColorMoveOver; }
    QColor colorClick() const { return ColorClick; }
    // The link that a click would open (empty when it would open nothing).
    std::string TargetLink() const;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void setColour(const QColor& c);
    std::string FURL;
    bool FPressed = false;
    QColor ColorNormal = Qt::blue, ColorMoveOver = Qt::blue, ColorClick = Qt::red;
};
