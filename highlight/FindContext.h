#pragma once
// Finding an individual without widgets: the find context that the main
// window builds after opening a file, the search of the find dialog over its
// five orders, the quick-find stepping and the texts both dialogs show.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Colour.h"

class WABSCollection;
class WABSHighLighter;
class WColSortIterator;
class WCollectionIterator;

// The open collection and four indexes of all its individuals, each sorted
// by its column on first use. Nothing here is owned.
struct WFindContext {
    WABSCollection* Collection = nullptr;
    WColSortIterator* RINIndex = nullptr;     // column 2, the identifier
    WColSortIterator* GivenIndex = nullptr;   // column 6, given names first
    WColSortIterator* SurnameIndex = nullptr; // column 7, "Surname, Given"
    WColSortIterator* CustomIndex = nullptr;  // column 48, the REFN
};

// What an individual info panel shows for one individual.
struct WIndPanelText {
    std::int32_t tag = 0; // the individual, 0 for an empty panel
    std::string name, birth, death, hint;
    plat::ColorRef back = 0xFFFFFF;
    plat::ColorRef font = 0;
};
// Date and place of an event joined by ", " (either alone when only one is there).
std::string JoinDatePlace(const std::string& date, const std::string& place);
WIndPanelText DescribeIndividual(WABSCollection* collection, WABSHighLighter* highlighter, std::int32_t individual);

// One line of the marriage list: a spouse (0 = not entered) or a child.
struct WMarriageEntry {
    bool spouse = false;
    std::int32_t individual = 0;
};
// For each spouse family in order: its spouse, then its children (sorted).
std::vector<WMarriageEntry> MarriageEntries(WABSCollection* collection, std::int32_t individual);
std::int32_t SpouseFamilyCount(WABSCollection* collection, std::int32_t individual);

// The find dialog's five orders and the search in them.
class WFindSearch {
public:
    enum Mode { mIndex = 0, mRIN = 1, mCustom = 2, mSurname = 3, mGiven = 4 };

    explicit WFindSearch(const WFindContext& context);
    ~WFindSearch();

    // Setting FindDlg (1..5) to a mode and back; other values give mode 3.
    static int ModeFromSetting(int value);
    static int SettingFromMode(int mode);
    // The column a mode's index sorts by (0 for record order).
    static std::int32_t SortColumn(int mode);

    // Makes the mode's index current and sorts it (once). A mode whose index
    // the context lacks, or that another caller is sorting, falls back to
    // record order.
    void SetMode(int mode);
    int GetMode() const { return FMode; }
    WCollectionIterator* Index() const { return FIndex; }
    std::int32_t Count() const;
    std::int32_t IndividualAt(std::int32_t position);
    // Position of an individual in the current index, 0 when absent. The
    // first call for an index builds a reverse table, so repeated lookups in
    // a big file stay cheap.
    std::int32_t PositionOf(std::int32_t individual);

    // The position a search text moves to, 0 for no move.
    std::int32_t Search(const std::string& text);
    // What the search edit shows for a chosen individual in this mode
    // (position is its grid row, used by record order).
    std::string KeyText(std::int32_t individual, std::int32_t position);
    // Grid texts of the individual at a position: 0 record number, 1
    // identifier (REFN in custom mode), 2 name, 3 birth or "[christening]".
    std::string CellText(std::int32_t position, int column);
    // "REF" for a GEDCOM collection, "RIN" otherwise.
    std::string IdentifierTitle() const;

    const WFindContext& Context() const { return FContext; }

private:
    WFindContext FContext;
    std::unique_ptr<WColSortIterator> FOwnIndex;
    WCollectionIterator* FIndex = nullptr;
    int FMode = mIndex;
    std::vector<std::int32_t> FPositions; // individual -> position in FIndex
    WCollectionIterator* FPositionsOf = nullptr;
};

// The quick-find dialog's number stepping and its spouse and child list.
class WQuickFind {
public:
    explicit WQuickFind(WABSCollection* collection);

    std::int32_t Count() const { return FCount; }
    // Count div 100, at least 1.
    std::int32_t PageStep() const { return FPageStep; }
    std::int32_t Current() const { return FCurrent; }
    void SetCurrent(std::int32_t individual) { FCurrent = individual; }

    // The typed number (0 for empty text, -1 when the text is not a number).
    static std::int64_t TypedNumber(const std::string& text);
    // A typed text: true when it is a number within the count (it becomes
    // current; 0 clears), false when it is not (the dialog disables its controls).
    bool TextChanged(const std::string& text);
    // Up / Page Up and Down / Page Down in the edit; true when current changed.
    bool StepUp(const std::string& text, std::int32_t n);
    bool StepDown(const std::string& text, std::int32_t n);

    struct Entry {
        std::int32_t individual = 0;
        std::string text;
    };
    // For each spouse family: "Spouse: " + the spouse, then the children.
    std::vector<Entry> SpouseEntries(std::int32_t individual);

private:
    WABSCollection* FCollection;
    std::int32_t FCount = 0;
    std::int32_t FPageStep = 1;
    std::int32_t FCurrent = 0;
};
