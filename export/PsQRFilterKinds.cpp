#include "export/PsQRFilterKinds.h"

#include <array>

#include "export/PsQRHTMLFilter.h"
#include "export/PsQRImageFilters.h"
#include "export/PsQRPDFFilter.h"
#include "export/PsQRRTFFilter.h"

namespace {

template <class F>
TQRExportFilterFactory factoryOf() {
    return
        [](const std::string& fileName) -> std::unique_ptr<TQRExportFilter> { return std::make_unique<F>(fileName); };
}

const std::array<TPsQRFilterKindInfo, kFilterKindCount>& table() {
    static const std::array<TPsQRFilterKindInfo, kFilterKindCount> t{{
        {TPsQRFilterKind::fkHTML, "TPsQRHTMLFilter", "htm", "HTML Document", factoryOf<TPsQRHTMLFilter>()},
        {TPsQRFilterKind::fkPDF, "TPsQRPDFFilter", "pdf", "Adobe Acrobat Document", factoryOf<TPsQRPDFFilter>()},
        {TPsQRFilterKind::fkRTF, "TPsQRRTFFilter", "rtf", "Rich Text Format", factoryOf<TPsQRRTFFilter>()},
        {TPsQRFilterKind::fkGIF, "TPsQRGIFFilter", "gif", "GIF Image File", factoryOf<TPsQRGIFFilter>()},
        {TPsQRFilterKind::fkJPEG, "TPsQRJPEGFilter", "jpg", "JPEG Image File", factoryOf<TPsQRJPEGFilter>()},
        {TPsQRFilterKind::fkBMP, "TPsQRBMPFilter", "bmp", "Bitmap File", factoryOf<TPsQRBMPFilter>()},
        {TPsQRFilterKind::fkEMF, "TPsQREMFFilter", "emf", "Enhanced Metafile", factoryOf<TPsQREMFFilter>()},
        {TPsQRFilterKind::fkWMF, "TPsQRWMFFilter", "wmf", "Windows Metafile", factoryOf<TPsQRWMFFilter>()},
    }};
    return t;
}

} // namespace

const TPsQRFilterKindInfo& filterKindInfo(TPsQRFilterKind kind) { return table()[static_cast<size_t>(kind)]; }
