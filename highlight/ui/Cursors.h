#pragma once
// The program's own mouse cursors, drawn once and shared.
#include <QCursor>

namespace HLCursors {

// Pointer with a small drop-down list: buttons that open a list.
const QCursor& SelectCursor();
// Double arrow left / right: buttons that step a date field.
const QCursor& DateUpDownCursor();

} // namespace HLCursors
