#include "export/Metafile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include <QImage>

#include "export/BmpImage.h"
#include "export/LittleEndian.h"
#include "platform/ui/QtText.h"
#include "reports/render/QRRenderer.h"

namespace {

using le::put16;
using le::put32;
using le::put8;
using le::putI16;
using le::putI32;

int px(double v) { return int(std::lround(v)); }

// GDI pen, brush and font as both metafile kinds store them.
struct Pen {
    unsigned style = 0; // PS_SOLID ... PS_NULL (5)
    int width = 1;
    plat::ColorRef color = plat::kBlack;
    bool operator==(const Pen&) const = default;
};
struct Brush {
    unsigned style = 0; // BS_SOLID 0, BS_NULL 1, BS_HATCHED 2
    plat::ColorRef color = plat::kWhite;
    unsigned hatch = 0; // HS_HORIZONTAL ... HS_DIAGCROSS
    bool operator==(const Brush&) const = default;
};
struct Font {
    int height = 0; // negative: the character (em) height
    bool bold = false, italic = false, underline = false, strike = false;
    std::string face;
    bool operator==(const Font&) const = default;
};

const Pen kNullPen{5, 1, plat::kBlack};

Pen penOf(TQRPenStyle style, int width, plat::ColorRef colour) {
    static const unsigned styles[] = {0, 1, 2, 3, 4, 5}; // psSolid .. psClear as PS_*
    return Pen{styles[style], std::max(1, width), colour};
}

Brush brushOf(const TQRBrush& b) {
    switch (b.Style) {
    case bsSolid: return Brush{0, b.Color, 0};
    case bsClear: return Brush{1, b.Color, 0};
    case bsHorizontal: return Brush{2, b.Color, 0};
    case bsVertical: return Brush{2, b.Color, 1};
    case bsFDiagonal: return Brush{2, b.Color, 2};
    case bsBDiagonal: return Brush{2, b.Color, 3};
    case bsCross: return Brush{2, b.Color, 4};
    case bsDiagCross: return Brush{2, b.Color, 5};
    }
    return Brush{};
}

// Records of one page: selecting pens, brushes and fonts only when they
// change, each new object made before the one it replaces is deleted.
class Recorder {
public:
    virtual ~Recorder() = default;

    void pen(const Pen& p) {
        choose(kPen, p, FPen, [&](int h) { createPen(h, p); });
    }
    void brush(const Brush& b) {
        choose(kBrush, b, FBrush, [&](int h) { createBrush(h, b); });
    }
    void font(const Font& f) {
        choose(kFont, f, FFont, [&](int h) { createFont(h, f); });
    }
    void textColour(plat::ColorRef c) {
        if (!FHaveTextColour || c != FTextColour) setTextColour(c);
        FHaveTextColour = true;
        FTextColour = c;
    }

    virtual void rectangle(int l, int t, int r, int b) = 0;
    virtual void ellipse(int l, int t, int r, int b) = 0;
    virtual void line(int x1, int y1, int x2, int y2) = 0;
    // Text at its top-left (x, y), clipped to the box, with each character's advance.
    virtual void text(int x, int y, const std::string& cp1252, int l, int t, int r, int b,
                      const std::vector<int>& dx) = 0;
    virtual void picture(int l, int t, int w, int h, const QImage& image) = 0;

    int MaxHandles = 0;

protected:
    virtual int firstHandle() const = 0;
    virtual void createPen(int h, const Pen& p) = 0;
    virtual void createBrush(int h, const Brush& b) = 0;
    virtual void createFont(int h, const Font& f) = 0;
    virtual void select(int h) = 0;
    virtual void remove(int h) = 0;
    virtual void setTextColour(plat::ColorRef c) = 0;

private:
    enum Kind { kPen, kBrush, kFont };
    template <class T, class Make>
    void choose(Kind k, const T& value, T& current, Make make) {
        if (FHandle[k] >= 0 && value == current) return;
        int h = firstHandle();
        while (std::find(FUsed.begin(), FUsed.end(), h) != FUsed.end()) ++h;
        make(h);
        select(h);
        FUsed.push_back(h);
        if (FHandle[k] >= 0) {
            remove(FHandle[k]);
            std::erase(FUsed, FHandle[k]);
        }
        FHandle[k] = h;
        current = value;
        MaxHandles = std::max(MaxHandles, h + 1);
    }

    std::array<int, 3> FHandle{-1, -1, -1};
    std::vector<int> FUsed;
    Pen FPen;
    Brush FBrush;
    Font FFont;
    bool FHaveTextColour = false;
    plat::ColorRef FTextColour = plat::kBlack;
};

// The items of a page in paint order, as the preview paints them.
void drawPage(Recorder& g, const TQRPreparedPage& page, bool fill) {
    auto fillRect = [&](double l, double t, double w, double h, plat::ColorRef c) {
        g.pen(kNullPen);
        g.brush(Brush{0, c, 0});
        // Without a pen the right and bottom edges are not filled.
        g.rectangle(px(l), px(t), px(l + w) + 1, px(t + h) + 1);
    };
    if (fill) fillRect(0, 0, page.Width, page.Height, plat::kWhite);
    for (const TQRPageItem& it : page.Items) {
        const double l = it.Left, t = it.Top, r = it.Left + it.Width, b = it.Top + it.Height;
        switch (it.Kind) {
        case TQRItemKind::Fill: fillRect(l, t, it.Width, it.Height, it.Color); break;
        case TQRItemKind::Frame: {
            const TQRFrame& f = it.Frame;
            g.pen(penOf(f.Style, f.Width, f.Color));
            const double w = std::max(1, f.Width) / 2.0;
            if (f.DrawTop) g.line(px(l), px(t + w), px(r), px(t + w));
            if (f.DrawBottom) g.line(px(l), px(b - w), px(r), px(b - w));
            if (f.DrawLeft) g.line(px(l + w), px(t), px(l + w), px(b));
            if (f.DrawRight) g.line(px(r - w), px(t), px(r - w), px(b));
            break;
        }
        case TQRItemKind::Shape: {
            g.pen(penOf(it.Pen.Style, it.Pen.Width, it.Pen.Color));
            const double half = std::max(1, it.Pen.Width) / 2.0;
            switch (it.Shape) {
            case qrsRectangle:
            case qrsCircle:
                g.brush(brushOf(it.Brush));
                if (it.Shape == qrsRectangle)
                    g.rectangle(px(l + half), px(t + half), px(r - half), px(b - half));
                else
                    g.ellipse(px(l + half), px(t + half), px(r - half), px(b - half));
                break;
            case qrsHorLine: g.line(px(l), px(t + it.Height / 2), px(r), px(t + it.Height / 2)); break;
            case qrsVertLine: g.line(px(l + it.Width / 2), px(t), px(l + it.Width / 2), px(b)); break;
            case qrsTopAndBottom:
                g.line(px(l), px(t + half), px(r), px(t + half));
                g.line(px(l), px(b + half), px(r), px(b + half));
                break;
            case qrsRightAndLeft:
                g.line(px(l + half), px(t), px(l + half), px(b));
                g.line(px(r + half), px(t), px(r + half), px(b));
                break;
            }
            break;
        }
        case TQRItemKind::Text: {
            if (it.Color != plat::kWhite) fillRect(l, t, it.Width, it.Height, it.Color);
            g.font(Font{-px(it.Font.PixelSize()), it.Font.Bold(), it.Font.Italic(), it.Font.Underline(),
                        it.Font.StrikeOut(), it.Font.Name});
            g.textColour(it.Font.Color);
            // Each character's advance, rounded so the sum stays on the text's width.
            std::vector<int> dx;
            dx.reserve(it.Text.size());
            double at = 0;
            int placed = 0;
            for (size_t i = 0; i < it.Text.size(); ++i) {
                at += QRTextWidth(it.Font, it.Text.substr(i, 1));
                dx.push_back(px(at) - placed);
                placed = px(at);
            }
            double x = it.X();
            if (it.Alignment == taRightJustify)
                x -= at;
            else if (it.Alignment == taCenter)
                x -= at / 2;
            const double slack = QRClipSlack(it.Font);
            g.text(px(x), px(it.Y()), it.Text, px(l - slack), px(t - 2), px(r + slack), px(b + 2), dx);
            break;
        }
        case TQRItemKind::Picture:
            if (it.Picture) g.picture(px(l), px(t), px(it.Width), px(it.Height), QImageOf(*it.Picture));
            break;
        }
    }
}

// The bitmap without its file header: info header, palette, bits.
std::string dibOf(const QImage& image) { return encodeBmp(image.convertToFormat(QImage::Format_RGB888)).substr(14); }

// ---------------------------------------------------------------- enhanced metafile

class EmfRecorder : public Recorder {
public:
    std::string Body;
    std::uint32_t Records = 0;

    void record(std::uint32_t type, const std::string& params) {
        putI32(Body, std::int32_t(type));
        putI32(Body, std::int32_t(8 + params.size()));
        Body += params;
        ++Records;
    }
    static std::string rect(int l, int t, int r, int b) {
        std::string s;
        for (int v : {l, t, r, b}) putI32(s, v);
        return s;
    }
    void rectangle(int l, int t, int r, int b) override { record(43, rect(l, t, r, b)); }
    void ellipse(int l, int t, int r, int b) override { record(42, rect(l, t, r, b)); }
    void line(int x1, int y1, int x2, int y2) override {
        std::string p;
        putI32(p, x1);
        putI32(p, y1);
        record(27, p); // EMR_MOVETOEX
        p.clear();
        putI32(p, x2);
        putI32(p, y2);
        record(54, p); // EMR_LINETO
    }
    void text(int x, int y, const std::string& cp1252, int l, int t, int r, int b,
              const std::vector<int>& dx) override {
        const QString u = toQ(cp1252);
        const std::uint32_t n = std::uint32_t(u.size());
        constexpr std::uint32_t kFixed = 76;
        const std::uint32_t textBytes = (n * 2 + 3) / 4 * 4;
        std::string p = rect(l, t, r, b); // bounds
        putI32(p, 1);                     // GM_COMPATIBLE
        put32(p, 0);                      // x and y scale: unused in that mode
        put32(p, 0);
        putI32(p, x);
        putI32(p, y);
        put32(p, n);
        put32(p, kFixed);
        put32(p, 0x04); // ETO_CLIPPED
        p += rect(l, t, r, b);
        put32(p, kFixed + textBytes); // advances after the text
        for (QChar c : u) put16(p, c.unicode());
        p.resize(p.size() + (textBytes - n * 2), '\0');
        for (std::uint32_t i = 0; i < n; ++i) putI32(p, i < dx.size() ? dx[i] : 0);
        record(84, p); // EMR_EXTTEXTOUTW
    }
    void picture(int l, int t, int w, int h, const QImage& image) override {
        if (image.isNull()) return;
        const std::string dib = dibOf(image);
        const std::int32_t bmi = 40, bits = std::int32_t(dib.size()) - bmi;
        constexpr std::int32_t kHead = 80;
        std::string p = rect(l, t, l + w - 1, t + h - 1);
        for (std::int32_t v : {l, t, 0, 0, image.width(), image.height()}) putI32(p, v);
        putI32(p, kHead);
        putI32(p, bmi);
        putI32(p, kHead + bmi);
        putI32(p, bits);
        putI32(p, 0);          // DIB_RGB_COLORS
        putI32(p, 0x00CC0020); // SRCCOPY
        putI32(p, w);
        putI32(p, h);
        p += dib;
        record(81, p); // EMR_STRETCHDIBITS
    }

protected:
    int firstHandle() const override { return 1; } // 0 is the metafile itself
    void createPen(int h, const Pen& pen) override {
        std::string p;
        put32(p, std::uint32_t(h));
        put32(p, pen.style);
        putI32(p, pen.width);
        putI32(p, 0);
        put32(p, pen.color);
        record(38, p); // EMR_CREATEPEN
    }
    void createBrush(int h, const Brush& brush) override {
        std::string p;
        put32(p, std::uint32_t(h));
        put32(p, brush.style);
        put32(p, brush.color);
        put32(p, brush.hatch);
        record(39, p); // EMR_CREATEBRUSHINDIRECT
    }
    void createFont(int h, const Font& f) override {
        std::string p;
        put32(p, std::uint32_t(h));
        for (std::int32_t v : {f.height, 0, 0, 0, f.bold ? 700 : 400}) putI32(p, v);
        for (unsigned v : {unsigned(f.italic), unsigned(f.underline), unsigned(f.strike), 0u, 0u, 0u, 0u, 0u})
            put8(p, v);
        const QString face = toQ(f.face).left(31);
        for (int i = 0; i < 32; ++i) put16(p, i < face.size() ? face[i].unicode() : 0);
        record(82, p); // EMR_EXTCREATEFONTINDIRECTW with a LOGFONTW
    }
    void select(int h) override { one(37, std::uint32_t(h)); }
    void remove(int h) override { one(40, std::uint32_t(h)); }
    void setTextColour(plat::ColorRef c) override { one(24, c); }

public:
    void one(std::uint32_t type, std::uint32_t value) {
        std::string p;
        put32(p, value);
        record(type, p);
    }
};

// ---------------------------------------------------------------- Windows metafile

class WmfRecorder : public Recorder {
public:
    std::string Body;
    std::uint32_t MaxRecord = 0;

    void record(unsigned function, const std::string& params) {
        const std::uint32_t words = 3 + std::uint32_t(params.size() / 2);
        put32(Body, words);
        put16(Body, function);
        Body += params;
        MaxRecord = std::max(MaxRecord, words);
    }
    static std::string box(int l, int t, int r, int b) {
        std::string s;
        for (int v : {b, r, t, l}) // bottom, right, top, left
            putI16(s, v);
        return s;
    }
    void rectangle(int l, int t, int r, int b) override { record(0x041B, box(l, t, r, b)); }
    void ellipse(int l, int t, int r, int b) override { record(0x0418, box(l, t, r, b)); }
    void line(int x1, int y1, int x2, int y2) override {
        std::string p;
        putI16(p, y1);
        putI16(p, x1);
        record(0x0214, p); // META_MOVETO
        p.clear();
        putI16(p, y2);
        putI16(p, x2);
        record(0x0213, p); // META_LINETO
    }
    void text(int x, int y, const std::string& cp1252, int l, int t, int r, int b,
              const std::vector<int>& dx) override {
        const std::string s = cp1252.substr(0, 0x7FFF);
        std::string p;
        putI16(p, y);
        putI16(p, x);
        putI16(p, int(s.size()));
        put16(p, 0x04); // ETO_CLIPPED
        for (int v : {l, t, r, b}) putI16(p, v);
        p += s;
        if (s.size() % 2) p += '\0';
        for (size_t i = 0; i < s.size(); ++i) putI16(p, i < dx.size() ? dx[i] : 0);
        record(0x0A32, p); // META_EXTTEXTOUT
    }
    void picture(int l, int t, int w, int h, const QImage& image) override {
        if (image.isNull()) return;
        std::string p;
        put32(p, 0x00CC0020); // SRCCOPY
        put16(p, 0);          // DIB_RGB_COLORS
        for (int v : {image.height(), image.width(), 0, 0, h, w, t, l}) putI16(p, v);
        p += dibOf(image);
        if (p.size() % 2) p += '\0';
        record(0x0F43, p); // META_STRETCHDIB
    }
    void mode(unsigned function, unsigned value) {
        std::string p;
        put16(p, value);
        record(function, p);
    }

protected:
    int firstHandle() const override { return 0; }
    void createPen(int, const Pen& pen) override {
        std::string p;
        put16(p, pen.style);
        putI16(p, pen.width);
        putI16(p, 0);
        put32(p, pen.color);
        record(0x02FA, p); // META_CREATEPENINDIRECT
    }
    void createBrush(int, const Brush& brush) override {
        std::string p;
        put16(p, brush.style);
        put32(p, brush.color);
        put16(p, brush.hatch);
        record(0x02FC, p); // META_CREATEBRUSHINDIRECT
    }
    void createFont(int, const Font& f) override {
        std::string p;
        for (int v : {f.height, 0, 0, 0, f.bold ? 700 : 400}) putI16(p, v);
        for (unsigned v : {unsigned(f.italic), unsigned(f.underline), unsigned(f.strike), 0u, 0u, 0u, 0u, 0u})
            put8(p, v);
        std::string face = f.face.substr(0, 31);
        face.resize(32, '\0');
        p += face;
        record(0x02FB, p); // META_CREATEFONTINDIRECT
    }
    void select(int h) override { mode(0x012D, unsigned(h)); }
    void remove(int h) override { mode(0x01F0, unsigned(h)); }
    void setTextColour(plat::ColorRef c) override {
        std::string p;
        put32(p, c);
        record(0x0209, p); // META_SETTEXTCOLOR
    }
};

} // namespace

std::string encodeEmfPage(const TQRPreparedPage& page, bool fillUnusedArea) {
    const std::int32_t w = px(page.Width), h = px(page.Height);
    if (w <= 0 || h <= 0) throw std::runtime_error("The page has no size for a metafile");
    EmfRecorder g;
    g.one(18, 1); // EMR_SETBKMODE: TRANSPARENT
    g.one(22, 0); // EMR_SETTEXTALIGN: TA_TOP | TA_LEFT
    drawPage(g, page, fillUnusedArea);
    constexpr std::int32_t kHeader = 108, kEof = 20;
    const std::int32_t total = kHeader + std::int32_t(g.Body.size()) + kEof;
    auto hundredthsMM = [](std::int32_t v) { return std::int32_t(std::lround(v * 2540.0 / 96.0)); };

    std::string s;
    s.reserve(size_t(total));
    putI32(s, 1); // EMR_HEADER
    putI32(s, kHeader);
    for (std::int32_t v : {0, 0, w - 1, h - 1}) // bounds, device pixels, inclusive
        putI32(s, v);
    for (std::int32_t v : {0, 0, hundredthsMM(w) - 1, hundredthsMM(h) - 1}) // frame, 0.01 mm
        putI32(s, v);
    putI32(s, 0x464D4520); // " EMF"
    putI32(s, 0x10000);
    putI32(s, total);
    putI32(s, std::int32_t(g.Records + 2));
    put16(s, unsigned(std::max(1, g.MaxHandles)));
    put16(s, 0);
    putI32(s, 0); // no description
    putI32(s, 0);
    putI32(s, 0); // no palette
    putI32(s, w); // reference device: the page at 96 dpi
    putI32(s, h);
    putI32(s, std::int32_t(std::lround(w * 25.4 / 96.0)));
    putI32(s, std::int32_t(std::lround(h * 25.4 / 96.0)));
    putI32(s, 0); // no pixel format
    putI32(s, 0);
    putI32(s, 0); // not OpenGL
    putI32(s, std::int32_t(std::lround(w * 25400.0 / 96.0)));
    putI32(s, std::int32_t(std::lround(h * 25400.0 / 96.0)));
    s += g.Body;
    putI32(s, 0x0E); // EMR_EOF
    putI32(s, kEof);
    putI32(s, 0);
    putI32(s, 0x10);
    putI32(s, kEof);
    return s;
}

std::string encodeWmfPage(const TQRPreparedPage& page, bool fillUnusedArea) {
    const int w = px(page.Width), h = px(page.Height);
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767)
        throw std::runtime_error("The page does not fit a Windows metafile");
    WmfRecorder g;
    {
        std::string p;
        putI16(p, 0);
        putI16(p, 0);
        g.record(0x020B, p); // META_SETWINDOWORG y, x
        p.clear();
        putI16(p, h);
        putI16(p, w);
        g.record(0x020C, p); // META_SETWINDOWEXT height, width
    }
    g.mode(0x0102, 1); // META_SETBKMODE: TRANSPARENT
    g.mode(0x012E, 0); // META_SETTEXTALIGN: TA_TOP | TA_LEFT
    drawPage(g, page, fillUnusedArea);
    put32(g.Body, 3); // META_EOF
    put16(g.Body, 0);

    std::string s;
    // Placeable header: key, handle, bounding box, units an inch, reserved, checksum.
    put32(s, 0x9AC6CDD7);
    put16(s, 0);
    for (int v : {0, 0, w, h}) put16(s, unsigned(v));
    put16(s, 96);
    put32(s, 0);
    unsigned sum = 0;
    for (size_t i = 0; i < 20; i += 2)
        sum ^= unsigned(static_cast<unsigned char>(s[i])) | unsigned(static_cast<unsigned char>(s[i + 1])) << 8;
    put16(s, sum);

    put16(s, 1); // memory metafile
    put16(s, 9); // header words
    put16(s, 0x0300);
    put32(s, 9 + std::uint32_t(g.Body.size() / 2));
    put16(s, unsigned(std::max(1, g.MaxHandles)));
    put32(s, std::max<std::uint32_t>(g.MaxRecord, 3));
    put16(s, 0);
    s += g.Body;
    return s;
}
