#pragma once
// "Copy to Clipboard": asks in which form a list is copied.
#include <functional>
#include <optional>
#include <string>

#include <QDialog>

class QPushButton;

class TListClipDlg : public QDialog {
    Q_OBJECT
public:
    enum : int { FixedWidth = 1, CSV = 2, CSVFile = 3, NoChoice = 99 };

    explicit TListClipDlg(QWidget* owner = nullptr);

    // 1 fixed width, 2 CSV to the clipboard, 3 CSV to FileName, 99 nothing chosen.
    int GetChoice() const { return Choice; }
    const std::string& GetFileName() const { return FileName; }

    // Runs the save dialog; empty when cancelled. Replaceable for tests.
    std::function<std::optional<std::string>()> RunSaveDialog;

    QPushButton* btnFixed = nullptr;
    QPushButton* btnCSV = nullptr;
    QPushButton* butSaveCVS = nullptr;
    QPushButton* butCancel = nullptr;

private:
    void btnFixedClick();
    void btnCSVClick();
    void butSaveCVSClick();
    int Choice = NoChoice;
    std::string FileName;
};
