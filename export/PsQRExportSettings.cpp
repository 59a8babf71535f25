#include "export/PsQRExportSettings.h"

#include "export/PsQRFilterKinds.h"
#include "reports/ReportEngine.h"

const char* const kReportEngineProductName = "BrenthaulReports";

namespace {

TPsQRFilterRegistrar engineRegistrar() {
    TPsQRFilterRegistrar r;
    r.add = [](TPsQRFilterKind kind) {
        const TPsQRFilterKindInfo& info = filterKindInfo(kind);
        if (info.create) TQRExportFilterLibrary::Instance().AddFilter(info.create, info.filterName, info.extension);
    };
    r.remove = [](TPsQRFilterKind kind) {
        const TPsQRFilterKindInfo& info = filterKindInfo(kind);
        if (info.create) TQRExportFilterLibrary::Instance().RemoveFilter(info.filterName);
    };
    return r;
}

} // namespace

TPsQRExportSettings::TPsQRExportSettings() : Registrar(engineRegistrar()) {
    // The registry must outlive this object: touch it before we finish constructing.
    TQRExportFilterLibrary::Instance();
    SetVisibleFilters(TPsQRVisibleFilters::all());
}

TPsQRExportSettings::~TPsQRExportSettings() {
    try {
        SetVisibleFilters(TPsQRVisibleFilters());
    } catch (...) {
    }
}

void TPsQRExportSettings::SetVisibleFilters(TPsQRVisibleFilters value) {
    const TPsQRVisibleFilters old = m_visible;
    for (int i = 0; i < kFilterKindCount; ++i) {
        const auto k = static_cast<TPsQRFilterKind>(i);
        if (old.has(k) && !value.has(k) && Registrar.remove) Registrar.remove(k);
    }
    for (int i = 0; i < kFilterKindCount; ++i) {
        const auto k = static_cast<TPsQRFilterKind>(i);
        if (!old.has(k) && value.has(k) && Registrar.add) Registrar.add(k);
    }
    m_visible = value;
}

TPsQRExportSettings& PsQRExportSettings() {
    static TPsQRExportSettings settings;
    return settings;
}
