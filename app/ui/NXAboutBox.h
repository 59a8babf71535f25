#pragma once
// "About": product name, version and build, the maker's links and notices.
#include <QDialog>

class QLabel;
class QPushButton;
class TURLLabel;

class TNXAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TNXAboutBox(QWidget* owner = nullptr);

    static constexpr int kBuild = 2147;

    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* BuildText = nullptr;
    TURLLabel* urlWebSite = nullptr;
    TURLLabel* urlSupport = nullptr;
    TURLLabel* urlMailList1 = nullptr;
    TURLLabel* urlMailList2 = nullptr;
    QPushButton* OKButton = nullptr;
};
