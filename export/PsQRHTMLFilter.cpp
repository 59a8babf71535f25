#include "export/PsQRHTMLFilter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include <QBuffer>
#include <QImage>

#include "export/ExportText.h"
#include "export/JpegImage.h"
#include "platform/CodePage.h"

using exportfmt::htmlColour;
using exportfmt::integer;

namespace fs = std::filesystem;

namespace {

const char QT = '"';

std::string fourDigits(long long n) {
    std::string s = integer(n);
    if (s.size() < 4) s.insert(0, 4 - s.size(), '0');
    return s;
}

std::string trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    const size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string nameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

TPsQRHTMLFilter::~TPsQRHTMLFilter() = default;

// The file's texts are data, never markup: a note holding "<script>" stays text.
std::string TPsQRHTMLFilter::EscapeText(const std::string& Text) {
    return exportfmt::replaceAll(exportfmt::htmlEscape(Text), " ", "&nbsp;");
}

Extended TPsQRHTMLFilter::PageOffset() const {
    if (!PsQRExportSettings().HTML.SingleFile || PageNumber < 1) return 0;
    return std::nearbyint((FPaperHeight + 2) * (PageNumber - 1));
}

std::string TPsQRHTMLFilter::Block(Extended top) {
    return std::string("<DIV STYLE=") + QT + "position: absolute; top: " + FormatNumber(top) + "px; ";
}

std::string TPsQRHTMLFilter::BorderStyle(const TQRFrame& Frame) {
    if (!Frame.AnyFrame()) return {};
    const std::string s = integer(Frame.Width) + "px solid #" + htmlColour(Frame.Color);
    std::string out;
    if (Frame.DrawTop) out += "; border-top: " + s;
    if (Frame.DrawRight) out += "; border-right: " + s;
    if (Frame.DrawBottom) out += "; border-bottom: " + s;
    if (Frame.DrawLeft) out += "; border-Left: " + s;
    return out;
}

std::string TPsQRHTMLFilter::PageFileName(int page) {
    std::string name = nameOf(FBaseName) + fourDigits(page) + ".htm";
    if (const auto& ev = PsQRExportSettings().OnMakeRepFileName) ev(this, name, page);
    return name;
}

void TPsQRHTMLFilter::BeginDocument() {
    TPsQRExportSettings& s = PsQRExportSettings();
    const TPsQRHTMLSettings& h = s.HTML;
    if (h.UseTextLinks) {
        FLinks[0] = h.FirstLinkText;
        FLinks[1] = h.PrevLinkText;
        FLinks[2] = h.NextLinkText;
        FLinks[3] = h.LastLinkText;
        FNavFont = "arial";
    } else if (h.GraphicNavUseWebdings) {
        FLinks[0] = "9";
        FLinks[1] = "3";
        FLinks[2] = "4";
        FLinks[3] = ":";
        FNavFont = "webdings";
    } else {
        FLinks[0] = "&#217;";
        FLinks[1] = "&#215;";
        FLinks[2] = "&#216;";
        FLinks[3] = "&#218;";
        FNavFont = "wingdings";
    }
    // Base name: the output name less its last "." and extension.
    const std::string outFolder = folderOf(FileName);
    const size_t dot = FileName.find_last_of('.');
    FBaseName = (dot != std::string::npos && dot >= outFolder.size()) ? FileName.substr(0, dot) : FileName;
    DocumentFileName = FBaseName;

    FImageFolder = outFolder;
    FImageFolderHref.clear();
    std::string imageDir = trim(h.ImageDir);
    if (!imageDir.empty()) {
        std::replace(imageDir.begin(), imageDir.end(), '\\', '/');
        fs::path dir(imageDir);
        if (dir.is_relative()) dir = fs::absolute(outFolder.empty() ? fs::path(".") : fs::path(outFolder)) / dir;
        FImageFolder = dir.lexically_normal().string();
        if (FImageFolder.empty() || FImageFolder.back() != '/') FImageFolder += '/';
        // Each level made here goes again if the job fails, outermost last.
        std::vector<std::string> levels;
        for (fs::path p = fs::path(FImageFolder).parent_path(); !p.empty() && p != p.root_path(); p = p.parent_path())
            levels.push_back(p.string());
        for (auto it = levels.rbegin(); it != levels.rend(); ++it) MakingFile(*it);
        fs::create_directories(FImageFolder);
        FImageFolderHref = imageDir.back() == '/' ? imageDir : imageDir + "/";
    }

    s.PageFileCounter = 0;
    s.PageFiles.clear();
    s.ImageCounter = 0;
    s.ExportedImages.clear();
    if (h.SingleFile) {
        s.PageFiles.push_back(FileName);
    } else {
        // Pages laid out before are known: each of their files is checked
        // before the first is emptied in place.
        std::vector<std::string> paths;
        for (int page = 1; page <= FPageCount; ++page) {
            s.PageFiles.push_back(PageFileName(page));
            paths.push_back(folderOf(FBaseName) + s.PageFiles.back());
        }
        CheckPageFiles(paths);
    }
    FPageOpen = false;
    FSingleFileMade = false;
    FPagesInPlace = FPagesEnded = 0;
    m_file = nullptr;
}

bool TPsQRHTMLFilter::NeedsPagesFirst() {
    return !PsQRExportSettings().HTML.SingleFile && plat::SaveFile::inPlaceOnly(FileName);
}

void TPsQRHTMLFilter::ReopenFile(const std::string& path) {
    plat::SaveFile& file = File(path);
    if (!file.reopen()) throw EFCreateError(SaveFailure(file));
    m_file = &file;
    FStream = &file.out();
}

std::string TPsQRHTMLFilter::GetSavedFileName() const {
    const TPsQRExportSettings& s = PsQRExportSettings();
    if (s.HTML.SingleFile || s.PageFiles.empty()) return FileName;
    return folderOf(FBaseName) + s.PageFiles.front();
}

void TPsQRHTMLFilter::StartPageFile() {
    TPsQRExportSettings& s = PsQRExportSettings();
    const TPsQRHTMLSettings& h = s.HTML;
    // A report longer than its prepared page count still gets a file per page.
    if (!h.SingleFile)
        while (int(s.PageFiles.size()) < PageNumber) s.PageFiles.push_back(PageFileName(int(s.PageFiles.size()) + 1));
    const std::string path = h.SingleFile ? FileName : folderOf(FBaseName) + s.PageFiles[size_t(PageNumber - 1)];
    ++s.PageFileCounter;
    FPageOpen = true;
    if (h.SingleFile && m_file) return;
    if (h.SingleFile && FSingleFileMade) {
        // More pages than prepared: keep adding to the one file.
        ReopenFile(path);
        return;
    }
    m_file = &OpenFile(path);
    if (!h.SingleFile && m_file->writtenInPlace()) FPagesInPlace = PageNumber;
    FSingleFileMade = h.SingleFile;
    FStream = &m_file->out();
    std::string head = std::string("<!DOCTYPE HTML PUBLIC ") + QT + "-//W3C//DTD HTML 4.0 transitional//EN" + QT + ">" +
                       kCRLF + "<HTML> <HEAD>" + kCRLF + "<TITLE>" + exportfmt::htmlEscape(FReportTitle) + "</TITLE>" +
                       kCRLF + "<META HTTP-EQUIV=" + QT + "Content-Style-Type" + QT + " CONTENT=" + QT + "text/css" +
                       QT + ">" + kCRLF;
    auto meta = [&](const std::string& name, const std::string& value) {
        head += std::string("<META NAME=") + QT + name + QT + " CONTENT=" + QT + exportfmt::htmlEscape(value) + QT +
                ">" + kCRLF;
    };
    meta("Keywords", h.Keywords);
    meta("Author", h.Author);
    meta("Creator", h.Creator);
    meta("Producer", "Brenthaul export filters");
    if (!h.SingleFile && h.ShowNavigator) {
        head += std::string("<STYLE>") + kCRLF + "<!--" + kCRLF;
        auto rule = [&](const char* sel, const char* colour) {
            head += std::string("  ") + sel + " {font: 18pt " + FNavFont + "; text-decoration: none; color: " + colour +
                    "; background-color: " + "#0B03A0" + "}" + kCRLF;
        };
        rule("A:link", "#FFFFFF");
        rule("A:visited", "#FFFFFF");
        rule("A:hover", "#FBA71A");
        head += std::string("-->") + kCRLF + "</STYLE>";
    }
    head += std::string("</HEAD>") + kCRLF + "<BODY BGCOLOR = " + QT + "#FFFFFF" + QT + ">" + kCRLF;
    WriteOutput(head);
}

void TPsQRHTMLFilter::WriteText(const TPsTextRecord& Record, std::string& Text) {
    Extended x = Record.X;
    if (Record.Alignment == 1)
        x = x - Record.Width - 2;
    else if (Record.Alignment == 2)
        x = x - Record.Width / 2 - 1;
    std::string decoration;
    if (Record.Font.Underline || Record.Font.StrikeOut) {
        decoration = "; text-decoration:";
        if (Record.Font.Underline) decoration += " underline";
        if (Record.Font.StrikeOut) decoration += " line-through";
    }
    // A control's text sits in a fixed box that hides what overflows it.
    const std::string box =
        Record.Clipped
            ? "width: " + FormatNumber(std::max<Extended>(1, Record.Clip.Left + Record.Clip.Width - x)) +
                  "px; height: " + FormatNumber(Record.Clip.Height) + "px; overflow: hidden; white-space: nowrap; "
            : "width: " + FormatNumber(Record.Width * 2.5L) + "px; ";
    Text = Block(Record.Y + PageOffset()) + "left: " + FormatNumber(x) + "px; " + box +
           "font:" + (Record.Font.Italic ? " italic" : "") + (Record.Font.Bold ? " bold" : "") + " " +
           integer(Record.Font.Size) + "pt " + Record.Font.Name + decoration + "; " + "color: #" +
           htmlColour(Record.Font.Color) + QT + ">" + Record.Text + "</DIV>";
    if (FInControl)
        FLines.push_back(Text);
    else
        WriteOutput(Text + kCRLF);
}

void TPsQRHTMLFilter::WriteFrame(const TPsRect& Rect, plat::ColorRef Colour, std::string& Text, bool, bool, bool,
                                 bool Filled, const TQRFrame& Frame) {
    Text = std::string("<DIV STYLE=") + QT + "font: 0pt" +
           (Filled ? "; background-color: #" + htmlColour(Colour) : "") + "; " + "position: absolute; " +
           "top: " + FormatNumber(Rect.Top + PageOffset()) + "px; " + "left: " + FormatNumber(Rect.Left) + "px; " +
           "width: " + FormatNumber(Rect.Width) + "px; " + "height: " + FormatNumber(Rect.Height) + "px" +
           BorderStyle(Frame) + QT + "></DIV>";
}

void TPsQRHTMLFilter::PlacePicture(TQRPrintable* Control, const std::function<QImage()>& draw, bool Handled,
                                   const TPsRect& Rect, std::string& Text) {
    TPsQRExportSettings& s = PsQRExportSettings();
    const TPsQRHTMLSettings& h = s.HTML;
    const int index = PictureIndex(s.ExportedImages, Control, Handled);
    std::string file, alt;
    if (index >= 0) {
        file = s.ExportedImages[size_t(index)].first;
    } else {
        const QImage picture = draw();
        if (picture.isNull()) return;
        file = FImageFolder + nameOf(FBaseName) + "_I" + fourDigits(s.ImageCounter + 1);
        if (s.OnMakeImgFileName) s.OnMakeImgFileName(this, file, PageNumber, alt);
        if (h.ExportImageFormat == TPsImageFormat::ifBMP) {
            file += ".bmp";
            QByteArray bmp;
            QBuffer buffer(&bmp);
            buffer.open(QIODevice::WriteOnly);
            picture.save(&buffer, "BMP");
            OpenFile(file).out().write(bmp.constData(), bmp.size());
        } else {
            file += ".jpg";
            const int quality = h.ExportImageFormat == TPsImageFormat::ifJPG ? h.JPEGQuality : 75;
            const std::string data = encodeJpeg(picture, quality);
            OpenFile(file).out().write(data.data(), std::streamsize(data.size()));
        }
        CommitFile(file);
        s.ExportedImages.emplace_back(file, Control);
        ++s.ImageCounter;
        if (s.OnEncodeGraphicDone) s.OnEncodeGraphicDone(this, Control, int(s.ExportedImages.size()) - 1);
    }
    const std::string src = FImageFolderHref + nameOf(file);
    Text = Block(Rect.Top + PageOffset()) + "left: " + FormatNumber(Rect.Left) + "px; " +
           "width: " + FormatNumber(Rect.Width) + "px; " + "height: " + FormatNumber(Rect.Height) + "px" +
           (Control ? BorderStyle(Control->Frame) : std::string()) + QT + ">" + "<IMG SRC=" + QT +
           exportfmt::htmlEscape(exportfmt::urlPath(src)) + QT + " ALT=" + QT + exportfmt::htmlEscape(alt) + QT +
           "></DIV>";
}

void TPsQRHTMLFilter::WriteImage(TQRPrintable* Control, const QImage* Graphic, std::string& Text, bool Handled,
                                 const TPsRect& Rect) {
    if (!PsQRExportSettings().HTML.ExportImages) return;
    PlacePicture(
        Control, [Control, Graphic] { return PictureOf(Control, Graphic); }, Handled, Rect, Text);
}

void TPsQRHTMLFilter::WriteShapeImage(TQRShape* Control, const TPsRect& Rect, std::string& Text) {
    if (!Control) return;
    PlacePicture(
        Control, [Control] { return DrawShapeImage(*Control); }, false, Rect, Text);
}

void TPsQRHTMLFilter::EndPage() {
    if (FPageOpen) {
        FPageOpen = false;
        const TPsQRExportSettings& s = PsQRExportSettings();
        const TPsQRHTMLSettings& h = s.HTML;
        WriteOutput(FBandText);
        FBandText.clear();
        FBandOpen = false;
        if (FPageFrame.AnyFrame())
            WriteOutput(Block(FTopMargin + PageOffset()) + "left: " + FormatNumber(FLeftMargin) + "px; " +
                        "width: " + FormatNumber(FPaperWidth - FLeftMargin - FRightMargin) + "px; " +
                        "height: " + FormatNumber(FPaperHeight - FTopMargin - FBottomMargin) + "px " +
                        BorderStyle(FPageFrame) + QT + "></DIV>" + kCRLF);
        if (h.SingleFile) {
            WriteOutput(std::string("<DIV STYLE=") + QT + "position: absolute; top: " +
                        FormatNumber(Extended(PageNumber) * FPaperHeight) + "px" + QT + ">" + "<HR SIZE= " + "2" + " " +
                        "WIDTH= " + FormatNumber(FPaperWidth - 10) + " " + "NOSHADE></DIV>" + kCRLF);
        }
        // A page file is ended by EndDocument, once the page count is known
        // for its navigator; so is a single file whose page count was not
        // known up front.
        if (!h.SingleFile)
            CloseFile(false);
        else if (FPageCount > 0 && PageNumber >= FPageCount)
            CloseFile(true);
    }
    TPsQRDocumentFilter::EndPage();
}

void TPsQRHTMLFilter::CloseFile(bool writeEnd) {
    if (!m_file) return;
    if (writeEnd) WriteOutput(std::string("</BODY>") + kCRLF + "</HTML>" + kCRLF);
    FStream = nullptr;
    plat::SaveFile& file = *m_file;
    m_file = nullptr;
    if (!file.close()) WriteFailed(file);
}

std::string TPsQRHTMLFilter::SaveFailure(const plat::SaveFile& file) {
    std::string message = file.error();
    if (FPagesInPlace <= FPagesEnded) return message;
    // Page files written in place lost their old text when opened, and get
    // their navigators and ends only once every page is written: a failure
    // leaves all of those not yet ended incomplete, not just the one that failed.
    const std::string one = file.incomplete();
    if (!one.empty() && message.size() > one.size() &&
        message.compare(message.size() - one.size(), one.size(), one) == 0)
        message.resize(message.size() - one.size());
    if (!message.empty() && message.back() != '.') message += '.';
    const int first = FPagesEnded + 1;
    return message +
           (first == FPagesInPlace
                ? " Page " + std::to_string(first) + " was"
                : " Pages " + std::to_string(first) + " to " + std::to_string(FPagesInPlace) + " were") +
           " left incomplete.";
}

void TPsQRHTMLFilter::CloseOutput() {
    FStream = nullptr;
    m_file = nullptr;
    FPageOpen = false;
}

std::string TPsQRHTMLFilter::Navigator(int page, int pages) {
    const std::vector<std::string>& files = PsQRExportSettings().PageFiles;
    auto link = [&](int target, const char* title, const std::string& text) {
        std::string reference;
        if (target >= 1 && target <= int(files.size()))
            reference = std::string("HREF=") + QT +
                        exportfmt::htmlEscape(exportfmt::urlPath(files[size_t(target - 1)])) + QT + " ";
        return "<A " + reference + "TITLE=" + QT + title + QT + ">" + text + "</A>";
    };
    const bool first = page <= 1, last = page >= pages;
    const std::string links = link(first ? 0 : 1, "First Page", FLinks[0]) + "&nbsp;" +
                              link(first ? 0 : page - 1, "Previous Page", FLinks[1]) + "&nbsp;" +
                              link(last ? 0 : page + 1, "Next Page", FLinks[2]) + "&nbsp;" +
                              link(last ? 0 : pages, "Last Page", FLinks[3]);
    return Block(FPaperHeight) + "left: " + FormatNumber(FLeftMargin) + "px; " + "font: 18pt " + FNavFont +
           "; color: " + "#FFFFFF" + "; " + "background: " + "#0B03A0" + QT + ">" + links + "</DIV>" + kCRLF;
}

void TPsQRHTMLFilter::EndDocument() {
    if (FPageOpen) EndPage();
    const TPsQRExportSettings& s = PsQRExportSettings();
    if (s.HTML.SingleFile) {
        CloseFile(true);
        if (FSingleFileMade) CommitFile(FileName);
        return;
    }
    // Every page file gets its navigator and its end now that the page count is known.
    const int pages = PageNumber;
    for (int page = 1; page <= pages; ++page) {
        ReopenFile(folderOf(FBaseName) + s.PageFiles[size_t(page - 1)]);
        if (s.HTML.ShowNavigator && pages >= 2) WriteOutput(Navigator(page, pages));
        CloseFile(true);
        FPagesEnded = page;
    }
    // The pages take their places once all of them are whole.
    for (int page = 1; page <= pages; ++page) {
        CommitFile(folderOf(FBaseName) + s.PageFiles[size_t(page - 1)]);
    }
}
