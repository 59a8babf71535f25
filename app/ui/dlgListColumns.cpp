#include "app/ui/dlgListColumns.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "columns/ListColumns.h"
#include "platform/ui/QtText.h"

namespace {

QToolButton* moveButton(QWidget* parent, Qt::ArrowType arrow, const QString& text, const char* hint) {
    auto* b = new QToolButton(parent);
    if (text.isEmpty())
        b->setArrowType(arrow);
    else
        b->setText(text);
    b->setToolTip(hint);
    b->setFixedSize(32, 26);
    return b;
}

QString countText(int n) { return QString::number(n) + " Items"; }

// The selected row, -1 when none.
int rowOf(const QListWidget* l) { return l->currentRow(); }

} // namespace

TdlgListColumns::TdlgListColumns(QWidget* owner, WListColumns* AColumns) : QDialog(owner), Columns(AColumns) {
    setWindowTitle("List Columns");
    setModal(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel("Master List", this), 0, 0);
    grid->addWidget(new QLabel("Columns Displayed", this), 0, 2);
    lbSource = new QListWidget(this);
    lbDest = new QListWidget(this);
    for (QListWidget* l : {lbSource, lbDest}) {
        l->setMinimumSize(260, 300);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    grid->addWidget(lbSource, 1, 0);
    grid->addWidget(lbDest, 1, 2);

    auto* middle = new QVBoxLayout();
    middle->addStretch();
    sbRight = moveButton(this, Qt::RightArrow, QString(), "Move column to the right");
    sbAllRight = moveButton(this, Qt::NoArrow, ">>", "Move all columns to the right");
    sbLeft = moveButton(this, Qt::LeftArrow, QString(), "Move column to the left");
    sbAllLeft = moveButton(this, Qt::NoArrow, "<<", "Move all columns to the left");
    for (QToolButton* b : {sbRight, sbAllRight, sbLeft, sbAllLeft}) middle->addWidget(b);
    middle->addStretch();
    grid->addLayout(middle, 1, 1);

    auto* side = new QVBoxLayout();
    side->addStretch();
    sbUp = moveButton(this, Qt::UpArrow, QString(), "Move column up in list");
    sbDown = moveButton(this, Qt::DownArrow, QString(), "Move column down in list");
    side->addWidget(sbUp);
    side->addWidget(sbDown);
    side->addStretch();
    grid->addLayout(side, 1, 3);

    labSourceCount = new QLabel(this);
    labDestCount = new QLabel(this);
    grid->addWidget(labSourceCount, 2, 0);
    grid->addWidget(labDestCount, 2, 2);

    auto* buttons = new QDialogButtonBox(this);
    butOK = buttons->addButton("OK", QDialogButtonBox::AcceptRole);
    butCancel = buttons->addButton("Cancel", QDialogButtonBox::RejectRole);
    butOK->setDefault(true);
    grid->addWidget(buttons, 3, 0, 1, 4);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(sbRight, &QToolButton::clicked, this, [this] { sbRightClick(); });
    connect(sbAllRight, &QToolButton::clicked, this, [this] { sbAllRightClick(); });
    connect(sbLeft, &QToolButton::clicked, this, [this] { sbLeftClick(); });
    connect(sbAllLeft, &QToolButton::clicked, this, [this] { sbAllLeftClick(); });
    connect(sbUp, &QToolButton::clicked, this, [this] { sbUpClick(); });
    connect(sbDown, &QToolButton::clicked, this, [this] { sbDownClick(); });
    connect(lbSource, &QListWidget::itemDoubleClicked, this, [this] { sbRightClick(); });
    connect(lbDest, &QListWidget::itemDoubleClicked, this, [this] { sbLeftClick(); });
    connect(lbSource, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
    connect(lbDest, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });

    if (Columns) FChoice.Load(*Columns);
    Fill(0, 0);
}

std::string TdlgListColumns::Title(std::int32_t position) const {
    const std::int32_t id = WListColumns::GetColumnIdAt(position);
    if (Columns) return Columns->GetTitleForId(id, true);
    return std::to_string(id);
}

void TdlgListColumns::Fill(int sourceRow, int destRow) {
    const QSignalBlocker b1(lbSource), b2(lbDest);
    lbSource->clear();
    for (std::int32_t pos : FChoice.SourcePositions()) lbSource->addItem(toQ(Title(pos)));
    lbDest->clear();
    for (std::int32_t pos : FChoice.Chosen()) lbDest->addItem(toQ(Title(pos)));
    labSourceCount->setText(countText(lbSource->count()));
    labDestCount->setText(countText(lbDest->count()));
    auto select = [](QListWidget* l, int row) {
        if (row >= l->count()) row = l->count() - 1;
        if (row >= 0) l->setCurrentRow(row);
    };
    select(lbSource, sourceRow);
    select(lbDest, destRow);
    UpdateButtons();
}

void TdlgListColumns::UpdateButtons() {
    const WColumnChoice::Buttons b = FChoice.Enabled(rowOf(lbSource), rowOf(lbDest));
    sbRight->setEnabled(b.Right);
    sbAllRight->setEnabled(b.AllRight);
    sbLeft->setEnabled(b.Left);
    sbAllLeft->setEnabled(b.AllLeft);
    sbUp->setEnabled(b.Up);
    sbDown->setEnabled(b.Down);
}

// The list an item did not leave keeps its row, or shows its first item.
static int keepRow(const QListWidget* l) { return l->currentRow() >= 0 ? l->currentRow() : 0; }

void TdlgListColumns::sbRightClick() {
    const int row = rowOf(lbSource);
    if (row < 0) return;
    Fill(FChoice.MoveRight(row), keepRow(lbDest));
}

void TdlgListColumns::sbAllRightClick() {
    FChoice.AllRight();
    Fill(-1, keepRow(lbDest));
}

void TdlgListColumns::sbLeftClick() {
    const int row = rowOf(lbDest);
    if (row < 0) return;
    Fill(keepRow(lbSource), FChoice.MoveLeft(row));
}

void TdlgListColumns::sbAllLeftClick() {
    FChoice.AllLeft();
    Fill(keepRow(lbSource), -1);
}

void TdlgListColumns::sbUpClick() {
    const int row = rowOf(lbDest);
    if (row < 1) return;
    Fill(rowOf(lbSource), FChoice.MoveUp(row));
}

void TdlgListColumns::sbDownClick() {
    const int row = rowOf(lbDest);
    if (row < 0 || row + 1 >= lbDest->count()) return;
    Fill(rowOf(lbSource), FChoice.MoveDown(row));
}
