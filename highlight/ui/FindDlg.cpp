#include "highlight/ui/FindDlg.h"

#include <algorithm>
#include <string>
#include <utility>

#include <QAbstractTableModel>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include "highlight/ABSHighLighter.h"
#include "model/ABSCollection.h"
#include "model/Global.h"
#include "model/Options.h"
#include "model/ui/IndInfoPanel.h"
#include "model/ui/WaitDlg.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"

void ShowIndividualPanel(TIndInfoPanel* panel, const WIndPanelText& t) {
    panel->Clear();
    if (t.tag == 0) {
        panel->SetColor(fromQColor(panel->palette().color(QPalette::Button)));
        panel->SetFontColor(0);
        panel->IndividualNumber = 0;
        panel->setToolTip(QString());
        return;
    }
    panel->SetColor(t.back);
    panel->SetFontColor(t.font);
    panel->SetNameString(t.name);
    panel->SetBirthString(t.birth);
    panel->SetDeathString(t.death);
    panel->setToolTip(plainToolTip(toQ(t.hint)));
    panel->IndividualNumber = t.tag;
}

// The grid's rows come from the current index on demand, so a file of a
// million individuals costs only the rows on screen.
class WFindGridModel : public QAbstractTableModel {
public:
    WFindGridModel(QObject* parent, WFindSearch& search, WABSHighLighter* hl)
        : QAbstractTableModel(parent), FSearch(search), FHighlighter(hl) {}
    int rowCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : FSearch.Count(); }
    int columnCount(const QModelIndex& p = {}) const override { return p.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const std::int32_t pos = index.row() + 1;
        switch (role) {
        case Qt::DisplayRole: return toQ(FSearch.CellText(pos, index.column()));
        case Qt::BackgroundRole:
            return QBrush(toQColor(FHighlighter ? FHighlighter->GetBackColor(FSearch.IndividualAt(pos)) : 0xFFFFFF));
        case Qt::ForegroundRole:
            return QBrush(toQColor(FHighlighter ? FHighlighter->GetFontColor(FSearch.IndividualAt(pos)) : 0));
        default: return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation o, int role) const override {
        if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 3) return {};
        return FTitles[section];
    }
    void SetTitle(int section, const QString& t) {
        FTitles[section] = t;
        emit headerDataChanged(Qt::Horizontal, section, section);
    }
    void Reset() {
        beginResetModel();
        endResetModel();
    }

private:
    WFindSearch& FSearch;
    WABSHighLighter* FHighlighter;
    QString FTitles[4] = {"Index", "RIN", "Name", "Birth/[Chr]"};
};

namespace {

// The wait dialog (and busy cursor) of a sort, however the sort ends. The
// sort pumps messages: the search edit keeps its keys meanwhile.
class SortWait {
public:
    SortWait(QWidget* owner, QWidget* typing, bool busy) : m_busy(busy) {
        TWaitDlg::ShowWait("Sorting.  Please Wait...", false, false, owner, typing);
        if (m_busy) Global::SetBusy(true);
    }
    ~SortWait() {
        if (m_busy) Global::SetBusy(false);
        TWaitDlg::HideWait();
    }
    SortWait(const SortWait&) = delete;
    SortWait& operator=(const SortWait&) = delete;

private:
    bool m_busy;
};

} // namespace

TWFindDlg::TWFindDlg(QWidget* owner, const WFindContext& context, WABSHighLighter* highlighter)
    : QDialog(owner), FContext(context), FHighlighter(highlighter), FSearch(context) {
    setWindowTitle("Find Individual");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    FAutoSearch = WOptions::GetBool(opt::AutoSearch);
    const bool large = Global::IsLargeFonts();

    edSearch = new QLineEdit(this);
    edSearch->installEventFilter(this);
    butSearch = new QPushButton("Search", this);
    butSearch->setToolTip("Click here to find closest individual (See Options to remove this button)");
    butSearch->hide();
    rbIndex = new QRadioButton("Index", this);
    rbRIN = new QRadioButton("RIN", this);
    rbCustom = new QRadioButton("Custom", this);
    rbSurname = new QRadioButton("Surname, Name", this);
    rbGiven = new QRadioButton("Name Surname", this);

    IndGrid = new QTableView(this);
    FModel = new WFindGridModel(this, FSearch, highlighter);
    IndGrid->setModel(FModel);
    IndGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    IndGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    IndGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    IndGrid->verticalHeader()->hide();
    IndGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    IndGrid->verticalHeader()->setDefaultSectionSize(std::max(14, WOptions::GetInt(opt::GridHeight)) + 4);
    IndGrid->setFont(QFont("Arial", font().pointSize()));
    const int widths[4] = {45, 60, 180, 75};
    for (int c = 0; c < 4; ++c) IndGrid->setColumnWidth(c, large ? int(widths[c] * 1.25) : widths[c]);
    // The identifier column is titled "Custom ID" in that mode: room for the whole title.
    QHeaderView* header = IndGrid->horizontalHeader();
    const int customTitle = header->fontMetrics().horizontalAdvance(QStringLiteral("Custom ID")) +
                            2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 4;
    IndGrid->setColumnWidth(1, std::max(IndGrid->columnWidth(1), customTitle));
    // The Index column shows record numbers up to the individual count: room for the longest.
    const QFontMetrics grid(IndGrid->font());
    int digit = 0;
    for (char d = '0'; d <= '9'; ++d) digit = std::max(digit, grid.horizontalAdvance(QChar(d)));
    const std::int32_t last = context.Collection ? context.Collection->GetIndividualCount() : 0;
    const int textMargin = IndGrid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, IndGrid) + 1;
    const int numbers = int(std::to_string(std::max<std::int32_t>(last, 1)).size()) * digit + 2 * textMargin + 2;
    IndGrid->setColumnWidth(0, std::max(IndGrid->columnWidth(0), numbers));
    IndGrid->horizontalHeader()->setStretchLastSection(true);
    IndGrid->setMinimumSize(large ? 460 : 380, 260);
    labIndiviudals = new QLabel(toQ(std::to_string(FSearch.Count()) + " Individuals"), this);

    iiIndividual = new TIndInfoPanel(this);
    iiFather = new TIndInfoPanel(this);
    iiMother = new TIndInfoPanel(this);
    for (auto* p : {iiIndividual, iiFather, iiMother}) {
        p->setMinimumSize(280, 56);
        p->installEventFilter(this);
    }
    labMarriages = new QLabel("Marriages (0)", this);
    lbMarriages = new QListWidget(this);
    butOK = new QPushButton("OK", this);
    butOK->setDefault(true);
    butCancel = new QPushButton("Cancel", this);

    auto* modes = new QHBoxLayout;
    for (auto* rb : {rbIndex, rbRIN, rbCustom, rbSurname, rbGiven}) modes->addWidget(rb);
    modes->addStretch(1);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(edSearch, 1);
    searchRow->addWidget(butSearch);
    auto* left = new QVBoxLayout;
    left->addLayout(searchRow);
    left->addLayout(modes);
    left->addWidget(IndGrid, 1);
    left->addWidget(labIndiviudals);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("Individual", this));
    right->addWidget(iiIndividual);
    right->addWidget(new QLabel("Father", this));
    right->addWidget(iiFather);
    right->addWidget(new QLabel("Mother", this));
    right->addWidget(iiMother);
    right->addWidget(labMarriages);
    right->addWidget(lbMarriages, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(butOK);
    buttons->addWidget(butCancel);
    right->addLayout(buttons);
    auto* h = new QHBoxLayout(this);
    h->addLayout(left, 3);
    h->addLayout(right, 2);

    connect(edSearch, &QLineEdit::textChanged, this, [this] { edSearchChange(); });
    connect(butSearch, &QPushButton::clicked, this, &TWFindDlg::butSearchClick);
    connect(butOK, &QPushButton::clicked, this, &TWFindDlg::butOKClick);
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(IndGrid, &QTableView::doubleClicked, this, [this] { IndGridDblClick(); });
    connect(lbMarriages, &QListWidget::itemDoubleClicked, this, [this] { lbMarriagesDblClick(); });
    connect(IndGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& cur) {
        if (cur.isValid()) IndGridSelectCell(cur.row() + 1);
    });
    const int modeOf[5] = {WFindSearch::mIndex, WFindSearch::mRIN, WFindSearch::mCustom, WFindSearch::mSurname,
                           WFindSearch::mGiven};
    QRadioButton* rbs[5] = {rbIndex, rbRIN, rbCustom, rbSurname, rbGiven};
    for (int k = 0; k < 5; ++k) {
        const int m = modeOf[k];
        connect(rbs[k], &QRadioButton::clicked, this, [this, m] { SetMode(m); });
    }
}

TWFindDlg::~TWFindDlg() = default;

void TWFindDlg::SetSelected(std::int32_t individual) { FSelected = individual; }

QRadioButton* TWFindDlg::ModeButton(int mode) const {
    switch (mode) {
    case WFindSearch::mRIN: return rbRIN;
    case WFindSearch::mCustom: return rbCustom;
    case WFindSearch::mSurname: return rbSurname;
    case WFindSearch::mGiven: return rbGiven;
    default: return rbIndex;
    }
}

void TWFindDlg::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (!FShown) FormShow();
}

void TWFindDlg::FormShow() {
    FShown = true;
    if (Global::IsLargeFonts())
        IndGrid->verticalHeader()->setDefaultSectionSize(int(WOptions::GetInt(opt::GridHeight) * 1.25 + 0.5));
    if (!FAutoSearch) {
        edSearch->setFixedWidth(329);
        butSearch->show();
        butSearch->setEnabled(false);
    }
    rbRIN->setText(toQ(FSearch.IdentifierTitle()));
    rbCustom->setText("Custom");
    SortMode(WFindSearch::ModeFromSetting(WOptions::GetInt(opt::FindDlg)), false);
    ShowSorted(FSelected);
    ModeButton(FSearch.GetMode())->setChecked(true);
}

void TWFindDlg::SortMode(int mode, bool busy) {
    const QScopedValueRollback<bool> sorting(m_sorting, true);
    m_typedWhileSorting = false;
    if (mode < WFindSearch::mRIN || mode > WFindSearch::mGiven) {
        FSearch.SetMode(mode);
        return;
    }
    const SortWait wait(this, edSearch, busy);
    FSearch.SetMode(mode);
}

void TWFindDlg::ShowSorted(std::int32_t keep) {
    FModel->SetTitle(1, toQ(FSearch.GetMode() == WFindSearch::mCustom ? "Custom ID" : FSearch.IdentifierTitle()));
    FModel->Reset();
    FSelected = -1;
    FRow = 0;
    // Text typed during the sort is searched in the new order.
    const bool typed = std::exchange(m_typedWhileSorting, false);
    if (typed) edSearchChange();
    if (FRow > 0) return;
    // Nothing searched or found: the grid stays on the selection, and the
    // edit keeps what was typed instead of the selection's key.
    const QScopedValueRollback<bool> writeKey(FEditUpdates, FEditUpdates && !typed);
    MoveGrid(FSearch.PositionOf(keep));
}

void TWFindDlg::SetMode(int mode) {
    // Before the sort: what is typed while it runs goes to the edit, not to
    // the mode button just clicked, and replaces the key there.
    edSearch->setFocus();
    edSearch->selectAll();
    SortMode(mode, true);
    ShowSorted(FSelected);
    ModeButton(FSearch.GetMode())->setChecked(true);
    WOptions::SetInt(opt::FindDlg, WFindSearch::SettingFromMode(FSearch.GetMode()));
}

void TWFindDlg::MoveGrid(std::int32_t row) {
    if (row < 1 || row > FSearch.Count()) return;
    FRow = row;
    const QModelIndex idx = FModel->index(row - 1, 0);
    IndGrid->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    IndGrid->scrollTo(idx, QAbstractItemView::PositionAtCenter);
    IndGridSelectCell(row);
}

void TWFindDlg::IndGridSelectCell(std::int32_t row) {
    if (row < 1) return;
    FRow = row;
    const std::int32_t ind = FSearch.IndividualAt(row);
    if (ind == FSelected) return;
    FSelected = ind;
    ShowIndividual(ind);
    if (FEditUpdates) WriteKey();
}

void TWFindDlg::WriteKey() {
    const bool keep = FEditUpdates;
    FEditUpdates = false; // writing the key must not search again
    edSearch->setText(toQ(FSearch.KeyText(FSelected, FRow)));
    edSearch->selectAll(); // as in the find box: what is typed next replaces the key
    FEditUpdates = keep;
}

void TWFindDlg::ShowIndividual(std::int32_t individual) {
    WABSCollection* c = FContext.Collection;
    ShowIndividualPanel(iiIndividual, DescribeIndividual(c, FHighlighter, individual));
    ShowIndividualPanel(iiFather, DescribeIndividual(c, FHighlighter, c ? c->GetFather(individual) : 0));
    ShowIndividualPanel(iiMother, DescribeIndividual(c, FHighlighter, c ? c->GetMother(individual) : 0));
    FillMarriages(individual);
}

void TWFindDlg::FillMarriages(std::int32_t individual) {
    WABSCollection* c = FContext.Collection;
    FEntries = ::MarriageEntries(c, individual);
    lbMarriages->clear();
    labMarriages->setText(toQ("Marriages (" + std::to_string(SpouseFamilyCount(c, individual)) + ")"));
    for (const auto& e : FEntries) {
        std::string text;
        if (e.spouse) {
            text = e.individual ? "Spouse: " + c->GetFullName(e.individual) : "Spouse: <Not Entered>";
        } else {
            auto ind = c->GetIndividual(e.individual);
            const std::int32_t year = ind ? ind->GetEventYear(EventKind::Birth, 1) : 0;
            const std::string name = ind ? ind->GetDisplayName() : std::string();
            text = std::string("     ") + (c->HasChildren(e.individual) ? "+ " : "  ") +
                   (year ? std::to_string(year) + " " : std::string("        ")) +
                   (name.empty() ? "<No Given Name>" : name);
        }
        auto* item = new QListWidgetItem(toQ(text), lbMarriages);
        if (FHighlighter && e.individual) {
            item->setBackground(toQColor(FHighlighter->GetBackColor(e.individual)));
            item->setForeground(toQColor(FHighlighter->GetFontColor(e.individual)));
        }
    }
}

void TWFindDlg::RunSearch() {
    const std::string text = fromQ(edSearch->text());
    if (text.empty()) return;
    Global::SetBusy(true);
    FEditUpdates = false;
    const std::int32_t pos = FSearch.Search(text);
    if (pos > 0) MoveGrid(pos);
    FEditUpdates = true;
    Global::SetBusy(false);
}

void TWFindDlg::edSearchChange() {
    if (!FEditUpdates) return;
    // Typed while the new order sorts: searched in it once it is sorted.
    if (m_sorting) {
        m_typedWhileSorting = true;
        return;
    }
    if (FAutoSearch) {
        RunSearch();
        return;
    }
    butSearch->setEnabled(true);
    QPalette p = butSearch->palette();
    p.setColor(QPalette::ButtonText, Qt::red);
    butSearch->setPalette(p);
}

void TWFindDlg::butSearchClick() {
    butSearch->setEnabled(false);
    QPalette p = butSearch->palette();
    p.setColor(QPalette::ButtonText, Qt::black);
    butSearch->setPalette(p);
    RunSearch();
}

void TWFindDlg::butOKClick() {
    if (!FAutoSearch && butSearch->isEnabled()) {
        butSearchClick();
        return;
    }
    FSelected = FSearch.IndividualAt(FRow);
    accept();
}

void TWFindDlg::IndGridDblClick() {
    const QModelIndex cur = IndGrid->currentIndex();
    if (cur.isValid()) FRow = cur.row() + 1;
    FSelected = FSearch.IndividualAt(FRow);
    accept();
}

void TWFindDlg::iiClick(TIndInfoPanel* panel) {
    if (panel && panel->IndividualNumber > 0) MoveGrid(FSearch.PositionOf(panel->IndividualNumber));
}

void TWFindDlg::lbMarriagesDblClick() {
    const int k = lbMarriages->currentRow();
    if (k >= 0 && std::size_t(k) < FEntries.size() && FEntries[std::size_t(k)].individual > 0)
        MoveGrid(FSearch.PositionOf(FEntries[std::size_t(k)].individual));
}

bool TWFindDlg::edSearchKeyDown(int key) {
    if (key == Qt::Key_Up) {
        if (FRow >= 3) MoveGrid(FRow - 1);
    } else if (key == Qt::Key_Down) {
        if (FRow < FSearch.Count()) MoveGrid(FRow + 1);
    } else {
        return false;
    }
    IndGrid->setFocus();
    return true;
}

bool TWFindDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == edSearch && event->type() == QEvent::KeyPress) {
        if (edSearchKeyDown(static_cast<QKeyEvent*>(event)->key())) return true;
    } else if (event->type() == QEvent::MouseButtonDblClick && (watched == iiFather || watched == iiMother)) {
        iiClick(static_cast<TIndInfoPanel*>(watched));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
