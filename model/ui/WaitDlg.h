#pragma once
// The one wait dialog that long operations show ("Reading.  Please Wait..."),
// with an optional Cancel button that sets the shared cancel flag the loops
// poll. Calls nest: only the outermost show and the matching hide count.
//
// While the dialog exists, mouse, key and close input to the program's other
// windows is held back (modal dialogs and popups opened meanwhile still get
// theirs): the long loops pump messages, and a click elsewhere could free
// what the loop is working on. A typing widget given to the show gets the
// keys typed meanwhile: its window stays enabled and active, and only its
// other input is held back.
#include <string>

#include <QDialog>
#include <QPointer>

class QKeyEvent;
class QLabel;
class QPushButton;
class QTimer;

class TWaitDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kShowDelayMs = 250;

    // Shows the dialog, or nests in the one that is up. owner: the window to
    // disable while a deferred dialog shows (nullptr: the active window).
    // typing: a widget of the owner that keeps getting keys meanwhile.
    static void ShowWait(const std::string& message, bool showNow, bool withCancel, QWidget* owner = nullptr,
                         QWidget* typing = nullptr);
    // Ends one show; the last one frees the dialog. An extra call does nothing.
    static void HideWait();

    // Routes the core's wait requests (model/WaitHooks.h) to this dialog.
    static void InstallHooks();

    // The dialog while a show is outstanding, else nullptr.
    static TWaitDlg* Instance();
    static int NestCount();

    QLabel* LabMsg = nullptr;
    QPushButton* butCancel = nullptr;
    QTimer* ShowTimer = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void butCancelClick();
    void ShowTimerTimer();
    TWaitDlg();
    ~TWaitDlg() override;

    void Configure(bool withCancel);
    void ShowAndPaint();
    bool BelongsToAllowedWindow(QWidget* w) const;
    bool InTypingWindow(QWidget* w) const;
    // Whether a key event goes on to w; a key typed elsewhere is sent on to
    // the typing widget.
    bool TypingKey(QWidget* w, QKeyEvent* event);

    QPointer<QWidget> m_owner;
    QPointer<QWidget> m_typing;
    bool m_disabledOwner = false;
};
