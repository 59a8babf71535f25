#pragma once
// A notebook page of the main window: the sender, or the open file around
// the current individual. The window owns the pages, hands them the
// collection and the active highlight group, and refills the page shown.
#include <QWidget>
#include <cstdint>
#include <optional>
#include <string>

class WABSCollection;
class WABSHighLighter;

class TViewPage : public QWidget {
    Q_OBJECT
public:
    explicit TViewPage(QWidget* parent = nullptr) : QWidget(parent) {}

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
