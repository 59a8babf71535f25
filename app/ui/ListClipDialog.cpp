#include "app/ui/ListClipDialog.h"

#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"

TListClipDlg::TListClipDlg(QWidget* owner) : QDialog(owner) {
    setWindowTitle("Copy to Clipboard");
    setModal(true);
    RunSaveDialog = [this]() -> std::optional<std::string> {
        QFileDialog d(this);
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setNameFilter("Comma Sperated Values (*.csv)");
        d.setDefaultSuffix("csv");
        d.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty()) return std::nullopt;
        return fromQPath(d.selectedFiles().first());
    };

    auto* v = new QVBoxLayout(this);
    auto* text = new QLabel("Please select type of format you want the list to be copied", this);
    text->setWordWrap(true);
    v->addWidget(text);
    btnFixed = new QPushButton("Fixed columns with spaces", this);
    btnCSV = new QPushButton("Comma Separated Values (CSV)", this);
    butSaveCVS = new QPushButton("Save to File as Comma Separated Values (CSV)", this);
    butCancel = new QPushButton("Cancel", this);
    for (QPushButton* b : {btnFixed, btnCSV, butSaveCVS}) {
        b->setAutoDefault(false);
        v->addWidget(b);
    }
    v->addSpacing(6);
    v->addWidget(butCancel);
    btnFixed->setDefault(true);
    connect(btnFixed, &QPushButton::clicked, this, [this] { btnFixedClick(); });
    connect(btnCSV, &QPushButton::clicked, this, [this] { btnCSVClick(); });
    connect(butSaveCVS, &QPushButton::clicked, this, [this] { butSaveCVSClick(); });
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(420);
    adjustSize();
}

void TListClipDlg::btnFixedClick() {
    Choice = FixedWidth;
    accept();
}

void TListClipDlg::btnCSVClick() {
    Choice = CSV;
    accept();
}

void TListClipDlg::butSaveCVSClick() {
    std::optional<std::string> name = RunSaveDialog ? RunSaveDialog() : std::nullopt;
    if (!name || name->empty()) return;
    FileName = *name;
    Choice = CSVFile;
    accept();
}
