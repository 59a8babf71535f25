#pragma once
// Small pieces the views share: memo text, highlight colours of an
// individual, the busy cursor as a scope, the column-choice hook.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include <QColor>
#include <QString>

class QWidget;
class WABSHighLighter;
class WListColumns;

namespace ViewCommon {

// cp1252 text with CR LF (or CR) line breaks as memo lines.
QString MemoText(const std::string& s);

// Background and text colour of an individual: the highlighter's, or white
// and black without one.
QColor HighlightBackColor(WABSHighLighter* h, std::int32_t individual);
QColor HighlightFontColor(WABSHighLighter* h, std::int32_t individual);

// How a list is copied, asked in the list-clip dialog over the owner's
// window: the choice (fixed width, CSV, CSV file) and the CSV file's name;
// nothing when no choice was made.
struct ListCopyChoice {
    int Choice = 0;
    std::string FileName;
};
std::optional<ListCopyChoice> AskListCopy(QWidget* owner);

// Raises the shared busy cursor for the scope.
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

// Runs the list-columns dialog for a set: true on OK with the chosen column
// list ("1,2,7") in list.
using ColumnChooser = std::function<bool(WListColumns& set, std::string& list)>;
// The "List Columns" dialog over the owner window; the views' default.
ColumnChooser DialogColumnChooser(QWidget* owner);

} // namespace ViewCommon
