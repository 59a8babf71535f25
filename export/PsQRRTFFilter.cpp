#include "export/PsQRRTFFilter.h"

#include <ostream>

#include <QImage>

#include "export/ExportText.h"
#include "export/JpegImage.h"
#include "export/PsQRControls.h"
#include "platform/CodePage.h"
#include "platform/Hooks.h"

using exportfmt::decimalColour;
using exportfmt::integer;

namespace {

// Twips per 0.1 mm.
constexpr Extended kTwipsPerMM10 = Extended(1440) / 254;

std::string hexData(const std::string& data) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(data.size() * 2);
    for (unsigned char c : data) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

} // namespace

TPsQRRTFFilter::~TPsQRRTFFilter() = default;

// ---------------------------------------------------------------- units and texts

Extended TPsQRRTFFilter::ConvertX(Extended Value) { return Value * kTwipsPerMM10; }
Extended TPsQRRTFFilter::ConvertY(Extended Value) { return Value * kTwipsPerMM10; }

void TPsQRRTFFilter::ConvertSize(Extended Width, Extended Height, Extended& OutWidth, Extended& OutHeight) {
    const TPsQRExportSettings& s = PsQRExportSettings();
    OutWidth = s.HorzFactor != 0 ? ConvertX(Width / s.HorzFactor) : 0;
    OutHeight = s.VertFactor != 0 ? ConvertY(Height / s.VertFactor) : 0;
}

std::string TPsQRRTFFilter::EscapeText(const std::string& Text) {
    std::string s = exportfmt::replaceAll(Text, "\\", "\\\\");
    s = exportfmt::replaceAll(s, "{", "\\{");
    return exportfmt::replaceAll(s, "}", "\\}");
}

int TPsQRRTFFilter::ColourNumber(plat::ColorRef Colour) {
    const std::string key = exportfmt::htmlColour(Colour);
    for (size_t i = 0; i < FColours.size(); ++i)
        if (FColours[i].first == key) return int(i) + 1;
    FColours.emplace_back(key, Colour & 0xFFFFFF);
    return int(FColours.size());
}

int TPsQRRTFFilter::FontNumber(const std::string& Name) {
    for (size_t i = 0; i < FFonts.size(); ++i)
        if (FFonts[i] == Name) return int(i);
    FFonts.push_back(Name);
    return int(FFonts.size()) - 1;
}

// ---------------------------------------------------------------- document and pages

void TPsQRRTFFilter::BeginDocument() {
    FBody.str("");
    FBody.clear();
    FStream = &FBody;
    FFonts.clear();
    FColours.clear();
    FRunStart.clear();
    FRunEnd.clear();
    FLastPageEnd = -1;
    FDocumentOpen = true;
}

void TPsQRRTFFilter::BeginControl(TQRPrintable* Control, double OffsetX, double OffsetY) {
    TPsQRDocumentFilter::BeginControl(Control, OffsetX, OffsetY);
    FRunStart.clear();
    FRunEnd.clear();
}

void TPsQRRTFFilter::StartPageFile() {
    if (FDocumentOpen) WriteOutput(std::string("{") + kCRLF);
}

void TPsQRRTFFilter::EndPage() {
    if (FDocumentOpen) {
        WriteOutput(FBandText);
        FBandText.clear();
        FBandOpen = false;
        // Every page breaks here; the document's end takes the break off the
        // last one, since the page count known at Start may be stale.
        FLastPageEnd = FBody.tellp();
        WriteOutput(std::string("\\par\\page}") + kCRLF);
    }
    TPsQRDocumentFilter::EndPage();
}

void TPsQRRTFFilter::EndDocument() {
    if (!FDocumentOpen) return;
    FDocumentOpen = false;
    FStream = nullptr;
    std::string body = FBody.str();
    FBody.str("");
    const std::string pageBreak = std::string("\\par\\page}") + kCRLF;
    if (FLastPageEnd >= 0 && body.compare(size_t(FLastPageEnd), std::string::npos, pageBreak) == 0)
        body.replace(size_t(FLastPageEnd), pageBreak.size(), std::string("\\par}") + kCRLF);

    const TPsQRExportSettings& settings = PsQRExportSettings();
    const TPsQRRTFSettings& rtf = settings.RTF;
    int frameColour = 0;
    if (FPageFrame.AnyFrame()) frameColour = ColourNumber(FPageFrame.Color);

    std::string fonts;
    for (size_t i = 0; i < FFonts.size(); ++i) fonts += "{\\f" + integer(long(i)) + "\\fnil " + FFonts[i] + ";}";
    std::string colours;
    for (const auto& [key, c] : FColours)
        colours += "\\red" + integer(c & 0xFF) + "\\green" + integer((c >> 8) & 0xFF) + "\\blue" +
                   integer((c >> 16) & 0xFF) + ";";

    const plat::CalendarTime now = plat::now();
    std::string head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl" + fonts + "}{\\colortbl;" + colours +
                       "}{\\info{\\title " + EscapeText(FReportTitle) + "}{\\author " + EscapeText(rtf.Author) +
                       "}{\\keywords " + EscapeText(rtf.Keywords) + "}{\\doccomm Brenthaul RTF export filter}" +
                       "{\\creatim\\yr" + integer(now.year) + "\\mo" + integer(now.month) + "\\dy" + integer(now.day) +
                       "\\hr" + integer(now.hour) + "\\min" + integer(now.minute) + "}}" + "\\viewkind1\\paperw" +
                       FormatNumber(FPaperWidth) + "\\paperh" + FormatNumber(FPaperHeight) + "\\margl" +
                       FormatNumber(FLeftMargin) + "\\margr" + FormatNumber(FRightMargin) + "\\margt" +
                       FormatNumber(FTopMargin) + "\\margb" + FormatNumber(FBottomMargin) + "\\headery0\\footery0";
    if (FPageFrame.AnyFrame()) {
        const Extended hf = settings.HorzFactor;
        const std::string p = "\\brdrs\\brdrw" + FormatNumber(hf != 0 ? ConvertX(2 * FPageFrame.Width / hf) : 0) +
                              "\\brdrcf" + integer(frameColour);
        head += "\\pgbrdrhead\\pgbrdrfoot";
        if (FPageFrame.DrawTop) head += "\\pgbrdrt" + p;
        if (FPageFrame.DrawBottom) head += "\\pgbrdrb" + p;
        if (FPageFrame.DrawLeft) head += "\\pgbrdrl" + p;
        if (FPageFrame.DrawRight) head += "\\pgbrdrr" + p;
    }
    head += kCRLF;

    FFonts.clear();
    FColours.clear();
    std::ostream& out = OpenFile(DocumentFileName).out();
    out.write(head.data(), std::streamsize(head.size()));
    out.write(body.data(), std::streamsize(body.size()));
    out.write("}", 1);
    CommitFile(DocumentFileName);
}

// ---------------------------------------------------------------- items

void TPsQRRTFFilter::WriteText(const TPsTextRecord& Record, std::string& Text) {
    std::string align = "\\ql";
    Extended x = Record.X;
    if (Record.Alignment == 1 || Record.Alignment == 2) {
        if (FInControl)
            align = Record.Alignment == 1 ? "\\qr" : "\\qc";
        else
            x = Record.Alignment == 1 ? x - Record.Width : x - Record.Width / 2;
    }
    Text = (FInControl && FItemCount > 0 ? "\\par " : "") + Record.Text;
    if (FInControl) FLines.push_back(Text);
    // Inside a control the first items fix the run; a text outside any control
    // is a paragraph of its own every time, or it would be lost.
    if (FItemCount < 2 || !FInControl) {
        const TPsQrFontAttrib& f = Record.Font;
        FRunStart = "\\f" + integer(FontNumber(f.Name)) + "\\cf" + integer(ColourNumber(f.Color)) + "\\fs" +
                    integer(2LL * f.Size) + (f.Bold ? " \\b" : "") + (f.Italic ? " \\i" : "") +
                    (f.StrikeOut ? " \\strike" : "") + (f.Underline ? " \\ul" : "") + align;
        FRunEnd = std::string(f.Bold ? " \\b0" : "") + (f.Italic ? " \\i0" : "") + (f.StrikeOut ? " \\strike0" : "") +
                  (f.Underline ? " \\ul0" : "");
        if (!FInControl)
            WriteOutput("\\par\\pard\\sbys\\pvpg\\phpg\\absw" + FormatNumber(Record.Width) + "\\posy" +
                        FormatNumber(Record.Y) + "\\posx" + FormatNumber(x) + FRunStart + " " + Text + " " + FRunEnd +
                        kCRLF);
    }
}

std::string TPsQRRTFFilter::ShapeGroup(Extended left, Extended top, Extended right, Extended bottom) {
    return "{\\shp {\\*\\shpinst \\shpleft" + FormatNumber(left) + "\\shptop" + FormatNumber(top) + "\\shpright" +
           FormatNumber(right) + "\\shpbottom" + FormatNumber(bottom) +
           "\\shpfhdr0\\shpbxpage\\shpbypage\\shpwr3\\shpwrk0\\shpfblwtxt1{\\sp{\\sn fBehindDocument}{\\sv 1}}";
}

std::string TPsQRRTFFilter::LineProperties(const TQRFrame& Frame) {
    return "{\\sp{\\sn lineColor}{\\sv " + decimalColour(Frame.Color) + "}}{\\sp{\\sn lineWidth}{\\sv " +
           integer(exportfmt::toEmu(Frame.Width, PsQRExportSettings().HorzFactor)) + "}}{\\sp{\\sn fLine}{\\sv 1}}";
}

void TPsQRRTFFilter::WriteFrame(const TPsRect& Rect, plat::ColorRef Colour, std::string& Text, bool Flag1, bool Flag2,
                                bool Flag3, bool Filled, const TQRFrame& Frame) {
    if (Flag3) {
        FLines.insert(FLines.begin(), FRunStart);
        FLines.push_back(FRunEnd);
        std::string borders;
        if (Frame.AnyFrame()) {
            const Extended hf = PsQRExportSettings().HorzFactor;
            // A border needs its line style, or readers draw none.
            const std::string b = "\\brdrs\\brdrw" + FormatNumber(hf != 0 ? ConvertX(Frame.Width / hf) : 0) +
                                  "\\brsp0\\brdrcf" + integer(ColourNumber(Frame.Color));
            borders = "\\par";
            if (Frame.AllFrame()) {
                borders += "\\box" + b;
            } else {
                if (Frame.DrawTop) borders += "\\brdrt" + b;
                if (Frame.DrawRight) borders += "\\brdrr" + b;
                if (Frame.DrawBottom) borders += "\\brdrb" + b;
                if (Frame.DrawLeft) borders += "\\brdrl" + b;
            }
        }
        Text = "\\par\\pard" + borders + "\\pvpg\\phpg";
        if (Flag1) Text += "\\absw" + FormatNumber(Rect.Width);
        if (Flag2) Text += "\\absh" + FormatNumber(Rect.Height);
        Text += "\\posy" + FormatNumber(Rect.Top) + "\\posx" + FormatNumber(Rect.Left);
        if (Filled) Text += "\\shading10000\\cfpat" + integer(ColourNumber(Colour));
        Text += " ";
        return;
    }
    const Extended left = Rect.Left, top = Rect.Top, right = Rect.Left + Rect.Width, bottom = Rect.Top + Rect.Height;
    Text = "{\\lang1024 " + ShapeGroup(left, top, right, bottom) + "{\\sp{\\sn shapeType}{\\sv 1}}";
    if (Filled)
        Text += "{\\sp{\\sn fillColor}{\\sv " + decimalColour(Colour) +
                "}}{\\sp{\\sn fillType}{\\sv 0}}{\\sp{\\sn fFilled}{\\sv 1}}";
    else
        Text += "{\\sp{\\sn fFilled}{\\sv 0}}";
    if (Frame.AllFrame())
        Text += LineProperties(Frame);
    else
        Text += "{\\sp{\\sn fLine}{\\sv 0}}";
    Text += "}}";
    if (Frame.AnyFrame() && !Frame.AllFrame()) {
        auto edge = [&](Extended x1, Extended y1, Extended x2, Extended y2) {
            Text += ShapeGroup(x1, y1, x2, y2) + "{\\sp{\\sn shapeType}{\\sv 20}}" + LineProperties(Frame) + "}}";
        };
        if (Frame.DrawTop) edge(left, top, right, top);
        if (Frame.DrawRight) edge(right, top, right, bottom);
        if (Frame.DrawBottom) edge(left, bottom, right, bottom);
        if (Frame.DrawLeft) edge(left, top, left, bottom);
    }
    Text += "}";
}

void TPsQRRTFFilter::PlacePicture(TQRPrintable* Control, const QImage& picture, const TPsRect& Rect,
                                  std::string& Text) {
    if (picture.isNull()) return;
    // Every occurrence is embedded: RTF has no shared picture store.
    const std::string data = encodeJpeg(picture, PsQRExportSettings().RTF.JPEGQuality);
    Text = "{\\lang1024 " + ShapeGroup(Rect.Left, Rect.Top, Rect.Left + Rect.Width, Rect.Top + Rect.Height) +
           "{\\sp{\\sn shapeType}{\\sv 75}}";
    if (Control && Control->Frame.AllFrame() && !dynamic_cast<const TPsQRCustomRichText*>(Control))
        Text += LineProperties(Control->Frame);
    Text += "{\\sp{\\sn pib}{\\sv {\\pict \\jpegblip\\picw" + FormatNumber(Rect.Width) + "\\pich" +
            FormatNumber(Rect.Height) + kCRLF + hexData(data) + "}}}}}}";
    if (const auto& done = PsQRExportSettings().OnEncodeGraphicDone) done(this, Control, -1);
}

void TPsQRRTFFilter::WriteImage(TQRPrintable* Control, const QImage* Graphic, std::string& Text, bool,
                                const TPsRect& Rect) {
    if (!PsQRExportSettings().RTF.ExportImages) return;
    PlacePicture(Control, PictureOf(Control, Graphic), Rect, Text);
}

void TPsQRRTFFilter::WriteShapeImage(TQRShape* Control, const TPsRect& Rect, std::string& Text) {
    if (!Control) return;
    PlacePicture(Control, DrawShapeImage(*Control), Rect, Text);
}
