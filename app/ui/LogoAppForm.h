#pragma once
// The program's one main window: the tab set over the views, the navigation
// panel, the find box and the status bar; start-up unpacking and opening.
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QTimer>

#include "app/FindBox.h"
#include "app/FindNextPrev.h"
#include "app/GenealogyOpener.h"
#include "app/MainCommands.h"
#include "app/SelfViewTrailer.h"
#include "app/ui/ViewPage.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStackedWidget;
class QTabBar;
class QWidget;
class TMainActions;
class TFamilyView;
class TGeneralView;
class TPedigreeView;
class TSenderView;
class TSourcesView;
class TDescendantsView;
class TListView;
class TIslandsView;
class TLeftIslandsPanel;
class WHLGuiColMan;
class WABSCollection;
class WListColumns;
class WSelectionButton;
class WHLGroup;
class WIndScroll;

class TLogoAppForm : public QMainWindow {
    Q_OBJECT
public:
    // Notebook pages of the views.
    using Page = TViewPage::Page;
    using enum TViewPage::Page;

    // ownPath: the program file that carries the payload.
    explicit TLogoAppForm(std::string ownPath, QWidget* parent = nullptr);
    ~TLogoAppForm() override;

    // Start-up unpacking and opening (run once by the first show). False when
    // the program must end (no payload, damaged archive).
    bool LoadSelfViewPayload();
    bool OpenGenealogyFile(const std::string& fileName, std::uint8_t forcedKind);

    WABSCollection* Collection() const { return FOpener.GetCollection(); }
    const TSelfViewTrailer& Trailer() const { return FTrailer; }
    const std::string& TempGEDFile() const { return FTempGEDFile; }
    WIndScroll* IndScroll() const { return FIndScroll; }
    int CurrentPage() const { return FCurrentPage; }
    QString StatusText(int panel) const;
    // The last load time, "%.3f seconds" (the General view's statistics show it).
    const std::string& LoadTime() const { return FLoadTime; }
    QTabBar* Tabs() const { return TabControl; }
    WFindBox& FindBox() { return FFind; }
    TMainActions* Actions() const { return FActions; }
    WListColumns* ListColumns() const { return FListColumns.get(); }
    QLineEdit* FindEdit() const { return edFind; }

    // The condition panel of the left panel, and its text above the views.
    WHLGuiColMan* ConditionPanel() const { return HLGuiColMan; }
    WHLGroup* Highlighter() const { return FHighlighter.get(); }
    QString HighlightText() const;
    TListView* ListView() const { return FListView; }
    TLeftIslandsPanel* LeftIslands() const { return FLeftIslands; }

signals:
    // The start-up sequence has run (ok false: the program is ending).
    void startupFinished(bool ok);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The quick-find mode (1 index, 2 identifier, 3 surname, 4 given name).
    void SetQuickFindMode(int mode);
    // Refills the page shown (after a copy: as the page refills after one).
    void RefreshCurrentView(bool afterCopy = false);
    void RepaintCurrentView();
    void MarkViewsStale();
    void SelectTab(int index);
    // Copies the view shown as text (the lists ask how first).
    void CopyViewToClipboard();
    // Shows or hides the left panel on its highlighting (0) or islands (1) page.
    void ShowLeftPanel(bool show, int page = 0);
    void buildUi();
    // One minimum size at which every view, with the left panel, shows whole.
    void FixMinimumSize();
    // The islands buttons and box of both panels run and follow the window's islands commands.
    void AttachIslandCommands();
    // The Calculate buttons show only when islands are not computed on opening.
    void ShowIslandButtons();
    // Puts a view page on the notebook, its tabs after those of the pages
    // before it, and wires its moves to the navigation panel.
    void addView(TViewPage* view);
    // Every view page, with its collection, highlighter or nothing.
    void bindViews(WABSCollection* collection);
    void SaveColumnWidths();
    void FormShow();
    void FormClose();
    void FormDestroy();
    void ResetFileState();
    void BuildTabs();
    void ApplyGridFont();
    void TabControlChange(int index);
    void IndScrollChange();
    void UpdateSelectedLabel();
    void RefreshImportStatus();
    void SetStatus(int panel, const std::string& text);
    void SetupListColumns();
    void HLGuiManChange();
    void IslandViewChanged();
    void RebuildFindIndexes();
    void UpdateHighlightText();
    // The highlight text's height: its lines, as far as the page shown leaves room.
    void FitHighlightText();
    // Runs open again once no find index sorts; false when none sorts now.
    bool DeferWhileFindSorts(const std::function<void()>& open);
    void QuickFindClick();
    void Options1Click();
    void PrintClick();
    void AdvancedFindClick();
    void ChooseLeftPage(int page);
    void ActToolRawExecute();
    void HelpAbout1Execute();
    void edFindChange(const QString& text);

    std::string FOwnPath;
    TSelfViewTrailer FTrailer;
    std::string FTempGEDFile;
    WGenealogyOpener FOpener;
    std::unique_ptr<WHLGroup> FHighlighter;
    WFindBox FFind;
    WFindNextPrev FFindNav{FFind};
    MainCommands::WLeftPanel FLeftPanelState;
    bool FShowRaw = false;
    bool FEditingFind = false; // the find box is moving the navigation panel
    TMainActions* FActions = nullptr;
    std::unique_ptr<WListColumns> FListColumns, FDesColumns, FIslandColumns;
    bool FHighlightedOnly = false;
    bool FShown = false;
    bool m_starting = true; // until the file is unpacked and read
    bool m_closed = false;  // closed meanwhile
    bool FDestroyed = false;
    int FCurrentPage = pgSender;
    std::string FLoadTime;

    // Controls.
    QTabBar* TabControl = nullptr;
    QStackedWidget* NBMain = nullptr;
    std::map<int, TViewPage*> FViews; // notebook page number -> its view
    // The tab set, in tab order.
    struct TTab {
        TViewTab Info;
        TViewPage* View;
        int NotebookPage; // the view's own (List for Highlighted)
    };
    std::vector<TTab> m_tabs;
    TSenderView* FSenderView = nullptr;
    TGeneralView* FGeneralView = nullptr;
    TFamilyView* FFamilyView = nullptr;
    TPedigreeView* FPedigreeView = nullptr;
    TSourcesView* FSourcesView = nullptr;
    TDescendantsView* FDesView = nullptr;
    TListView* FListView = nullptr;
    TIslandsView* FIslandsView = nullptr;
    TLeftIslandsPanel* FLeftIslands = nullptr;
    QStackedWidget* nbLeftPanel = nullptr;
    WIndScroll* FIndScroll = nullptr;
    QWidget* panLeftPanel = nullptr;
    WHLGuiColMan* HLGuiColMan = nullptr;
    QWidget* panHLText = nullptr;
    QPlainTextEdit* memHLText = nullptr;
    QWidget* panMainArea = nullptr;
    QLineEdit* edFind = nullptr;
    WSelectionButton* QuickSelectionButton = nullptr;
    QLabel* labQuickFind = nullptr;
    std::array<QLabel*, 5> StatusPanels{};
    QTimer ImportTimer;
    QTimer StatusTimer;
};
