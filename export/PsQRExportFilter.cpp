#include "export/PsQRExportFilter.h"

#include <algorithm>
#include <filesystem>

#include <QImage>
#include <QPainter>

#include "export/ExportText.h"
#include "export/PsQRControls.h"
#include "model/MMF.h"
#include "platform/CodePage.h"
#include "platform/TempFiles.h"
#include "platform/ui/QtText.h"
#include "reports/render/QRRenderer.h"

namespace fs = std::filesystem;

const char* const kCRLF = "\r\n";

// ---------------------------------------------------------------- filter base

void TPsQRExportFilter::Start(double PaperWidth, double PaperHeight, const TQRFont& Font) {
    PageNumber = 0;
    TPsQRExportSettings& s = PsQRExportSettings();
    s.HorzFactor = PageSource ? PageSource->XFactor() : kQRDeviceFactor;
    s.VertFactor = PageSource ? PageSource->YFactor() : kQRDeviceFactor;
    TQRExportFilter::Start(PaperWidth, PaperHeight, Font);
}

void TPsQRExportFilter::NewPage() {
    ++PageNumber;
    StartPageFile();
    TQRExportFilter::NewPage();
}

void TPsQRExportFilter::Finish() {
    m_saves.clear();
    m_made.clear();
    m_seen.clear();
    TQRExportFilter::Finish();
}

void TPsQRExportFilter::MakingFile(const std::string& path) {
    if (!m_seen.insert(path).second) return;
    std::error_code ec;
    // A link at the name counts as there: it is not ours to remove.
    if (!fs::exists(fs::symlink_status(path, ec))) m_made.push_back(path);
}

plat::SaveFile& TPsQRExportFilter::OpenFile(const std::string& path) {
    MakingFile(path);
    auto& file = m_saves[path];
    file = std::make_unique<plat::SaveFile>(path);
    if (!file->open()) throw EFCreateError(SaveFailure(*file));
    return *file;
}

plat::SaveFile& TPsQRExportFilter::File(const std::string& path) { return *m_saves.at(path); }

void TPsQRExportFilter::CommitFile(const std::string& path) {
    plat::SaveFile& file = File(path);
    if (!file.commit()) throw EFCreateError(SaveFailure(file));
    m_saves.erase(path);
}

void TPsQRExportFilter::WriteFailed(const plat::SaveFile& file) { throw EWriteError(SaveFailure(file)); }

void TPsQRExportFilter::CheckPageFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        if (const std::string refused = plat::SaveFile::refusal(path); !refused.empty()) throw EFCreateError(refused);
}

void TPsQRExportFilter::Abandon() {
    CloseOutput();
    // Working files go with their saves; a file written in place stays.
    m_saves.clear();
    // Latest first, so a folder the job made is empty when its turn comes.
    for (auto it = m_made.rbegin(); it != m_made.rend(); ++it) {
        std::error_code ec;
        fs::remove(*it, ec);
    }
    m_made.clear();
    m_seen.clear();
    TQRExportFilter::Abandon();
}

// ---------------------------------------------------------------- document filter

TPsQRDocumentFilter::~TPsQRDocumentFilter() = default;

void TPsQRDocumentFilter::Start(double PaperWidth, double PaperHeight, const TQRFont& Font) {
    // The writers convert with the factors from the first item on.
    TPsQRExportSettings& s = PsQRExportSettings();
    s.HorzFactor = PageSource ? PageSource->XFactor() : kQRDeviceFactor;
    s.VertFactor = PageSource ? PageSource->YFactor() : kQRDeviceFactor;

    DocumentFileName = FileName;
    FLines.clear();
    FInControl = false;
    FBandOpen = false;
    FBandText.clear();
    FControl = nullptr;
    FReportTitle = Report ? Report->ReportTitle : (PageSource ? PageSource->Title() : std::string());
    FPageCount = PageSource ? PageSource->PageCount() : 0;
    // Margins are converted before the paper height is known, so they stay unflipped.
    FPaperHeight = 0;
    FPaperWidth = 0;
    FPageFrame = TQRFrame();
    FLeftMargin = FTopMargin = FRightMargin = FBottomMargin = 0;
    if (Report) {
        FPageFrame = Report->Page.Frame;
        FLeftMargin = ConvertX(PxToMM10(Report->Page.LeftMargin));
        FRightMargin = ConvertX(PxToMM10(Report->Page.RightMargin));
        FTopMargin = ConvertY(PxToMM10(Report->Page.TopMargin));
        FBottomMargin = ConvertY(PxToMM10(Report->Page.BottomMargin));
    }
    FPaperHeight = ConvertY(PaperHeight);
    FPaperWidth = ConvertX(PaperWidth);
    BeginDocument();
    TPsQRExportFilter::Start(PaperWidth, PaperHeight, Font);
}

void TPsQRDocumentFilter::Finish() {
    EndDocument();
    FLines.clear();
    FPageFrame = TQRFrame();
    TPsQRExportFilter::Finish();
}

void TPsQRDocumentFilter::TextOut(double X, double Y, const TQRFont& Font, plat::ColorRef BGColor,
                                  TQRAlignment Alignment, const std::string& Text) {
    TPsTextRecord rec;
    rec.X = ConvertX(X);
    rec.Y = ConvertY(Y);
    ConvertSize(QRTextWidth(Font, Text), QRLineHeight(Font), rec.Width, rec.Height);
    rec.Text = EscapeText(Text);
    rec.Font.Name = Font.Name;
    rec.Font.Size = Font.Size;
    rec.Font.Color = Font.Color;
    rec.Font.Bold = Font.Bold();
    rec.Font.Italic = Font.Italic();
    rec.Font.Underline = Font.Underline();
    rec.Font.StrikeOut = Font.StrikeOut();
    rec.Font.BGColor = BGColor;
    rec.Alignment = int(Alignment);
    if (const auto* label = dynamic_cast<const TQRCustomLabel*>(FControl); FInControl && label && !label->AutoSize) {
        const Extended lh = PxToMM10(QRLineHeight(Font)), slack = PxToMM10(QRClipSlack(Font));
        rec.Clipped = true;
        rec.Clip = ConvertRect(TPsRect{label->SizeLeft() + FOffsetX - slack, Y, label->SizeWidth() + 2 * slack, lh});
    }
    std::string text;
    WriteText(rec, text);
    ++FItemCount;
    TPsQRExportFilter::TextOut(X, Y, Font, BGColor, Alignment, Text);
}

void TPsQRDocumentFilter::BeginControl(TQRPrintable* Control, double OffsetX, double OffsetY) {
    FLines.clear();
    FInControl = true;
    FItemCount = 0;
    FControl = Control;
    FOffsetX = OffsetX;
    FOffsetY = OffsetY;
    if (!FBandOpen) BeginBand();
}

void TPsQRDocumentFilter::EndControl(TQRPrintable* Control, double OffsetX, bool /*Unfinished*/, double OffsetY) {
    FInControl = false;
    FControl = nullptr;
    if (!Control) return;
    const auto* label = dynamic_cast<const TQRCustomLabel*>(Control);
    const TQRFont font = label ? label->Font : TQRFont();
    const Extended vf = PsQRExportSettings().VertFactor;
    const Extended textHeight = vf != 0 ? (Extended(QRLineHeight(font)) * FItemCount + 2) / vf : 0;
    // A control split across pages is told by the part on this page.
    const Extended controlHeight = PxToMM10(Control->PrintedHeight());
    const bool shorter = textHeight < controlHeight;
    TPsRect r{Control->SizeLeft() + OffsetX, PxToMM10(Control->PrintedTop()) + OffsetY, Control->SizeWidth(),
              (shorter || FItemCount == 1) ? controlHeight : textHeight};
    r = ConvertRect(r);
    std::string text;
    WriteFrame(r, Control->Color, text, !(label && label->AutoSize), shorter, true, !Control->Transparent,
               Control->Frame);
    FBandText += text;
    FBandText += kCRLF;
    for (const std::string& line : FLines) {
        FBandText += line;
        FBandText += kCRLF;
    }
    if (IsLastOfBand(Control)) WriteBandOf(Control->Parent());
}

void TPsQRDocumentFilter::AddShape(TQRShape* Shape, double OffsetX, bool /*Unfinished*/, double OffsetY) {
    if (!Shape) return;
    if (!FBandOpen) BeginBand();
    TPsRect r{Shape->SizeLeft() + OffsetX, Shape->SizeTop() + OffsetY, Shape->SizeWidth(), Shape->SizeHeight()};
    std::string text;
    const bool patterned =
        Shape->Shape == qrsRectangle && Shape->Brush.Style != bsSolid && Shape->Brush.Style != bsClear;
    if (Shape->Shape == qrsCircle || patterned) {
        WriteShapeImage(Shape, ConvertRect(r), text);
        FBandText += text + kCRLF;
    } else {
        const plat::ColorRef bandColour = Shape->Parent() ? Shape->Parent()->Color : plat::kWhite;
        if (Shape->Frame.AnyFrame()) {
            WriteFrame(ConvertRect(r), bandColour, text, true, true, false, false, Shape->Frame);
            FBandText += text + kCRLF;
            text.clear();
        }
        TQRFrame f;
        f.Color = Shape->Pen.Color;
        f.Width = Shape->Pen.Width;
        f.Style = Shape->Pen.Style;
        const double hPx = Shape->Height, wPx = Shape->Width;
        switch (Shape->Shape) {
        case qrsRectangle:
            f.DrawTop = true;
            f.DrawBottom = f.DrawLeft = hPx > 2;
            f.DrawRight = f.DrawLeft && wPx > 1;
            if (hPx == 2 && f.Width < 2) f.Width = 2;
            break;
        case qrsVertLine:
            f.DrawLeft = true;
            r.Left += r.Width / 2;
            break;
        case qrsHorLine:
            f.DrawTop = true;
            r.Top += r.Height / 2;
            break;
        case qrsTopAndBottom:
            f.DrawTop = true;
            f.DrawBottom = hPx > 1;
            if (hPx == 1 && f.Width < 2) f.Width = 2;
            r.Height += PsQRExportSettings().VertFactor;
            break;
        case qrsRightAndLeft:
            f.DrawLeft = true;
            f.DrawRight = wPx > 1;
            break;
        case qrsCircle: break;
        }
        const bool filled = Shape->Shape == qrsRectangle && Shape->Brush.Style == bsSolid;
        WriteFrame(ConvertRect(r), Shape->Brush.Color, text, true, true, false, filled, f);
        FBandText += text + kCRLF;
    }
    if (IsLastOfBand(Shape)) WriteBandOf(Shape->Parent());
}

void TPsQRDocumentFilter::AddGraphic(TQRPrintable* Control, const QImage& Graphic, bool /*Unfinished*/, bool Handled,
                                     double X, double Y) {
    if (!FBandOpen) BeginBand();
    const TPsQRExportSettings& s = PsQRExportSettings();
    TPsRect r{X, Y, s.HorzFactor != 0 ? Graphic.width() / s.HorzFactor : 0,
              s.VertFactor != 0 ? Graphic.height() / s.VertFactor : 0};
    std::string text;
    WriteImage(Control, &Graphic, text, Handled, ConvertRect(r));
    FBandText += text + kCRLF;
    if (Control && IsLastOfBand(Control)) WriteBandOf(Control->Parent());
}

void TPsQRDocumentFilter::AddImageControl(TQRPrintable* Control, double OffsetX, bool /*Unfinished*/, double OffsetY) {
    if (!Control) return;
    if (!FBandOpen) BeginBand();
    const TPsRect r{Control->SizeLeft() + OffsetX, Control->SizeTop() + OffsetY, Control->SizeWidth(),
                    Control->SizeHeight()};
    std::string text;
    WriteImage(Control, nullptr, text, false, ConvertRect(r));
    FBandText += text + kCRLF;
    if (IsLastOfBand(Control)) WriteBandOf(Control->Parent());
}

QImage TPsQRDocumentFilter::PictureOf(const TQRPrintable* control, const QImage* graphic) {
    if (graphic) return *graphic;
    const auto* image = dynamic_cast<const TPsQRImage*>(control);
    return image ? image->Draw() : QImage();
}

void TPsQRDocumentFilter::WriteShapeImage(TQRShape*, const TPsRect&, std::string&) {}
void TPsQRDocumentFilter::WriteImage(TQRPrintable*, const QImage*, std::string&, bool, const TPsRect&) {}
void TPsQRDocumentFilter::WriteFrame(const TPsRect&, plat::ColorRef, std::string&, bool, bool, bool, bool,
                                     const TQRFrame&) {}
void TPsQRDocumentFilter::WriteText(const TPsTextRecord&, std::string&) {}

TPsRect TPsQRDocumentFilter::ConvertRect(const TPsRect& Rect) {
    return TPsRect{ConvertX(Rect.Left), ConvertY(Rect.Top), ConvertX(Rect.Width), ConvertY(Rect.Height)};
}

void TPsQRDocumentFilter::ConvertSize(Extended Width, Extended Height, Extended& OutWidth, Extended& OutHeight) {
    OutWidth = Width;
    OutHeight = Height;
}

std::string TPsQRDocumentFilter::EscapeText(const std::string& Text) { return Text; }

Extended TPsQRDocumentFilter::ConvertX(Extended Value) {
    return PageSource ? Extended(PageSource->XPos(double(Value))) : Value * kQRDeviceFactor;
}

Extended TPsQRDocumentFilter::ConvertY(Extended Value) {
    return PageSource ? Extended(PageSource->YPos(double(Value))) : Value * kQRDeviceFactor;
}

std::string TPsQRDocumentFilter::FormatNumber(Extended Value) { return exportfmt::rounded(Value); }

void TPsQRDocumentFilter::BeginBand() {
    FBandOpen = true;
    FBandText.clear();
}

void TPsQRDocumentFilter::WriteBand(TQRBand* Band, const TPsRect& Rect) {
    if (Band && (Band->Color != plat::kWhite || Band->Frame.AnyFrame())) {
        std::string text;
        WriteFrame(Rect, Band->Color, text, true, true, false, Band->Color != plat::kWhite, Band->Frame);
        WriteOutput(text + kCRLF);
    }
    WriteOutput(FBandText);
    FBandOpen = false;
    FBandText.clear();
    FBandWritten = true;
}

void TPsQRDocumentFilter::BeginBandPrint(TQRBand*) { FBandWritten = false; }

// A band none of whose controls ended it (none at all, or none that export)
// still gets its background, frame and pending items.
void TPsQRDocumentFilter::EndBandPrint(TQRBand* Band) {
    if (!FBandWritten && Band) WriteBandOf(Band);
}

void TPsQRDocumentFilter::WriteOutput(const std::string& text) {
    // A write that fails is told when the file is closed.
    if (FStream) FStream->write(text.data(), std::streamsize(text.size()));
}

// The engine knows which controls print in the band, or in the part of a
// band split across pages, that is being printed.
bool TPsQRDocumentFilter::IsLastOfBand(const TQRPrintable* control) const {
    const TQRBand* band = control ? control->Parent() : nullptr;
    return band && band->LastPrinting() == control;
}

void TPsQRDocumentFilter::WriteBandOf(TQRBand* band) {
    TPsRect r{PxToMM10(band->PrintLeft()), PxToMM10(band->PrintTop()), PxToMM10(band->Width),
              PxToMM10(band->Height + band->ExtraStretch())};
    WriteBand(band, ConvertRect(r));
}

int TPsQRDocumentFilter::PictureIndex(const std::vector<std::pair<std::string, const void*>>& list, const void* control,
                                      bool handled) {
    int index = -1;
    const TPsQRExportSettings& s = PsQRExportSettings();
    if (s.OnEncodeGraphic) s.OnEncodeGraphic(this, control, index, handled);
    if (handled) return -1;
    if (index >= int(list.size())) return -1;
    if (index >= 0) return index;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].second == control) return int(i);
    return -1;
}

QImage TPsQRDocumentFilter::DrawShapeImage(const TQRShape& shape) {
    const int w = std::max(1, int(shape.Width + 0.5)), h = std::max(1, int(shape.Height + 0.5));
    QImage img(w, h, QImage::Format_RGB888);
    img.fill(toQColor(shape.Parent() ? shape.Parent()->Color : plat::kWhite));
    QPainter p(&img);
    QPen pen(toQColor(shape.Pen.Color));
    pen.setWidth(std::max(1, shape.Pen.Width));
    pen.setStyle(QRPenStyle(shape.Pen.Style));
    p.setPen(pen);
    p.setBrush(QBrush(toQColor(shape.Brush.Color), QRBrushStyle(shape.Brush.Style)));
    // Keep the pen inside the picture, as the desktop draws it.
    const int inset = std::max(1, shape.Pen.Width) / 2;
    const QRect box(inset, inset, w - 1 - 2 * inset, h - 1 - 2 * inset);
    if (shape.Shape == qrsCircle)
        p.drawEllipse(box);
    else
        p.drawRect(box);
    p.end();
    return img;
}
