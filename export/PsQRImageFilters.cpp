#include "export/PsQRImageFilters.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include <QImage>

#include "export/BmpImage.h"
#include "export/JpegImage.h"
#include "export/LittleEndian.h"
#include "export/Metafile.h"
#include "platform/CodePage.h"
#include "reports/render/QRRenderer.h"

using le::put16;

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
    GifLzw(std::string& out, int minCodeSize) : m_out(out), m_min(minCodeSize) {}

    void encode(const std::vector<std::uint8_t>& pixels) {
        m_out += char(m_min);
        const int clear = 1 << m_min, eoi = clear + 1;
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
            auto it = m_dict.find(key);
            if (it != m_dict.end()) {
                prefix = it->second;
                continue;
            }
            putCode(prefix);
            if (m_next < 4096) {
                m_dict.emplace(key, m_next);
                // The decoder widens one code later than the encoder adds it.
                if (m_next == (1 << m_width) && m_width < 12) ++m_width;
                ++m_next;
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
        m_dict.clear();
        m_width = m_min + 1;
        m_next = clear + 2;
    }
    void putCode(int code) {
        m_acc |= std::uint32_t(code) << m_bits;
        m_bits += m_width;
        while (m_bits >= 8) {
            byte(char(m_acc & 0xFF));
            m_acc >>= 8;
            m_bits -= 8;
        }
    }
    void byte(char b) {
        m_block += b;
        if (m_block.size() == 255) {
            m_out += char(255);
            m_out += m_block;
            m_block.clear();
        }
    }
    void flush() {
        if (m_bits > 0) byte(char(m_acc & 0xFF));
        m_acc = 0;
        m_bits = 0;
        if (!m_block.empty()) {
            m_out += char(m_block.size());
            m_out += m_block;
            m_block.clear();
        }
        m_out += char(0);
    }

    std::string& m_out;
    int m_min;
    int m_width = 0, m_next = 0;
    std::uint32_t m_acc = 0;
    int m_bits = 0;
    std::string m_block;
    std::unordered_map<std::uint32_t, int> m_dict;
};

} // namespace

// ---------------------------------------------------------------- encoders

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
    // Pages laid out before are known: each of their files is checked before
    // the first is emptied in place.
    std::vector<std::string> paths;
    for (int page = 1; PageSource && page <= PageSource->PageCount(); ++page) {
        s.PageFiles.push_back(PageName(page));
        paths.push_back(PageFolder() + s.PageFiles.back());
    }
    CheckPageFiles(paths);
}

bool TPsQRImageFilter::NeedsPagesFirst() { return plat::SaveFile::inPlaceOnly(FileName); }

std::string TPsQRImageFilter::PageFolder() const {
    const size_t slash = DocumentFileName.rfind('/');
    return slash == std::string::npos ? std::string() : DocumentFileName.substr(0, slash + 1);
}

std::string TPsQRImageFilter::PageName(int page) {
    const size_t slash = DocumentFileName.rfind('/');
    const std::string base = slash == std::string::npos ? DocumentFileName : DocumentFileName.substr(slash + 1);
    std::string name = base + fourDigits(page) + "." + GetExtension();
    if (const auto& ev = PsQRExportSettings().OnMakeRepFileName) ev(this, name, page);
    return name;
}

void TPsQRImageFilter::StartPageFile() {
    TPsQRExportSettings& s = PsQRExportSettings();
    // A report longer than its earlier layout still gets a file per page.
    while (int(s.PageFiles.size()) < PageNumber) s.PageFiles.push_back(PageName(int(s.PageFiles.size()) + 1));
    PageFileName = PageFolder() + s.PageFiles[size_t(PageNumber - 1)];
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
    OpenFile(PageFileName).out().write(data.data(), std::streamsize(data.size()));
    CommitFile(PageFileName);
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
