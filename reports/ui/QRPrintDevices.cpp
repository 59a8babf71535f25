#include "reports/ui/QRPrintDevices.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "reports/render/QRRenderer.h"
#include "reports/ui/QRPreview.h"

bool QRPrintPages(const TQRPreparedReport& pages, QPrinter& printer, int from, int to) {
    if (pages.PageCount() == 0) return true;
    if (from < 1) from = 1;
    if (to < 1 || to > pages.PageCount()) to = pages.PageCount();
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    QPainter g;
    if (!g.begin(&printer)) return false;
    const double sx = printer.logicalDpiX() / kQRDpi;
    const double sy = printer.logicalDpiY() / kQRDpi;
    for (int i = from; i <= to; ++i) {
        if (i > from) printer.newPage();
        g.save();
        g.scale(sx, sy);
        QRPaintPage(g, *pages.Page(i));
        g.restore();
    }
    return g.end();
}

void QRInstallDevices() {
    QRInstallQtMetrics();
    TQuickRep::Devices().print = [](TQuickRep& rep) {
        if (!rep.Prepare()) return;
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dlg(&printer);
        dlg.setMinMax(1, rep.QRPrinter()->PageCount());
        if (dlg.exec() == QDialog::Accepted) {
            int from = 0, to = 0;
            if (dlg.printRange() == QAbstractPrintDialog::PageRange) {
                from = dlg.fromPage();
                to = dlg.toPage();
            }
            QRPrintPages(*rep.QRPrinter(), printer, from, to);
        }
        rep.ReleasePages();
    };
    TQuickRep::Devices().preview = [](TQuickRep& rep) {
        if (!rep.Prepare()) return;
        TQRPreview preview(rep);
        preview.exec();
        rep.ReleasePages();
    };
}
