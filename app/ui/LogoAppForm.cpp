#include "app/ui/LogoAppForm.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/ClipboardText.h"
#include "app/ColumnSetFile.h"
#include "app/PackedFile.h"
#include "app/QuickHelp.h"
#include "app/Unpack.h"
#include "app/navpanel/IndScroll.h"
#include "app/ui/DescendantsView.h"
#include "app/ui/FamilyView.h"
#include "app/ui/FlashDialog.h"
#include "app/ui/GeneralView.h"
#include "app/ui/IndividualView.h"
#include "app/ui/InitHelpDialog.h"
#include "app/ui/IslandsView.h"
#include "app/ui/ListView.h"
#include "app/ui/MainActions.h"
#include "app/ui/NXAboutBox.h"
#include "app/ui/OptionsDlg.h"
#include "app/ui/PedigreeView.h"
#include "app/ui/SenderView.h"
#include "app/ui/SourcesView.h"
#include "app/ui/Splash.h"
#include "app/ui/ViewCommon.h"
#include "app/ui/ViewPage.h"
#include "app/ui/WinPos.h"
#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "gedcom/FormatString.h"
#include "highlight/HLGroup.h"
#include "highlight/HLListIterator.h"
#include "highlight/ui/FindDlg.h"
#include "highlight/ui/HLGuiMan.h"
#include "highlight/ui/SelectionButton.h"
#include "highlight/ui/dlgQuickFind.h"
#include "model/ABSCollection.h"
#include "model/DateTimeText.h"
#include "model/Global.h"
#include "model/Options.h"
#include "model/StrFunc.h"
#include "model/WaitHooks.h"
#include "model/ui/WaitDlg.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"
#include "platform/ui/QtText.h"
#include "reports/ui/PrintDialog.h"

namespace {

const char* const kCaption = "Quorvane Brenthaul Self-Viewing GEDCOM 1.19";
// The highlight text above the views: the margin round its lines, and the
// height its box takes beside them (a pixel more than the margins, without
// which the box counts a line less and scrolls).
constexpr int kHLTextMargin = 2;
constexpr int kHLTextPadding = 2 * kHLTextMargin + 1;

// A line of the highlight text, rounded up as its layout rounds it.
int hlLineHeight(const QPlainTextEdit* memo) { return int(std::ceil(QFontMetricsF(memo->font()).height())); }

QPlainTextEdit* readOnlyMemo(QWidget* parent) {
    auto* m = new QPlainTextEdit(parent);
    m->setReadOnly(true);
    return m;
}

// Ctrl+C is the window's Copy command in every box of the window, also in
// one that would copy its own selected text. The filter watches the whole
// application, so that boxes a view makes later are covered too.
class CopyKeyForWindow : public QObject {
public:
    explicit CopyKeyForWindow(QWidget* window) : QObject(window), m_window(window) {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == m_window) {
            const auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_C && k->modifiers() == Qt::ControlModifier) return true; // not taken by the box
        }
        return QObject::eventFilter(watched, e);
    }

private:
    QWidget* m_window;
};

} // namespace

TLogoAppForm::TLogoAppForm(std::string ownPath, QWidget* parent)
    : QMainWindow(parent), FOwnPath(std::move(ownPath)),
      FOpener(
          [this](const std::string& name, std::string& error, std::uint8_t kind) {
              auto col = FormatString::OpenCollection(name, error, kind);
              // The unpacked file's name means nothing to the user: name the packed one.
              error = WithPackedFileName(error, name, FTrailer.FileName);
              return col;
          },
          {}) {
    // FormCreate.
    buildUi();
    TMainActions::Commands commands;
    commands.GoBack = [this] { FIndScroll->Back(); };
    commands.GoForward = [this] { FIndScroll->Forward(); };
    commands.LeftHighlighting = [this] { ChooseLeftPage(MainCommands::lpHighlighting); };
    commands.LeftIslands = [this] { ChooseLeftPage(MainCommands::lpIslands); };
    commands.CopyToClipboard = [this] { CopyViewToClipboard(); };
    commands.Print = [this] { PrintClick(); };
    commands.ToggleRaw = [this] { ActToolRawExecute(); };
    commands.QuickFind = [this] { QuickFindClick(); };
    commands.AdvancedFind = [this] { AdvancedFindClick(); };
    commands.FindNext = [this] {
        FFindNav.FindNext(fromQ(edFind->text()), [this](std::int32_t i) { FIndScroll->SetCurrentIndividual(i); });
        // Typed while the step sorted the index: that text is searched now instead.
        if (FFind.TakePendingText()) edFindChange(edFind->text());
    };
    commands.FindPrevious = [this] {
        FFindNav.FindPrevious(fromQ(edFind->text()), [this](std::int32_t i) { FIndScroll->SetCurrentIndividual(i); });
    };
    commands.Exit = [this] { close(); };
    commands.About = [this] { HelpAbout1Execute(); };
    commands.CalculateIslands = [this] {
        FIslandsView->FillIslandsPanel(true);
        RefreshCurrentView();
    };
    commands.UseIslands = [this](bool ticked) {
        FLeftIslands->UseIslandsBox()->setChecked(ticked);
        FLeftIslands->UseIslandsClick(ticked);
    };
    commands.NextHighlighted = [this] { FIndScroll->NextHighlighted(); };
    commands.PreviousHighlighted = [this] { FIndScroll->PreviousHighlighted(); };
    commands.Options = [this] { Options1Click(); };
    commands.UserManual = [] { QuickHelp::OpenHelpTopic("MainTopic"); };
    commands.ResetQuickHelp = [this] {
        QuickHelp::ResetAll();
        RefreshCurrentView();
    };
    commands.MenuTab = [this](int tag) {
        // Tag n selects the n-th tab that has a View menu item; a later tag names no tab here.
        int n = 0;
        for (std::size_t i = 0; i < m_tabs.size(); ++i)
            if (!m_tabs[i].Info.MenuCaption.isEmpty() && ++n == tag) return SelectTab(int(i));
    };
    std::vector<TViewTab> tabs;
    for (const TTab& tab : m_tabs) tabs.push_back(tab.Info);
    FActions = new TMainActions(this, tabs, std::move(commands), [this] {
        WActionState st;
        WABSCollection* col = Collection();
        st.Collection = col != nullptr;
        st.FileKind = col ? col->GetFileKind() : 0;
        st.CanGoBack = FIndScroll->CanGoBack();
        st.CanGoForward = FIndScroll->CanGoForward();
        st.IslandsComputed = col && col->IslandsComputed();
        st.CalcIslandsSetting = WOptions::GetBool(opt::CalcIslands);
        st.ShowRaw = FShowRaw;
        return st;
    });
    AttachIslandCommands();
    Global::DeleteTempFiles();
    setWindowTitle(kCaption);
    ResetFileState();
    BuildTabs();
    SetupListColumns();
    FTempGEDFile.clear();
    ApplyGridFont();
    panLeftPanel->hide();
    panLeftPanel->resize(WOptions::GetInt(opt::LastPanelWidth), panLeftPanel->height());
    FIndScroll->SetHighLighter(nullptr);
    QuickHelp::SetDialogHandler([this](const QuickHelpEntry& e) {
        TInitHelpDialog d(this, e.Title, e.Text, e.Links);
        d.OnHelpLink = [](std::int32_t context) { QuickHelp::OpenHelpTopic(std::to_string(context)); };
        d.exec();
        return d.GetStopAll();
    });

    WGenealogyOpener::Callbacks cb;
    cb.discardPrevious = [this] {
        HLGuiColMan->SetFindContext(WFindContext{});
        FFind.SetCollection(nullptr);
        for (auto* set : {FListColumns.get(), FDesColumns.get(), FIslandColumns.get()}) set->SetCollection(nullptr);
        bindViews(nullptr);
        FLeftIslands->SetCollection(nullptr);
        for (auto& [page, view] : FViews) view->SetReading(true);
        FIndScroll->setEnabled(false);
        FIndScroll->SetCollection(nullptr);
        FIndScroll->setEnabled(true);
        if (FHighlighter) {
            FIndScroll->SetHighLighter(nullptr);
            FHighlighter.reset();
        }
        setWindowTitle(toQ(std::string(kCaption) + " - " + FTrailer.Title));
        Global::SetBusy(true);
    };
    cb.beginReading = [this] {
        ImportTimer.start(1000);
        panMainArea->setEnabled(false);
        StatusTimer.stop();
        // Shown after the usual delay, with Cancel: the open polls its flag.
        TWaitDlg::ShowWait("Reading.  Please Wait...", false, true);
    };
    cb.endReading = [this] {
        ImportTimer.stop();
        RefreshImportStatus();
        StatusTimer.start(3000);
        panMainArea->setEnabled(true);
        Global::SetBusy(false);
        TWaitDlg::HideWait();
    };
    cb.refreshStatus = [this] { RefreshImportStatus(); };
    cb.restoreCaption = [this] { setWindowTitle(kCaption); };
    cb.cleared = [this] {
        for (int i = 1; i <= 4; ++i) SetStatus(i, "");
        MarkViewsStale();
        RefreshCurrentView();
    };
    cb.opened = [this](double seconds) {
        WABSCollection* col = FOpener.GetCollection();
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.3f", seconds);
        FLoadTime = std::string(buf) + " seconds";
        FGeneralView->SetLoadTime(FLoadTime);
        FGeneralView->SetFileName(FOpener.GetFileName());
        const std::uint8_t kind = col->GetFileKind();
        SetStatus(1, "I: " + StrFunc::FormatThousands(col->GetIndividualCount()));
        SetStatus(2, "F: " + StrFunc::FormatThousands(col->GetMarriageCount()));
        SetStatus(3, (kind == 3 || kind == 5 || kind == 6) ? std::string("N: N/A")
                                                           : "N: " + StrFunc::FormatThousands(col->GetNoteCount()));
        SetStatus(4, "S: " + StrFunc::FormatThousands(col->GetSourceCount()));
        for (auto* set : {FListColumns.get(), FDesColumns.get(), FIslandColumns.get()}) set->SetCollection(col);
        bindViews(col);
        FLeftIslands->SetCollection(col);
        for (auto& [page, view] : FViews) view->SetReading(false);
        MarkViewsStale();
        FIndScroll->SetCollection(col);
        if (col->GetIndividualCount() < 1) RefreshCurrentView();
        // The find indexes are made now and sorted when first used.
        FFind.SetCollection(col);
        for (int mode : {2, 3, 4, 5}) FFind.BuildFindIndex(mode, false);
        HLGuiColMan->SetFindContext(col, FFind.Index(2), FFind.Index(4), FFind.Index(3), FFind.Index(5));
        HLGuiColMan->SetHLStrings("1");
        QuickSelectionButton->SetItems(std::vector<std::string>{
            "Find Index:", kind == 1 ? "Find REF:" : "Find RIN:", "Find Surname:", "Find Given:"});
        SetQuickFindMode(std::max(1, QuickSelectionButton->ItemSelected()));
        UpdateSelectedLabel();
    };
    FOpener.SetCallbacks(std::move(cb));

    connect(&StatusTimer, &QTimer::timeout, this, [this] {
        StatusTimer.stop();
        SetStatus(0, "");
    });
    connect(&ImportTimer, &QTimer::timeout, this, [this] { RefreshImportStatus(); });
}

void TLogoAppForm::FixMinimumSize() {
    // Every view is on the notebook, so the layouts' minimum is that of the
    // largest; the hidden left panel and one line of highlight text are added.
    // Set once, when the window shows and the Sender page holds the sender,
    // and explicitly: a page filling or the panel showing cannot raise it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest); // the extract row just shown
    // Past the splitter, which has no layout, the change reaches the window's
    // layout one posted request per level: once the window has been laid out
    // (the modal Quick Help shows it first), that layout would still hold the
    // page's old minimum. Every level above the page is told at once.
    for (QWidget* w = FSenderView; w; w = w->parentWidget()) w->updateGeometry();
    auto* split = static_cast<QSplitter*>(panLeftPanel->parentWidget());
    QSize size = minimumSizeHint();
    size.rwidth() += panLeftPanel->minimumSizeHint().width() + split->handleWidth();
    size.rheight() += hlLineHeight(memHLText) + kHLTextPadding;
    setMinimumSize(size);
}

TLogoAppForm::~TLogoAppForm() { FormDestroy(); }

void TLogoAppForm::AttachIslandCommands() {
    QAction* calculate = FActions->Action(ActionId::CalculateIslands);
    QAction* use = FActions->Action(ActionId::UseIslands);
    FIslandsView->CalculateButton()->setDefaultAction(calculate);
    FLeftIslands->CalculateButton()->setDefaultAction(calculate);
    FLeftIslands->ExportButton()->setDefaultAction(FActions->Action(ActionId::ExportIslands));
    auto follow = [this, calculate, use] {
        // Calculate is red while it can run; the box needs computed islands.
        for (QToolButton* b : {FIslandsView->CalculateButton(), FLeftIslands->CalculateButton()}) {
            // The disabled look stays the style's own grey.
            QPalette p = b->palette();
            const QColor text = calculate->isEnabled() ? QColor(255, 0, 0) : QColor(0, 0, 0);
            for (auto group : {QPalette::Active, QPalette::Inactive}) p.setColor(group, QPalette::ButtonText, text);
            b->setPalette(p);
        }
        FLeftIslands->UseIslandsBox()->setEnabled(use->isEnabled());
    };
    connect(calculate, &QAction::changed, this, follow);
    connect(use, &QAction::changed, this, follow);
    follow();
    ShowIslandButtons();
}

void TLogoAppForm::ShowIslandButtons() {
    const bool manual = !WOptions::GetBool(opt::CalcIslands);
    FIslandsView->CalculateButton()->setVisible(manual);
    FLeftIslands->CalculateButton()->setVisible(manual);
}

void TLogoAppForm::addView(TViewPage* view) {
    NBMain->addWidget(view);
    const std::vector<TViewTab> tabs = view->Tabs();
    int page = tabs.front().Page;
    // A view without a page of the established set gets the next free one.
    if (page < 0) page = std::max(int(pgHighlighted), FViews.empty() ? 0 : FViews.rbegin()->first) + 1;
    Q_ASSERT(!FViews.count(page)); // each view its own notebook page
    FViews[page] = view;
    for (const TViewTab& tab : tabs) m_tabs.push_back({tab, view, page});
    connect(view, &TViewPage::individualChosen, this, [this](std::int32_t individual) {
        if (individual > 0) FIndScroll->SetCurrentIndividual(individual);
    });
}

void TLogoAppForm::bindViews(WABSCollection* collection) {
    for (auto& [page, view] : FViews) {
        view->SetHighLighter(FHighlighter.get());
        view->SetCollection(collection);
    }
}

void TLogoAppForm::SaveColumnWidths() {
    for (auto& [page, view] : FViews) view->SaveColumnWidths();
}

void TLogoAppForm::buildUi() {
    resize(900, 640);
    auto* toolbar = addToolBar("Find");
    toolbar->setMovable(false);
    QuickSelectionButton = new WSelectionButton(toolbar);
    QuickSelectionButton->setText("S");
    QuickSelectionButton->SetItems(
        std::vector<std::string>{"Find Index:", "Find REF:", "Find Surname:", "Find Given:"});
    toolbar->addWidget(QuickSelectionButton);
    labQuickFind = new QLabel(" Find Index: ", toolbar);
    toolbar->addWidget(labQuickFind);
    edFind = new QLineEdit(toolbar);
    edFind->setMaximumWidth(180);
    toolbar->addWidget(edFind);
    connect(edFind, &QLineEdit::textEdited, this, [this](const QString& t) { edFindChange(t); });
    connect(QuickSelectionButton, &WSelectionButton::OnItemChange, this, [this] {
        const int mode = QuickSelectionButton->ItemSelected();
        WOptions::SetInt(opt::QFind, mode);
        SetQuickFindMode(mode);
        UpdateSelectedLabel();
    });

    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(2);

    FIndScroll = new WIndScroll(central);
    connect(FIndScroll, &WIndScroll::OnChange, this, [this] { IndScrollChange(); });
    outer->addWidget(FIndScroll);

    TabControl = new QTabBar(central);
    TabControl->setExpanding(false);
    outer->addWidget(TabControl);

    auto* split = new QSplitter(Qt::Horizontal, central);
    panLeftPanel = new QWidget(split);
    auto* leftLayout = new QVBoxLayout(panLeftPanel);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    nbLeftPanel = new QStackedWidget(panLeftPanel);
    leftLayout->addWidget(nbLeftPanel);
    HLGuiColMan = new WHLGuiColMan(nbLeftPanel);
    HLGuiColMan->SetApplyMode(WOptions::GetBool(opt::HLManual));
    nbLeftPanel->addWidget(HLGuiColMan);
    FLeftIslands = new TLeftIslandsPanel(nbLeftPanel);
    nbLeftPanel->addWidget(FLeftIslands);
    connect(FLeftIslands, &TLeftIslandsPanel::islandViewChanged, this, [this](std::int32_t) { IslandViewChanged(); });
    connect(HLGuiColMan, &WHLGuiMan::OnChange, this, [this] { HLGuiManChange(); });
    // A change waiting for Apply says so in the description box.
    connect(HLGuiColMan, &WHLGuiMan::OnApply, this, [this] {
        if (Collection()) UpdateHighlightText();
    });
    panMainArea = new QWidget(split);
    auto* mainLayout = new QVBoxLayout(panMainArea);
    mainLayout->setContentsMargins(0, 0, 0, 0);
    mainLayout->setSpacing(0); // the window's minimum holds one line of the text and no gap
    panHLText = new QWidget(panMainArea);
    auto* hlLayout = new QVBoxLayout(panHLText);
    hlLayout->setContentsMargins(0, 0, 0, 0);
    memHLText = readOnlyMemo(panHLText);
    memHLText->setFrameStyle(QFrame::NoFrame);
    // Within this margin the panel's heights hold whole lines: it scrolls only
    // when capped, and never sideways, as a bar there would cover a line.
    memHLText->document()->setDocumentMargin(kHLTextMargin);
    memHLText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    hlLayout->addWidget(memHLText);
    panHLText->hide();
    mainLayout->addWidget(panHLText);
    NBMain = new QStackedWidget(panMainArea);
    mainLayout->addWidget(NBMain);
    // The text's lines follow its width as well as the text.
    connect(memHLText->document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] { FitHighlightText(); });
    connect(NBMain, &QStackedWidget::currentChanged, this, [this] { FitHighlightText(); });
    panMainArea->installEventFilter(this);
    split->addWidget(panLeftPanel);
    split->addWidget(panMainArea);
    split->setStretchFactor(1, 1);
    outer->addWidget(split, 1);
    setCentralWidget(central);

    // The views, in tab order.
    addView(FSenderView = new TSenderView(FOwnPath));
    addView(FGeneralView = new TGeneralView);
    addView(new TIndividualView);
    addView(FFamilyView = new TFamilyView);
    addView(FPedigreeView = new TPedigreeView);
    addView(FDesView = new TDescendantsView);
    addView(FListView = new TListView);
    addView(FIslandsView = new TIslandsView);
    addView(FSourcesView = new TSourcesView);

    FIslandsView->SetLeftPanel(FLeftIslands);
    connect(FListView, &TListView::highlightPanelWanted, this, [this] { ShowLeftPanel(true, 0); });
    auto help = [](int entry) { QuickHelp::Show(entry); };
    connect(FDesView, &TDescendantsView::quickHelp, this, help);
    connect(FListView, &TListView::quickHelp, this, help);
    connect(FIslandsView, &TIslandsView::quickHelp, this, help);

    for (auto*& p : StatusPanels) {
        p = new QLabel(this);
        p->setMinimumWidth(90);
    }
    statusBar()->addWidget(StatusPanels[0], 1);
    for (int i = 1; i < 5; ++i) statusBar()->addPermanentWidget(StatusPanels[i]);

    connect(TabControl, &QTabBar::currentChanged, this, [this](int i) { TabControlChange(i); });

    new CopyKeyForWindow(this);
}

void TLogoAppForm::ResetFileState() {
    const int mode = WOptions::GetInt(opt::QFind);
    QuickSelectionButton->SetItemSelected(mode >= 1 && mode <= 4 ? mode : 1);
    SetQuickFindMode(1);
    FHighlightedOnly = false;
    FFind.FreeFindIndexes();
    if (FListView) FListView->SetFindInList(WOptions::GetBool(opt::FindInList));
}

void TLogoAppForm::SetQuickFindMode(int mode) {
    FFindNav.Reset();
    FFind.SetQuickFindMode(mode);
    const auto& items = QuickSelectionButton->Items();
    if (mode >= 1 && mode <= int(items.size())) labQuickFind->setText(" " + toQ(items[size_t(mode - 1)].text) + " ");
    const QSignalBlocker block(edFind);
    edFind->clear();
}

void TLogoAppForm::SetupListColumns() {
    if (!FListColumns) {
        FListColumns = std::make_unique<WListColumns>(nullptr, "List");
        FListColumns->SetColumnList(ini::ReadIniString("List", "String", "1,2,7,65,67,19,18"));
    }
    if (!FDesColumns) {
        FDesColumns = std::make_unique<WListColumns>(nullptr, "DesList");
        FDesColumns->SetColumnList(WOptions::GetString(opt::DesColumns));
    }
    if (!FIslandColumns) {
        FIslandColumns = std::make_unique<WListColumns>(nullptr, "IslandList");
        FIslandColumns->SetColumnList(WOptions::GetString(opt::IslandColumns));
    }
    FDesView->SetColumns(FDesColumns.get());
    FListView->SetColumns(FListColumns.get());
    FIslandsView->SetColumns(FIslandColumns.get());
}

void TLogoAppForm::edFindChange(const QString& text) {
    FFindNav.Reset();
    if (!Collection()) return;
    const std::int32_t target = FFind.TextChanged(fromQ(text));
    if (target > 0) {
        // The move must not write the found individual over what the user is typing.
        const QScopedValueRollback<bool> editing(FEditingFind, true);
        FIndScroll->SetCurrentIndividual(target);
    }
}

void TLogoAppForm::BuildTabs() {
    const QSignalBlocker block(TabControl);
    while (TabControl->count()) TabControl->removeTab(0);
    for (const TTab& tab : m_tabs) TabControl->addTab(tab.Info.Caption);
    TabControl->setCurrentIndex(0);
    NBMain->setCurrentWidget(m_tabs.front().View);
    FCurrentPage = m_tabs.front().NotebookPage;
}

void TLogoAppForm::ApplyGridFont() {
    if (WOptions::GetInt(opt::FontSize) == 0) {
        WOptions::SetInt(opt::FontSize, 8);
        WOptions::SetInt(opt::GridHeight, 14);
    }
    const int size = WOptions::GetInt(opt::FontSize);
    int height = WOptions::GetInt(opt::GridHeight);
    if (Global::IsLargeFonts()) height = int(height * 1.25);
    FIndScroll->SetFontSize(size);
    for (auto& [page, view] : FViews) view->ApplyGridFont(size, height);
}

void TLogoAppForm::SelectTab(int index) { TabControl->setCurrentIndex(index); }

void TLogoAppForm::TabControlChange(int index) {
    if (index < 0 || index >= int(m_tabs.size())) return;
    const TTab& tab = m_tabs[std::size_t(index)];
    FHighlightedOnly = tab.Info.Page == pgHighlighted;
    FListView->SetHighlightedOnly(FHighlightedOnly);
    FCurrentPage = tab.NotebookPage;
    NBMain->setCurrentWidget(tab.View);
    RefreshCurrentView();
    WOptions::SetInt(opt::LastTab, index);
}

void TLogoAppForm::MarkViewsStale() {
    for (auto& [page, view] : FViews) view->MarkStale();
}

void TLogoAppForm::RefreshCurrentView(bool afterCopy) {
    const auto it = FViews.find(FCurrentPage);
    if (it == FViews.end()) return;
    panLeftPanel->setEnabled(false);
    const std::int32_t current = Collection() ? FIndScroll->GetCurrentIndividual() : 0;
    if (afterCopy)
        it->second->RefillAfterCopy(current);
    else
        it->second->Fill(current);
    panLeftPanel->setEnabled(true);
}

void TLogoAppForm::IndScrollChange() {
    RefreshCurrentView();
    UpdateSelectedLabel();
}

void TLogoAppForm::UpdateSelectedLabel() {
    // Find next/previous moves the panel itself: its position must survive;
    // a move the find box asked for leaves the typed text alone.
    if (FFindNav.Busy() || FEditingFind) return;
    FFindNav.Reset();
    const QSignalBlocker block(edFind);
    WABSCollection* col = Collection();
    const int current = FIndScroll->GetCurrentIndividual();
    if (!col || current < 1) return;
    edFind->setText(toQ(FFind.SelectedText(current)));
    edFind->selectAll();
}

void TLogoAppForm::SetStatus(int panel, const std::string& text) {
    if (panel >= 0 && panel < 5) StatusPanels[size_t(panel)]->setText(toQ(text));
}

QString TLogoAppForm::StatusText(int panel) const {
    return panel >= 0 && panel < 5 ? StatusPanels[size_t(panel)]->text() : QString();
}

void TLogoAppForm::RefreshImportStatus() {
    ImportTimer.setInterval(250);
    SetStatus(0, FOpener.IsReading() ? "(Analyzing - Please Wait...)" : "");
    if (WABSCollection* col = Collection()) {
        SetStatus(1, "I: " + StrFunc::FormatThousands(col->GetIndividualCount()));
        SetStatus(2, "F: " + StrFunc::FormatThousands(col->GetMarriageCount()));
        SetStatus(3, "N: " + StrFunc::FormatThousands(col->GetNoteCount()));
        SetStatus(4, "S: " + StrFunc::FormatThousands(col->GetSourceCount()));
    }
}

void TLogoAppForm::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (FShown) return;
    FShown = true;
    // The unpacking runs once the window is on screen, so the splash and the
    // wait dialog have something to stand in front of.
    QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TLogoAppForm::FormShow() {
    if (m_closed) {
        // Closed (by a signal) before it came to start: nothing to unpack or show.
        m_starting = false;
        emit startupFinished(true);
        QCoreApplication::quit();
        return;
    }
    QuickHelp::Show(QuickHelp::Welcome);
    FDesView->ApplySettings();
    bool ok = false;
    try {
        ok = LoadSelfViewPayload();
    } catch (const plat::TempError& e) {
        NX_Splash::HideSplash();
        plat::showMessage(e.what());
        ok = false;
    } catch (const std::exception&) {
        NX_Splash::HideSplash();
        plat::showMessage("Error with I/O");
        ok = false;
    }
    NX_Splash::HideSplash();
    m_starting = false;
    if (m_closed) {
        // Closed (or signalled) while the file was unpacked or read: the
        // window stays closed, and with it hidden nothing else ends the program.
        emit startupFinished(ok);
        QCoreApplication::quit();
        return;
    }
    if (ok) WinPos::RestoreWindowPos(this, false, "General");
    emit startupFinished(ok);
    if (!ok) close();
}

bool TLogoAppForm::LoadSelfViewPayload() {
    std::string error;
    const UnpackResult r = UnpackSelfViewPayload(FOwnPath, FTrailer, FTempGEDFile, error);
    if (r == UnpackResult::Cancelled) {
        // Only a close stops the unpacking: the window or a signal, whose
        // close may not have reached the window yet. Nothing failed.
        m_closed = true;
        return true;
    }
    if (r != UnpackResult::Ok) {
        NX_Splash::HideSplash();
        if (r == UnpackResult::Failed && !error.empty()) plat::showMessage(error);
        return false;
    }
    const std::string created = DateTimeText::FormatDateTime("dddd, mmm d, yyyy, hh:mm AM/PM", FTrailer.CreateDate);
    NX_Splash::SetSplashInfo(FTrailer.Title, FTrailer.SenderName, created);
    FSenderView->SetSender(FTrailer, FTempGEDFile);
    FixMinimumSize();
    if (m_closed) return true;
    OpenGenealogyFile(FTempGEDFile, 0);
    FIndScroll->StartAt(FTrailer.StartIndex);
    return true;
}

bool TLogoAppForm::OpenGenealogyFile(const std::string& fileName, std::uint8_t forcedKind) {
    return FOpener.OpenGenealogyFile(fileName, forcedKind);
}

void TLogoAppForm::ShowLeftPanel(bool show, int page) {
    nbLeftPanel->setCurrentIndex(page);
    if (show && page == 1) FIslandsView->FillIslandsPanel(false);
    panLeftPanel->setVisible(show);
    if (show && panLeftPanel->width() < 50)
        panLeftPanel->resize(std::max(150, WOptions::GetInt(opt::LastPanelWidth)), panLeftPanel->height());
}

void TLogoAppForm::HLGuiManChange() {
    WABSCollection* col = Collection();
    if (!col) return;
    HLGuiColMan->SetDeferred(true);
    struct Undefer {
        WHLGuiColMan* panel;
        ~Undefer() { panel->SetDeferred(false); }
    } undefer{HLGuiColMan};
    if (!FHighlighter) FHighlighter = std::make_unique<WHLGroup>(col);
    {
        WaitHooks::WaitScope wait("Calculating.  Please Wait...");
        FHighlighter->SetConditions(HLGuiColMan->GetHLStrings());
        FHighlighter->Recalculate();
    }
    FIndScroll->SetHighLighter(FHighlighter.get());
    for (auto& [page, view] : FViews) view->SetHighLighter(FHighlighter.get());
    UpdateHighlightText();
    RepaintCurrentView();
}

void TLogoAppForm::UpdateHighlightText() {
    std::string text;
    if (WOptions::GetBool(opt::HLText)) {
        if (HLGuiColMan->HasPendingApply()) {
            text = "Please press the Apply button";
        } else if (FHighlighter) {
            FHighlighter->GetDescription(text);
            if (text.empty() && HLGuiColMan->GetCount() > 1) text = "Please select a condition";
        }
    }
    if (text.empty()) {
        panHLText->hide();
        return;
    }
    memHLText->setPlainText(ViewCommon::MemoText("Highlight Individuals: " + text));
    memHLText->moveCursor(QTextCursor::Start);
    QPalette p = memHLText->palette();
    p.setColor(QPalette::Base, toQColor(plat::ColorRef(WOptions::GetInt(opt::HLCol))));
    p.setColor(QPalette::Text, toQColor(plat::ColorRef(WOptions::GetInt(opt::HLTCol))));
    memHLText->setPalette(p);
    FitHighlightText();
    panHLText->show();
}

void TLogoAppForm::FitHighlightText() {
    // The text grows by its lines only while the page shown keeps the height
    // it needs (the window's minimum holds one line); the rest scrolls.
    const int lines = std::max(1, memHLText->document()->lineCount());
    int room = panMainArea->height();
    if (const QWidget* page = NBMain->currentWidget())
        room -= page->minimumSizeHint().expandedTo(page->minimumSize()).height();
    const int line = hlLineHeight(memHLText);
    const int fit = std::max(1, (room - kHLTextPadding) / line);
    panHLText->setFixedHeight(std::min(lines, fit) * line + kHLTextPadding);
}

bool TLogoAppForm::eventFilter(QObject* watched, QEvent* e) {
    if (watched == panMainArea && e->type() == QEvent::Resize) FitHighlightText();
    return QMainWindow::eventFilter(watched, e);
}

QString TLogoAppForm::HighlightText() const { return panHLText->isHidden() ? QString() : memHLText->toPlainText(); }

void TLogoAppForm::RepaintCurrentView() {
    if (FOpener.IsReading()) return;
    if (auto it = FViews.find(FCurrentPage); it != FViews.end()) {
        // The highlighted list depends on the conditions; the others only redraw.
        if (FCurrentPage == pgList && FHighlightedOnly)
            it->second->Fill(FIndScroll->GetCurrentIndividual());
        else
            it->second->RepaintView();
    }
}

void TLogoAppForm::RebuildFindIndexes() {
    WABSCollection* col = Collection();
    const int mode = FFind.QuickFindMode();
    HLGuiColMan->SetFindContext(WFindContext{});
    FFind.SetCollection(col);
    if (!col) return;
    for (int m : {2, 3, 4, 5}) FFind.BuildFindIndex(m, false);
    HLGuiColMan->SetFindContext(col, FFind.Index(2), FFind.Index(4), FFind.Index(3), FFind.Index(5));
    SetQuickFindMode(mode);
}

void TLogoAppForm::IslandViewChanged() {
    // The island view renumbers what the views list: every index of the
    // previous numbering goes.
    RebuildFindIndexes();
    FIndScroll->Reset();
    MarkViewsStale();
    RefreshCurrentView();
}

bool TLogoAppForm::DeferWhileFindSorts(const std::function<void()>& open) {
    // A find dialog opened inside the sort of a find index would list it half
    // sorted, and the sort would wait under the dialog: it opens afterwards.
    if (!FFind.Sorting()) return false;
    QTimer::singleShot(50, this, open);
    return true;
}

void TLogoAppForm::QuickFindClick() {
    WABSCollection* col = Collection();
    if (!col) return;
    if (DeferWhileFindSorts([this] { QuickFindClick(); })) return;
    // The find context holds the indexes made when the file opened: nothing
    // is built here, so the find box keeps its index, text and mode.
    TdlgQuickFind dlg(this, HLGuiColMan->FindContext(), FHighlighter.get());
    dlg.SetSelected(std::max(1, FIndScroll->GetCurrentIndividual()));
    if (dlg.exec() == QDialog::Accepted && dlg.GetSelected() > 0) {
        FListView->SelectListRow(dlg.GetSelected());
        FIndScroll->SetCurrentIndividual(dlg.GetSelected());
    }
}

void TLogoAppForm::Options1Click() {
    TOptionsDlg d(this);
    if (d.exec() != QDialog::Accepted) return;
    d.SaveOptions();
    WOptions::Save();
    if (FHighlighter) {
        WaitHooks::WaitScope wait("Calculating.  Please Wait...");
        FHighlighter->Recalculate();
    }
    FIndScroll->SetHighLighter(FHighlighter.get());
    RepaintCurrentView();
    FIndScroll->UpdateCaption();
    FFamilyView->SetColumnTitles();
    HLGuiColMan->SetApplyMode(WOptions::GetBool(opt::HLManual));
    ShowIslandButtons();
    UpdateHighlightText();
    ApplyGridFont();
}

void TLogoAppForm::PrintClick() {
    WABSCollection* col = Collection();
    if (!col) return;
    // The construction-sentence setting is off while the dialog is open.
    const bool tag = WOptions::GetBool(opt::TMGTagSent);
    WOptions::SetBool(opt::TMGTagSent, false);
    struct Restore {
        bool tag;
        ~Restore() { WOptions::SetBool(opt::TMGTagSent, tag); }
    } restore{tag};
    SaveColumnWidths();
    const int tab = TabControl->currentIndex();
    const int page = tab >= 0 ? m_tabs[std::size_t(tab)].Info.ReportPage : -1;
    TPrintDlg dlg(this);
    if (page >= 0) dlg.SelectPage(page);
    // The family the Family view shows for the current individual.
    const WFamilySubject& shown = FFamilyView->Subject();
    const std::int32_t current = FIndScroll->GetCurrentIndividual();
    dlg.SetCollection(col, current, shown.Subject() == current && shown.Count() > 0 ? shown.Index() : 1);
    dlg.SetIterators(FListView->HLIterator(), FListView->AllIterator());
    dlg.SetFileName(FTrailer.Title);
    dlg.SetColumns(FListColumns.get(), FDesColumns.get());
    dlg.SetHighlighted(FHighlighter.get());
    dlg.exec();
}

void TLogoAppForm::AdvancedFindClick() {
    WABSCollection* col = Collection();
    if (!col) return;
    if (DeferWhileFindSorts([this] { AdvancedFindClick(); })) return;
    TWFindDlg dlg(this, HLGuiColMan->FindContext(), FHighlighter.get());
    dlg.SetSelected(std::max(1, FIndScroll->GetCurrentIndividual()));
    if (dlg.exec() == QDialog::Accepted && dlg.GetSelected() > 0) FIndScroll->SetCurrentIndividual(dlg.GetSelected());
}

void TLogoAppForm::ChooseLeftPage(int page) {
    const MainCommands::LeftPanelStep step = FLeftPanelState.Choose(page, panLeftPanel->isVisible());
    ShowLeftPanel(step.Visible, page == MainCommands::lpHighlighting ? 0 : 1);
    if (step.QuickHelpEntry > 0) QuickHelp::Show(step.QuickHelpEntry);
}

void TLogoAppForm::ActToolRawExecute() {
    FShowRaw = !FShowRaw;
    for (auto& [page, view] : FViews) view->SetShowRaw(FShowRaw);
    RepaintCurrentView();
}

void TLogoAppForm::CopyViewToClipboard() {
    const auto it = FViews.find(FCurrentPage);
    if (!Collection() || it == FViews.end()) return;
    std::optional<std::string> text;
    try {
        ClipText::WTMGTagSentOff guard;
        text = it->second->CopyText();
    } catch (const ClipText::EInOutError& e) {
        plat::showMessage(e.what());
        text.reset();
    }
    if (text) {
        ClipText::PutOnClipboard(*text);
        FlashMessageDlg::ShowFlashMessage("Copy to Clipboard Complete", this);
    }
    RefreshCurrentView(true);
}

void TLogoAppForm::HelpAbout1Execute() {
    TNXAboutBox d(this);
    d.exec();
}

void TLogoAppForm::closeEvent(QCloseEvent* e) {
    if (m_starting) {
        // Closed before the file was shown: a read under way stops, and the
        // settings keep the placement and place of the last session, as this
        // one has none yet.
        m_closed = true;
        plat::setCancelRequested(true);
    } else {
        FormClose();
    }
    QMainWindow::closeEvent(e);
}

void TLogoAppForm::FormClose() {
    WOptions::SetInt(opt::LastID, FIndScroll->GetCurrentIndividual());
    WOptions::SetBool(opt::LastPanelState, panLeftPanel->isVisible());
    WOptions::SetInt(opt::LastPanelWidth, panLeftPanel->width());
    SaveColumnWidths();
    WinPos::SaveWindowPos(this, "General");
}

void TLogoAppForm::FormDestroy() {
    if (FDestroyed) return;
    FDestroyed = true;
    // The quick-help handler points at this window.
    QuickHelp::SetDialogHandler(nullptr);
    // A sort still running under a pumped message keeps its iterator: the
    // window cannot go away under it.
    ini::WriteIniString("List", "String", FListColumns->GetColumnList());
    WOptions::SetString(opt::DesColumns, FDesColumns->GetColumnList());
    WOptions::SetString(opt::IslandColumns, FIslandColumns->GetColumnList());
    bindViews(nullptr);
    FLeftIslands->SetCollection(nullptr);
    // The views outlive this body (Qt frees them afterwards): they must not
    // keep pointers to the column sets freed here.
    FDesView->SetColumns(nullptr);
    FListView->SetColumns(nullptr);
    FIslandsView->SetColumns(nullptr);
    FListColumns.reset();
    FDesColumns.reset();
    FIslandColumns.reset();
    HLGuiColMan->SetFindContext(WFindContext{});
    FFind.SetCollection(nullptr);
    FIndScroll->SetCollection(nullptr);
    FIndScroll->SetHighLighter(nullptr);
    FHighlighter.reset();
    FOpener.Close();
    if (!FTempGEDFile.empty()) {
        plat::deleteTempFile(FTempGEDFile);
        FTempGEDFile.clear();
    }
    WOptions::Save();
}
