#include "reports/render/QRRenderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "platform/ui/QtText.h"

QFont QRQFont(const TQRFont& f) {
    QString family = toQ(f.Name);
    if (family.compare("Arial", Qt::CaseInsensitive) == 0)
        family = "Liberation Sans";
    else if (family.compare("Times New Roman", Qt::CaseInsensitive) == 0)
        family = "Liberation Serif";
    else if (family.compare("Courier New", Qt::CaseInsensitive) == 0)
        family = "Liberation Mono";
    QFont q(family);
    q.setPixelSize(std::max(1, int(std::lround(f.PixelSize()))));
    q.setBold(f.Bold());
    q.setItalic(f.Italic());
    q.setUnderline(f.Underline());
    q.setStrikeOut(f.StrikeOut());
    q.setHintingPreference(QFont::PreferNoHinting);
    // Without kerning a text is as wide as its characters' advances, which
    // is what layout measures and what PDF readers draw.
    q.setKerning(false);
    return q;
}

namespace {

// The few fonts of the reports, each with its screen font, line height and
// the advance of every cp1252 character: measuring a text is a sum.
struct FontMetrics {
    TQRFont key;
    QFont font;
    double lineHeight = 0, ascent = 0;
    std::array<double, 256> advance{};
};

const FontMetrics& metricsOf(const TQRFont& f) {
    // Never freed: fonts must not outlive the application at exit.
    static auto* cache = new std::vector<std::unique_ptr<FontMetrics>>;
    static const FontMetrics* last = nullptr;
    if (last && last->key == f) return *last;
    for (const auto& e : *cache)
        if (e->key == f) return *(last = e.get());
    auto e = std::make_unique<FontMetrics>();
    e->key = f;
    e->font = QRQFont(f);
    const QFontMetricsF fm(e->font);
    e->lineHeight = std::ceil(fm.height());
    e->ascent = fm.ascent();
    for (int c = 1; c < 256; ++c) e->advance[size_t(c)] = fm.horizontalAdvance(toQ(std::string(1, char(c))));
    cache->push_back(std::move(e));
    return *(last = cache->back().get());
}

double advanceOf(const FontMetrics& m, const std::string& text) {
    double w = 0;
    for (unsigned char c : text) w += m.advance[c];
    return w;
}

} // namespace

void QRInstallQtMetrics() {
    TQRTextMetrics& m = QRMetrics();
    m.textWidth = [](const TQRFont& f, const std::string& text) { return advanceOf(metricsOf(f), text); };
    m.lineHeight = [](const TQRFont& f) { return metricsOf(f).lineHeight; };
}

namespace {

QPen makePen(plat::ColorRef c, int width, TQRPenStyle style) {
    QPen p(toQColor(c));
    p.setWidthF(std::max(1, width));
    p.setStyle(QRPenStyle(style));
    p.setCapStyle(Qt::FlatCap);
    return p;
}

void paintFrame(QPainter& g, const TQRPageItem& it) {
    const TQRFrame& f = it.Frame;
    g.setPen(makePen(f.Color, f.Width, f.Style));
    const double w = std::max(1, f.Width) / 2.0;
    const double l = it.Left, t = it.Top, r = it.Left + it.Width, b = it.Top + it.Height;
    if (f.DrawTop) g.drawLine(QPointF(l, t + w), QPointF(r, t + w));
    if (f.DrawBottom) g.drawLine(QPointF(l, b - w), QPointF(r, b - w));
    if (f.DrawLeft) g.drawLine(QPointF(l + w, t), QPointF(l + w, b));
    if (f.DrawRight) g.drawLine(QPointF(r - w, t), QPointF(r - w, b));
}

void paintShape(QPainter& g, const TQRPageItem& it) {
    const QPen pen = makePen(it.Pen.Color, it.Pen.Width, it.Pen.Style);
    const double half = std::max(1, it.Pen.Width) / 2.0;
    const double l = it.Left, t = it.Top, r = it.Left + it.Width, b = it.Top + it.Height;
    g.setPen(pen);
    switch (it.Shape) {
    case qrsRectangle:
    case qrsCircle: {
        QBrush brush(toQColor(it.Brush.Color), QRBrushStyle(it.Brush.Style));
        g.setBrush(brush);
        const QRectF rc(l + half, t + half, std::max(0.0, it.Width - 2 * half), std::max(0.0, it.Height - 2 * half));
        if (it.Shape == qrsRectangle)
            g.drawRect(rc);
        else
            g.drawEllipse(rc);
        g.setBrush(Qt::NoBrush);
        break;
    }
    case qrsHorLine: {
        const double y = t + it.Height / 2;
        g.drawLine(QPointF(l, y), QPointF(r, y));
        break;
    }
    case qrsVertLine: {
        const double x = l + it.Width / 2;
        g.drawLine(QPointF(x, t), QPointF(x, b));
        break;
    }
    case qrsTopAndBottom:
        // Lines on the top and on the bottom edge: a double rule.
        g.drawLine(QPointF(l, t + half), QPointF(r, t + half));
        g.drawLine(QPointF(l, b + half), QPointF(r, b + half));
        break;
    case qrsRightAndLeft:
        g.drawLine(QPointF(l + half, t), QPointF(l + half, b));
        g.drawLine(QPointF(r + half, t), QPointF(r + half, b));
        break;
    }
}

void paintText(QPainter& g, const TQRPageItem& it) {
    const FontMetrics& fm = metricsOf(it.Font);
    g.setFont(fm.font);
    g.setPen(toQColor(it.Font.Color));
    const QString text = toQ(it.Text);
    const double w = advanceOf(fm, it.Text);
    double x = it.X();
    if (it.Alignment == taRightJustify)
        x -= w;
    else if (it.Alignment == taCenter)
        x -= w / 2;
    g.save();
    // The engine has cut the text between characters to fit its control;
    // the clip keeps a text the screen font draws wider inside the same box
    // every export clips to.
    const double slack = QRClipSlack(it.Font);
    g.setClipRect(QRectF(it.Left - slack, it.Top - 2, std::max(it.Width, 1.0) + 2 * slack, it.Height + 4));
    g.drawText(QPointF(x, it.Y() + fm.ascent), text);
    g.restore();
}

} // namespace

Qt::PenStyle QRPenStyle(TQRPenStyle s) {
    switch (s) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

Qt::BrushStyle QRBrushStyle(TQRBrushStyle s) {
    switch (s) {
    case bsClear: return Qt::NoBrush;
    case bsHorizontal: return Qt::HorPattern;
    case bsVertical: return Qt::VerPattern;
    case bsFDiagonal: return Qt::FDiagPattern;
    case bsBDiagonal: return Qt::BDiagPattern;
    case bsCross: return Qt::CrossPattern;
    case bsDiagCross: return Qt::DiagCrossPattern;
    default: return Qt::SolidPattern;
    }
}

void QRPaintPage(QPainter& g, const TQRPreparedPage& page) {
    g.save();
    g.setRenderHint(QPainter::Antialiasing, false);
    g.setRenderHint(QPainter::TextAntialiasing, true);
    for (const TQRPageItem& it : page.Items) {
        switch (it.Kind) {
        case TQRItemKind::Fill: g.fillRect(QRectF(it.Left, it.Top, it.Width, it.Height), toQColor(it.Color)); break;
        case TQRItemKind::Frame: paintFrame(g, it); break;
        case TQRItemKind::Shape: paintShape(g, it); break;
        case TQRItemKind::Picture:
            if (it.Picture && it.Picture->Width > 0 && it.Picture->Height > 0) {
                const QImage img(reinterpret_cast<const uchar*>(it.Picture->Pixels.data()), it.Picture->Width,
                                 it.Picture->Height, QImage::Format_RGB32);
                g.drawImage(QRectF(it.Left, it.Top, it.Width, it.Height), img);
            }
            break;
        case TQRItemKind::Text:
            if (it.Color != plat::kWhite) g.fillRect(QRectF(it.Left, it.Top, it.Width, it.Height), toQColor(it.Color));
            paintText(g, it);
            break;
        }
    }
    g.restore();
}

QImage QRPageImage(const TQRPreparedPage& page, double dpi) {
    const double scale = dpi / kQRDpi;
    QImage img(int(std::lround(page.Width * scale)), int(std::lround(page.Height * scale)), QImage::Format_RGB32);
    const int dpm = int(std::lround(dpi / 0.0254));
    img.setDotsPerMeterX(dpm);
    img.setDotsPerMeterY(dpm);
    img.fill(Qt::white);
    QPainter g(&img);
    g.scale(scale, scale);
    QRPaintPage(g, page);
    return img;
}

std::shared_ptr<const TQRBitmap> QRBitmapOf(const QImage& image) {
    auto b = std::make_shared<TQRBitmap>();
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    b->Width = rgb.width();
    b->Height = rgb.height();
    b->Pixels.resize(size_t(b->Width) * size_t(b->Height));
    for (int y = 0; y < b->Height; ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(rgb.constScanLine(y));
        std::copy(line, line + b->Width, b->Pixels.begin() + std::ptrdiff_t(y) * b->Width);
    }
    return b;
}

QImage QImageOf(const TQRBitmap& bitmap) {
    if (bitmap.Width <= 0 || bitmap.Height <= 0) return {};
    return QImage(reinterpret_cast<const uchar*>(bitmap.Pixels.data()), bitmap.Width, bitmap.Height,
                  QImage::Format_RGB32)
        .copy();
}
