#pragma once
// The application object: no exception may cross the event loop, so one that
// escapes a handler is shown as "Error with I/O" and the program goes on to
// its orderly end (settings saved).
#include <QApplication>

class TBrenthaulApp : public QApplication {
public:
    TBrenthaulApp(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override;
    // True once an exception was caught in an event handler.
    bool Failed() const { return m_failed; }

private:
    bool m_failed = false;
};
