#pragma once
// Options of the export filters and the one global object that holds them with
// the current job's counters, lists and hooks.
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QImage;
class TPsQRExportFilter;

namespace exportfmt {
using Extended = long double;
}

enum class TPsImageFormat { ifGIF, ifJPG, ifBMP };
enum class TPixelFormat { pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// The order of this list is the order of registration.
enum class TPsQRFilterKind { fkHTML, fkPDF, fkRTF, fkGIF, fkJPEG, fkBMP, fkEMF, fkWMF };
constexpr int kFilterKindCount = 8;

// A set of filter kinds, one bit per kind.
class TPsQRVisibleFilters {
public:
    constexpr TPsQRVisibleFilters() = default;
    static constexpr TPsQRVisibleFilters all() { return TPsQRVisibleFilters(0xFF); }
    constexpr bool has(TPsQRFilterKind k) const { return (m_bits >> static_cast<int>(k)) & 1U; }
    constexpr TPsQRVisibleFilters with(TPsQRFilterKind k) const {
        return TPsQRVisibleFilters(m_bits | (1U << static_cast<int>(k)));
    }
    constexpr TPsQRVisibleFilters without(TPsQRFilterKind k) const {
        return TPsQRVisibleFilters(m_bits & ~(1U << static_cast<int>(k)));
    }
    constexpr bool operator==(const TPsQRVisibleFilters&) const = default;
    constexpr std::uint8_t bits() const { return m_bits; }

private:
    constexpr explicit TPsQRVisibleFilters(std::uint8_t b) : m_bits(b) {}
    std::uint8_t m_bits = 0;
};

// The default of Creator: the name of our report engine.
extern const char* const kReportEngineProductName;

class TPsQRDocumentFilterSettings {
public:
    virtual ~TPsQRDocumentFilterSettings() = default;
    std::string Author;
    std::string Creator = kReportEngineProductName;
    bool ExportImages = true;
    std::uint8_t JPEGQuality = 100;
    std::string Keywords;
    TPixelFormat ImagePixelFormat = TPixelFormat::pf24bit;
    // Whether Creator differs from its default and so belongs in a stored form.
    bool CreatorStored() const { return Creator != kReportEngineProductName; }
};

class TPsQRHTMLSettings : public TPsQRDocumentFilterSettings {
public:
    TPsImageFormat ExportImageFormat = TPsImageFormat::ifJPG;
    std::string FirstLinkText = "First";
    std::string PrevLinkText = "Previous";
    std::string NextLinkText = "Next";
    std::string LastLinkText = "Last";
    std::string ImageDir;
    bool GraphicNavUseWebdings = false;
    bool SingleFile = false;
    bool ShowNavigator = true;
    bool UseTextLinks = false;
};

class TPsQRPDFSettings : public TPsQRDocumentFilterSettings {
public:
    TPsImageFormat ExportImageFormat = TPsImageFormat::ifJPG;
};

class TPsQRRTFSettings : public TPsQRDocumentFilterSettings {
public:
    TPsImageFormat ExportImageFormat = TPsImageFormat::ifJPG;
};

class TPsQRGIFSettings {
public:
    bool Monochrome = false;
    TPixelFormat PixelFormat = TPixelFormat::pf24bit;
};
class TPsQRBMPSettings : public TPsQRGIFSettings {};

class TPsQRJPEGSettings {
public:
    bool Monochrome = false;
    TPixelFormat PixelFormat = TPixelFormat::pf24bit;
    bool ProgressiveEncoding = true;
    std::uint8_t Quality = 100;
};

class TPsQRMetafileSettings {
public:
    bool FillUnusedArea = true;
};

// Hooks through which the application may take part in an export.
using TPsQRNotifyEvent = std::function<void(TPsQRExportFilter* filter)>;
using TPsQRCreateBitmapEvent =
    std::function<void(TPsQRExportFilter* filter, QImage& bitmap, bool& save, int pageNumber, std::string& stream)>;
using TPsQREncodeGraphicEvent =
    std::function<void(TPsQRExportFilter* filter, const void* control, int& index, bool& handled)>;
using TPsQREncodeGraphicDoneEvent = std::function<void(TPsQRExportFilter* filter, const void* control, int index)>;
using TPsQRMakeRepFileNameEvent = std::function<void(TPsQRExportFilter* filter, std::string& fileName, int pageNumber)>;
using TPsQRMakeImgFileNameEvent =
    std::function<void(TPsQRExportFilter* filter, std::string& fileName, int pageNumber, std::string& altText)>;

// Registers and removes the filter class of one kind with the engine's filter
// registry; replaceable so that the registry order can be observed.
struct TPsQRFilterRegistrar {
    std::function<void(TPsQRFilterKind)> add;
    std::function<void(TPsQRFilterKind)> remove;
};

class TPsQRExportSettings {
public:
    TPsQRExportSettings();
    ~TPsQRExportSettings();
    TPsQRExportSettings(const TPsQRExportSettings&) = delete;
    TPsQRExportSettings& operator=(const TPsQRExportSettings&) = delete;

    // Current job: pictures written, with the control each came from.
    std::int32_t ImageCounter = 0;
    std::vector<std::pair<std::string, const void*>> ExportedImages;
    // Current job: page files written, in page order.
    std::int32_t PageFileCounter = 0;
    std::vector<std::string> PageFiles;

    TPsQRVisibleFilters VisibleFilters() const { return m_visible; }
    // Removes the kinds that leave the set, then adds those that enter it.
    void SetVisibleFilters(TPsQRVisibleFilters value);

    TPsQRHTMLSettings HTML;
    TPsQRPDFSettings PDF;
    TPsQRRTFSettings RTF;
    TPsQRGIFSettings GIF;
    TPsQRJPEGSettings JPEG;
    TPsQRBMPSettings BMP;
    TPsQRMetafileSettings EMF;
    TPsQRMetafileSettings WMF;

    // Device pixels per 0.1 mm of the page source, copied by every filter's Start.
    exportfmt::Extended HorzFactor = 1;
    exportfmt::Extended VertFactor = 1;

    TPsQRNotifyEvent OnBeginJob, OnBeginPage, OnEndJob, OnEndPage;
    TPsQRCreateBitmapEvent OnCreateBitmap;
    TPsQREncodeGraphicEvent OnEncodeGraphic;
    TPsQREncodeGraphicDoneEvent OnEncodeGraphicDone;
    TPsQRMakeRepFileNameEvent OnMakeRepFileName;
    TPsQRMakeImgFileNameEvent OnMakeImgFileName;

    // Where SetVisibleFilters registers; defaults to the engine's registry.
    TPsQRFilterRegistrar Registrar;

private:
    TPsQRVisibleFilters m_visible;
};

// The one global settings object, made on first use (before any form).
TPsQRExportSettings& PsQRExportSettings();

// The non-visual component that publishes the global settings on a form.
class TPsQRFilters {
public:
    TPsQRHTMLSettings& HTML() { return PsQRExportSettings().HTML; }
    TPsQRPDFSettings& PDF() { return PsQRExportSettings().PDF; }
    TPsQRRTFSettings& RTF() { return PsQRExportSettings().RTF; }
    TPsQRGIFSettings& GIF() { return PsQRExportSettings().GIF; }
    TPsQRJPEGSettings& JPEG() { return PsQRExportSettings().JPEG; }
    TPsQRBMPSettings& BMP() { return PsQRExportSettings().BMP; }
    TPsQRMetafileSettings& EMF() { return PsQRExportSettings().EMF; }
    TPsQRMetafileSettings& WMF() { return PsQRExportSettings().WMF; }
    TPsQRVisibleFilters VisibleFilters() const { return PsQRExportSettings().VisibleFilters(); }
    void SetVisibleFilters(TPsQRVisibleFilters value) {
        if (!(value == PsQRExportSettings().VisibleFilters())) PsQRExportSettings().SetVisibleFilters(value);
    }
    std::string About() const { return "PsQRFilters"; }
    void SetAbout(const std::string&) {}
};
