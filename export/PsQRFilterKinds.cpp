#include "export/PsQRFilterKinds.h"

#include <array>

#include "export/PsQRHTMLFilter.h"
#include "export/PsQRPDFFilter.h"

namespace {

template <class F>
TQRExportFilterFactory factoryOf() {
    return [](const std::string& fileName) -> std::unique_ptr<TQRExportFilter> { return std::make_unique<F>(fileName); };
}

const std::array<TPsQRFilterKindInfo, kFilterKindCount>& table() {
    static const std::array<TPsQRFilterKindInfo, kFilterKindCount> t{{
        {TPsQRFilterKind::fkHTML, "TPsQRHTMLFilter", "htm", "HTML Document", factoryOf<TPsQRHTMLFilter>()},
        {TPsQRFilterKind::fkPDF, "TPsQRPDFFilter", "pdf", "Adobe Acrobat Document", factoryOf<TPsQRPDFFilter>()},
        {TPsQRFilterKind::fkRTF, "TPsQRRTFFilter", "rtf", "Rich Text Format", {}},
        {TPsQRFilterKind::fkGIF, "TPsQRGIFFilter", "gif", "GIF Image File", {}},
        {TPsQRFilterKind::fkJPEG, "TPsQRJPEGFilter", "jpg", "JPEG Image File", {}},
        {TPsQRFilterKind::fkBMP, "TPsQRBMPFilter", "bmp", "Bitmap File", {}},
        {TPsQRFilterKind::fkEMF, "TPsQREMFFilter", "emf", "Enhanced Metafile", {}},
        {TPsQRFilterKind::fkWMF, "TPsQRWMFFilter", "wmf", "Windows Metafile", {}},
    }};
    return t;
}

} // namespace

const TPsQRFilterKindInfo& filterKindInfo(TPsQRFilterKind kind) { return table()[static_cast<size_t>(kind)]; }
