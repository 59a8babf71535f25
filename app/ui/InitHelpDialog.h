#pragma once
// "Quick Help": a short help page offered once per view, with links into the
// user manual and a box that stops all such pages.
#include <cstdint>
#include <functional>
#include <string>

#include <QDialog>

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;

class TInitHelpDialog : public QDialog {
    Q_OBJECT
public:
    // ALink: "Title|context;Title|context".
    TInitHelpDialog(QWidget* owner, const std::string& ATitle, const std::string& ADescription,
                    const std::string& ALink);

    // The user asked to stop offering quick help.
    bool GetStopAll() const { return FStopAll; }

    // Runs when a manual link is clicked, with its help context number.
    std::function<void(std::int32_t context)> OnHelpLink;

    QLabel* labTitle = nullptr;
    QPlainTextEdit* labDesc = nullptr;
    QScrollArea* LinkBox = nullptr;
    std::vector<QLabel*> LinkLabels;
    QLabel* LabNotice = nullptr;
    QCheckBox* CBStop = nullptr;
    QPushButton* butClose = nullptr;

private:
    void CBStopClick();
    bool FStopAll = false;
};
