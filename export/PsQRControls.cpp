#include "export/PsQRControls.h"

#include <cmath>

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextOption>

#include "export/PsQRExportFilter.h"
#include "platform/ui/QtText.h"
#include "reports/render/QRRenderer.h"

namespace {

// A picture item on the report's current page.
void addPictureItem(TQuickRep* rep, const QImage& image, double x, double y, double w, double h) {
    TQRPreparedPage* page = rep ? rep->CurrentPage() : nullptr;
    if (!page || image.isNull()) return;
    TQRPageItem it = TQRPageItem::At(TQRItemKind::Picture, x, y, w, h);
    it.Picture = QRBitmapOf(image);
    page->Items.push_back(std::move(it));
}

TPsQRDocumentFilter* documentFilter(const TQRPrintable* control) {
    return QRDocumentExport(control) ? dynamic_cast<TPsQRDocumentFilter*>(control->ParentReport()->ExportFilter())
                                     : nullptr;
}

} // namespace

// ---------------------------------------------------------------- rich text

TPsQRRichEdit::TPsQRRichEdit() { FDocument.setDocumentMargin(0); }

void TPsQRRichEdit::SetText(const std::string& text) {
    const QString t = toQ(text);
    if (Qt::mightBeRichText(t))
        FDocument.setHtml(t);
    else
        FDocument.setPlainText(t);
}

void TPsQRRichEdit::Layout() {
    FDocument.setDefaultFont(QRQFont(Font));
    QTextOption option = FDocument.defaultTextOption();
    option.setAlignment(Alignment == taRightJustify ? Qt::AlignRight
                        : Alignment == taCenter     ? Qt::AlignHCenter
                                                    : Qt::AlignLeft);
    FDocument.setDefaultTextOption(option);
    FDocument.setTextWidth(std::max(1.0, Width));
}

double TPsQRRichEdit::TextHeight() {
    Layout();
    return std::ceil(FDocument.size().height());
}

void TPsQRRichEdit::Render(QImage& target, double x, double y) {
    Layout();
    QPainter g(&target);
    g.setRenderHint(QPainter::TextAntialiasing, true);
    g.translate(x, y);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = QRectF(0, 0, Width, Height);
    ctx.palette.setColor(QPalette::Text, toQColor(Font.Color));
    g.setClipRect(ctx.clip);
    FDocument.documentLayout()->draw(&g, ctx);
}

TPsQRCustomRichText::TPsQRCustomRichText(TQRBand* Parent) : TQRPrintable(Parent) { SetBounds(0, 0, 100, 100); }

void TPsQRCustomRichText::SetBounds(double ALeft, double ATop, double AWidth, double AHeight) {
    Left = ALeft;
    Top = ATop;
    Width = AWidth;
    Height = AHeight;
    FRichEdit.Left = 1;
    FRichEdit.Top = 1;
    FRichEdit.Width = std::max(0.0, AWidth - 2);
    FRichEdit.Height = std::max(0.0, AHeight - 2);
}

double TPsQRCustomRichText::NeededHeight() const {
    return AutoStretch ? std::max(Height, FRichEdit.TextHeight() + 2) : Height;
}

QImage TPsQRCustomRichText::Render() {
    const double h = NeededHeight();
    QImage img(std::max(1, int(std::lround(Width))), std::max(1, int(std::lround(h))), QImage::Format_RGB32);
    img.fill(toQColor(FRichEdit.Color));
    FRichEdit.Height = h - 2;
    FRichEdit.Render(img, FRichEdit.Left, FRichEdit.Top);
    FRichEdit.Height = std::max(0.0, Height - 2);
    return img;
}

void TPsQRCustomRichText::Print(double OffsetX, double OffsetY) {
    const double x = PageX(OffsetX), y = PageY(OffsetY);
    const QImage bitmap = Render();
    addPictureItem(ParentReport(), bitmap, x, y, Width, bitmap.height());
    if (TPsQRDocumentFilter* f = documentFilter(this))
        f->AddGraphic(this, bitmap, Continuing(), false, PxToMM10(x), PxToMM10(y));
    PrintFrame(x, y, Width, bitmap.height());
    FPrintedTop = Top;
    FPrintedHeight = bitmap.height();
    FPrintFinished = true;
}

// ---------------------------------------------------------------- image

QImage TPsQRImage::Draw() const {
    const int w = std::max(1, int(std::lround(Width))), h = std::max(1, int(std::lround(Height)));
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(toQColor(Parent() ? Parent()->Color : plat::kWhite));
    if (Picture.isNull()) return img;
    QPainter g(&img);
    if (Stretch)
        g.drawImage(QRect(0, 0, w, h), Picture);
    else if (Center)
        g.drawImage(QPoint((w - Picture.width()) / 2, (h - Picture.height()) / 2), Picture);
    else
        g.drawImage(QPoint(0, 0), Picture);
    return img;
}

void TPsQRImage::Print(double OffsetX, double OffsetY) {
    const double x = PageX(OffsetX), y = PageY(OffsetY);
    addPictureItem(ParentReport(), Draw(), x, y, Width, Height);
    if (TPsQRDocumentFilter* f = documentFilter(this)) f->AddImageControl(this, OffsetX, Continuing(), OffsetY);
    PrintFrame(x, y, Width, Height);
    FPrintedTop = Top;
    FPrintedHeight = Height;
    FPrintFinished = true;
}
