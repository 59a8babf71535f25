#pragma once
// The short help pages the window offers once each, the first time the user
// reaches a view or a side panel, until they are switched off.
#include <cstdint>
#include <functional>
#include <string>

struct QuickHelpEntry {
    std::int32_t Setting = 0; // Boolean setting: still to be offered
    std::string Title;
    std::string Text;  // CR LF between lines
    std::string Links; // "topic|context;topic|context"
};

namespace QuickHelp {

constexpr int kEntryCount = 16;
// Entries offered by the views and panels.
enum Entry : int {
    Welcome = 1,
    General = 2,
    Individual = 3,
    Family = 4,
    Pedigree = 5,
    Descendants = 6,
    List = 7,
    Highlighted = 8,
    Islands = 9,
    Sources = 10,
    Internet = 11,
    SelfViewing = 12,
    FileSearch = 13,
    HighlightPanel = 14,
    IslandsPanel = 15,
    DirectoryPanel = 16
};

// Entry 1..16; an empty entry (setting 0) outside.
const QuickHelpEntry& GetEntry(int entry);

// Shows the dialog modally; returns whether the user asked to stop all quick help.
using DialogHandler = std::function<bool(const QuickHelpEntry& entry)>;
// The window installs its dialog; without one nothing is offered.
void SetDialogHandler(DialogHandler handler);

// Offers an entry when quick help is on and the entry is still due; then the
// entry is done and quick help stays on unless the user stopped it. True when shown.
bool Show(int entry);

// Every entry and quick help itself on again.
void ResetAll();

// The help file beside the program.
std::string HelpFilePath();
// Opens the help file for a topic (a context number or a topic name) with the
// desktop's open command; when the file is missing, or no viewer takes it
// (known when the desktop answers), the user is told so. True when the file
// was handed on.
bool OpenHelpTopic(const std::string& topic);

} // namespace QuickHelp
