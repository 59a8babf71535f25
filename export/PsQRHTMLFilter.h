#pragma once
// Writes a prepared report as HTML 4.0 pages of absolutely positioned blocks:
// one file per page with a navigator, or all pages in one file; pictures
// become image files beside the pages.
#include <fstream>
#include <map>
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

private:
    std::string PageFileName(int page);
    std::string BorderStyle(const TQRFrame& Frame);
    std::string Block(Extended top);
    Extended PageOffset() const;
    void CloseFile(bool writeEnd);
    // The first / previous / next / last links of a page file.
    std::string Navigator(int page, int pages);
    void PlacePicture(TQRPrintable* Control, const std::function<QImage()>& draw, bool Handled, const TPsRect& Rect,
                      std::string& Text);

    std::ofstream FFile;
    std::string m_filePath; // of FFile while it is open
    // Each page file (or the single file) and the file that takes its
    // content until the document is done.
    std::map<std::string, std::string> m_workingNames;
    std::string FBaseName;
    std::string FImageFolder;     // absolute, ends with '/'
    std::string FImageFolderHref; // as written in pages
    std::string FLinks[4];
    std::string FNavFont;
    bool FPageOpen = false;
    bool FSingleFileMade = false;
};
