#pragma once
// The report of each print dialog page, built from a plain description of
// the choice made, so the forms can be set up without the dialog.
#include <cstdint>
#include <memory>
#include <string>

class TABSReportForm;
class WABSCollection;
class WABSHighLighter;
class WColSortIterator;
class WListColumns;

// The report of each print dialog page. The dialog's tabs come from its own
// page list (kPages), so the order here is not the tab order.
enum TReportPage : int {
    rpGeneral = 0,
    rpIndividual,
    rpFamily,
    rpPedigree,
    rpDescendants,
    rpList,
    rpHighlighted,
    rpIslands,
    rpPageCount
};

struct TReportChoice {
    int Page = rpGeneral;
    WABSCollection* Collection = nullptr;
    std::string FileName;
    std::int32_t Individual = 0;
    // Family and Pedigree: which of the individual's marriages (1-based; 0 none).
    std::int32_t Marriage = 0;
    bool Cascading = false;
    // Descendants.
    std::int32_t Indent = 1;
    std::int32_t Generations = 0;
    bool Repeat = false;
    std::int32_t ColumnStart = 36;
    bool PrintColumns = false;
    bool DesLines = false;
    WListColumns* DesColumns = nullptr;
    // List, Highlighted and Islands: grey alternate lines, dividers; the
    // List page may mark highlighted individuals.
    bool Grey = false;
    bool Dividers = false;
    bool MarkHighlighted = false;
    WListColumns* ListColumns = nullptr;
    WABSHighLighter* HighLighter = nullptr;
};

// Builds the forms; keeps the iterators of the two list pages, which the
// forms walk and so must outlive them.
class TReportFactory {
public:
    TReportFactory();
    ~TReportFactory();
    TReportFactory(const TReportFactory&) = delete;
    TReportFactory& operator=(const TReportFactory&) = delete;

    // The main window's sorted iterators, not owned; a null one is made on
    // first use and kept.
    void Borrow(WColSortIterator* highlighted, WColSortIterator* list);
    // The highlighter changed: an iterator made for the previous one goes.
    void DropOwnHighlighted();
    WColSortIterator* ListIterator() const { return FList; }
    WColSortIterator* HighlightedIterator() const { return FHighlighted; }
    bool OwnsListIterator() const { return FList && FList == FOwnList.get(); }

    // The set-up form; null when the page cannot run (no collection, or no
    // individual for the Family and Pedigree pages).
    std::unique_ptr<TABSReportForm> Build(const TReportChoice& choice);

private:
    WColSortIterator* FHighlighted = nullptr;
    WColSortIterator* FList = nullptr;
    std::unique_ptr<WColSortIterator> FOwnHighlighted, FOwnList;
};
