#pragma once
// Windows bitmap (BMP) encoding of page rasters and pictures.
#include <string>

class QImage;

// Windows bitmap file of an image: 24 bits a pixel, 8 with a palette for an
// indexed image, 1 for a monochrome one.
std::string encodeBmp(const QImage& image);
