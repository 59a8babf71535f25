#include "app/ui/InitHelpDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/QuickHelpText.h"
#include "platform/ui/QtText.h"

TInitHelpDialog::TInitHelpDialog(QWidget* owner, const std::string& ATitle, const std::string& ADescription,
                                 const std::string& ALink)
    : QDialog(owner) {
    setWindowTitle("Quick Help");
    setModal(true);
    // Info-tip colours for the whole box.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
    pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
    setPalette(pal);
    setAutoFillBackground(true);

    auto* v = new QVBoxLayout(this);
    labTitle = new QLabel(toQ(ATitle), this);
    QFont tf = labTitle->font();
    tf.setPixelSize(16);
    tf.setBold(true);
    tf.setItalic(true);
    labTitle->setFont(tf);
    v->addWidget(labTitle);

    v->addWidget(new QLabel("Description", this));
    labDesc = new QPlainTextEdit(this);
    labDesc->setReadOnly(true);
    // The stored texts end lines with CR LF; the memo wants one break each.
    QString desc = toQ(ADescription);
    desc.replace("\r\n", "\n");
    labDesc->setPlainText(desc);
    labDesc->setMinimumSize(420, 160);
    v->addWidget(labDesc, 1);

    v->addWidget(new QLabel("User Manual Links", this));
    LinkBox = new QScrollArea(this);
    LinkBox->setWidgetResizable(true);
    LinkBox->setFixedHeight(90);
    auto* inner = new QWidget(LinkBox);
    auto* lv = new QVBoxLayout(inner);
    lv->setContentsMargins(6, 4, 6, 4);
    for (const WHelpLink& l : ParseHelpLinks(ALink)) {
        auto* label = new QLabel(
            "<a href=\"" + QString::number(l.Context) + "\">" + toQ(l.Title).toHtmlEscaped() + "</a>", inner);
        label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        const std::int32_t context = l.Context;
        connect(label, &QLabel::linkActivated, this, [this, context] {
            if (OnHelpLink) OnHelpLink(context);
        });
        LinkLabels.push_back(label);
        lv->addWidget(label);
    }
    lv->addStretch();
    LinkBox->setWidget(inner);
    v->addWidget(LinkBox);

    LabNotice = new QLabel(toQ(QuickHelpNotice(ATitle)), this);
    LabNotice->setWordWrap(true);
    v->addWidget(LabNotice);

    auto* row = new QHBoxLayout();
    CBStop = new QCheckBox("Stop displaying these help dialog boxes", this);
    row->addWidget(CBStop);
    row->addStretch();
    butClose = new QPushButton("Close", this);
    butClose->setDefault(true);
    row->addWidget(butClose);
    v->addLayout(row);
    connect(CBStop, &QCheckBox::clicked, this, [this] { CBStopClick(); });
    connect(butClose, &QPushButton::clicked, this, &QDialog::accept);
    adjustSize();
}

void TInitHelpDialog::CBStopClick() { FStopAll = CBStop->isChecked(); }
