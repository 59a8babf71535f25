#pragma once
// Logging out (SIGTERM), Ctrl+C (SIGINT) or a closed terminal (SIGHUP) end
// the program the way closing its window does: settings saved and the
// unpacked files deleted, instead of leaving them until the next start.
#include <QObject>
#include <QPointer>

class QSocketNotifier;
class QWidget;

class TSignalClose : public QObject {
    Q_OBJECT
public:
    // Catches the three signals from now on, for good, but leaves alone those
    // the program was started with ignored; a broken pipe does not end it
    // either. Called before any thread starts or any temporary file is made: a
    // signal that comes before the window exists stops the unpacking and is
    // kept until a TSignalClose takes it.
    static void CatchSignals();
    // True once one of the signals came: the program is closing, and a
    // message box would only hold that up.
    static bool Signalled();

    // Catches the three signals while this object lives; each then closes
    // window (and any modal dialog in front of it) from the event loop, or
    // only the dialogs while there is no window yet.
    explicit TSignalClose(QWidget* window);
    ~TSignalClose() override;
    // The window to close; one that comes after a signal closes at once.
    void SetWindow(QWidget* window);

private:
    void Received();
    // Closes any modal dialog and the window once no wait is under way.
    void CloseWhenIdle();

    QPointer<QWidget> FWindow;
    QSocketNotifier* FNotifier = nullptr;
    bool m_closeAsked = false; // a signal came while there was no window
    bool m_closing = false;    // a signal came: later ones are only taken off the pipe
};
