#pragma once
// Per-page picture filters: each page of a prepared report becomes one file
// named after the output file with a 4-digit page number (Report0001.jpg).
#include <string>

#include "export/PsQRExportFilter.h"

class QImage;

class TPsQRImageFilter : public TPsQRExportFilter {
public:
    using TPsQRExportFilter::TPsQRExportFilter;

    void Start(double PaperWidth, double PaperHeight, const TQRFont& Font) override;
    void EndPage() override;
    std::string GetSavedFileName() const override { return PageFileName; }
    // Page files written in place are all checked before the first is emptied.
    bool NeedsPagesFirst() override;

    // Full path of the page file being written; after the job, the last one.
    std::string PageFileName;

protected:
    void StartPageFile() override;
    // Writes the page to PageFileName: drawn into a bitmap, then SavePage.
    virtual void WritePage(const TQRPreparedPage& page);
    // Writes the drawn page to PageFileName.
    virtual void SavePage(QImage& bitmap) = 0;
    virtual bool PageMonochrome() const = 0;
    // The format's PixelFormat: the page is drawn, then held in it.
    virtual TPixelFormat PagePixelFormat() const { return TPixelFormat::pf24bit; }
    // Raises OnCreateBitmap with a stream the handler may fill; false when the
    // handler cleared Save and so wrote the page itself.
    bool CreateBitmapEvent(QImage& bitmap, std::string& stream);
    // Replaces the page file by data.
    void WritePageFile(const std::string& data);

private:
    std::string PageFolder() const;
    // The file name of a page, without its folder.
    std::string PageName(int page);
};

class TPsQRJPEGFilter : public TPsQRImageFilter {
public:
    using TPsQRImageFilter::TPsQRImageFilter;
    std::string GetExtension() override { return "jpg"; }
    std::string GetFilterName() override { return "JPEG Image File"; }

protected:
    void SavePage(QImage& bitmap) override;
    bool PageMonochrome() const override;
    TPixelFormat PagePixelFormat() const override;
};

class TPsQRBMPFilter : public TPsQRImageFilter {
public:
    using TPsQRImageFilter::TPsQRImageFilter;
    std::string GetExtension() override { return "bmp"; }
    std::string GetFilterName() override { return "Bitmap File"; }

protected:
    void SavePage(QImage& bitmap) override;
    bool PageMonochrome() const override;
    TPixelFormat PagePixelFormat() const override;
};

// Writes real GIF data (our own LZW encoder), not JPEG data under a .gif name.
class TPsQRGIFFilter : public TPsQRImageFilter {
public:
    using TPsQRImageFilter::TPsQRImageFilter;
    std::string GetExtension() override { return "gif"; }
    std::string GetFilterName() override { return "GIF Image File"; }

protected:
    void SavePage(QImage& bitmap) override;
    bool PageMonochrome() const override;
    TPixelFormat PagePixelFormat() const override;
};

// Page metafiles hold the page's items as vector records (Metafile.h).
class TPsQRMetafileFilter : public TPsQRImageFilter {
public:
    using TPsQRImageFilter::TPsQRImageFilter;
    bool Enhanced = true;

protected:
    void WritePage(const TQRPreparedPage& page) override;
    void SavePage(QImage&) override {}
    bool PageMonochrome() const override { return false; }
};

class TPsQREMFFilter : public TPsQRMetafileFilter {
public:
    using TPsQRMetafileFilter::TPsQRMetafileFilter;
    std::string GetExtension() override { return "emf"; }
    std::string GetFilterName() override { return "Enhanced Metafile"; }
    void Start(double PaperWidth, double PaperHeight, const TQRFont& Font) override;
};

class TPsQRWMFFilter : public TPsQRMetafileFilter {
public:
    using TPsQRMetafileFilter::TPsQRMetafileFilter;
    std::string GetExtension() override { return "wmf"; }
    std::string GetFilterName() override { return "Windows Metafile"; }
    void Start(double PaperWidth, double PaperHeight, const TQRFont& Font) override;
};

// A page picture held in a pixel format (fewer colours or bits a pixel).
QImage toPixelFormat(const QImage& page, TPixelFormat format);
// GIF89a of an image: its exact colours when there are at most 256, else a
// 6x6x6 colour cube.
std::string encodeGif(const QImage& image);
