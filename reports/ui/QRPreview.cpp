#include "reports/ui/QRPreview.h"

#include <cmath>
#include <optional>
#include <string>

#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"
#include "reports/ReportEngine.h"
#include "reports/render/QRRenderer.h"
#include "reports/ui/QRPrintDevices.h"

TQRPreview::TQRPreview(TQuickRep& report, QWidget* parent) : QDialog(parent), FReport(report) {
    setWindowTitle(report.ReportTitle.empty() ? QStringLiteral("Print Preview")
                                              : QStringLiteral("Print Preview - ") + toQ(report.ReportTitle));
    auto* top = new QHBoxLayout;
    auto tool = [&](const QString& text, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        top->addWidget(b);
        return b;
    };
    FFirst = tool("|<", "First Page");
    FPrior = tool("<", "Previous Page");
    FNext = tool(">", "Next Page");
    FLast = tool(">|", "Last Page");
    FPageLabel = new QLabel(this);
    top->addWidget(FPageLabel);
    FZoomBox = new QComboBox(this);
    for (int z : {50, 75, 100, 125, 150, 200}) FZoomBox->addItem(QString::number(z) + "%", z);
    FZoomBox->setCurrentIndex(2);
    top->addWidget(FZoomBox);
    top->addStretch();
    auto* print = new QPushButton("Print", this);
    auto* save = new QPushButton("Save", this);
    auto* close = new QPushButton("Close", this);
    top->addWidget(print);
    top->addWidget(save);
    top->addWidget(close);

    FScroll = new QScrollArea(this);
    FScroll->setAlignment(Qt::AlignHCenter);
    FScroll->setBackgroundRole(QPalette::Dark);
    FImage = new QLabel;
    FScroll->setWidget(FImage);

    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(FScroll, 1);
    resize(900, 1000);

    connect(FFirst, &QToolButton::clicked, this, [this] { ShowPage(1); });
    connect(FPrior, &QToolButton::clicked, this, [this] { ShowPage(FPage - 1); });
    connect(FNext, &QToolButton::clicked, this, [this] { ShowPage(FPage + 1); });
    connect(FLast, &QToolButton::clicked, this, [this] { ShowPage(PageCount()); });
    connect(FZoomBox, &QComboBox::currentIndexChanged, this,
            [this](int) { SetZoom(FZoomBox->currentData().toInt() / 100.0); });
    connect(print, &QPushButton::clicked, this, &TQRPreview::PrintClick);
    connect(save, &QPushButton::clicked, this, &TQRPreview::SaveClick);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    UpdatePage();
}

int TQRPreview::PageCount() const { return FReport.QRPrinter()->PageCount(); }

void TQRPreview::ShowPage(int page) {
    FPage = std::clamp(page, 1, std::max(1, PageCount()));
    UpdatePage();
}

void TQRPreview::SetZoom(double zoom) {
    FZoom = std::clamp(zoom, 0.25, 4.0);
    const int i = FZoomBox->findData(int(std::lround(FZoom * 100)));
    if (i >= 0 && i != FZoomBox->currentIndex()) {
        const QSignalBlocker block(FZoomBox);
        FZoomBox->setCurrentIndex(i);
    }
    UpdatePage();
}

void TQRPreview::UpdatePage() {
    const int n = PageCount();
    FPageLabel->setText(QString("Page %1 of %2").arg(n ? FPage : 0).arg(n));
    FFirst->setEnabled(FPage > 1);
    FPrior->setEnabled(FPage > 1);
    FNext->setEnabled(FPage < n);
    FLast->setEnabled(FPage < n);
    if (const TQRPreparedPage* p = FReport.QRPrinter()->Page(FPage)) {
        FImage->setPixmap(QPixmap::fromImage(QRPageImage(*p, kQRDpi * FZoom)));
        FImage->adjustSize();
    } else {
        FImage->clear();
    }
}

void TQRPreview::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dlg(&printer, this);
    dlg.setMinMax(1, std::max(1, PageCount()));
    if (dlg.exec() != QDialog::Accepted) return;
    int from = 0, to = 0;
    if (dlg.printRange() == QAbstractPrintDialog::PageRange) {
        from = dlg.fromPage();
        to = dlg.toPage();
    }
    QRPrintPages(*FReport.QRPrinter(), printer, from, to);
}

void TQRPreview::SaveClick() {
    const auto& filters = TQRExportFilterLibrary::Instance().Filters();
    if (filters.empty()) {
        QMessageBox::information(this, windowTitle(), "No export filter is available.");
        return;
    }
    QStringList names;
    for (const auto& f : filters) names << QString("%1 (*.%2)").arg(toQ(f.FilterName), toQ(f.Extension));
    QFileDialog dlg(this, "Save to File");
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setNameFilters(names);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const int idx = std::max<int>(0, int(names.indexOf(dlg.selectedNameFilter())));
    QString file = dlg.selectedFiles().first();
    // The name carries the chosen type's extension: the filters take it off
    // again to name their page files.
    const QString ext = "." + toQ(filters[size_t(idx)].Extension);
    if (!file.endsWith(ext, Qt::CaseInsensitive)) file += ext;
    std::unique_ptr<TQRExportFilter> filter = filters[size_t(idx)].Create(fromQPath(file));
    if (!filter) return;
    // The save lays the report out again; the pages shown here, and printed
    // from here, are set aside meanwhile so that no save, whole or failed,
    // changes them.
    std::optional<std::string> error;
    TQRPreparedReport shown = std::move(*FReport.QRPrinter());
    try {
        FReport.ExportToFilter(filter.get());
    } catch (const std::exception& e) {
        error = e.what();
    }
    *FReport.QRPrinter() = std::move(shown);
    if (error) {
        // The message names the file, which may come from a person's name.
        QMessageBox box(QMessageBox::Warning, windowTitle(), QString(), QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.setText(toQMessage(*error));
        box.exec();
    }
}
