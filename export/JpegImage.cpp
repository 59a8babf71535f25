#include "export/JpegImage.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <QImage>

namespace {

struct ErrorMgr {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

// libjpeg's default handler ends the process; jump back to the caller instead.
void onError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorMgr*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void quietMessage(j_common_ptr) {}

// Holds only plain data between setjmp and longjmp; returns false on a libjpeg error.
bool compress(const unsigned char* rgb, int width, int height, int stride, int quality, bool progressive,
              unsigned char** out, unsigned long* outSize, char* message) {
    jpeg_compress_struct cinfo;
    ErrorMgr err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = onError;
    err.pub.output_message = quietMessage;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, outSize);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + static_cast<size_t>(cinfo.next_scanline) * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::string encodeJpegRgb(const unsigned char* rgb, int width, int height, int stride, int quality, bool progressive) {
    if (width <= 0 || height <= 0 || width > 65500 || height > 65500 || !rgb || stride < width * 3)
        throw EJPEGError("JPEG error: invalid image size");
    if (quality < 1) quality = 1;
    if (quality > 100) quality = 100;
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    char message[JMSG_LENGTH_MAX] = {0};
    const bool ok = compress(rgb, width, height, stride, quality, progressive, &out, &outSize, message);
    std::string data;
    if (ok && out) data.assign(reinterpret_cast<const char*>(out), outSize);
    std::free(out);
    if (!ok) throw EJPEGError(std::string("JPEG error: ") + message);
    return data;
}

std::string encodeJpeg(const QImage& image, int quality, bool progressive) {
    if (image.isNull()) throw EJPEGError("JPEG error: empty image");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    return encodeJpegRgb(rgb.constBits(), rgb.width(), rgb.height(), static_cast<int>(rgb.bytesPerLine()), quality,
                         progressive);
}
