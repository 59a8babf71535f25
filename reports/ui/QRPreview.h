#pragma once
// The modal preview of a prepared report: one page at a time with page
// navigation, zoom, print and save through the registered export filters.
#include <QDialog>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;
class TQuickRep;

class TQRPreview : public QDialog {
    Q_OBJECT
public:
    explicit TQRPreview(TQuickRep& report, QWidget* parent = nullptr);

    int CurrentPage() const { return FPage; }
    int PageCount() const;
    void ShowPage(int page);
    double Zoom() const { return FZoom; }
    void SetZoom(double zoom);

private:
    void UpdatePage();
    void PrintClick();
    void SaveClick();

    TQuickRep& FReport;
    int FPage = 1;
    double FZoom = 1.0;
    QScrollArea* FScroll = nullptr;
    QLabel* FImage = nullptr;
    QLabel* FPageLabel = nullptr;
    QComboBox* FZoomBox = nullptr;
    QToolButton* FFirst = nullptr;
    QToolButton* FPrior = nullptr;
    QToolButton* FNext = nullptr;
    QToolButton* FLast = nullptr;
};
