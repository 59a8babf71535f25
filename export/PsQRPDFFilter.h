#pragma once
// Writes a prepared report as one PDF 1.3 file: a page object per report page,
// texts in fonts chosen by name and style (WinAnsi), frames as path operators,
// pictures as JPEG image objects.
#include <cstdint>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "export/PsQRExportFilter.h"
#include "model/MMF.h"
#include "platform/Hooks.h"

class TPsQRPDFFilter : public TPsQRDocumentFilter {
public:
    explicit TPsQRPDFFilter(const std::string& FileName) : TPsQRDocumentFilter(FileName) {}
    ~TPsQRPDFFilter() override;

    std::string GetExtension() override { return "pdf"; }
    std::string GetFilterName() override { return "Adobe Acrobat Document"; }
    void EndPage() override;

    Extended ConvertX(Extended Value) override;
    Extended ConvertY(Extended Value) override;
    TPsRect ConvertRect(const TPsRect& Rect) override;
    void ConvertSize(Extended Width, Extended Height, Extended& OutWidth, Extended& OutHeight) override;
    std::string FormatNumber(Extended Value) override;
    std::string EscapeText(const std::string& Text) override;
    void BeginDocument() override;
    void EndDocument() override;
    void WriteText(const TPsTextRecord& Record, std::string& Text) override;
    void WriteFrame(const TPsRect& Rect, plat::ColorRef Colour, std::string& Text, bool Flag1, bool Flag2, bool Flag3,
                    bool Filled, const TQRFrame& Frame) override;
    void WriteImage(TQRPrintable* Control, const QImage* Graphic, std::string& Text, bool Handled,
                    const TPsRect& Rect) override;
    void WriteShapeImage(TQRShape* Control, const TPsRect& Rect, std::string& Text) override;

    // "D:yyyymmddhhnnss+hh'mm'" for a local time and its bias in minutes (UTC = local + bias).
    static std::string CreationDateText(const plat::CalendarTime& local, int biasMinutes);
    // The local time zone's bias; replaceable for tests.
    static std::function<int()>& TimeZoneBias();

protected:
    void StartPageFile() override;
    void CloseOutput() override;

private:
    void WriteFile(const std::string& text);
    void WriteObject(std::string body, int number, bool close);
    int NextObject() { return ++FObjectCounter; }
    std::string FrameSides(const TPsRect& Rect, const TQRFrame& Frame);
    // Places a picture, encoding it first unless the control's picture is in the document already.
    void PlacePicture(TQRPrintable* Control, const std::function<QImage()>& draw, bool Handled, const TPsRect& Rect,
                      std::string& Text);
    void FinishPage();

    plat::SaveFile* m_file = nullptr; // the document's, while it is written
    std::uint64_t FFileSize = 0;
    std::ostringstream FContent;
    std::string FPageImages;
    std::vector<std::pair<std::string, int>> FFonts;           // key, object number
    std::vector<std::pair<std::string, const void*>> FImages;  // object number, control
    std::vector<std::pair<std::uint64_t, int>> FPageImageList; // offset in page buffer, object number
    std::map<int, std::uint64_t> FXref;                        // object number -> file offset
    std::int32_t FObjectCounter = 5;
    int FPageObject = 0, FContentsObject = 0, FLengthObject = 0;
    std::string FKids;
    bool FPageOpen = false;
    bool FDocumentOpen = false;
    std::int32_t FPagesWritten = 0;
};
