#pragma once
// Writes a prepared report as HTML 4.0 pages of absolutely positioned blocks:
// one file per page with a navigator, or all pages in one file; pictures
// become image files beside the pages.
#include <string>

#include "export/PsQRExportFilter.h"

class TPsQRHTMLFilter : public TPsQRDocumentFilter {
public:
    explicit TPsQRHTMLFilter(const std::string& FileName) : TPsQRDocumentFilter(FileName) {}
    ~TPsQRHTMLFilter() override;

    std::string GetExtension() override { return "htm"; }
    std::string GetFilterName() override { return "HTML Document"; }
    // With one file per page the chosen name itself is not written: the
    // first page's file is what a viewer opens.
    std::string GetSavedFileName() const override;
    void EndPage() override;
    // Page files written in place are all checked before the first is emptied.
    bool NeedsPagesFirst() override;

    std::string EscapeText(const std::string& Text) override;
    void BeginDocument() override;
    void EndDocument() override;
    void WriteText(const TPsTextRecord& Record, std::string& Text) override;
    void WriteFrame(const TPsRect& Rect, plat::ColorRef Colour, std::string& Text, bool Flag1, bool Flag2, bool Flag3,
                    bool Filled, const TQRFrame& Frame) override;
    void WriteImage(TQRPrintable* Control, const QImage* Graphic, std::string& Text, bool Handled,
                    const TPsRect& Rect) override;
    void WriteShapeImage(TQRShape* Control, const TPsRect& Rect, std::string& Text) override;

protected:
    void StartPageFile() override;
    void CloseOutput() override;
    std::string SaveFailure(const plat::SaveFile& file) override;

private:
    std::string PageFileName(int page);
    std::string BorderStyle(const TQRFrame& Frame);
    std::string Block(Extended top);
    Extended PageOffset() const;
    void CloseFile(bool writeEnd);
    // Makes path's save, closed before, the one written to again.
    void ReopenFile(const std::string& path);
    // The first / previous / next / last links of a page file.
    std::string Navigator(int page, int pages);
    void PlacePicture(TQRPrintable* Control, const std::function<QImage()>& draw, bool Handled, const TPsRect& Rect,
                      std::string& Text);

    plat::SaveFile* m_file = nullptr; // the page file (or the single file) while it is open
    std::string FBaseName;
    std::string FImageFolder;     // absolute, ends with '/'
    std::string FImageFolderHref; // as written in pages
    std::string FLinks[4];
    std::string FNavFont;
    bool FPageOpen = false;
    bool FSingleFileMade = false;
    // Page files emptied and written in place (pages 1 to this), and those of
    // them given their navigators and ends.
    int FPagesInPlace = 0, FPagesEnded = 0;
};
