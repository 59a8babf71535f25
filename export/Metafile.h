#pragma once
// Report pages as vector metafiles: texts are text records in their fonts
// (clipped to their boxes), frames and rules are lines, shapes and
// backgrounds are rectangles and ellipses with pens and brushes; only
// pictures are bitmaps. Logical units are page pixels (96 an inch).
#include <string>

#include "reports/ReportEngine.h"

// Enhanced metafile of a page. With fillUnusedArea the page is first painted
// white; without it, what no item covers stays unpainted.
std::string encodeEmfPage(const TQRPreparedPage& page, bool fillUnusedArea);
// Placeable Windows metafile of a page (at most 32767 units a side).
std::string encodeWmfPage(const TQRPreparedPage& page, bool fillUnusedArea);
