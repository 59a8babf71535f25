#pragma once
// Export-aware controls that draw pictures: the rich-text printable and the
// image control. They print a picture item on the page and, while the report
// exports through a document filter, hand the picture to it (AddGraphic,
// AddImageControl). No report of the system places them.
#include <QImage>
#include <QTextDocument>

#include "reports/ReportEngine.h"

// The hidden, borderless editor that holds a rich-text printable's text.
class TPsQRRichEdit {
public:
    TPsQRRichEdit();
    // Markup (as Qt reads rich text) or plain text.
    void SetText(const std::string& text);
    QTextDocument& Document() { return FDocument; }
    TQRAlignment Alignment = taLeftJustify;
    plat::ColorRef Color = plat::kWhite;
    TQRFont Font;
    double Left = 1, Top = 1, Width = 98, Height = 98; // inside the printable

    // Height the text takes at the editor's width.
    double TextHeight();
    // Draws the text into painter's rectangle (0, 0, Width, Height).
    void Render(QImage& target, double x, double y);

private:
    void Layout();
    QTextDocument FDocument;
};

class TPsQRCustomRichText : public TQRPrintable {
public:
    explicit TPsQRCustomRichText(TQRBand* Parent);

    TPsQRRichEdit& RichEdit() { return FRichEdit; }
    // Alignment, colour and font are the editor's.
    TQRAlignment Alignment() const { return FRichEdit.Alignment; }
    void SetAlignment(TQRAlignment a) { FRichEdit.Alignment = a; }
    plat::ColorRef GetColor() const { return FRichEdit.Color; }
    void SetColor(plat::ColorRef c) { FRichEdit.Color = Color = c; }
    const TQRFont& Font() const { return FRichEdit.Font; }
    void SetFont(const TQRFont& f) { FRichEdit.Font = f; }
    bool AutoStretch = false;
    // Moves and resizes the printable; the editor stays 1 pixel inside it.
    void SetBounds(double ALeft, double ATop, double AWidth, double AHeight);

    double NeededHeight() const override;
    void Print(double OffsetX, double OffsetY) override;
    // The text drawn into a bitmap of the printable's size (its needed height).
    QImage Render();

private:
    mutable TPsQRRichEdit FRichEdit;
};

// A picture control: stretched to its size, centred, or at its top left.
class TPsQRImage : public TQRPrintable {
public:
    explicit TPsQRImage(TQRBand* Parent) : TQRPrintable(Parent) { Transparent = true; }
    QImage Picture;
    bool Stretch = false;
    bool Center = false;
    void Print(double OffsetX, double OffsetY) override;
    // The control as a bitmap of its size over its band's colour.
    QImage Draw() const;
};
