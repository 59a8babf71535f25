#pragma once
// Small pieces the list views share: highlight colours of an individual,
// the busy cursor as a scope, the column-choice hook.
#include <QColor>

#include <cstdint>
#include <functional>
#include <string>

class QWidget;
class WABSHighLighter;
class WListColumns;

namespace ViewCommon {

// Background and text colour of an individual: the highlighter's, or white
// and black without one.
QColor HighlightBackColor(WABSHighLighter* h, std::int32_t individual);
QColor HighlightFontColor(WABSHighLighter* h, std::int32_t individual);

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
