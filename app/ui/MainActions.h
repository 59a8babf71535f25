#pragma once
// The main window's commands as actions: the menu bar, the command toolbar
// and the islands side-panel commands. A menu item and its toolbar button
// share one handler and one enabling rule; every action's enabled state is
// set by one update pass, run whenever the event loop is about to wait and
// again just before a command executes.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include <QObject>
#include <QTimer>

#include "app/MainCommands.h"
#include "app/ui/ViewPage.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

class TMainActions : public QObject {
    Q_OBJECT
public:
    // What each command does. An empty handler makes its command do nothing.
    struct Commands {
        std::function<void()> GoBack, GoForward;
        std::function<void()> LeftHighlighting, LeftIslands;
        std::function<void()> CopyToClipboard, Print, ToggleRaw;
        std::function<void()> QuickFind, AdvancedFind, FindNext, FindPrevious;
        std::function<void()> Exit, About;
        std::function<void()> CalculateIslands;
        std::function<void(bool ticked)> UseIslands;
        std::function<void()> NextHighlighted, PreviousHighlighted;
        std::function<void()> Options, UserManual, ResetQuickHelp;
        std::function<void(int tag)> MenuTab; // View menu tab items, tags from 1
    };
    // The window state the enabling rules read, asked once per update pass.
    using StateQuery = std::function<WActionState()>;

    // Fills window's menu bar and adds the command toolbar to it. The View
    // menu lists the tabs that have a menu caption, in their order.
    TMainActions(QMainWindow* window, const std::vector<TViewTab>& tabs, Commands commands, StateQuery state);
    ~TMainActions() override;

    QAction* Action(ActionId id) const { return m_actions[std::size_t(id)]; }
    // The View menu's tab items (tags 1, 2, ...) and the File menu's hidden
    // recent-file items.
    const std::vector<QAction*>& TabItems() const { return m_tabItems; }
    const std::vector<QAction*>& LastFileItems() const { return m_lastFiles; }
    QToolBar* ToolBar() const { return m_toolBar; }

    // Sets every action's enabled (and the Raw button's pressed) state.
    void UpdateActions();
    int UpdatePasses() const { return m_passes; }

private:
    QAction* make(ActionId id, const QString& caption, const QString& hint, const QKeySequence& key,
                  std::function<void()> run);
    void execute(ActionId id, const std::function<void()>& run);
    void buildMenus(QMainWindow* window, const std::vector<TViewTab>& tabs);
    void buildToolBar(QMainWindow* window);

    Commands m_commands;
    StateQuery m_state;
    std::array<QAction*, kActionCount> m_actions{};
    std::vector<QAction*> m_tabItems;
    std::vector<QAction*> m_lastFiles;
    QToolBar* m_toolBar = nullptr;
    int m_passes = 0;
    bool m_updating = false;
};

// The main window's display timers, all created stopped.
class TMainTimers : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<void()> ImportTick;                   // refresh the import status
        std::function<void(const std::string&)> SetStatus0; // status panel 0
        std::function<bool()> HasCollection;
    };
    explicit TMainTimers(Handlers handlers, QObject* parent = nullptr);

    // The import status: first after 1000 ms while a file is read, then
    // every 250 ms (the tick handler sets the shorter interval).
    void StartImport();
    void StopImport() { ImportTimer.stop(); }
    // Empties status panel 0 once, 3000 ms from now.
    void StartClearStatus() { ClearStatusTimer.start(); }
    void StopClearStatus() { ClearStatusTimer.stop(); }
    // The shared progress count in status panel 0 every 50 ms until done.
    void StartBusy() { BusyTimer.start(); }

    QTimer ImportTimer;
    QTimer ClearStatusTimer;
    QTimer BusyTimer;

private:
    Handlers m_handlers;
};
