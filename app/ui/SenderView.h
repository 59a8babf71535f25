#pragma once
// The Sender view: who made this self-viewing program, links to write to them
// or visit their site, their message and, when they allow it, Extract GEDCOM,
// which saves a copy of the carried file.
#include <string>

#include "app/SelfViewTrailer.h"
#include "app/ui/ViewPage.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class TURLLabel;

class TSenderView : public TViewPage {
    Q_OBJECT
public:
    // ownPath: the program file, named in the subject of a mail to the sender.
    explicit TSenderView(std::string ownPath, QWidget* parent = nullptr);
    std::vector<TViewTab> Tabs() const override;

    // The trailer read at start-up and the unpacked GEDCOM file that Extract
    // copies; the Extract row shows when the sender allows it.
    void SetSender(const TSelfViewTrailer& trailer, const std::string& gedFile);
    // Shows the sender again; the current individual plays no part.
    void Fill(std::int32_t current) override;
    void RepaintView() override {}

private:
    void ExtractClick();

    std::string FOwnPath;
    TSelfViewTrailer FTrailer;
    std::string FGedFile;

    QLabel* labSendTitle = nullptr;
    QLabel* labSendName = nullptr;
    TURLLabel* labSendEmail = nullptr;
    QLabel* labSendAddr1 = nullptr;
    QLabel* labSendAddr2 = nullptr;
    QLabel* labSendPhone = nullptr;
    TURLLabel* urlSenderWebSite = nullptr;
    QLabel* labSendCreateDate = nullptr;
    QLabel* labSendFileName = nullptr;
    QPlainTextEdit* memoSendMsg = nullptr;
    QLabel* labExtract = nullptr;
    QPushButton* butExtractGEDCOM = nullptr;
};
