#include "reports/ReportEngine.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- fonts and metrics

TQRFont TQRFont::FromHeight(int heightPx, unsigned style, const std::string& name) {
    TQRFont f;
    f.Name = name;
    f.Style = style;
    f.Size = std::max(1, int(std::lround(heightPx * 72.0 / kQRDpi)));
    return f;
}

namespace {

// Deterministic stand-in: half an em per character (a little more in bold),
// 1.15 em per line. Good enough for layout tests; the UI installs real metrics.
double defaultTextWidth(const TQRFont& f, const std::string& text) {
    const double em = f.PixelSize();
    return double(text.size()) * em * (f.Bold() ? 0.55 : 0.5);
}
double defaultLineHeight(const TQRFont& f) { return std::ceil(f.PixelSize() * 1.15); }

TQRTextMetrics makeDefaultMetrics() {
    TQRTextMetrics m;
    m.textWidth = defaultTextWidth;
    m.lineHeight = defaultLineHeight;
    return m;
}

} // namespace

TQRTextMetrics& QRMetrics() {
    static TQRTextMetrics m = makeDefaultMetrics();
    return m;
}

void QRResetMetrics() { QRMetrics() = makeDefaultMetrics(); }

double QRTextWidth(const TQRFont& font, const std::string& text) {
    auto& m = QRMetrics();
    return m.textWidth ? m.textWidth(font, text) : defaultTextWidth(font, text);
}

double QRLineHeight(const TQRFont& font) {
    auto& m = QRMetrics();
    return m.lineHeight ? m.lineHeight(font) : defaultLineHeight(font);
}

std::string QRFitText(const std::string& text, double width, const TQRFont& font, TQRAlignment alignment) {
    if (text.empty() || QRTextWidth(font, text) <= width) return text;
    auto cut = [&](size_t keep) {
        const size_t drop = text.size() - keep;
        switch (alignment) {
        case taRightJustify: return text.substr(drop);
        case taCenter: return text.substr(drop / 2, keep);
        default: return text.substr(0, keep);
        }
    };
    // A character stays when most of it lies inside the box: the cut falls
    // on the character boundary nearest the edge, never inside a glyph.
    auto fits = [&](size_t keep) {
        return keep == 0 || (QRTextWidth(font, cut(keep)) + QRTextWidth(font, cut(keep - 1))) / 2 <= width;
    };
    size_t lo = 0, hi = text.size();
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid - 1;
    }
    return cut(lo);
}

double QRClipSlack(const TQRFont& font) { return QRLineHeight(font) / 2; }

// ---------------------------------------------------------------- page source

const TQRPreparedPage* TQRPreparedReport::Page(int index) const {
    if (index < 1 || index > PageCount()) return nullptr;
    return &FPages[size_t(index - 1)];
}

// ---------------------------------------------------------------- export filter

void TQRExportFilter::Start(double, double, const TQRFont&) { Active = true; }
void TQRExportFilter::TextOut(double, double, const TQRFont&, plat::ColorRef, TQRAlignment, const std::string&) {}
void TQRExportFilter::BeginControl(TQRPrintable*, double, double) {}
void TQRExportFilter::EndControl(TQRPrintable*, double, bool, double) {}
void TQRExportFilter::AddShape(TQRShape*, double, bool, double) {}
void TQRExportFilter::BeginBandPrint(TQRBand*) {}
void TQRExportFilter::EndBandPrint(TQRBand*) {}

TQRExportFilterLibrary& TQRExportFilterLibrary::Instance() {
    static TQRExportFilterLibrary lib;
    return lib;
}

void TQRExportFilterLibrary::AddFilter(TQRExportFilterFactory Create, const std::string& FilterName,
                                       const std::string& Extension) {
    FFilters.push_back({std::move(Create), FilterName, Extension});
}

void TQRExportFilterLibrary::RemoveFilter(const std::string& FilterName) {
    std::erase_if(FFilters, [&](const TQRExportFilterEntry& e) { return e.FilterName == FilterName; });
}

// ---------------------------------------------------------------- printables

TQRPrintable::TQRPrintable(TQRBand* Parent) : FParent(Parent) {}

TQuickRep* TQRPrintable::ParentReport() const { return FParent ? FParent->ParentReport() : nullptr; }

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
}

double TQRPrintable::PartLimit() const {
    const TQuickRep* r = ParentReport();
    return r ? r->PartLimit() : kInf;
}

double TQRPrintable::NextContentTop() const { return FPrintFinished ? kInf : Top; }

double TQRPrintable::FirstPieceBottom() const { return FPrintFinished ? kInf : Top + NeededHeight(); }

double TQRPrintable::FitBottom(double limit) const {
    if (FPrintFinished) return -kInf;
    const double bottom = Top + NeededHeight();
    return bottom <= limit + 0.001 ? bottom : -kInf;
}

void TQRPrintable::AddItem(TQRPageItem item) {
    if (TQuickRep* r = ParentReport())
        if (TQRPreparedPage* p = r->CurrentPage()) p->Items.push_back(std::move(item));
}

void TQRPrintable::PrintBackground(double x, double y, double w, double h) {
    if (Transparent) return;
    TQRPageItem it = TQRPageItem::At(TQRItemKind::Fill, x, y, w, h);
    it.Color = Color;
    AddItem(std::move(it));
}

void TQRPrintable::PrintFrame(double x, double y, double w, double h) {
    if (!Frame.AnyFrame()) return;
    TQRPageItem it = TQRPageItem::At(TQRItemKind::Frame, x, y, w, h);
    it.Frame = Frame;
    AddItem(std::move(it));
}

void TQRPrintable::Print(double OffsetX, double OffsetY) {
    const double x = PageX(OffsetX), y = PageY(OffsetY);
    PrintBackground(x, y, Width, Height);
    PrintFrame(x, y, Width, Height);
    FPrintedTop = Top;
    FPrintedHeight = Height;
    FPrintFinished = true;
}

namespace {

// Splits at CR, LF or CR LF.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            out.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    out.push_back(cur);
    return out;
}

// Breaks one line into lines no wider than width, at blanks where possible.
void wrapLine(const std::string& line, const TQRFont& font, double width, std::vector<std::string>& out) {
    if (line.empty() || width <= 0 || QRTextWidth(font, line) <= width) {
        out.push_back(line);
        return;
    }
    size_t start = 0;
    const size_t n = line.size();
    while (start < n) {
        // Longest prefix that fits; measured incrementally by words.
        size_t lastBreak = std::string::npos;
        size_t end = start;
        while (end < n) {
            size_t next = end + 1;
            if (QRTextWidth(font, line.substr(start, next - start)) > width) break;
            if (line[end] == ' ') lastBreak = end;
            end = next;
        }
        if (end >= n) {
            out.push_back(line.substr(start));
            break;
        }
        size_t cut;
        if (lastBreak != std::string::npos && lastBreak > start)
            cut = lastBreak;
        else
            cut = std::max(end, start + 1); // a word wider than the line is cut
        out.push_back(line.substr(start, cut - start));
        start = cut;
        while (start < n && line[start] == ' ') ++start;
    }
}

} // namespace

std::vector<std::string> TQRCustomLabel::PrintLines() const {
    std::vector<std::string> src = SourceLines();
    if (!WordWrap || AutoSize) return src;
    std::vector<std::string> out;
    for (const auto& l : src) wrapLine(l, Font, Width, out);
    return out;
}

double TQRCustomLabel::NeededHeight() const {
    if (!AutoStretch) return Height;
    const double lines = double(PrintLines().size());
    return std::max(Height, lines * QRLineHeight(Font));
}

void TQRCustomLabel::ResetPrint() {
    TQRPrintable::ResetPrint();
    FNextLine = 0;
    FPartLines.clear();
    if (AutoStretch) FPartLines = PrintLines();
}

size_t TQRCustomLabel::LinesFitting(size_t first, double limit) const {
    const size_t left = FPartLines.size() > first ? FPartLines.size() - first : 0;
    if (limit == kInf) return left;
    const double lh = QRLineHeight(Font);
    if (lh <= 0) return left;
    const double room = limit - (Top + double(first) * lh);
    if (room < lh - 0.001) return 0;
    return std::min(left, size_t(std::floor(room / lh + 0.001)));
}

double TQRCustomLabel::NextContentTop() const {
    if (!SplitsByLine()) return TQRPrintable::NextContentTop();
    return FNextLine < FPartLines.size() ? Top + double(FNextLine) * QRLineHeight(Font) : kInf;
}

double TQRCustomLabel::FirstPieceBottom() const {
    if (!SplitsByLine()) return TQRPrintable::FirstPieceBottom();
    return FNextLine < FPartLines.size() ? Top + double(FNextLine + 1) * QRLineHeight(Font) : kInf;
}

double TQRCustomLabel::FitBottom(double limit) const {
    if (!SplitsByLine()) return TQRPrintable::FitBottom(limit);
    const size_t n = LinesFitting(FNextLine, limit);
    if (n == 0) return -kInf;
    const double lh = QRLineHeight(Font);
    const double bottom = Top + double(FNextLine + n) * lh;
    // The last piece keeps the control's own height when that still fits.
    if (FNextLine + n == FPartLines.size() && Top + Height <= limit + 0.001) return std::max(bottom, Top + Height);
    return bottom;
}

void TQRCustomLabel::Print(double OffsetX, double OffsetY) {
    const bool split = SplitsByLine();
    const std::vector<std::string> computed = split ? std::vector<std::string>() : PrintLines();
    const std::vector<std::string>& lines = split ? FPartLines : computed;
    const double lh = QRLineHeight(Font);
    const double x = PageX(OffsetX);
    double w = Width;
    if (AutoSize) {
        w = 0;
        for (const auto& l : lines) w = std::max(w, QRTextWidth(Font, l));
    }
    size_t first = 0, count = lines.size();
    double top = Top, h = AutoStretch ? std::max(Height, double(lines.size()) * lh) : Height;
    bool whole = true;
    if (split) {
        // A band split across pages: the lines that fit this part.
        first = std::min(FNextLine, lines.size());
        count = std::max<size_t>(LinesFitting(first, PartLimit()), first < lines.size() ? 1 : 0);
        whole = first == 0 && count == lines.size();
        if (!whole) {
            top = Top + double(first) * lh;
            h = double(count) * lh;
        }
    } else if (!AutoStretch && lh > 0) {
        // Without stretching, lines below the control's height are not
        // printed (the first line always is).
        count = std::min(count, std::max<size_t>(1, size_t(std::floor((h + 0.5) / lh))));
    }
    const double y = PageY(OffsetY) + (top - Top);
    PrintBackground(x, y, w, h);
    TQuickRep* rep = ParentReport();
    TQRExportFilter* filter = rep ? rep->ExportFilter() : nullptr;
    for (size_t i = first; i < first + count; ++i) {
        TQRPageItem it = TQRPageItem::At(TQRItemKind::Text, x, y + double(i - first) * lh, w, lh);
        it.Font = Font;
        it.Alignment = Alignment;
        // Text stays inside its box in every output, cut between characters.
        it.Text = AutoSize ? lines[i] : QRFitText(lines[i], w, Font, Alignment);
        if (!Transparent) it.Color = Color;
        if (filter && Enabled)
            filter->TextOut(PxToMM10(it.X()), PxToMM10(it.Y()), Font, Transparent ? plat::kWhite : Color, Alignment,
                            it.Text);
        // An empty line draws nothing its control's background has not.
        if (!it.Text.empty()) AddItem(std::move(it));
    }
    PrintFrame(x, y, w, h);
    FNextLine = first + count;
    FPrintFinished = !split || FNextLine >= lines.size();
    FPrintedTop = top;
    FPrintedHeight = whole ? Height : h;
}

std::vector<std::string> TQRLabel::SourceLines() const { return splitLines(Caption); }

void TQRMemo::Add(const std::string& text) {
    for (auto& l : splitLines(text)) Lines.push_back(std::move(l));
}

std::vector<std::string> TQRMemo::SourceLines() const { return Lines; }

void TQRShape::Print(double OffsetX, double OffsetY) {
    TQRPageItem it = TQRPageItem::At(TQRItemKind::Shape, PageX(OffsetX), PageY(OffsetY), Width, Height);
    it.Shape = Shape;
    it.Pen = Pen;
    it.Brush = Brush;
    AddItem(std::move(it));
    PrintFrame(it.Left, it.Top, Width, Height);
    FPrintedTop = Top;
    FPrintedHeight = Height;
    FPrintFinished = true;
}

// ---------------------------------------------------------------- export-aware controls

bool QRDocumentExport(const TQRPrintable* control) {
    if (!control || !control->Enabled) return false;
    TQuickRep* rep = control->ParentReport();
    return rep && rep->Exporting() && rep->ExportFilter()->IsDocumentFilter();
}

void TPsQRLabel::Print(double OffsetX, double OffsetY) {
    if (!QRDocumentExport(this)) {
        TQRLabel::Print(OffsetX, OffsetY);
        return;
    }
    TQRExportFilter* f = ParentReport()->ExportFilter();
    const bool unfinished = Continuing();
    f->BeginControl(this, OffsetX, OffsetY);
    TQRLabel::Print(OffsetX, OffsetY);
    f->EndControl(this, OffsetX, unfinished, OffsetY);
}

void TPsQRMemo::Print(double OffsetX, double OffsetY) {
    if (!QRDocumentExport(this)) {
        TQRMemo::Print(OffsetX, OffsetY);
        return;
    }
    TQRExportFilter* f = ParentReport()->ExportFilter();
    const bool unfinished = Continuing();
    f->BeginControl(this, OffsetX, OffsetY);
    TQRMemo::Print(OffsetX, OffsetY);
    f->EndControl(this, OffsetX, unfinished, OffsetY);
}

void TPsQRShape::Print(double OffsetX, double OffsetY) {
    if (QRDocumentExport(this)) ParentReport()->ExportFilter()->AddShape(this, OffsetX, Continuing(), OffsetY);
    TQRShape::Print(OffsetX, OffsetY);
}

// ---------------------------------------------------------------- bands

TQRBand::TQRBand(TQuickRep* Report, TQRBandType Type) : FReport(Report), FType(Type) {}
TQRBand::~TQRBand() = default;

double TQRBand::StretchedHeight() const {
    double h = Height;
    // Only controls that stretch grow the band; others keep its height.
    for (const auto& c : FControls)
        if (c->Enabled) {
            const double need = c->NeededHeight();
            if (need > c->Height) h = std::max(h, c->Top + need);
        }
    return h;
}

// ---------------------------------------------------------------- report

TQuickRep::TQuickRep() = default;
TQuickRep::~TQuickRep() = default;

TQuickRep::DeviceHooks& TQuickRep::Devices() {
    static DeviceHooks h;
    return h;
}

TQRBand* TQuickRep::AddBand(TQRBandType type) {
    FBands.push_back(std::make_unique<TQRBand>(this, type));
    TQRBand* b = FBands.back().get();
    b->Width = Page.PaperWidth - Page.LeftMargin - Page.RightMargin;
    return b;
}

TQRSubDetail* TQuickRep::AddSubDetail() {
    auto p = std::make_unique<TQRSubDetail>(this);
    TQRSubDetail* raw = p.get();
    raw->Width = Page.PaperWidth - Page.LeftMargin - Page.RightMargin;
    FBands.push_back(std::move(p));
    return raw;
}

TQRBand* TQuickRep::PageHeader() const {
    for (const auto& b : FBands)
        if (b->BandType() == rbPageHeader) return b.get();
    return nullptr;
}

TQRBand* TQuickRep::PageFooter() const {
    for (const auto& b : FBands)
        if (b->BandType() == rbPageFooter) return b.get();
    return nullptr;
}

TQRPreparedPage* TQuickRep::CurrentPage() {
    if (FPrepared.FPages.empty()) return nullptr;
    return &FPrepared.FPages.back();
}

bool TQuickRep::IsStreamBand(const TQRBand* band) const {
    switch (band->BandType()) {
    case rbPageHeader:
    case rbPageFooter:
    case rbGroupHeader:
    case rbGroupFooter:
    case rbChild: return false;
    default: break;
    }
    // A band used as a child of another prints with its parent only.
    for (const auto& b : FBands)
        if (b->ChildBand == band) return false;
    return true;
}

double TQuickRep::BodyBottom() const {
    double bottom = Page.PaperHeight - Page.BottomMargin;
    if (TQRBand* f = PageFooter(); f && f->Enabled) bottom -= f->StretchedHeight();
    return bottom;
}

void TQuickRep::PlaceBand(TQRBand* band, double top, double height, double bandY) {
    band->FPrintLeft = Page.LeftMargin;
    band->FPrintTop = top;
    band->FExtraStretch = height - band->Height;
    // In a part of a split band only what fits the part prints.
    const bool part = FPartLimit != std::numeric_limits<double>::infinity();
    auto prints = [&](const TQRPrintable& c) { return c.Enabled && (!part || c.FitBottom(FPartLimit) > -1e300); };
    band->FLastPrinting = nullptr;
    for (const auto& c : band->FControls)
        if (prints(*c)) band->FLastPrinting = c.get();
    if (FExportFilter) FExportFilter->BeginBandPrint(band);
    TQRPreparedPage* page = CurrentPage();
    if (page && band->Color != plat::kWhite) {
        TQRPageItem it = TQRPageItem::At(TQRItemKind::Fill, band->FPrintLeft, top, band->Width, height);
        it.Color = band->Color;
        page->Items.push_back(std::move(it));
    }
    const double ox = PxToMM10(band->FPrintLeft), oy = PxToMM10(top - bandY);
    for (const auto& c : band->FControls)
        if (prints(*c)) c->Print(ox, oy);
    page = CurrentPage();
    if (page && band->Frame.AnyFrame()) {
        TQRPageItem it = TQRPageItem::At(TQRItemKind::Frame, band->FPrintLeft, top, band->Width, height);
        it.Frame = band->Frame;
        page->Items.push_back(std::move(it));
    }
    if (FExportFilter) FExportFilter->EndBandPrint(band);
}

void TQuickRep::PrintBandInParts(TQRBand* band, double height) {
    double y0 = 0; // band coordinate where this part starts
    for (;;) {
        double limit = y0 + (BodyBottom() - FCursor);
        double fit = -kInf, rest = -kInf, piece = kInf;
        for (const auto& c : band->FControls) {
            if (!c->Enabled || c->NextContentTop() == kInf) continue;
            fit = std::max(fit, c->FitBottom(limit));
            rest = std::max(rest, c->FitBottom(kInf));
            piece = std::min(piece, c->FirstPieceBottom());
        }
        if (rest > -kInf && fit == -kInf) {
            if (FBodyUsed) {
                FinishPage();
                StartNewPage();
                continue;
            }
            limit = fit = piece; // taller than a whole page: print it anyway
        }
        const bool last = rest <= limit + 0.001;
        const double partHeight = (last ? std::max(std::min(height, limit), rest) : fit) - y0;
        FPartLimit = limit;
        PlaceBand(band, FCursor, partHeight, y0);
        FPartLimit = kInf;
        FCursor += partHeight;
        FBodyUsed = true;
        if (last) break;
        double next = kInf;
        for (const auto& c : band->FControls)
            if (c->Enabled) next = std::min(next, c->NextContentTop());
        if (next == kInf) break;
        y0 = next;
        FinishPage();
        StartNewPage();
    }
}

bool TQuickRep::PrintBand(TQRBand* band, bool allowBreak) {
    if (!band || !band->Enabled) return false;
    bool print = true;
    if (band->BeforePrint) band->BeforePrint(band, print);
    if (!print) {
        if (band->AfterPrint) band->AfterPrint(band, false);
        return false;
    }
    for (const auto& c : band->FControls) c->ResetPrint();
    const double h = band->StretchedHeight();
    // A band that fits a fresh page moves there whole; a taller one starts
    // in the space left and continues on the following pages.
    if (allowBreak && FBodyUsed &&
        (band->ForceNewPage || (FCursor + h > BodyBottom() + 0.001 && h <= BodyBottom() - FBodyTop + 0.001))) {
        FinishPage();
        StartNewPage();
    }
    if (allowBreak && FCursor + h > BodyBottom() + 0.001) {
        PrintBandInParts(band, h);
    } else {
        PlaceBand(band, FCursor, h);
        FCursor += h;
    }
    if (allowBreak) FBodyUsed = true;
    if (band->AfterPrint) band->AfterPrint(band, true);
    if (band->ChildBand && band->ChildBand != band) PrintBand(band->ChildBand, allowBreak);
    return true;
}

void TQuickRep::StartNewPage() {
    ++FPageNumber;
    TQRPreparedPage page;
    page.Number = FPageNumber;
    page.Width = Page.PaperWidth;
    page.Height = Page.PaperHeight;
    FPrepared.FPages.push_back(std::move(page));
    FCursor = Page.TopMargin;
    FBodyUsed = false;
    if (FExportFilter) FExportFilter->NewPage();
    if (OnStartPage) OnStartPage(this);
    if (FPageNumber > 1 || FirstPageHeader) PrintBand(PageHeader(), false);
    FBodyTop = FCursor;
}

void TQuickRep::FinishPage() {
    // The footer is left off the last page unless LastPageFooter; the
    // caller tells which page is last by calling with FLastPage set.
    TQRBand* footer = PageFooter();
    if (footer && footer->Enabled && (!FLastPage || LastPageFooter)) {
        const double h = footer->StretchedHeight();
        FCursor = Page.PaperHeight - Page.BottomMargin - h;
        PrintBand(footer, false);
    }
    if (TQRPreparedPage* p = CurrentPage(); p && Page.Frame.AnyFrame()) {
        TQRPageItem it = TQRPageItem::At(TQRItemKind::Frame, Page.LeftMargin, Page.TopMargin,
                                         Page.PaperWidth - Page.LeftMargin - Page.RightMargin,
                                         Page.PaperHeight - Page.TopMargin - Page.BottomMargin);
        it.Frame = Page.Frame;
        p->Items.push_back(std::move(it));
    }
    if (FExportFilter) FExportFilter->EndPage();
}

void TQuickRep::RunSubDetail(TQRSubDetail* sd) {
    if (!sd->Enabled) return;
    bool more = true;
    if (sd->OnNeedData) {
        more = false;
        sd->OnNeedData(sd, more);
    }
    if (!more && !sd->PrintIfEmpty) return;
    PrintBand(sd->Header);
    if (!sd->OnNeedData) {
        PrintBand(sd);
    } else if (!more) {
        PrintBand(sd); // print-if-empty: once, empty
    } else {
        while (more) {
            PrintBand(sd);
            more = false;
            sd->OnNeedData(sd, more);
        }
    }
    PrintBand(sd->Footer);
}

void TQuickRep::Run() {
    FPrepared.FPages.clear();
    FPrepared.FPaperWidth = Page.PaperWidth;
    FPrepared.FPaperHeight = Page.PaperHeight;
    FPrepared.FTitle = ReportTitle;
    FPageNumber = 0;
    FLastPage = false;
    for (const auto& b : FBands) b->Width = Page.PaperWidth - Page.LeftMargin - Page.RightMargin;
    StartNewPage();
    for (const auto& b : FBands) {
        if (!IsStreamBand(b.get())) continue;
        if (b->BandType() == rbSubDetail)
            RunSubDetail(static_cast<TQRSubDetail*>(b.get()));
        else
            PrintBand(b.get());
    }
    FLastPage = true; // last page
    FinishPage();
    FLastPage = false;
}

bool TQuickRep::Prepare() {
    bool go = true;
    if (BeforePrint) BeforePrint(this, go);
    if (!go) {
        FPrepared.FPages.clear();
        return false;
    }
    Run();
    if (AfterPrint) AfterPrint(this);
    return true;
}

void TQuickRep::ExportToFilter(TQRExportFilter* filter) {
    if (!filter) return;
    if (filter->NeedsPagesFirst() && !Prepare()) return;
    bool go = true;
    if (BeforePrint) BeforePrint(this, go);
    if (!go) return;
    filter->PageSource = &FPrepared;
    filter->Report = this;
    FExportFilter = filter;
    struct Reset {
        TQuickRep* r;
        ~Reset() { r->FExportFilter = nullptr; }
    } reset{this};
    try {
        filter->Start(PxToMM10(Page.PaperWidth), PxToMM10(Page.PaperHeight), Font);
        Run();
        filter->Finish();
    } catch (...) {
        // A failed save leaves no partial files.
        filter->Abandon();
        throw;
    }
    if (AfterPrint) AfterPrint(this);
}

void TQuickRep::Print() {
    if (Devices().print)
        Devices().print(*this);
    else
        Prepare();
}

void TQuickRep::Preview() {
    if (Devices().preview)
        Devices().preview(*this);
    else
        Prepare();
}
