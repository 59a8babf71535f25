#pragma once
// JPEG encoding of page rasters and pictures through libjpeg.
#include <stdexcept>
#include <string>

class QImage;

// Raised when the encoder refuses the picture (libjpeg's own message).
class EJPEGError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// 24-bit RGB encoding of image at quality 1..100 (0 counts as 1).
std::string encodeJpeg(const QImage& image, int quality, bool progressive = false);

// The same over packed RGB rows (3 bytes a pixel, stride bytes a row).
std::string encodeJpegRgb(const unsigned char* rgb, int width, int height, int stride, int quality,
                          bool progressive = false);
