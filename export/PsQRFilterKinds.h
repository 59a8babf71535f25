#pragma once
// The filter classes by kind: their names, extensions and how to make one.
#include <string>

#include "export/PsQRExportSettings.h"
#include "reports/ReportEngine.h"

struct TPsQRFilterKindInfo {
    TPsQRFilterKind kind;
    const char* className;
    const char* extension;
    const char* filterName;
    // Empty while the kind's filter class is not part of the build.
    TQRExportFilterFactory create;
};

const TPsQRFilterKindInfo& filterKindInfo(TPsQRFilterKind kind);
