#pragma once
// A flat button that steps a value: left click one way, right click the
// other (no context menu), double click a toggle of its own.
#include <QToolButton>

class WUpDownButton : public QToolButton {
    Q_OBJECT
public:
    explicit WUpDownButton(QWidget* owner = nullptr);

signals:
    // Left button pressed (before any click of it).
    void OnMouseDown();
    // Left click: press and release on the button.
    void OnClick();
    void OnDblClick();
    // Right click.
    void OnContextPopup();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool FLeftDown = false;
    bool FRightDown = false;
    // The release that ends a double click is not a click of its own.
    bool FSwallowRelease = false;
};
