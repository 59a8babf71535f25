#pragma once
// Writes a prepared report as one RTF file: every text item or text control is
// an absolutely positioned paragraph frame on its page, frames and lines are
// drawing shapes behind the text, pictures are shapes holding JPEG data. The
// font and colour tables precede the body, so the body is gathered in memory
// and the file is written when the job ends.
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "export/PsQRExportFilter.h"

class TPsQRRTFFilter : public TPsQRDocumentFilter {
public:
    explicit TPsQRRTFFilter(const std::string& FileName) : TPsQRDocumentFilter(FileName) {}
    ~TPsQRRTFFilter() override;

    std::string GetExtension() override { return "rtf"; }
    std::string GetFilterName() override { return "Rich Text Format"; }
    void EndPage() override;

    Extended ConvertX(Extended Value) override;
    Extended ConvertY(Extended Value) override;
    void ConvertSize(Extended Width, Extended Height, Extended& OutWidth, Extended& OutHeight) override;
    std::string EscapeText(const std::string& Text) override;
    void BeginDocument() override;
    void EndDocument() override;
    void BeginControl(TQRPrintable* Control, double OffsetX, double OffsetY) override;
    void WriteText(const TPsTextRecord& Record, std::string& Text) override;
    void WriteFrame(const TPsRect& Rect, plat::ColorRef Colour, std::string& Text, bool Flag1, bool Flag2, bool Flag3,
                    bool Filled, const TQRFrame& Frame) override;
    void WriteImage(TQRPrintable* Control, const QImage* Graphic, std::string& Text, bool Handled,
                    const TPsRect& Rect) override;
    void WriteShapeImage(TQRShape* Control, const TPsRect& Rect, std::string& Text) override;

    // Number of a colour in the colour table (1-based; 0 is the automatic colour),
    // appending it on first use.
    int ColourNumber(plat::ColorRef Colour);
    int FontNumber(const std::string& Name);

protected:
    void StartPageFile() override;

private:
    std::string ShapeGroup(Extended left, Extended top, Extended right, Extended bottom);
    std::string LineProperties(const TQRFrame& Frame);
    void PlacePicture(TQRPrintable* Control, const QImage& picture, const TPsRect& Rect, std::string& Text);

    std::ostringstream FBody;
    bool FDocumentOpen = false;
    std::vector<std::string> FFonts;
    std::vector<std::pair<std::string, plat::ColorRef>> FColours; // HTML form, value
    std::string FRunStart, FRunEnd;
    // Where the last page's closing text starts in the body, to end the
    // document with "\par}" even when the page count was not known ahead.
    std::streamoff FLastPageEnd = -1;
};
