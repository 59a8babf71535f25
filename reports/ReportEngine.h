#pragma once
// Our own small banded report engine (no Qt). A report form (TQuickRep) holds
// bands in stream order; bands hold printable controls (label, memo, shape).
// Prepare() lays the bands out on pages at a fixed 96 dpi and keeps the
// result as prepared pages (TQRPreparedReport, the "page source"): a list of
// pages holding positioned items with their fonts. Rendering those pages to
// a printer, a preview or an image is done by reports/render/QRRenderer.h.
//
// Units: control and band geometry is in pixels of 1/96 inch relative to its
// parent; page items are in pixels on the page. Everything handed to an
// export filter is in 0.1 mm (see PxToMM10 / MM10ToPx).
//
// Export: ExportToFilter() lays the report out with the filter attached (no
// Prepare() is needed first) and calls, in this order: Start (paper size in
// 0.1 mm, the report's font) once, then per page NewPage, TextOut for each
// printed text line, EndPage, and last Finish. During EndPage the page just finished is
// PageSource->Page(PageSource->PageCount()) (1-based).
//
// Document filters (HTML/PDF/RTF) answer IsDocumentFilter() true and then
// also receive BeginControl / EndControl / AddShape from the export-aware
// controls TPsQRLabel, TPsQRMemo and TPsQRShape declared at the end of this
// header (the report forms place these).
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/Colour.h"

// ---------------------------------------------------------------- units
constexpr double kQRDpi = 96.0;
inline double PxToMM10(double px) { return px * 254.0 / kQRDpi; }
inline double MM10ToPx(double v) { return v * kQRDpi / 254.0; }
// Device pixels per 0.1 mm of the page source (the same both ways).
constexpr double kQRDeviceFactor = kQRDpi / 254.0;

// ---------------------------------------------------------------- drawing attributes
enum TQRFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TQRFont {
    std::string Name = "Arial";
    int Size = 10;      // points
    unsigned Style = 0; // TQRFontStyle bits
    plat::ColorRef Color = plat::kBlack;

    bool Bold() const { return Style & fsBold; }
    bool Italic() const { return Style & fsItalic; }
    bool Underline() const { return Style & fsUnderline; }
    bool StrikeOut() const { return Style & fsStrikeOut; }
    // Character height in 1/96 inch (the desktop's Font.Height).
    double PixelSize() const { return Size * kQRDpi / 72.0; }
    // Font of the given character height in 1/96 inch.
    static TQRFont FromHeight(int heightPx, unsigned style = 0, const std::string& name = "Arial");
    bool operator==(const TQRFont&) const = default;
};

enum TQRAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };
enum TQRPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum TQRBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TQRShapeType { qrsRectangle, qrsCircle, qrsVertLine, qrsHorLine, qrsTopAndBottom, qrsRightAndLeft };

struct TQRFrame {
    bool DrawTop = false, DrawBottom = false, DrawLeft = false, DrawRight = false;
    int Width = 1; // pixels
    plat::ColorRef Color = plat::kBlack;
    TQRPenStyle Style = psSolid;
    bool AnyFrame() const { return DrawTop || DrawBottom || DrawLeft || DrawRight; }
    bool AllFrame() const { return DrawTop && DrawBottom && DrawLeft && DrawRight; }
};

struct TQRPen {
    int Width = 1;
    plat::ColorRef Color = plat::kBlack;
    TQRPenStyle Style = psSolid;
};

struct TQRBrush {
    plat::ColorRef Color = plat::kWhite;
    TQRBrushStyle Style = bsSolid;
};

// ---------------------------------------------------------------- text metrics
// Text measurement used by layout. The default is deterministic (tests);
// the UI installs real font metrics (QRInstallQtMetrics in reports/ui).
struct TQRTextMetrics {
    // Advance width of a cp1252 text, in 1/96 inch.
    std::function<double(const TQRFont&, const std::string&)> textWidth;
    // Height of one line of text (ascent + descent), in 1/96 inch.
    std::function<double(const TQRFont&)> lineHeight;
};
TQRTextMetrics& QRMetrics();
void QRResetMetrics();
double QRTextWidth(const TQRFont& font, const std::string& text);
double QRLineHeight(const TQRFont& font);
// The whole characters of text that fit width, cut where the alignment lets
// text overflow a box: the end (left), the start (right) or both ends
// (centre), at the character boundary nearest the box's edge.
std::string QRFitText(const std::string& text, double width, const TQRFont& font,
                      TQRAlignment alignment = taLeftJustify);
// How far a fitted text may reach past its box on each side (half its
// outermost character at most): every output clips text to its box widened
// by this, so no glyph is ever cut.
double QRClipSlack(const TQRFont& font);

// ---------------------------------------------------------------- prepared pages
enum class TQRItemKind : std::uint8_t {
    Fill,    // rectangle filled with Color
    Frame,   // the sides of Frame drawn on the rectangle's edges
    Text,    // one line of text, clipped to the rectangle
    Shape,   // a shape of type Shape with Pen and Brush in the rectangle
    Picture, // Picture stretched over the rectangle
};

// A picture on a page: 32-bit pixels 0xAARRGGBB, row by row.
struct TQRBitmap {
    int Width = 0, Height = 0;
    std::vector<std::uint32_t> Pixels;
};

// Kept small: a long report holds a million of them.
struct TQRPageItem {
    double Left = 0, Top = 0, Width = 0, Height = 0; // page pixels
    TQRItemKind Kind = TQRItemKind::Text;
    TQRAlignment Alignment = taLeftJustify; // Text
    plat::ColorRef Color = plat::kWhite;    // Fill; a text's background
    TQRFrame Frame;                         // Frame
    // Shape
    TQRShapeType Shape = qrsRectangle;
    TQRPen Pen;
    TQRBrush Brush;
    // Text: one line in its control's box (Left, Width) and line (Top, Height).
    std::string Text;
    TQRFont Font;
    // Picture
    std::shared_ptr<const TQRBitmap> Picture;

    // Where a text is anchored: its box's left edge, right edge or centre
    // by its alignment, and the top of its line.
    double X() const {
        return Alignment == taRightJustify ? Left + Width : Alignment == taCenter ? Left + Width / 2 : Left;
    }
    double Y() const { return Top; }

    // An item of a kind in a box; the kind's own fields are set after.
    static TQRPageItem At(TQRItemKind kind, double left, double top, double width, double height) {
        TQRPageItem it;
        it.Kind = kind;
        it.Left = left;
        it.Top = top;
        it.Width = width;
        it.Height = height;
        return it;
    }
};

struct TQRPreparedPage {
    int Number = 0;                    // 1-based
    double Width = 816, Height = 1056; // page pixels
    std::vector<TQRPageItem> Items;    // in paint order
};

// The page source: the prepared pages of one report run.
class TQRPreparedReport {
public:
    int PageCount() const { return int(FPages.size()); }
    // 1-based; nullptr out of range.
    const TQRPreparedPage* Page(int index) const;
    double PaperWidth() const { return FPaperWidth; } // pixels
    double PaperHeight() const { return FPaperHeight; }
    double XFactor() const { return kQRDeviceFactor; } // device pixels per 0.1 mm
    double YFactor() const { return kQRDeviceFactor; }
    double XPos(double mm10) const { return mm10 * XFactor(); }
    double YPos(double mm10) const { return mm10 * YFactor(); }
    const std::string& Title() const { return FTitle; }
    void Clear() { FPages.clear(); }

private:
    friend class TQuickRep;
    std::vector<TQRPreparedPage> FPages;
    double FPaperWidth = 816, FPaperHeight = 1056;
    std::string FTitle;
};

class TQuickRep;
class TQRBand;
class TQRPrintable;
class TQRShape;

// ---------------------------------------------------------------- export filter
class TQRExportFilter {
public:
    explicit TQRExportFilter(const std::string& FileName) : FileName(FileName) {}
    virtual ~TQRExportFilter() = default;
    TQRExportFilter(const TQRExportFilter&) = delete;
    TQRExportFilter& operator=(const TQRExportFilter&) = delete;

    virtual std::string GetDescription() { return {}; }
    virtual std::string GetExtension() { return {}; }
    virtual std::string GetFilterName() { return {}; }
    virtual std::string GetVendorName() { return {}; }
    virtual bool GetStreaming() { return false; } // the flag query
    // True when the filter must know every page before the first: the
    // report is then laid out once before the export.
    virtual bool NeedsPagesFirst() { return false; }
    // Paper size in 0.1 mm; the report's default font.
    virtual void Start(double PaperWidth, double PaperHeight, const TQRFont& Font);
    virtual void EndPage() {}
    virtual void Finish() { Active = false; }
    // The job failed part way: the filter drops what it wrote. Never throws.
    virtual void Abandon() { Active = false; }
    virtual void NewPage() {}
    // X, Y in 0.1 mm: X is the left edge, right edge or centre of the text
    // according to Alignment; Y the top of its line.
    virtual void TextOut(double X, double Y, const TQRFont& Font, plat::ColorRef BGColor, TQRAlignment Alignment,
                         const std::string& Text);

    // Document interface used by the export-aware controls; offsets in 0.1 mm
    // (the position of the control's band on the page).
    virtual bool IsDocumentFilter() const { return false; }
    virtual void BeginControl(TQRPrintable* Control, double OffsetX, double OffsetY);
    virtual void EndControl(TQRPrintable* Control, double OffsetX, bool Unfinished, double OffsetY);
    virtual void AddShape(TQRShape* Shape, double OffsetX, bool Unfinished, double OffsetY);
    // Around every printed band (each part of a band split across pages),
    // whether or not any of its controls reached the filter.
    virtual void BeginBandPrint(TQRBand* Band);
    virtual void EndBandPrint(TQRBand* Band);

    // The file a viewer should open after the job: the output file name by
    // default; per-page image filters answer the last page file written.
    virtual std::string GetSavedFileName() const { return FileName; }

    // Set by the engine for the run.
    TQRPreparedReport* PageSource = nullptr;
    bool Active = false;
    std::string FileName;
    TQuickRep* Report = nullptr;
};

// Registry of filter classes that feeds a save dialog.
using TQRExportFilterFactory = std::function<std::unique_ptr<TQRExportFilter>(const std::string& FileName)>;
struct TQRExportFilterEntry {
    TQRExportFilterFactory Create;
    std::string FilterName;
    std::string Extension;
};
class TQRExportFilterLibrary {
public:
    static TQRExportFilterLibrary& Instance();
    void AddFilter(TQRExportFilterFactory Create, const std::string& FilterName, const std::string& Extension);
    void RemoveFilter(const std::string& FilterName);
    const std::vector<TQRExportFilterEntry>& Filters() const { return FFilters; }

private:
    std::vector<TQRExportFilterEntry> FFilters;
};

// ---------------------------------------------------------------- printable controls
class TQRPrintable {
public:
    explicit TQRPrintable(TQRBand* Parent);
    virtual ~TQRPrintable() = default;
    TQRPrintable(const TQRPrintable&) = delete;
    TQRPrintable& operator=(const TQRPrintable&) = delete;

    double Left = 0, Top = 0, Width = 65, Height = 17; // pixels inside the band
    bool Enabled = true;
    plat::ColorRef Color = plat::kWhite;
    bool Transparent = false;
    TQRFrame Frame;

    TQRBand* Parent() const { return FParent; }
    TQuickRep* ParentReport() const;
    // Geometry in 0.1 mm, as export filters see it.
    double SizeLeft() const { return PxToMM10(Left); }
    double SizeTop() const { return PxToMM10(Top); }
    double SizeWidth() const { return PxToMM10(Width); }
    double SizeHeight() const { return PxToMM10(Height); }
    // False while a control split across pages has content left to print.
    bool PrintFinished() const { return FPrintFinished; }
    // True when the next print continues a control begun on an earlier page.
    virtual bool Continuing() const { return false; }
    // The band-relative top and height of what the last Print put on the page.
    double PrintedTop() const { return FPrintedTop; }
    double PrintedHeight() const { return FPrintedHeight; }

    // Height the control needs when its band is printed (stretching controls
    // grow); the band grows to hold it.
    virtual double NeededHeight() const { return Height; }
    // Prints onto the report's current page; offsets in 0.1 mm. A band split
    // across pages prints in parts: a control then prints what fits above
    // the report's PartLimit (band coordinates).
    virtual void Print(double OffsetX, double OffsetY);

    // Splitting, in band coordinates (pixels): the top of the first content
    // not yet printed (infinity when done); the bottom of the content that
    // fits above limit (-infinity when nothing does).
    virtual double NextContentTop() const;
    virtual double FitBottom(double limit) const;
    // The bottom of the smallest piece that can print next.
    virtual double FirstPieceBottom() const;
    // Called before each printing of the band.
    virtual void ResetPrint() { FPrintFinished = false; }

protected:
    // Page position in pixels from the offsets of Print.
    double PageX(double OffsetX) const { return MM10ToPx(OffsetX) + Left; }
    double PageY(double OffsetY) const { return MM10ToPx(OffsetY) + Top; }
    void PrintBackground(double x, double y, double w, double h);
    void PrintFrame(double x, double y, double w, double h);
    void AddItem(TQRPageItem item);

    // The report's current part limit (infinity outside a split band).
    double PartLimit() const;

    TQRBand* FParent;
    bool FPrintFinished = false;
    double FPrintedTop = 0, FPrintedHeight = 0;
    friend class TQuickRep;
};

// Label and memo share the text printing.
class TQRCustomLabel : public TQRPrintable {
public:
    using TQRPrintable::TQRPrintable;
    TQRFont Font;
    TQRAlignment Alignment = taLeftJustify;
    bool AutoSize = false;    // width follows the text (one line)
    bool WordWrap = false;    // break lines at the width
    bool AutoStretch = false; // height grows with the lines

    // The lines as printed (after wrapping).
    std::vector<std::string> PrintLines() const;
    double NeededHeight() const override;
    void Print(double OffsetX, double OffsetY) override;
    bool Continuing() const override { return FNextLine > 0; }
    double NextContentTop() const override;
    double FitBottom(double limit) const override;
    double FirstPieceBottom() const override;
    void ResetPrint() override;

protected:
    virtual std::vector<std::string> SourceLines() const = 0;
    // Only stretching text breaks between its lines.
    bool SplitsByLine() const { return AutoStretch && !FPartLines.empty(); }
    // Lines that fit from line `first` down to band coordinate limit.
    size_t LinesFitting(size_t first, double limit) const;

    size_t FNextLine = 0;                // first line not yet printed
    std::vector<std::string> FPartLines; // the lines while the band prints
};

class TQRLabel : public TQRCustomLabel {
public:
    explicit TQRLabel(TQRBand* Parent) : TQRCustomLabel(Parent) { Transparent = true; }
    std::string Caption;

protected:
    std::vector<std::string> SourceLines() const override;
};

class TQRMemo : public TQRCustomLabel {
public:
    explicit TQRMemo(TQRBand* Parent) : TQRCustomLabel(Parent) {
        AutoStretch = true;
        WordWrap = true;
        Transparent = true;
    }
    std::vector<std::string> Lines;
    void Clear() { Lines.clear(); }
    // Adds a text; a carriage return or line feed starts a new line.
    void Add(const std::string& text);

protected:
    std::vector<std::string> SourceLines() const override;
};

class TQRShape : public TQRPrintable {
public:
    explicit TQRShape(TQRBand* Parent) : TQRPrintable(Parent) { Transparent = true; }
    TQRShapeType Shape = qrsRectangle;
    TQRPen Pen;
    TQRBrush Brush;
    void Print(double OffsetX, double OffsetY) override;
};

// ---------------------------------------------------------------- bands
enum TQRBandType {
    rbTitle,
    rbPageHeader,
    rbDetail,
    rbPageFooter,
    rbSummary,
    rbGroupHeader,
    rbGroupFooter,
    rbSubDetail,
    rbColumnHeader,
    rbChild
};

class TQRBand {
public:
    TQRBand(TQuickRep* Report, TQRBandType Type);
    virtual ~TQRBand();
    TQRBand(const TQRBand&) = delete;
    TQRBand& operator=(const TQRBand&) = delete;

    TQRBandType BandType() const { return FType; }
    TQuickRep* ParentReport() const { return FReport; }

    double Height = 40;
    double Width = 720; // set from the page by the report
    bool Enabled = true;
    bool ForceNewPage = false; // start a new page before this band
    plat::ColorRef Color = plat::kWhite;
    TQRFrame Frame;
    // A child band prints right after this band whenever it prints.
    TQRBand* ChildBand = nullptr;

    std::function<void(TQRBand* Sender, bool& PrintBand)> BeforePrint;
    std::function<void(TQRBand* Sender, bool BandPrinted)> AfterPrint;

    // Creates a control owned by the band (child order = creation order).
    template <class T>
    T* Add() {
        auto p = std::make_unique<T>(this);
        T* raw = p.get();
        FControls.push_back(std::move(p));
        return raw;
    }
    const std::vector<std::unique_ptr<TQRPrintable>>& Controls() const { return FControls; }

    // Set while the band prints: position on the page (pixels), stretch.
    double PrintLeft() const { return FPrintLeft; }
    double PrintTop() const { return FPrintTop; }
    double ExtraStretch() const { return FExtraStretch; }
    // The last control that prints in the band (or part of it) being printed.
    const TQRPrintable* LastPrinting() const { return FLastPrinting; }
    // The height the band will take when printed now (controls that stretch).
    double StretchedHeight() const;

private:
    friend class TQuickRep;
    TQuickRep* FReport;
    TQRBandType FType;
    std::vector<std::unique_ptr<TQRPrintable>> FControls;
    double FPrintLeft = 0, FPrintTop = 0, FExtraStretch = 0;
    const TQRPrintable* FLastPrinting = nullptr;
};

// A sub-detail of the report: before each record the engine asks OnNeedData
// and prints the band for each true answer, stopping at the first false.
class TQRSubDetail : public TQRBand {
public:
    explicit TQRSubDetail(TQuickRep* Report) : TQRBand(Report, rbSubDetail) {}
    TQRBand* Header = nullptr; // group header, printed before the records
    TQRBand* Footer = nullptr; // group footer, printed after them
    bool PrintIfEmpty = false; // no records: print the band once
    std::function<void(TQRSubDetail* Sender, bool& MoreData)> OnNeedData;
};

// ---------------------------------------------------------------- report form
struct TQRPageSetup {
    // Letter, portrait, in 1/96 inch.
    double PaperWidth = 816, PaperHeight = 1056;
    double LeftMargin = 48, RightMargin = 48, TopMargin = 48, BottomMargin = 48;
    TQRFrame Frame; // page frame (none by default)
};

class TQuickRep {
public:
    TQuickRep();
    virtual ~TQuickRep();
    TQuickRep(const TQuickRep&) = delete;
    TQuickRep& operator=(const TQuickRep&) = delete;

    TQRPageSetup Page;
    TQRFont Font; // the report's default font
    std::string ReportTitle;
    bool FirstPageHeader = true;
    bool LastPageFooter = true;

    std::function<void(TQuickRep* Sender, bool& PrintReport)> BeforePrint;
    std::function<void(TQuickRep* Sender)> AfterPrint;
    std::function<void(TQuickRep* Sender)> OnStartPage;

    // Bands are owned by the report and print in creation (stream) order.
    // Page header/footer, group headers/footers and child bands are placed
    // by the engine and skipped in the stream.
    TQRBand* AddBand(TQRBandType type);
    TQRSubDetail* AddSubDetail();
    const std::vector<std::unique_ptr<TQRBand>>& Bands() const { return FBands; }
    TQRBand* PageHeader() const;
    TQRBand* PageFooter() const;

    // Page being laid out (1-based); readable from OnStartPage.
    int PageNumber() const { return FPageNumber; }

    // Lays out all pages. Returns false when BeforePrint vetoed the report.
    bool Prepare();
    // The prepared pages (the page source).
    TQRPreparedReport* QRPrinter() { return &FPrepared; }
    const TQRPreparedReport* QRPrinter() const { return &FPrepared; }
    // Runs the report through a filter (Start, pages, Finish).
    void ExportToFilter(TQRExportFilter* filter);
    bool Exporting() const { return FExportFilter != nullptr; }
    TQRExportFilter* ExportFilter() const { return FExportFilter; }
    // Frees the prepared pages.
    void ReleasePages() { FPrepared.Clear(); }

    // Print on the printer and modal preview go through the display layer.
    void Print();
    void Preview();
    struct DeviceHooks {
        std::function<void(TQuickRep&)> print;
        std::function<void(TQuickRep&)> preview;
    };
    static DeviceHooks& Devices();

    // Called by controls while printing: the current page.
    TQRPreparedPage* CurrentPage();
    // While a band taller than the space left prints in parts: the band
    // coordinate above which its controls print now.
    double PartLimit() const { return FPartLimit; }

protected:
    // Body area bottom of the current page (above the footer).
    double BodyBottom() const;

private:
    void Run();
    void StartNewPage();
    void FinishPage();
    bool PrintBand(TQRBand* band, bool allowBreak = true);
    void PlaceBand(TQRBand* band, double top, double height, double bandY = 0);
    void PrintBandInParts(TQRBand* band, double height);
    void RunSubDetail(TQRSubDetail* sd);
    bool IsStreamBand(const TQRBand* band) const;

    std::vector<std::unique_ptr<TQRBand>> FBands;
    TQRPreparedReport FPrepared;
    TQRExportFilter* FExportFilter = nullptr;
    int FPageNumber = 0;
    double FCursor = 0;     // next free y on the page
    bool FBodyUsed = false; // a body band is on the current page
    bool FLastPage = false;
    double FBodyTop = 0; // first body y of the current page
    double FPartLimit = std::numeric_limits<double>::infinity();
};

// ---------------------------------------------------------------- export-aware controls
// They print exactly as the engine's controls, and additionally tell a
// document filter where each control begins and ends while the report
// exports through one (enabled control, parent report set, exporting,
// filter answers IsDocumentFilter()).
bool QRDocumentExport(const TQRPrintable* control);

class TPsQRLabel : public TQRLabel {
public:
    using TQRLabel::TQRLabel;
    void Print(double OffsetX, double OffsetY) override;
};

class TPsQRMemo : public TQRMemo {
public:
    using TQRMemo::TQRMemo;
    void Print(double OffsetX, double OffsetY) override;
};

class TPsQRShape : public TQRShape {
public:
    using TQRShape::TQRShape;
    void Print(double OffsetX, double OffsetY) override;
};
