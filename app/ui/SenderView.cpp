#include "app/ui/SenderView.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QTextDocument>

#include "app/LinkText.h"
#include "app/PackedFile.h"
#include "app/ui/URLLabel.h"
#include "app/ui/ViewCommon.h"
#include "model/DateTimeText.h"
#include "model/ui/WaitDlg.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"

namespace {

QPlainTextEdit* readOnlyMemo(QWidget* parent, const char* name) {
    auto* m = new QPlainTextEdit(parent);
    m->setReadOnly(true);
    m->setObjectName(name);
    return m;
}

} // namespace

std::vector<TViewTab> TSenderView::Tabs() const { return {{.Page = pgSender, .Caption = "Sender"}}; }

TSenderView::TSenderView(std::string ownPath, QWidget* parent) : TViewPage(parent), FOwnPath(std::move(ownPath)) {
    auto* row = new QHBoxLayout(this);
    auto* box = new QGroupBox("Information about who created this GEDCOM", this);
    auto* g = new QGridLayout(box);
    int r = 0;
    auto caption = [&](const char* text) {
        auto* l = new QLabel(text, box);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        g->addWidget(l, r, 0, Qt::AlignTop);
    };
    // The names let tests find the fields.
    auto value = [&](QLabel*& l, const char* name) {
        l = new QLabel(box);
        l->setObjectName(name);
        l->setTextFormat(Qt::PlainText); // the sender's text, never markup
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        g->addWidget(l, r++, 1);
    };
    auto link = [&](TURLLabel*& l, const char* name) {
        l = new TURLLabel(box);
        l->setObjectName(name);
        g->addWidget(l, r++, 1);
    };
    caption("Title:");
    value(labSendTitle, "labSendTitle");
    caption("Name:");
    value(labSendName, "labSendName");
    caption("Email:");
    link(labSendEmail, "labSendEmail");
    labSendEmail->clear(); // the trailer fills it
    caption("Address:");
    value(labSendAddr1, "labSendAddr1");
    value(labSendAddr2, "labSendAddr2");
    caption("Phone:");
    value(labSendPhone, "labSendPhone");
    caption("Web Site:");
    link(urlSenderWebSite, "urlSenderWebSite");
    urlSenderWebSite->hide();
    caption("Created:");
    value(labSendCreateDate, "labSendCreateDate");
    caption("File Name:");
    value(labSendFileName, "labSendFileName");
    caption("Message");
    ++r;
    memoSendMsg = readOnlyMemo(box, "memoSendMsg");
    // The message takes the room the page has left, but keeps a few lines.
    memoSendMsg->setMinimumHeight(4 * memoSendMsg->fontMetrics().lineSpacing() + 2 * memoSendMsg->frameWidth() +
                                  2 * int(memoSendMsg->document()->documentMargin()));
    g->addWidget(memoSendMsg, r, 0, 1, 2);
    g->setRowStretch(r++, 1);
    labExtract =
        new QLabel("The sender of this gedcom has allowed you to use this GEDCOM.  Press the button to the right to "
                   "extract the it to your computer.",
                   box);
    labExtract->setWordWrap(true);
    butExtractGEDCOM = new QPushButton("Extract GEDCOM", box);
    // Across both columns: full-width sender fields must not squeeze the label.
    auto* extractRow = new QHBoxLayout;
    extractRow->addWidget(labExtract, 1);
    extractRow->addWidget(butExtractGEDCOM, 0, Qt::AlignRight | Qt::AlignVCenter);
    g->addLayout(extractRow, r++, 0, 1, 2);
    labExtract->hide();
    butExtractGEDCOM->hide();
    g->setColumnStretch(1, 1);
    connect(butExtractGEDCOM, &QPushButton::clicked, this, [this] { ExtractClick(); });

    QPlainTextEdit* welcome = readOnlyMemo(this, "MemoSE");
    welcome->setPlainText(
        "Welcome\n"
        "This Self-Viewing GEDCOM executable was created using Quorvane's Brenthaul application.  You are free "
        "to run and view this GEDCOM file as many times as you want.\n"
        "For information about Brenthaul and other products, visit the Quorvane Software web site.\n"
        "The individual that created this executable is described to the left.  If they included an email "
        "address, you can send them an email by clicking on their email address.\n"
        "Quick Help\n"
        "- The scrollbar at the top of the screen allows you to select all individuals in this GEDCOM file.\n"
        "- Each tab display different information based on the selected individual in the scrollbar.\n"
        "- Double clicking on an individual's name in any of the tabs moves to that person in the scrollbar.\n"
        "- This is a full version of Brenthaul except for the ability to open other GEDCOM/PAF files.");
    // Lines break between words only, and the box keeps a readable width.
    welcome->setWordWrapMode(QTextOption::WordWrap);
    const QFontMetrics fm = welcome->fontMetrics();
    int word = 20 * fm.averageCharWidth();
    for (const QString& w : welcome->toPlainText().split(QRegularExpression("\\s+")))
        word = std::max(word, fm.horizontalAdvance(w));
    welcome->setMinimumWidth(word + 2 * int(welcome->document()->documentMargin()) + 2 * welcome->frameWidth() +
                             welcome->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    row->addWidget(box, 3);
    row->addWidget(welcome, 2);
}

void TSenderView::SetSender(const TSelfViewTrailer& trailer, const std::string& gedFile) {
    FTrailer = trailer;
    FGedFile = gedFile;
    if (FTrailer.AllowExtract != 0) {
        // The window's minimum height cannot follow a wrapped label's lines:
        // the label keeps the narrowest width that holds it in three lines,
        // and their height.
        const QFontMetrics fm = labExtract->fontMetrics();
        int w = fm.horizontalAdvance(labExtract->text()) / 3;
        while (labExtract->heightForWidth(w) > 3 * fm.height()) w += fm.averageCharWidth();
        labExtract->setMinimumSize(w, labExtract->heightForWidth(w));
        butExtractGEDCOM->show();
        labExtract->show();
    }
    Fill(0);
}

void TSenderView::Fill(std::int32_t) {
    const TSelfViewTrailer& t = FTrailer;
    labSendTitle->setText(toQ(t.Title));
    labSendName->setText(toQ(t.SenderName));
    labSendEmail->setText(toQ(t.SenderEmail));
    const std::string longDate = DateTimeText::FormatDateTime("dddd, mmm d, yyyy, hh:mm AM/PM", t.CreateDate);
    labSendEmail->setURL(SenderMailLink(t.SenderEmail, t.Title, BareFileName(FOwnPath), longDate));
    if (!t.WebSite.empty()) {
        urlSenderWebSite->setText(toQ(t.WebSite));
        urlSenderWebSite->setURL(SenderWebLink(t.WebSite));
        urlSenderWebSite->show();
    } else {
        urlSenderWebSite->hide();
    }
    labSendAddr1->setText(toQ(t.Address1));
    labSendAddr2->setText(toQ(t.Address2));
    labSendPhone->setText(toQ(t.Phone));
    labSendCreateDate->setText(toQ(DateTimeText::FormatDateTime("ddd, mmm d, yyyy, hh:mm AM/PM", t.CreateDate)));
    labSendFileName->setText(toQ(t.FileName));
    memoSendMsg->setPlainText(ViewCommon::MemoText(t.Message));
}

void TSenderView::ExtractClick() {
    if (FGedFile.empty()) return;
    QFileDialog dlg(window(), "Extract GEDCOM");
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix("ged");
    dlg.setNameFilter("GEDCOM (*.ged)");
    dlg.selectFile(toQ(ProposedExtractName(FTrailer.FileName)));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const std::string target = fromQPath(dlg.selectedFiles().first());
    if (target.empty()) return;
    TWaitDlg::ShowWait("Extracting File.  Please Wait...", true, true);
    const ExtractOutcome done = ExtractGedcomCopy(FGedFile, target, [] { return plat::cancelRequested(); });
    TWaitDlg::HideWait();
    plat::showMessage(done.Message);
}
