#pragma once
// Draws prepared report pages with QPainter: used by the preview, by printing
// and by page images. Uses only QtGui. Page coordinates are 1/96 inch; the
// painter is scaled to the device by the callers below.
#include <QFont>
#include <QImage>

#include "reports/ReportEngine.h"

class QPainter;

// The screen font that stands for a report font (Arial, Times New Roman and
// Courier New map to the metric-compatible Liberation families), sized in
// 1/96 inch pixels.
QFont QRQFont(const TQRFont& font);

// Real font metrics for the layout (call once the GUI application exists).
void QRInstallQtMetrics();

// Paints one page in page pixels (the caller sets any scale on the painter).
void QRPaintPage(QPainter& painter, const TQRPreparedPage& page);

// The page as an RGB image at the given resolution (96 = one image pixel per
// page pixel), white background.
QImage QRPageImage(const TQRPreparedPage& page, double dpi = kQRDpi);

// The Qt pen and brush styles that draw the report's.
Qt::PenStyle QRPenStyle(TQRPenStyle style);
Qt::BrushStyle QRBrushStyle(TQRBrushStyle style);

// Page pictures to and from Qt images.
std::shared_ptr<const TQRBitmap> QRBitmapOf(const QImage& image);
QImage QImageOf(const TQRBitmap& bitmap);
