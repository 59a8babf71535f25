#include "app/ui/NXAboutBox.h"

#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/ui/URLLabel.h"

namespace {

TURLLabel* link(QWidget* parent, const char* text, const char* url) {
    auto* l = new TURLLabel(parent);
    l->setText(text);
    l->setURL(url);
    return l;
}

} // namespace

TNXAboutBox::TNXAboutBox(QWidget* owner) : QDialog(owner) {
    setWindowTitle("About");
    setModal(true);
    auto* v = new QVBoxLayout(this);

    auto* top = new QFrame(this);
    top->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* tv = new QVBoxLayout(top);
    ProductName = new QLabel("Quorvane Brenthaul", top);
    QFont pf = ProductName->font();
    pf.setPointSize(pf.pointSize() + 6);
    pf.setBold(true);
    ProductName->setFont(pf);
    tv->addWidget(ProductName);
    tv->addWidget(new QLabel("Self-Viewing GEDCOM File", top));
    Version = new QLabel("Version: 1.19." + QString::number(kBuild), top);
    tv->addWidget(Version);
    BuildText = new QLabel("Built: Wed Sep 22 2004 - 14:59:59", top);
    tv->addWidget(BuildText);
    v->addWidget(top);

    auto* g = new QGridLayout();
    g->addWidget(new QLabel("Web site:", this), 0, 0);
    g->addWidget(urlWebSite = link(this, "www.quorvane.example", "https://www.quorvane.example/"), 0, 1);
    g->addWidget(new QLabel("Support:", this), 1, 0);
    g->addWidget(urlSupport = link(this, "support@quorvane.example", "mailto:support@quorvane.example"), 1, 1);
    g->addWidget(new QLabel("Mailing lists:", this), 2, 0);
    g->addWidget(urlMailList1 = link(this, "brenthaul-news@quorvane.example", "mailto:brenthaul-news@quorvane.example"),
                 2, 1);
    g->addWidget(
        urlMailList2 = link(this, "brenthaul-users@quorvane.example", "mailto:brenthaul-users@quorvane.example"), 3, 1);
    g->setColumnStretch(1, 1);
    v->addLayout(g);

    auto* notice1 = new QLabel("Copyright (c) 2004 Quorvane Software.  All rights reserved.", this);
    auto* notice2 = new QLabel("This viewer only reads the genealogy file it carries; it never changes it.", this);
    for (QLabel* n : {notice1, notice2}) {
        n->setWordWrap(true);
        v->addWidget(n);
    }

    auto* row = new QHBoxLayout();
    row->addStretch();
    OKButton = new QPushButton("OK", this);
    OKButton->setDefault(true);
    row->addWidget(OKButton);
    row->addStretch();
    v->addLayout(row);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    setMinimumWidth(400);
    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
}
