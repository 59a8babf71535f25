#pragma once
// The filters shared part: the filter base and the document filter that turns
// report controls into positioned items (texts, frames, shapes, pictures) for
// the HTML, PDF and RTF writers.
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "export/PsQRExportSettings.h"
#include "model/MMF.h"
#include "platform/TempFiles.h"
#include "reports/ReportEngine.h"

class QImage;

// The output file could not be made (the stores' EFCreateError: one class of
// that name in the program) or written.
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

using Extended = long double;

class TPsQRExportFilter : public TQRExportFilter {
public:
    using TQRExportFilter::TQRExportFilter;

    std::string GetDescription() override { return "Enhanced Export Filters"; }
    std::string GetVendorName() override { return "Brenthaul"; }
    bool GetStreaming() override { return false; }
    void Start(double PaperWidth, double PaperHeight, const TQRFont& Font) override;
    void NewPage() override;
    // The job's files are the user's from now on.
    void Finish() override;
    // Closes the output and removes every file and folder the job made; a
    // file that was there before the job stays as it was.
    void Abandon() override;

    // The document filters copy FileName here; page-file filters keep the base name.
    std::string DocumentFileName;
    std::int32_t PageNumber = 0;

protected:
    // Opens the output of a new page; the page number is already raised.
    virtual void StartPageFile() {}
    // Called before the job first makes or replaces path; the first call for
    // a path notes whether it was there before.
    void MakingFile(const std::string& path);
    // Opens a save of path (plat::SaveFile) that CommitFile puts in its
    // place, so a file that was there stays whole until its replacement is.
    // EFCreateError when it cannot be opened.
    plat::SaveFile& OpenFile(const std::string& path);
    // The save of path the job opened last.
    plat::SaveFile& File(const std::string& path);
    void CommitFile(const std::string& path);
    // Throws EWriteError saying why a write to file failed.
    [[noreturn]] void WriteFailed(const plat::SaveFile& file);
    // What a failed save of file says (its error): a filter whose other files
    // the failure leaves incomplete too names them.
    virtual std::string SaveFailure(const plat::SaveFile& file) { return file.error(); }
    // Before any page file is emptied: EFCreateError when any of them could not be saved.
    static void CheckPageFiles(const std::vector<std::string>& paths);
    // Closes an open output stream without reporting errors.
    virtual void CloseOutput() {}

private:
    std::vector<std::string> m_made; // made by this job, in order
    std::set<std::string> m_seen;
    std::map<std::string, std::unique_ptr<plat::SaveFile>> m_saves; // not yet committed
};

// Rectangle: left, top, width, height (0.1 mm before conversion).
struct TPsRect {
    Extended Left = 0, Top = 0, Width = 0, Height = 0;
};

struct TPsQrFontAttrib {
    std::string Name;
    std::int32_t Size = 10; // points
    plat::ColorRef Color = plat::kBlack;
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    plat::ColorRef BGColor = plat::kWhite;
};

struct TPsTextRecord {
    std::string Text;      // already escaped
    Extended X = 0, Y = 0; // converted
    Extended Width = 0, Height = 0;
    TPsQrFontAttrib Font;
    int Alignment = 0; // 0 left, 1 right, 2 centre
    // The box the text is clipped to (its control's, converted): left,
    // top, width, height; empty for a text printed outside a control.
    bool Clipped = false;
    TPsRect Clip;
};

class TPsQRDocumentFilter : public TPsQRExportFilter {
public:
    using TPsQRExportFilter::TPsQRExportFilter;
    ~TPsQRDocumentFilter() override;

    void Start(double PaperWidth, double PaperHeight, const TQRFont& Font) override;
    void Finish() override;
    void TextOut(double X, double Y, const TQRFont& Font, plat::ColorRef BGColor, TQRAlignment Alignment,
                 const std::string& Text) override;
    bool IsDocumentFilter() const override { return true; }
    void BeginControl(TQRPrintable* Control, double OffsetX, double OffsetY) override;
    void EndControl(TQRPrintable* Control, double OffsetX, bool Unfinished, double OffsetY) override;
    void AddShape(TQRShape* Shape, double OffsetX, bool Unfinished, double OffsetY) override;
    void BeginBandPrint(TQRBand* Band) override;
    void EndBandPrint(TQRBand* Band) override;
    // A picture drawn by a control; X, Y in 0.1 mm.
    virtual void AddGraphic(TQRPrintable* Control, const QImage& Graphic, bool Unfinished, bool Handled, double X,
                            double Y);
    // An image control: its own rectangle, drawn by the writer.
    virtual void AddImageControl(TQRPrintable* Control, double OffsetX, bool Unfinished, double OffsetY);

    // Writer operations, in the order the writers override them.
    virtual void WriteShapeImage(TQRShape* Control, const TPsRect& Rect, std::string& Text);
    virtual void WriteImage(TQRPrintable* Control, const QImage* Graphic, std::string& Text, bool Handled,
                            const TPsRect& Rect);
    virtual void WriteFrame(const TPsRect& Rect, plat::ColorRef Colour, std::string& Text, bool Flag1, bool Flag2,
                            bool Flag3, bool Filled, const TQRFrame& Frame);
    virtual TPsRect ConvertRect(const TPsRect& Rect);
    virtual void ConvertSize(Extended Width, Extended Height, Extended& OutWidth, Extended& OutHeight);
    virtual std::string EscapeText(const std::string& Text);
    virtual Extended ConvertX(Extended Value);
    virtual Extended ConvertY(Extended Value);
    virtual std::string FormatNumber(Extended Value);
    virtual void BeginBand();
    virtual void BeginDocument() {}
    virtual void WriteText(const TPsTextRecord& Record, std::string& Text);
    virtual void WriteBand(TQRBand* Band, const TPsRect& Rect);
    virtual void EndDocument() {}

    // The current job's pictures reuse rule: the index of the entry to place
    // again, or -1 when a new picture must be written.
    int PictureIndex(const std::vector<std::pair<std::string, const void*>>& list, const void* control, bool handled);
    // A shape drawn as a picture of its own size over its band's colour.
    static QImage DrawShapeImage(const TQRShape& shape);
    // The picture a writer places: the graphic handed over, or the image
    // control drawn when there is none.
    static QImage PictureOf(const TQRPrintable* control, const QImage* graphic);

    // Pages of a layout made before the export; 0 when the export itself is
    // the only layout (the pages then become known one by one).
    std::int32_t PageCount() const { return FPageCount; }
    const std::string& ReportTitle() const { return FReportTitle; }

protected:
    // Text to the output stream (a file or a memory buffer of the writer).
    void WriteOutput(const std::string& text);
    // The last control of the band ends the band.
    bool IsLastOfBand(const TQRPrintable* control) const;
    void WriteBandOf(TQRBand* band);

    std::ostream* FStream = nullptr;
    std::string FBandText;
    bool FBandOpen = false;
    bool FBandWritten = false; // the band being printed has been written
    TQRPrintable* FControl = nullptr;
    Extended FOffsetX = 0, FOffsetY = 0;
    bool FInControl = false;
    std::int32_t FItemCount = 0;
    std::vector<std::string> FLines;
    TQRFrame FPageFrame;
    std::string FReportTitle;
    std::int32_t FPageCount = 0;
    Extended FPaperHeight = 0, FPaperWidth = 0;
    Extended FLeftMargin = 0, FTopMargin = 0, FRightMargin = 0, FBottomMargin = 0;
};

extern const char* const kCRLF;
