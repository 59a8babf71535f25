#include "export/PsQRPDFFilter.h"

#include <ctime>

#include <QImage>

#include "export/ExportText.h"
#include "export/JpegImage.h"
#include "platform/CodePage.h"

using exportfmt::integer;
using exportfmt::pdfColour;

namespace {

std::string ref(int number) { return integer(number) + " 0 R"; }

std::string padded(long long value, int width) {
    std::string s = integer(value < 0 ? -value : value);
    if (int(s.size()) < width) s.insert(0, size_t(width) - s.size(), '0');
    return value < 0 ? "-" + s : s;
}

} // namespace

TPsQRPDFFilter::~TPsQRPDFFilter() = default;

std::function<int()>& TPsQRPDFFilter::TimeZoneBias() {
    static std::function<int()> bias = [] {
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        return int(-tm.tm_gmtoff / 60);
    };
    return bias;
}

std::string TPsQRPDFFilter::CreationDateText(const plat::CalendarTime& local, int biasMinutes) {
    std::string s = "D:" + padded(local.year, 4) + padded(local.month, 2) + padded(local.day, 2) +
                    padded(local.hour, 2) + padded(local.minute, 2) + padded(local.second, 2);
    std::string hours = padded(biasMinutes / -60, 2);
    if (hours.find('-') == std::string::npos) hours.insert(0, "+");
    const int absBias = biasMinutes < 0 ? -biasMinutes : biasMinutes;
    return s + hours + "'" + padded(absBias % 60, 2) + "'";
}

// ---------------------------------------------------------------- units and texts

Extended TPsQRPDFFilter::ConvertX(Extended Value) { return Value / 254 * 72; }

Extended TPsQRPDFFilter::ConvertY(Extended Value) {
    const Extended v = Value / 254 * 72;
    return FPaperHeight != 0 ? FPaperHeight - v : v;
}

TPsRect TPsQRPDFFilter::ConvertRect(const TPsRect& Rect) {
    return TPsRect{ConvertX(Rect.Left), ConvertY(Rect.Top), ConvertX(Rect.Width), Rect.Height / 254 * 72};
}

void TPsQRPDFFilter::ConvertSize(Extended Width, Extended Height, Extended& OutWidth, Extended& OutHeight) {
    const TPsQRExportSettings& s = PsQRExportSettings();
    OutWidth = s.HorzFactor != 0 ? ConvertX(Width / s.HorzFactor) : 0;
    OutHeight = s.VertFactor != 0 ? Height / s.VertFactor / 254 * 72 : 0;
}

std::string TPsQRPDFFilter::FormatNumber(Extended Value) { return exportfmt::fixed(Value, 4); }

std::string TPsQRPDFFilter::EscapeText(const std::string& Text) {
    std::string s = exportfmt::replaceAll(Text, "\\", "\\\\");
    s = exportfmt::replaceAll(s, "(", "\\(");
    return exportfmt::replaceAll(s, ")", "\\)");
}

// ---------------------------------------------------------------- file and objects

void TPsQRPDFFilter::WriteFile(const std::string& text) {
    if (!m_file->out().write(text.data(), std::streamsize(text.size()))) WriteFailed(*m_file);
    FFileSize += text.size();
}

void TPsQRPDFFilter::WriteObject(std::string body, int number, bool close) {
    if (body.find(kCRLF) != std::string::npos) body = std::string("<<") + kCRLF + body + kCRLF + ">>";
    std::string text = integer(number) + " 0 obj" + kCRLF + body + kCRLF;
    if (close) text += std::string("endobj") + kCRLF;
    FXref[number] = FFileSize;
    WriteFile(text);
}

void TPsQRPDFFilter::BeginDocument() {
    m_file = &OpenFile(DocumentFileName);
    FDocumentOpen = true;
    FFileSize = 0;
    FContent.str("");
    FContent.clear();
    FStream = &FContent;
    FPageImages.clear();
    FFonts.clear();
    FImages.clear();
    FPageImageList.clear();
    FXref.clear();
    FKids.clear();
    FObjectCounter = 5;
    FPageOpen = false;
    FPagesWritten = 0;
    WriteFile(std::string("%PDF-1.3") + kCRLF);
    WriteObject(std::string("/Type /Catalog") + kCRLF + "/Pages 2 0 R", 1, true);
}

void TPsQRPDFFilter::CloseOutput() {
    m_file = nullptr;
    FDocumentOpen = false;
    FPageOpen = false;
    FStream = nullptr;
}

void TPsQRPDFFilter::StartPageFile() {
    if (!FDocumentOpen) return;
    // A page left open by the engine is closed before the next one starts.
    if (FPageOpen) FinishPage();
    FPageImageList.clear();
    FContent.str("");
    FContent.clear();
    FPageImages.clear();
    FPageObject = NextObject();
    FContentsObject = NextObject();
    FKids += ref(FPageObject) + " ";
    FLengthObject = NextObject();
    FPageOpen = true;
}

void TPsQRPDFFilter::EndPage() {
    if (FPageOpen) FinishPage();
    TPsQRDocumentFilter::EndPage();
}

void TPsQRPDFFilter::FinishPage() {
    FPageOpen = false;
    WriteOutput(FBandText);
    FBandText.clear();
    FBandOpen = false;
    // The page frame belongs to the content stream, so its Length counts it.
    if (FPageFrame.AnyFrame()) {
        const TPsRect page{FLeftMargin, FPaperHeight - FTopMargin, FPaperWidth - FLeftMargin - FRightMargin,
                           FPaperHeight - FTopMargin - FBottomMargin};
        WriteOutput(std::string("q") + kCRLF + FrameSides(page, FPageFrame) + kCRLF + "Q" + kCRLF);
    }
    const std::string content = FContent.str();
    WriteObject(std::string("/Type /Page") + kCRLF + "/Parent 2 0 R" + kCRLF + "/Contents " + ref(FContentsObject),
                FPageObject, true);
    WriteObject("<< /Length " + ref(FLengthObject) + " >>", FContentsObject, false);
    WriteFile(std::string("stream") + kCRLF);
    WriteFile(content);
    WriteFile(std::string("endstream") + kCRLF + "endobj" + kCRLF);
    WriteObject(integer(static_cast<long long>(content.size())), FLengthObject, true);
    for (const auto& [offset, number] : FPageImageList) FXref[number] = FFileSize + offset;
    WriteFile(FPageImages);
    FPageImages.clear();
    FPageImageList.clear();
    ++FPagesWritten;
}

void TPsQRPDFFilter::EndDocument() {
    if (!FDocumentOpen) return;
    if (FPageOpen) FinishPage();
    const TPsQRPDFSettings& settings = PsQRExportSettings().PDF;

    std::string kids = FKids;
    if (!kids.empty() && kids.back() == ' ') kids.pop_back();
    WriteObject(std::string("/Type /Pages") + kCRLF + "/Count " + integer(FPagesWritten) + kCRLF + "/MediaBox [0 0 " +
                    FormatNumber(FPaperWidth) + " " + FormatNumber(FPaperHeight) + "]" + kCRLF + "/Kids [" + kids +
                    "]" + kCRLF + "/Resources 5 0 R",
                2, true);

    std::string res;
    if (!FFonts.empty()) {
        res += std::string("/Font <<") + kCRLF;
        for (size_t i = 0; i < FFonts.size(); ++i) res += "/F" + integer(long(i)) + " " + ref(FFonts[i].second) + kCRLF;
        res += std::string(">>") + kCRLF;
    }
    res += "/ProcSet 4 0 R";
    if (!FImages.empty()) {
        res += std::string(kCRLF) + "/XObject <<";
        for (size_t k = 0; k < FImages.size(); ++k)
            res += std::string(kCRLF) + "/Img" + integer(long(k)) + " " + FImages[k].first + " 0 R";
        res += " >>";
    }
    // A one-line resource text is still a dictionary.
    if (res.find(kCRLF) == std::string::npos) res = "<< " + res + " >>";
    WriteObject(res, 5, true);

    WriteObject(std::string("[/PDF /Text") + (settings.ExportImages ? " /ImageC" : "") + "]", 4, true);

    for (size_t i = 0; i < FFonts.size(); ++i)
        WriteObject(std::string("/Type /Font") + kCRLF + "/Subtype /TrueType" + kCRLF + "/Name /F" + integer(long(i)) +
                        kCRLF + "/BaseFont /" + FFonts[i].first + kCRLF + "/Encoding /WinAnsiEncoding",
                    FFonts[i].second, true);

    const int bias = TimeZoneBias() ? TimeZoneBias()() : 0;
    WriteObject("/Author (" + EscapeText(settings.Author) + ")" + kCRLF + "/CreationDate (" +
                    CreationDateText(plat::now(), bias) + ")" + kCRLF + "/Keywords (" + EscapeText(settings.Keywords) +
                    ")" + kCRLF + "/Creator (" + EscapeText(settings.Creator) + ")" + kCRLF + "/Title (" +
                    EscapeText(FReportTitle) + ")" + kCRLF + "/Producer (" + EscapeText("Brenthaul export filters") +
                    ")",
                3, true);

    const std::uint64_t xref = FFileSize;
    std::string table =
        std::string("xref") + kCRLF + "0 " + integer(FObjectCounter + 1) + kCRLF + "0000000000 65535 f" + kCRLF;
    for (int n = 1; n <= FObjectCounter; ++n) {
        auto it = FXref.find(n);
        // An object that was never written is listed as free rather than pointing nowhere.
        if (it == FXref.end())
            table += std::string("0000000000 65535 f") + kCRLF;
        else
            table += padded(static_cast<long long>(it->second), 10) + " 00000 n" + kCRLF;
    }
    WriteFile(table);
    WriteFile(std::string("trailer") + kCRLF + "<<" + kCRLF + "/Root 1 0 R" + kCRLF + "/Info 3 0 R" + kCRLF + "/Size " +
              integer(FObjectCounter + 1) + kCRLF + ">>" + kCRLF + "startxref" + kCRLF +
              integer(static_cast<long long>(xref)) + kCRLF + "%%EOF");
    CommitFile(DocumentFileName);
    m_file = nullptr;
    FDocumentOpen = false;
    FStream = nullptr;
    FFonts.clear();
    FImages.clear();
    FXref.clear();
    FContent.str("");
}

// ---------------------------------------------------------------- items

void TPsQRPDFFilter::WriteText(const TPsTextRecord& Record, std::string& Text) {
    // An empty line shows nothing: it selects no font and draws no text.
    if (Record.Text.empty()) {
        Text.clear();
        return;
    }
    Extended x = Record.X;
    if (Record.Alignment == 1)
        x = x - Record.Width - 2;
    else if (Record.Alignment == 2)
        x = x - Record.Width / 2 - 1;

    std::string key;
    for (char c : Record.Font.Name)
        if (c != ' ') key += c;
    if (Record.Font.Bold || Record.Font.Italic) key += ",";
    if (Record.Font.Bold) key += "Bold";
    if (Record.Font.Italic) key += "Italic";
    size_t index = 0;
    while (index < FFonts.size() && FFonts[index].first != key) ++index;
    if (index == FFonts.size()) FFonts.emplace_back(key, NextObject());

    const std::string colour = pdfColour(Record.Font.Color);
    const Extended y = Record.Y;
    const Extended h = Record.Height;
    Text = std::string("BT") + kCRLF + colour + " rg" + kCRLF + "/F" + integer(long(index)) + " " +
           integer(Record.Font.Size) + " Tf" + kCRLF + FormatNumber(x) + " " + FormatNumber(y - h + 1) + " Td (" +
           Record.Text + ") Tj" + kCRLF + "ET";
    auto line = [&](Extended w, Extended yl) {
        return FormatNumber(w) + " w" + kCRLF + FormatNumber(x) + " " + FormatNumber(yl) + " m" + kCRLF +
               FormatNumber(x + Record.Width) + " " + FormatNumber(yl) + " l" + kCRLF + "S";
    };
    if (Record.Font.Underline) {
        Extended w = std::max<Extended>(Extended(Record.Font.Size) / 10, 1);
        Text += kCRLF + colour + " RG" + kCRLF + line(w, y - 2 * w + 1 - h + 1);
    }
    if (Record.Font.StrikeOut) {
        Extended w = std::max<Extended>(Extended(Record.Font.Size) / 20, 1);
        Text += kCRLF + colour + " RG" + kCRLF + line(w, y + h / 5 - h + 1);
    }
    if (Record.Clipped) {
        // The text stays in its control's box, as the preview shows it.
        const TPsRect& c = Record.Clip;
        Text = std::string("q") + kCRLF + FormatNumber(c.Left) + " " + FormatNumber(c.Top - c.Height - 2) + " " +
               FormatNumber(c.Width) + " " + FormatNumber(c.Height + 4) + " re W n" + kCRLF + Text + kCRLF + "Q";
    }
    if (FInControl)
        FLines.push_back(Text);
    else
        WriteOutput(Text + kCRLF);
}

std::string TPsQRPDFFilter::FrameSides(const TPsRect& r, const TQRFrame& Frame) {
    if (!Frame.AnyFrame()) return {};
    std::string s = integer(Frame.Width) + " w" + kCRLF + pdfColour(Frame.Color) + " RG";
    const Extended left = r.Left, top = r.Top, right = r.Left + r.Width, bottom = r.Top - r.Height;
    if (Frame.AllFrame())
        return s + kCRLF + FormatNumber(left) + " " + FormatNumber(bottom) + " " + FormatNumber(r.Width) + " " +
               FormatNumber(r.Height) + " re" + kCRLF + "S";
    auto edge = [&](Extended x1, Extended y1, Extended x2, Extended y2) {
        s += kCRLF + FormatNumber(x1) + " " + FormatNumber(y1) + " m" + kCRLF + FormatNumber(x2) + " " +
             FormatNumber(y2) + " l" + kCRLF + "S";
    };
    if (Frame.DrawTop) edge(left, top, right, top);
    if (Frame.DrawRight) edge(right, top, right, bottom);
    if (Frame.DrawBottom) edge(left, bottom, right, bottom);
    if (Frame.DrawLeft) edge(left, top, left, bottom);
    return s;
}

void TPsQRPDFFilter::WriteFrame(const TPsRect& Rect, plat::ColorRef Colour, std::string& Text, bool, bool, bool,
                                bool Filled, const TQRFrame& Frame) {
    Text = "q";
    if (Filled)
        Text += kCRLF + std::string("0 w") + kCRLF + pdfColour(Colour) + " rg" + kCRLF + FormatNumber(Rect.Left) + " " +
                FormatNumber(Rect.Top - Rect.Height) + " " + FormatNumber(Rect.Width) + " " +
                FormatNumber(Rect.Height) + " re" + kCRLF + "f";
    if (Frame.AnyFrame()) Text += kCRLF + FrameSides(Rect, Frame);
    Text += kCRLF + std::string("Q");
}

void TPsQRPDFFilter::PlacePicture(TQRPrintable* Control, const std::function<QImage()>& draw, bool Handled,
                                  const TPsRect& Rect, std::string& Text) {
    int k = PictureIndex(FImages, Control, Handled);
    if (k < 0) {
        const QImage picture = draw();
        if (picture.isNull()) return;
        const std::string data = encodeJpeg(picture, PsQRExportSettings().PDF.JPEGQuality);
        const int n = NextObject();
        FImages.emplace_back(integer(n), Control);
        k = int(FImages.size()) - 1;
        const std::uint64_t offset = FPageImages.size();
        FPageImages += integer(n) + " 0 obj" + kCRLF + "<<" + kCRLF + "/Type /XObject" + kCRLF + "/Subtype /Image" +
                       kCRLF + "/Name /Img" + integer(k) + kCRLF + "/Width " + integer(picture.width()) + kCRLF +
                       "/Height " + integer(picture.height()) + kCRLF + "/BitsPerComponent 8" + kCRLF +
                       "/ColorSpace /DeviceRGB" + kCRLF + "/Filter /DCTDecode" + kCRLF + "/Length " +
                       integer(static_cast<long long>(data.size())) + kCRLF + ">>" + kCRLF + "stream" + kCRLF;
        FPageImages += data;
        FPageImages += kCRLF + std::string("endstream") + kCRLF + "endobj" + kCRLF;
        FPageImageList.emplace_back(offset, n);
        if (const auto& done = PsQRExportSettings().OnEncodeGraphicDone) done(this, Control, k);
    }
    Text = std::string("q") + kCRLF + FormatNumber(Rect.Width) + " 0 0 " + FormatNumber(Rect.Height) + " " +
           FormatNumber(Rect.Left) + " " + FormatNumber(Rect.Top - Rect.Height) + " cm" + kCRLF + "/Img" + integer(k) +
           " Do" + kCRLF + "Q";
    if (Control && Control->Frame.AnyFrame()) Text += kCRLF + FrameSides(Rect, Control->Frame);
}

void TPsQRPDFFilter::WriteImage(TQRPrintable* Control, const QImage* Graphic, std::string& Text, bool Handled,
                                const TPsRect& Rect) {
    if (!PsQRExportSettings().PDF.ExportImages) return;
    PlacePicture(
        Control, [Control, Graphic] { return PictureOf(Control, Graphic); }, Handled, Rect, Text);
}

void TPsQRPDFFilter::WriteShapeImage(TQRShape* Control, const TPsRect& Rect, std::string& Text) {
    if (!Control) return;
    PlacePicture(
        Control, [Control] { return DrawShapeImage(*Control); }, false, Rect, Text);
}
