#include "app/MainCommands.h"

#include <string>

#include "app/QuickHelp.h"
#include "model/Global.h"

namespace MainCommands {

bool AlwaysDisabled(ActionId id) {
    switch (id) {
    case ActionId::LeftDir:
    case ActionId::LeftSearch:
    case ActionId::FileOpen:
    case ActionId::ToolCompress:
    case ActionId::ReLoad:
    case ActionId::MenuLeftDir:
    case ActionId::MenuLeftSearch:
    case ActionId::MenuFileOpen:
    case ActionId::MenuSelfX:
    case ActionId::MenuCheckUpdates:
    case ActionId::ExportIslands: return true;
    default: return false;
    }
}

bool Enabled(ActionId id, const WActionState& s) {
    if (AlwaysDisabled(id)) return false;
    switch (id) {
    case ActionId::GoBack: return s.CanGoBack;
    case ActionId::GoForward: return s.CanGoForward;
    case ActionId::ToolRaw: return s.Collection && s.FileKind == 1;
    case ActionId::CalculateIslands: return s.Collection && !s.CalcIslandsSetting && !s.IslandsComputed;
    case ActionId::UseIslands: return s.Collection && s.IslandsComputed;
    case ActionId::FileExit:
    case ActionId::HelpAbout:
    case ActionId::NextHighlighted:
    case ActionId::PreviousHighlighted:
    case ActionId::Options:
    case ActionId::UserManual:
    case ActionId::ResetQuickHelp:
    case ActionId::MakeSuggestion: return true;
    case ActionId::Count: return false;
    default:
        // Everything else works on the open file.
        return s.Collection;
    }
}

LeftPanelStep WLeftPanel::Choose(int page, bool visibleNow) {
    LeftPanelStep step;
    step.Visible = page == m_page ? !visibleNow : true;
    m_page = page;
    step.Page = page;
    switch (page) {
    case lpDirectory: step.QuickHelpEntry = QuickHelp::DirectoryPanel; break;
    case lpFileSearch: step.QuickHelpEntry = QuickHelp::FileSearch; break;
    case lpIslands: step.QuickHelpEntry = QuickHelp::IslandsPanel; break;
    case lpHighlighting: step.QuickHelpEntry = QuickHelp::HighlightPanel; break;
    default: break;
    }
    step.RefillIslands = page == lpIslands;
    return step;
}

IslandViewChange UseIslands(bool ticked, std::int32_t islandCount, std::int32_t selectedRow, std::string& caption) {
    if (!ticked) {
        caption = "Use Islands";
        return IslandViewChange::Clear;
    }
    if (selectedRow >= 1 && islandCount >= selectedRow) {
        caption = "Use Island (" + std::to_string(selectedRow) + ")";
        return IslandViewChange::Restrict;
    }
    return IslandViewChange::Keep;
}

BusyTick BusyTimerTick(bool collection) {
    BusyTick tick;
    if (collection) {
        tick.Show = true;
        tick.Text = std::to_string(Global::GetProgressCount());
    }
    tick.Stop = Global::GetProgressDone();
    return tick;
}

} // namespace MainCommands
