#include "export/PsQRImageFilters.h"

#include <QImage>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <unordered_map>
#include <vector>

#include "export/JpegImage.h"
#include "export/LittleEndian.h"
#include "export/Metafile.h"
#include "export/PsQRPDFFilter.h"
#include "platform/CodePage.h"
#include "reports/ui/QRRenderer.h"

using le::put16;
using le::put32;

namespace {

bool endsWithNoCase(const std::string& s, const std::string& tail) {
    if (tail.size() > s.size()) return false;
    return std::equal(tail.begin(), tail.end(), s.end() - std::ptrdiff_t(tail.size()), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::string fourDigits(int n) {
    std::string s = std::to_string(n < 0 ? -n : n);
    if (s.size() < 4) s.insert(0, 4 - s.size(), '0');
    return n < 0 ? "-" + s : s;
}

// Variable-width LZW of GIF, codes up to 12 bits, written in 255-byte blocks.
class GifLzw {
public:
    GifLzw(std::string& out, int minCodeSize) : out_(out), min_(minCodeSize) {}

    void encode(const std::vector<std::uint8_t>& pixels) {
        out_ += char(min_);
        const int clear = 1 << min_, eoi = clear + 1;
        reset(clear);
        putCode(clear);
        if (pixels.empty()) {
            putCode(eoi);
            flush();
            return;
        }
        int prefix = pixels[0];
        for (size_t i = 1; i < pixels.size(); ++i) {
            const int c = pixels[i];
            const std::uint32_t key = (std::uint32_t(prefix) << 8) | std::uint32_t(c);
            auto it = dict_.find(key);
            if (it != dict_.end()) {
                prefix = it->second;
                continue;
            }
            putCode(prefix);
            if (next_ < 4096) {
                dict_.emplace(key, next_);
                // The decoder widens one code later than the encoder adds it.
                if (next_ == (1 << width_) && width_ < 12) ++width_;
                ++next_;
            } else {
                putCode(clear);
                reset(clear);
            }
            prefix = c;
        }
        putCode(prefix);
        putCode(eoi);
        flush();
    }

private:
    void reset(int clear) {
        dict_.clear();
        width_ = min_ + 1;
        next_ = clear + 2;
    }
    void putCode(int code) {
        acc_ |= std::uint32_t(code) << bits_;
        bits_ += width_;
        while (bits_ >= 8) {
            byte(char(acc_ & 0xFF));
            acc_ >>= 8;
            bits_ -= 8;
        }
    }
    void byte(char b) {
        block_ += b;
        if (block_.size() == 255) {
            out_ += char(255);
            out_ += block_;
            block_.clear();
        }
    }
    void flush() {
        if (bits_ > 0) byte(char(acc_ & 0xFF));
        acc_ = 0;
        bits_ = 0;
        if (!block_.empty()) {
            out_ += char(block_.size());
            out_ += block_;
            block_.clear();
        }
        out_ += char(0);
    }

    std::string& out_;
    int min_;
    int width_ = 0, next_ = 0;
    std::uint32_t acc_ = 0;
    int bits_ = 0;
    std::string block_;
    std::unordered_map<std::uint32_t, int> dict_;
};

} // namespace

// ---------------------------------------------------------------- encoders

std::string encodeBmp(const QImage& image) {
    const bool mono = image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB;
    const bool indexed = image.format() == QImage::Format_Indexed8;
    const QImage img = mono      ? image.convertToFormat(QImage::Format_Mono)
                       : indexed ? image
                                 : image.convertToFormat(QImage::Format_RGB888);
    const int w = img.width(), h = img.height();
    const int bpp = mono ? 1 : indexed ? 8 : 24;
    const std::uint32_t colours = mono ? 2 : indexed ? std::uint32_t(img.colorCount()) : 0;
    const std::uint32_t rowBytes = ((std::uint32_t(w) * bpp + 31) / 32) * 4;
    const std::uint32_t paletteBytes = colours * 4;
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    const std::uint32_t imageBytes = rowBytes * std::uint32_t(h);
    std::string s;
    s.reserve(offset + imageBytes);
    s += "BM";
    put32(s, offset + imageBytes);
    put32(s, 0);
    put32(s, offset);
    put32(s, 40);
    put32(s, std::uint32_t(w));
    put32(s, std::uint32_t(h)); // positive: rows stored bottom-up
    put16(s, 1);
    put16(s, unsigned(bpp));
    put32(s, 0); // no compression
    put32(s, imageBytes);
    const std::uint32_t dpm = std::uint32_t(std::max(0, img.dotsPerMeterX()));
    put32(s, dpm);
    put32(s, std::uint32_t(std::max(0, img.dotsPerMeterY())));
    put32(s, colours);
    put32(s, 0);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const QRgb c = img.color(int(i));
        s += char(qBlue(c));
        s += char(qGreen(c));
        s += char(qRed(c));
        s += char(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        const uchar* line = img.constScanLine(y);
        std::string row;
        if (mono || indexed) {
            row.assign(reinterpret_cast<const char*>(line), size_t((w * bpp + 7) / 8));
        } else {
            row.resize(size_t(w) * 3);
            for (int x = 0; x < w; ++x) {
                row[size_t(x) * 3] = char(line[x * 3 + 2]);
                row[size_t(x) * 3 + 1] = char(line[x * 3 + 1]);
                row[size_t(x) * 3 + 2] = char(line[x * 3]);
            }
        }
        row.resize(rowBytes, '\0');
        s += row;
    }
    return s;
}

QImage toPixelFormat(const QImage& page, TPixelFormat format) {
    switch (format) {
    case TPixelFormat::pf1bit: return page.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    case TPixelFormat::pf4bit: {
        // The 16 colours of the desktop's 4-bit palette.
        QList<QRgb> table;
        for (QRgb c : {0x000000u, 0x800000u, 0x008000u, 0x808000u, 0x000080u, 0x800080u, 0x008080u, 0xC0C0C0u,
                       0x808080u, 0xFF0000u, 0x00FF00u, 0xFFFF00u, 0x0000FFu, 0xFF00FFu, 0x00FFFFu, 0xFFFFFFu})
            table.push_back(0xFF000000u | c);
        return page.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
    }
    case TPixelFormat::pf8bit: return page.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    case TPixelFormat::pf15bit: return page.convertToFormat(QImage::Format_RGB555);
    case TPixelFormat::pf16bit: return page.convertToFormat(QImage::Format_RGB16);
    case TPixelFormat::pf24bit: return page.convertToFormat(QImage::Format_RGB888);
    case TPixelFormat::pf32bit: return page.convertToFormat(QImage::Format_RGB32);
    }
    return page;
}

std::string encodeGif(const QImage& image) {
    const QImage img = image.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    if (w <= 0 || h <= 0 || w > 65535 || h > 65535) throw std::runtime_error("The picture is too large for a GIF file");

    // Exact colours when they fit a palette; report pages mostly do.
    std::vector<QRgb> palette;
    std::unordered_map<QRgb, std::uint8_t> exact;
    bool fits = true;
    for (int y = 0; y < h && fits; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x] & 0xFFFFFF;
            if (exact.count(c)) continue;
            if (palette.size() == 256) {
                fits = false;
                break;
            }
            exact.emplace(c, std::uint8_t(palette.size()));
            palette.push_back(c);
        }
    }
    if (!fits) {
        palette.clear();
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b) palette.push_back(QRgb((r * 51) << 16 | (g * 51) << 8 | (b * 51)));
    }
    int bits = 1;
    while ((1 << bits) < int(palette.size())) ++bits;
    const int tableSize = 1 << bits;

    std::vector<std::uint8_t> pixels(size_t(w) * size_t(h));
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        std::uint8_t* dst = pixels.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x) {
            const QRgb c = line[x] & 0xFFFFFF;
            if (fits) {
                dst[x] = exact.find(c)->second;
            } else {
                auto q = [](int v) { return (v + 25) / 51; };
                dst[x] = std::uint8_t(q(qRed(c)) * 36 + q(qGreen(c)) * 6 + q(qBlue(c)));
            }
        }
    }

    std::string s = "GIF89a";
    put16(s, unsigned(w));
    put16(s, unsigned(h));
    s += char(0x80 | ((bits - 1) << 4) | (bits - 1)); // global colour table
    s += char(0);
    s += char(0);
    for (int i = 0; i < tableSize; ++i) {
        const QRgb c = i < int(palette.size()) ? palette[size_t(i)] : 0;
        s += char(qRed(c));
        s += char(qGreen(c));
        s += char(qBlue(c));
    }
    s += ',';
    put16(s, 0);
    put16(s, 0);
    put16(s, unsigned(w));
    put16(s, unsigned(h));
    s += char(0);
    GifLzw(s, std::max(2, bits)).encode(pixels);
    s += ';';
    return s;
}

// ---------------------------------------------------------------- image filter base

void TPsQRImageFilter::Start(double PaperWidth, double PaperHeight, const TQRFont& Font) {
    TPsQRExportFilter::Start(PaperWidth, PaperHeight, Font);
    // Only a name that carries the extension loses it: "Family" stays "Family".
    const std::string tail = "." + GetExtension();
    DocumentFileName = endsWithNoCase(FileName, tail) ? FileName.substr(0, FileName.size() - tail.size()) : FileName;
    PageFileName.clear();
    TPsQRExportSettings& s = PsQRExportSettings();
    s.PageFileCounter = 0;
    s.PageFiles.clear();
}

void TPsQRImageFilter::StartPageFile() {
    const size_t slash = DocumentFileName.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : DocumentFileName.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? DocumentFileName : DocumentFileName.substr(slash + 1);
    std::string name = base + fourDigits(PageNumber) + "." + GetExtension();
    TPsQRExportSettings& s = PsQRExportSettings();
    if (s.OnMakeRepFileName) s.OnMakeRepFileName(this, name, PageNumber);
    s.PageFiles.push_back(name);
    PageFileName = folder + name;
    ++s.PageFileCounter;
}

void TPsQRImageFilter::EndPage() {
    const TQRPreparedPage* page = PageNumber > 0 && Report && PageSource ? PageSource->Page(PageNumber) : nullptr;
    if (page) WritePage(*page);
    TPsQRExportFilter::EndPage();
}

void TPsQRImageFilter::WritePage(const TQRPreparedPage& page) {
    QImage bitmap = toPixelFormat(QRPageImage(page), PagePixelFormat());
    if (PageMonochrome()) bitmap = bitmap.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    SavePage(bitmap);
}

bool TPsQRImageFilter::CreateBitmapEvent(QImage& bitmap, std::string& stream) {
    bool save = true;
    if (const auto& ev = PsQRExportSettings().OnCreateBitmap) ev(this, bitmap, save, PageNumber, stream);
    return save;
}

void TPsQRImageFilter::WritePageFile(const std::string& data) {
    if (std::remove(PageFileName.c_str()) != 0 && errno != ENOENT)
        throw EFCreateError("Cannot create file \"" + plat::pathText(PageFileName) + "\". " + std::strerror(errno));
    std::ofstream out(PageFileName, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!out.is_open())
        throw EFCreateError("Cannot create file \"" + plat::pathText(PageFileName) + "\". " + std::strerror(errno));
    out.write(data.data(), std::streamsize(data.size()));
    out.close();
    if (out.fail()) throw EWriteError("Stream write error: " + plat::pathText(PageFileName));
}

// ---------------------------------------------------------------- formats

bool TPsQRJPEGFilter::PageMonochrome() const { return PsQRExportSettings().JPEG.Monochrome; }
TPixelFormat TPsQRJPEGFilter::PagePixelFormat() const { return PsQRExportSettings().JPEG.PixelFormat; }
TPixelFormat TPsQRBMPFilter::PagePixelFormat() const { return PsQRExportSettings().BMP.PixelFormat; }
TPixelFormat TPsQRGIFFilter::PagePixelFormat() const { return PsQRExportSettings().GIF.PixelFormat; }
bool TPsQRBMPFilter::PageMonochrome() const { return PsQRExportSettings().BMP.Monochrome; }
bool TPsQRGIFFilter::PageMonochrome() const { return PsQRExportSettings().GIF.Monochrome; }

void TPsQRJPEGFilter::SavePage(QImage& bitmap) {
    const TPsQRJPEGSettings& j = PsQRExportSettings().JPEG;
    std::string data;
    if (CreateBitmapEvent(bitmap, data)) data += encodeJpeg(bitmap, j.Quality, j.ProgressiveEncoding);
    WritePageFile(data);
}

void TPsQRBMPFilter::SavePage(QImage& bitmap) {
    std::string data;
    if (PsQRExportSettings().OnCreateBitmap) {
        if (!CreateBitmapEvent(bitmap, data)) {
            WritePageFile(data);
            return;
        }
    }
    WritePageFile(encodeBmp(bitmap));
}

void TPsQRGIFFilter::SavePage(QImage& bitmap) {
    std::string data;
    if (CreateBitmapEvent(bitmap, data)) data += encodeGif(bitmap);
    WritePageFile(data);
}

// ---------------------------------------------------------------- metafiles

void TPsQRMetafileFilter::WritePage(const TQRPreparedPage& page) {
    const TPsQRExportSettings& s = PsQRExportSettings();
    WritePageFile(Enhanced ? encodeEmfPage(page, s.EMF.FillUnusedArea) : encodeWmfPage(page, s.WMF.FillUnusedArea));
}

void TPsQREMFFilter::Start(double PaperWidth, double PaperHeight, const TQRFont& Font) {
    TPsQRImageFilter::Start(PaperWidth, PaperHeight, Font);
    Enhanced = true;
}

void TPsQRWMFFilter::Start(double PaperWidth, double PaperHeight, const TQRFont& Font) {
    TPsQRImageFilter::Start(PaperWidth, PaperHeight, Font);
    Enhanced = false;
}
