#pragma once
// The main window's commands without widgets: which command is enabled in
// what state, the left-panel page switching, and the status-bar busy tick.
#include <cstdint>
#include <string>

// Every command of the menu bar, the toolbar and the side panels.
enum class ActionId : int {
    // Toolbar.
    GoBack,
    GoForward,
    LeftDir,
    LeftSearch,
    LeftHL,
    LeftIsland,
    ToolClipBoard,
    ToolPrint,
    ToolRaw,
    ToolQuickFind,
    ToolFind,
    ToolFindIndex,
    ToolFindPrev,
    ToolFindNext,
    FileOpen,
    ToolCompress,
    ReLoad,
    // Menu.
    MenuLeftDir,
    MenuLeftSearch,
    MenuHL,
    MenuIsland,
    MenuClipboard,
    MenuFindNext,
    MenuFindPrev,
    MenuFileOpen,
    MenuSelfX,
    MenuPrint,
    MenuQuickFind,
    MenuFind,
    MenuCheckUpdates,
    // Standard commands.
    FileExit,
    HelpAbout,
    // Islands side panel.
    CalculateIslands,
    UseIslands,
    ExportIslands,
    // Menu items without an action list: always available.
    NextHighlighted,
    PreviousHighlighted,
    Options,
    UserManual,
    ResetQuickHelp,
    MakeSuggestion,
    Count
};
constexpr int kActionCount = static_cast<int>(ActionId::Count);

// What the enabling rules look at, gathered once per update pass.
struct WActionState {
    bool Collection = false;   // a file is open
    std::uint8_t FileKind = 0; // of the open file (1 GEDCOM)
    bool CanGoBack = false;
    bool CanGoForward = false;
    bool IslandsComputed = false;
    bool CalcIslandsSetting = false; // islands are computed on opening
    bool ShowRaw = false;            // the record-text pages are shown
};

namespace MainCommands {

// The enabled state of a command; the features of the full viewer that this
// program carries only as controls (opening files, the file panels, making
// self-viewing files, update check, reload, island export) never are.
bool Enabled(ActionId id, const WActionState& state);
// The command is one of those features.
bool AlwaysDisabled(ActionId id);

// Left panel pages.
enum LeftPage { lpDirectory = 0, lpFileSearch = 1, lpIslands = 2, lpHighlighting = 3 };

struct LeftPanelStep {
    bool Visible = false;
    int Page = 0;
    int QuickHelpEntry = 0;     // the entry offered for the page
    bool RefillIslands = false; // the islands side grid is refilled (without computing)
};

// The left panel's page buttons: the page shown again toggles the panel,
// another page shows it.
class WLeftPanel {
public:
    explicit WLeftPanel(int page = lpHighlighting) : m_page(page) {}
    LeftPanelStep Choose(int page, bool visibleNow);
    int Page() const { return m_page; }

private:
    int m_page;
};

// The Use Islands check box: what its tick does to the island view.
enum class IslandViewChange { Restrict, Clear, Keep };
IslandViewChange UseIslands(bool ticked, std::int32_t islandCount, std::int32_t selectedRow, std::string& caption);

// One tick of the busy timer: the status text and whether the timer stops.
struct BusyTick {
    bool Show = false;
    std::string Text;
    bool Stop = false;
};
BusyTick BusyTimerTick(bool collection);

} // namespace MainCommands
