#include "app/QuickHelp.h"

#include <sys/stat.h>

#include "model/Options.h"
#include "platform/Hooks.h"

namespace QuickHelp {
namespace {

const QuickHelpEntry kEntries[kEntryCount] = {
    {opt::IH1, "Welcome to Brenthaul Self-Viewing GEDCOM",
     "Brenthaul is an incredible tool for analyzing your family information.  Brenthaul can read GEDCOM, Family Tree "
     "Maker, The Master Genealogist and PAF files.\r\n\r\nBrenthaul uses ten different views to display your "
     "genealogy information.  Each view can be copied to the clipboard, printed, or saved to a PDF file.\r\n\r\n"
     "Brenthaul is a read only application: it doesn't change or modify any files so users don't have to worry about "
     "changing any information.",
     "Welcome to Brenthaul|100;Ordering Brenthaul|120;Uninstalling Brenthaul|130;Quick Help|140;Main Screen|200"},
    {opt::IH2, "General Tab",
     "General Tab displays general information, submitter and file details about the genealogy file.  Each Genealogy "
     "file type contains display information.\r\n\r\nGEDCOM: Displays header information from the GEDCOM file.\r\n\r\n"
     "PAF: Displays file details.",
     "Tabs Overview|999;General Tab|1000"},
    {opt::IH3, "Individual Tab",
     "The Individual Tab displays detailed information about the Active Individual.  The top section details events "
     "and family information such as birth, death, user events, parents, marriages and children.\r\n\r\nThe first "
     "column labeled \"N\" in the table indicates if a note is assigned to the event or information displayed.  The "
     "text in the note is displayed in the bottom left of the tab.\r\n\r\nThe second column labeled \"S\" in the "
     "table indicates if a source is assigned to the event or information displayed. The source is displayed in the "
     "bottom right of the tab.\r\n\r\nDouble clicking with the left mouse button on any name will move to that "
     "individual.",
     "Tabs Overview|999;Individual Tab|1100;Active Individual|2070"},
    {opt::IH4, "Family Tab",
     "The Family Tab displays the family information of the Active Individual.  The Active Individual is displayed in "
     "the top left section of the tab.  To the right are the parents and Spouse(s) below.  Children are sorted by "
     "birth date.\r\n\r\nDouble clicking with the left mouse button on any name will move to that individual.",
     "Tabs Overview|999;Family Tab|1200;Active Individual|2070"},
    {opt::IH5, "Pedigree Tab",
     "This Pedigree Tab displays 4 generations of the Active Individual.  Also, the siblings and children of the "
     "Active Individual are listed to the left of the tab - they are sorted by birth date.\r\n\r\nDouble clicking "
     "with the left mouse button on any name will move to that individual.",
     "Tabs Overview|999;Pedigree Tab|1300;Active Individual|2070"},
    {opt::IH6, "Descendants Tab",
     "This tab displays the descendants of the Active Individual.  Multiple marriages for an individual are "
     "indicated with the text [1 of x] at the end of the spouse.  Where \"x\" is the number of marriages for the "
     "individual.\r\n\r\nDouble clicking with the left mouse button on any name will move to that individual.\r\n\r\n"
     "Press the \"Columns\" button to select which column to display in the descendant tab.",
     "Tabs Overview|999;Descendants Tab|1400;Active Individual|2070;Columns|2050"},
    {opt::IH7, "List Tab",
     "This tab displays the all individuals in the genealogy file.  The total number of individuals is indicated in "
     "the upper right hand corner of the tab.  Double clicking with the left mouse button on any row will move to "
     "that individual.\r\n\r\nPress the \"Columns\" button to select which column to display.  Each column in the "
     "List Tab can be sorted.  To sort a column, click on the title of the column with your mouse cursor.",
     "Tabs Overview|999;List Tab|1500;Columns|2050"},
    {opt::IH8, "Highlighted Tab",
     "This tab displays the all individuals in the genealogy file that are highlighted.  The total number of "
     "highlighted individuals are indicated in the upper right hand corner of the tab.\r\n\r\nIndividuals are "
     "highlighted by using the Highlighting Panel.",
     "Tabs Overview|999;Highlighted Tab|1600;Highlighting Panel|2500;Columns|2050"},
    {opt::IH9, "Islands Tab",
     "This tab displays the Islands found in your genealogy file.  This list of islands are sorted by the number of "
     "individuals.  Also, the first individual in an island is displayed.  This is the first individual found in the "
     "genealogy file and not the earliest individual by birth date.\r\n\r\nThere is an option to manually calculate "
     "islands.  Please go to the Options Dialog Box.",
     "Tabs Overview|999;Islands Tab|1700;What are Islands|3001;Options|2040"},
    {opt::IH10, "Sources Tab",
     "This tab displays all of the general sources in your genealogy file.  The bottom half of the tab displays the "
     "detailed information of the selected source in the table.",
     "Tabs Overview|999;Sources Tab|1800"},
    {opt::IH11, "Internet Tab",
     "The Internet Tab allows you to search the Internet for information about an individual in your genealogy "
     "file.\r\n\r\nSoftware Requirements:\r\nIn order to use the Internet Tab, you must have Internet Explorer 4.01 or "
     "greater installed on your computer.  You don't have to be using Internet Explorer, but it must be installed.",
     "Tabs Overview|999;Internet Tab|1900"},
    // Never offered by this edition.
    {opt::IH12, "Self-Viewing GEDCOM Feature",
     "A Self-Viewing GEDCOM file carries one genealogy file inside a program that anybody can run to view it.",
     "Creating a Self-Viewing GEDCOM file|2000"},
    {opt::IH13, "File Search Feature",
     "This left side panel is used to search your computer for individuals.  Brenthaul will search all genealogy "
     "files that you specify.  You can select many different search conditions for your search by pressing the "
     "\"Add\" button.\r\n\r\nIf you only interested in generating a list of genealogy list, remove all search "
     "conditions and press the \"Find\" button.",
     "File Search Panel|2202"},
    {opt::IH14, "Highlighting Panel",
     "Brenthaul allows you to easily highlight individuals in your genealogy data file with this left side panel.  "
     "The purpose for highlighting is to help search for and/or analyze individuals.\r\n\r\nHighlighted individuals "
     "are displayed in yellow throughout Brenthaul (Except in the Highlighted Tab).",
     "Highlighting Panel|2204;Highlighted Tab|1600"},
    {opt::IH15, "Islands Panel",
     "This left side panel is used to view the individuals, families, notes and sources contained in any island "
     "found in the genealogy file.  It displays the same information found in the Islands Tab.  However, it has a "
     "check box called \"Use Islands\" that when checked (by clicking on it), will limit Brenthaul to only display "
     "the individuals found in the island that is selected in the table below.  This allows you to analyze these "
     "individuals and families in an island.\r\n\r\nThere is an option to manually calculate islands.  Please go to "
     "the Options Dialog Box.",
     "Islands Panel|2203;Islands Tab|1700;Options|2040"},
    {opt::IH16, "Directory Panel",
     "The side panel to the left is used to quickly locate your genealogy files on your computer.\r\n\r\nUse the top "
     "Drive control to select the drive where your genealogy files are located.\r\n\r\nUse the Directory control to "
     "select the directory where your genealogy files are located.\r\n\r\nThe bottom area displays your genealogy "
     "files.  To view a file, simply click on its name.",
     "Directory Panel|2201"},
};

DialogHandler& handler() {
    static DialogHandler h;
    return h;
}

// The dialog is modal and pumps messages: a second offer meanwhile (a
// refill, a tab change) must not stack a second dialog on the first.
bool g_showing = false;

} // namespace

const QuickHelpEntry& GetEntry(int entry) {
    static const QuickHelpEntry none{};
    return entry >= 1 && entry <= kEntryCount ? kEntries[entry - 1] : none;
}

void SetDialogHandler(DialogHandler h) { handler() = std::move(h); }

bool Show(int entry) {
    const QuickHelpEntry& e = GetEntry(entry);
    if (e.Setting == 0 || !handler() || g_showing) return false;
    if (!WOptions::GetBool(opt::DispInitHelp) || !WOptions::GetBool(e.Setting)) return false;
    g_showing = true;
    struct Reset {
        ~Reset() { g_showing = false; }
    } reset;
    const bool stopAll = handler()(e);
    WOptions::SetBool(e.Setting, false);
    WOptions::SetBool(opt::DispInitHelp, !stopAll);
    return true;
}

void ResetAll() {
    for (int k = 1; k <= kEntryCount; ++k) WOptions::SetBool(kEntries[k - 1].Setting, true);
    WOptions::SetBool(opt::DispInitHelp, true);
}

std::string HelpFilePath() { return WOptions::GetProgramDir() + "kaldrin.hlp"; }

bool OpenHelpTopic(const std::string& topic) {
    // The desktop opens the file as a whole: no viewer here jumps to a topic.
    (void)topic;
    const std::string path = HelpFilePath();
    struct stat st {};
    const auto missing = [] { plat::showMessage("The help file \"kaldrin.hlp\" is not available."); };
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || !plat::hooks().shellOpen) {
        missing();
        return false;
    }
    plat::hooks().shellOpen(path, missing);
    return true;
}

} // namespace QuickHelp
