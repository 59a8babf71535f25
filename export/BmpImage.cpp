#include "export/BmpImage.h"

#include <algorithm>
#include <cstdint>

#include <QImage>

#include "export/LittleEndian.h"

using le::put16;
using le::put32;

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
