#pragma once
// Logging out (SIGTERM), Ctrl+C (SIGINT) or a closed terminal (SIGHUP) end
// the program the way closing its window does: settings saved and the
// unpacked files deleted, instead of leaving them until the next start.
#include <QObject>

class QSocketNotifier;
class QWidget;

class TSignalClose : public QObject {
    Q_OBJECT
public:
    // Catches the three signals while this object lives; each then closes
    // window (and any modal dialog in front of it) from the event loop.
    explicit TSignalClose(QWidget* window);
    ~TSignalClose() override;

private:
    void Received();
    // Closes any modal dialog and the window once no wait is under way.
    void CloseWhenIdle();

    QWidget* FWindow;
    QSocketNotifier* FNotifier = nullptr;
};
