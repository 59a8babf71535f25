#include "app/ui/MainActions.h"

#include <exception>

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QThread>
#include <QToolBar>

#include "platform/Hooks.h"

namespace {

// A hint "short|long" gives the tooltip and the status-bar text.
void applyHint(QAction* a, const QString& hint) {
    if (hint.isEmpty()) return;
    const int bar = hint.indexOf('|');
    a->setToolTip(bar < 0 ? hint : hint.left(bar));
    a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

// The features kept as controls only: their command does nothing.
const std::function<void()> kNothing;

} // namespace

TMainActions::TMainActions(QMainWindow* window, const std::vector<TViewTab>& tabs, Commands commands, StateQuery state)
    : QObject(window), m_commands(std::move(commands)), m_state(std::move(state)) {
    const Commands& c = m_commands;
    using A = ActionId;
    const QKeySequence none;

    // Toolbar commands: hints only, no captions (iconText is the button's label).
    make(A::GoBack, {}, "Go back to pervious individual", none, c.GoBack)->setIconText("Back");
    make(A::GoForward, {}, {}, none, c.GoForward)->setIconText("Forward");
    make(A::LeftDir, {}, "File Directory Panel", none, kNothing)->setIconText("Dir");
    make(A::LeftSearch, {}, "File Search Panel", none, kNothing)->setIconText("Search");
    make(A::LeftHL, {}, "Highlighting Panel", none, c.LeftHighlighting)->setIconText("Highlighting");
    make(A::LeftIsland, {}, "Islands Panel", none, c.LeftIslands)->setIconText("Islands");
    make(A::ToolClipBoard, {}, "Copy to Clipboard", none, c.CopyToClipboard)->setIconText("Copy");
    make(A::ToolPrint, {}, "Print", none, c.Print)->setIconText("Print");
    QAction* raw = make(A::ToolRaw, {}, "Show RAW GEDCOM data", none, c.ToggleRaw);
    raw->setIconText("RAW");
    raw->setCheckable(true);
    make(A::ToolQuickFind, {}, "Quick Find", none, c.QuickFind)->setIconText("Quick Find");
    make(A::ToolFind, {}, "Advanced Find", none, c.AdvancedFind)->setIconText("Find");
    // The quick-find selection button's own action: nothing to execute.
    make(A::ToolFindIndex, {}, "Select type of item to search", none, kNothing)->setIconText("S");
    make(A::ToolFindPrev, {}, "Find previous item", none, c.FindPrevious)->setIconText("<");
    make(A::ToolFindNext, {}, "Find next item", none, c.FindNext)->setIconText(">");
    make(A::FileOpen, {}, "Open File", none, kNothing)->setIconText("Open");
    make(A::ToolCompress, {}, "Create a Self-Viewing GEDCOM file (For GEDCOM files only)", none, kNothing)
        ->setIconText("Self-Viewing");
    make(A::ReLoad, {}, "Reload the Genealogy File", none, kNothing)->setIconText("Reload");

    // Menu commands.
    make(A::MenuLeftDir, "Directory Panel", "Show/Hide Directory Panel", none, kNothing);
    make(A::MenuLeftSearch, "File Search Panel", "Show/Hide File Search Panel", none, kNothing);
    make(A::MenuHL, "Highlighting Panel", "Show/Hide Highlighting Panel", none, c.LeftHighlighting);
    make(A::MenuIsland, "Islands Panel", "Show/Hide Islands Panel", none, c.LeftIslands);
    make(A::MenuClipboard, "Copy To Clipboard", "Copy to Clipboard", QKeySequence("Ctrl+C"), c.CopyToClipboard);
    make(A::MenuFindNext, "Find Next", "Find next individual", QKeySequence("Ctrl+N"), c.FindNext);
    make(A::MenuFindPrev, "Find Previous", "Find previous individual", QKeySequence("Ctrl+Shift+N"), c.FindPrevious);
    make(A::MenuFileOpen, "&Open", "Open|Open a file", QKeySequence("Ctrl+O"), kNothing);
    make(A::MenuSelfX, "Make Self-Viewing GEDCOM", "Create Self-Viewing GEDCOM file", none, kNothing);
    make(A::MenuPrint, "Print", {}, QKeySequence("Ctrl+P"), c.Print);
    make(A::MenuQuickFind, "Quick Find...", "Quick Find Dialog Box", QKeySequence("Ctrl+Q"), c.QuickFind);
    make(A::MenuFind, "Advanced Find ...", "Advanced Find Dialog Box", QKeySequence("Ctrl+F"), c.AdvancedFind);
    make(A::MenuCheckUpdates, "Check for Updates", {}, none, kNothing);
    make(A::FileExit, "E&xit", "Exit|Exit application", none, c.Exit);
    make(A::HelpAbout, "&About...", {}, none, c.About);

    // Islands side panel.
    make(A::CalculateIslands, "Calculate", {}, none, c.CalculateIslands);
    QAction* use = make(A::UseIslands, "Use Islands", {}, none, [this] {
        if (m_commands.UseIslands) m_commands.UseIslands(Action(ActionId::UseIslands)->isChecked());
    });
    use->setCheckable(true);
    make(A::ExportIslands, "Export Islands", "Export Islands (for GEDCOM files only)", none, kNothing);

    // Menu items of no action list.
    make(A::NextHighlighted, "Next Highlighted Individual", {}, QKeySequence("Ctrl+H"), c.NextHighlighted);
    make(A::PreviousHighlighted, "Previous Highlighted Individual", {}, QKeySequence("Ctrl+Shift+H"),
         c.PreviousHighlighted);
    make(A::Options, "Options...", {}, QKeySequence("Ctrl+J"), c.Options);
    make(A::UserManual, "User Manual", {}, none, c.UserManual)->setVisible(false);
    make(A::ResetQuickHelp, "Reset Quick Help Dialog Boxes", {}, none, c.ResetQuickHelp);
    make(A::MakeSuggestion, "Make a Suggestion", {}, none, kNothing)->setVisible(false);

    buildMenus(window, tabs);
    buildToolBar(window);

    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TMainActions::UpdateActions);
    UpdateActions();
}

TMainActions::~TMainActions() = default;

QAction* TMainActions::make(ActionId id, const QString& caption, const QString& hint, const QKeySequence& key,
                            std::function<void()> run) {
    auto* a = new QAction(caption, this);
    applyHint(a, hint);
    if (!key.isEmpty()) a->setShortcut(key);
    m_actions[std::size_t(id)] = a;
    connect(a, &QAction::triggered, this, [this, id, run = std::move(run)] { execute(id, run); });
    return a;
}

void TMainActions::execute(ActionId id, const std::function<void()>& run) {
    // A shortcut may come before the loop has been idle since the state changed.
    UpdateActions();
    if (!Action(id)->isEnabled() || !run) return;
    try {
        run();
    } catch (const std::exception& e) {
        // Nothing may escape into the event loop.
        plat::showMessage(e.what());
    }
}

void TMainActions::UpdateActions() {
    if (m_updating) return;
    m_updating = true;
    ++m_passes;
    const WActionState state = m_state ? m_state() : WActionState{};
    for (int i = 0; i < kActionCount; ++i) {
        const auto id = ActionId(i);
        if (QAction* a = m_actions[std::size_t(i)]) a->setEnabled(MainCommands::Enabled(id, state));
    }
    Action(ActionId::ToolRaw)->setChecked(state.ShowRaw);
    m_updating = false;
}

void TMainActions::buildMenus(QMainWindow* window, const std::vector<TViewTab>& tabs) {
    using A = ActionId;
    QMenuBar* bar = window->menuBar();

    QMenu* file = bar->addMenu("&File");
    file->addAction(Action(A::MenuFileOpen));
    file->addAction(Action(A::MenuPrint));
    file->addSeparator();
    // Recent files belong to the full viewer: hidden and inert.
    for (int i = 1; i <= 10; ++i) {
        QAction* last = file->addAction(QString("LastFile%1").arg(i));
        last->setVisible(false);
        m_lastFiles.push_back(last);
    }
    file->addSeparator();
    file->addAction(Action(A::FileExit));

    QMenu* edit = bar->addMenu("Edit");
    edit->addAction(Action(A::MenuClipboard));
    edit->addSeparator();
    edit->addAction(Action(A::MenuFindNext));
    edit->addAction(Action(A::MenuFindPrev));
    edit->addSeparator();
    edit->addAction(Action(A::NextHighlighted));
    edit->addAction(Action(A::PreviousHighlighted));
    edit->addSeparator();
    edit->addAction(Action(A::MenuQuickFind));
    edit->addAction(Action(A::MenuFind));

    QMenu* view = bar->addMenu("View");
    view->addAction(Action(A::MenuLeftDir));
    view->addAction(Action(A::MenuLeftSearch));
    view->addAction(Action(A::MenuHL));
    view->addAction(Action(A::MenuIsland));
    view->addSeparator();
    auto addTabItem = [this, view](const QString& caption, const QKeySequence& key) {
        const int tag = int(m_tabItems.size()) + 1;
        QAction* item = view->addAction(caption);
        item->setShortcut(key);
        item->setData(tag);
        connect(item, &QAction::triggered, this, [this, tag] {
            UpdateActions();
            if (m_commands.MenuTab) m_commands.MenuTab(tag);
        });
        m_tabItems.push_back(item);
    };
    for (const TViewTab& tab : tabs)
        if (!tab.MenuCaption.isEmpty()) addTabItem(tab.MenuCaption, tab.Shortcut);
    // The full viewer's Internet page: no tab here, so its item stays greyed
    // (the update pass sets only the actions' enabled state, never this).
    addTabItem("Internet Tab", QKeySequence(Qt::Key_F11));
    m_tabItems.back()->setEnabled(false);

    QMenu* tools = bar->addMenu("Tools");
    tools->addAction(Action(A::Options));
    tools->addSeparator();
    tools->addAction(Action(A::MenuSelfX));
    tools->addSeparator();
    tools->addAction(Action(A::MenuCheckUpdates));

    QMenu* help = bar->addMenu("&Help");
    help->addAction(Action(A::UserManual));
    help->addAction(Action(A::ResetQuickHelp));
    help->addSeparator();
    help->addAction(Action(A::MakeSuggestion));
    help->addSeparator();
    help->addAction(Action(A::HelpAbout));
}

void TMainActions::buildToolBar(QMainWindow* window) {
    using A = ActionId;
    m_toolBar = window->addToolBar("Commands");
    m_toolBar->setObjectName("ToolBarMain");
    m_toolBar->setMovable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (A id : {A::FileOpen, A::ReLoad, A::ToolCompress}) m_toolBar->addAction(Action(id));
    m_toolBar->addSeparator();
    for (A id : {A::GoBack, A::GoForward}) m_toolBar->addAction(Action(id));
    m_toolBar->addSeparator();
    for (A id : {A::LeftDir, A::LeftSearch, A::LeftHL, A::LeftIsland}) m_toolBar->addAction(Action(id));
    m_toolBar->addSeparator();
    for (A id : {A::ToolClipBoard, A::ToolPrint, A::ToolRaw}) m_toolBar->addAction(Action(id));
    m_toolBar->addSeparator();
    for (A id : {A::ToolQuickFind, A::ToolFind, A::ToolFindPrev, A::ToolFindNext}) m_toolBar->addAction(Action(id));
}

TMainTimers::TMainTimers(Handlers handlers, QObject* parent) : QObject(parent), m_handlers(std::move(handlers)) {
    ImportTimer.setInterval(250);
    ClearStatusTimer.setInterval(3000);
    BusyTimer.setInterval(50);
    connect(&ImportTimer, &QTimer::timeout, this, [this] {
        ImportTimer.setInterval(250);
        if (m_handlers.ImportTick) m_handlers.ImportTick();
    });
    connect(&ClearStatusTimer, &QTimer::timeout, this, [this] {
        ClearStatusTimer.stop();
        if (m_handlers.SetStatus0) m_handlers.SetStatus0("");
    });
    connect(&BusyTimer, &QTimer::timeout, this, [this] {
        const MainCommands::BusyTick tick =
            MainCommands::BusyTimerTick(m_handlers.HasCollection && m_handlers.HasCollection());
        if (tick.Show && m_handlers.SetStatus0) m_handlers.SetStatus0(tick.Text);
        if (tick.Stop) BusyTimer.stop();
    });
}

void TMainTimers::StartImport() { ImportTimer.start(1000); }
