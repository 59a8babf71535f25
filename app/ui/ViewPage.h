#pragma once
// A notebook page of the main window: the sender, or the open file around
// the current individual. The window owns the pages, hands them the
// collection and the active highlight group, and refills the page shown.
// Each page names the tabs that show it; the window builds its tab set, the
// View menu's tab items and the print dialog's first report from them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QKeySequence>
#include <QString>
#include <QWidget>

class WABSCollection;
class WABSHighLighter;

// A tab of the main window that shows a view page.
struct TViewTab {
    int Page = -1; // TViewPage::Page; -1: a page of its own, numbered by the window
    QString Caption;
    QString MenuCaption{};   // of its View menu item; empty: none
    QKeySequence Shortcut{}; // of the View menu item
    int ReportPage = -1;     // the print dialog's first report (TReportPage); -1: the dialog's own
};

class TViewPage : public QWidget {
    Q_OBJECT
public:
    // Notebook pages of the views. Highlighted has no page of its own: its
    // tab shows the List page.
    enum Page {
        pgGeneral = 0,
        pgIndividual = 1,
        pgFamily = 2,
        pgPedigree = 3,
        pgDescendants = 4,
        pgList = 5,
        pgIslands = 6,
        pgSources = 9,
        pgSender = 12,
        pgHighlighted = 13
    };

    explicit TViewPage(QWidget* parent = nullptr) : QWidget(parent) {}

    // The tabs that show this page, in tab order; the first names the page itself.
    virtual std::vector<TViewTab> Tabs() const = 0;

    // None when no file is open. Pages drop whatever they kept of the previous file.
    virtual void SetCollection(WABSCollection* collection) { FCollection = collection; }
    // The active highlight group, or none (white background, black text).
    virtual void SetHighLighter(WABSHighLighter* highlighter) { FHighlighter = highlighter; }
    // Refills the page for the current individual (0: none).
    virtual void Fill(std::int32_t current) = 0;
    // Redraws after an option or highlight change without refetching what it holds.
    virtual void RepaintView() { update(); }
    // The grid font size and row height of the settings changed.
    virtual void ApplyGridFont(int fontSize, int rowHeight) {
        (void)fontSize;
        (void)rowHeight;
    }
    // A file is being read: pages that draw from the collection draw nothing meanwhile.
    virtual void SetReading(bool reading) { (void)reading; }
    // The collection or its view changed: pages that keep a list rebuild it at their next fill.
    virtual void MarkStale() {}
    // Raw mode: pages that can show record texts show them.
    virtual void SetShowRaw(bool raw) { (void)raw; }
    // What Copy to Clipboard takes from the page (cp1252, CR LF); nothing when
    // it has nothing to copy or the user cancelled. Pages may ask how first.
    virtual std::optional<std::string> CopyText() { return std::nullopt; }
    // Refills after a copy, which built the page's texts with its own settings.
    virtual void RefillAfterCopy(std::int32_t current) { Fill(current); }
    // Keeps the column widths the user set (in the settings or the column set).
    virtual void SaveColumnWidths() {}

signals:
    // The user asked to move to another individual (double click, Enter).
    void individualChosen(std::int32_t individual);

protected:
    WABSCollection* FCollection = nullptr;
    WABSHighLighter* FHighlighter = nullptr;
};
