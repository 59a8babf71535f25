#include "reports/ui/PrintDialog.h"

#include <cmath>
#include <iterator>
#include <stdexcept>

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/navpanel/IndScroll.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "model/ui/WaitDlg.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"
#include "reports/ABSReport.h"
#include "reports/render/QRRenderer.h"

namespace {

// The preview of the column area on the Descendants page.
class TDesPaintBox : public QWidget {
public:
    explicit TDesPaintBox(QWidget* parent) : QWidget(parent) { setFixedSize(72, 60); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter g(this);
        const int w = width(), h = height();
        g.fillRect(rect(), Qt::white);
        g.setPen(Qt::black);
        g.drawRect(0, 0, w - 1, h - 1);
        g.drawLine(w / 4, 5, w * 3 / 4, 5);
        g.drawLine(0, 9, w, 9);
        const int x = w * WOptions::GetInt(opt::DesColW) / 72;
        g.fillRect(QRect(x, 10, w - x, h - 10), QColor(128, 128, 128));
    }
};

// The name part of a path written either way.
std::string namePart(const std::string& path) {
    const size_t p = path.find_last_of("\\/");
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string folderPart(const std::string& path) {
    const size_t p = path.find_last_of("\\/");
    return p == std::string::npos ? std::string() : path.substr(0, p + 1);
}

const char* const kSaveFilters[] = {"PDF (*.pdf)",  "HTML (*.htm)",   "Rich Text Format (*.rtf)",
                                    "JPEG (*.jpg)", "Bitmap (*.bmp)", "Enhanced Meta File (*.emf)"};

// Registered filter extension of each ExportKind.
const char* extensionOfKind(std::uint8_t kind) {
    switch (kind) {
    case TPrintDlg::ekBMP: return "bmp";
    case TPrintDlg::ekJPEG: return "jpg";
    case TPrintDlg::ekHTML: return "htm";
    case TPrintDlg::ekEMF: return "emf";
    case TPrintDlg::ekRTF: return "rtf";
    default: return "pdf";
    }
}

const char* const kSpouseText = "Marriages of Active Individual.  Please select which Spouse to be used in the report";
const char* const kColumnNote =
    "The column widths in this report are based on the column widths displayed in the List/Highlighted tabs.  "
    "Therefore, if you increase the width of a column on the screen, that column will be printed with the "
    "large width size.";

QLabel* wrapped(const char* text) {
    auto* l = new QLabel(text);
    l->setWordWrap(true);
    return l;
}

void generalOptions(TPrintDlg&, QVBoxLayout* l) {
    l->addWidget(new QLabel("No options to select"));
    l->addStretch();
}

void individualOptions(TPrintDlg& d, QVBoxLayout* l) {
    d.cbIndPrintNotes = new QCheckBox("Print Notes in the Report");
    l->addWidget(d.cbIndPrintNotes);
    l->addStretch();
}

void familyOptions(TPrintDlg& d, QVBoxLayout* l) {
    l->addWidget(wrapped(kSpouseText));
    d.lbFamList = new QListWidget;
    l->addWidget(d.lbFamList);
}

void pedigreeOptions(TPrintDlg& d, QVBoxLayout* l) {
    l->addWidget(wrapped(kSpouseText));
    d.lbPedList = new QListWidget;
    l->addWidget(d.lbPedList);
    d.rbSingle = new QRadioButton("Single Sheet");
    d.rbCascading = new QRadioButton("Cascading Sheets");
    l->addWidget(d.rbSingle);
    l->addWidget(d.rbCascading);
}

void descendantsOptions(TPrintDlg& d, QVBoxLayout* l) {
    d.CbDesLines = new QCheckBox("Draw divider lines between individuals");
    d.cbDesShowDup = new QCheckBox("Repeat individuals");
    l->addWidget(d.CbDesLines);
    l->addWidget(d.cbDesShowDup);
    auto* indentRow = new QHBoxLayout;
    indentRow->addWidget(new QLabel("Indent amount:"));
    d.DesIndentSpinEdit = new QSpinBox;
    d.DesIndentSpinEdit->setRange(1, 32);
    indentRow->addWidget(d.DesIndentSpinEdit);
    indentRow->addStretch();
    l->addLayout(indentRow);
    auto* genRow = new QHBoxLayout;
    genRow->addWidget(new QLabel("Generations to show:"));
    d.DesGenSpinEdit = new QSpinBox;
    d.DesGenSpinEdit->setRange(0, 255);
    genRow->addWidget(d.DesGenSpinEdit);
    genRow->addStretch();
    l->addLayout(genRow);
    auto* group = new QGroupBox;
    auto* gl = new QVBoxLayout(group);
    d.cbDesPrintColumn = new QCheckBox("Print Columns");
    gl->addWidget(d.cbDesPrintColumn);
    d.labDesArea = new QLabel("Width of area used for columns");
    gl->addWidget(d.labDesArea);
    auto* trackRow = new QHBoxLayout;
    d.DesTrackBar = new QSlider(Qt::Horizontal);
    d.DesTrackBar->setRange(18, 54);
    trackRow->addWidget(d.DesTrackBar, 1);
    d.desPaintBox = new TDesPaintBox(group);
    trackRow->addWidget(d.desPaintBox);
    gl->addLayout(trackRow);
    auto* widthRow = new QHBoxLayout;
    d.labDesWidthCaption = new QLabel("Width:");
    d.labDesWith = new QLabel;
    widthRow->addWidget(d.labDesWidthCaption);
    widthRow->addWidget(d.labDesWith);
    widthRow->addStretch();
    gl->addLayout(widthRow);
    l->addWidget(group);
    l->addStretch();
}

void listOptions(TPrintDlg& d, QVBoxLayout* l) {
    d.cbListGrayLines = new QCheckBox("Grey alternating lines");
    d.cbListDividerLines = new QCheckBox("Draw divider lines between individuals");
    d.cbListBoldHL = new QCheckBox("Indicate highlighted individuals with \"*\"");
    l->addWidget(d.cbListGrayLines);
    l->addWidget(d.cbListDividerLines);
    l->addWidget(d.cbListBoldHL);
    l->addWidget(wrapped(kColumnNote));
    l->addStretch();
}

void highlightedOptions(TPrintDlg& d, QVBoxLayout* l) {
    d.cbHLGrayLines = new QCheckBox("Grey alternating lines");
    d.cbHLDividerLines = new QCheckBox("Draw divider lines between individuals");
    l->addWidget(d.cbHLGrayLines);
    l->addWidget(d.cbHLDividerLines);
    l->addWidget(wrapped(kColumnNote));
    l->addStretch();
}

void islandsOptions(TPrintDlg& d, QVBoxLayout* l) {
    d.cbIslandGrayLines = new QCheckBox("Grey alternating lines");
    d.cbIslandDividerLines = new QCheckBox("Draw divider lines between rows");
    l->addWidget(d.cbIslandGrayLines);
    l->addWidget(d.cbIslandDividerLines);
    l->addStretch();
}

// The dialog's pages in tab order: the report each runs, its caption, how
// the proposed file name ends (after the individual's name or the file's),
// and the builder of its options. The tabs are made from this list only, so
// a page always runs its own report whatever the order of TReportPage.
struct TOptionPage {
    TReportPage Report;
    const char* Caption;
    bool NamedAfterIndividual;
    const char* NameEnd;
    void (*Build)(TPrintDlg&, QVBoxLayout*);
};

constexpr TOptionPage kPages[] = {
    {rpGeneral, "General", false, " - General Info", generalOptions},
    {rpIndividual, "Individual", true, " - Individual", individualOptions},
    {rpFamily, "Family", true, " - Family", familyOptions},
    {rpPedigree, "Pedigree", true, " - Pedigree", pedigreeOptions},
    {rpDescendants, "Descendants", true, " - Descendants", descendantsOptions},
    {rpList, "List", false, " - List", listOptions},
    {rpHighlighted, "Highlighted", false, " - Highlight List", highlightedOptions},
    {rpIslands, "Islands", false, " - Islands", islandsOptions},
};

constexpr bool eachReportHasOnePage() {
    if (std::size(kPages) != rpPageCount) return false;
    for (int r = 0; r < rpPageCount; ++r) {
        int n = 0;
        for (const TOptionPage& p : kPages) n += p.Report == r;
        if (n != 1) return false;
    }
    return true;
}
static_assert(eachReportHasOnePage(), "every TReportPage needs one entry in kPages");

// The tab of a report; -1 for none.
int tabOf(int report) {
    for (std::size_t i = 0; i < std::size(kPages); ++i)
        if (kPages[i].Report == report) return int(i);
    return -1;
}

const TOptionPage* pageOfTab(int tab) {
    return tab >= 0 && tab < int(std::size(kPages)) ? &kPages[std::size_t(tab)] : nullptr;
}

} // namespace

TPrintDlg::TPrintDlg(QWidget* AOwner) : QDialog(AOwner) {
    setWindowTitle("Print Dialog");
    BuildPages();
    FormCreate();
    // Page options from the settings.
    rbSingle->setChecked(WOptions::GetBool(opt::Ped_Single));
    rbCascading->setChecked(!WOptions::GetBool(opt::Ped_Single));
    cbListGrayLines->setChecked(WOptions::GetBool(opt::List_Grey));
    cbListDividerLines->setChecked(WOptions::GetBool(opt::List_Divider));
    cbListBoldHL->setChecked(WOptions::GetBool(opt::List_HL));
    cbHLGrayLines->setChecked(WOptions::GetBool(opt::HL_Grey));
    cbHLDividerLines->setChecked(WOptions::GetBool(opt::HL_Divider));
    cbIslandGrayLines->setChecked(WOptions::GetBool(opt::Island_Grey));
    cbIslandDividerLines->setChecked(WOptions::GetBool(opt::Island_Divider));
}

TPrintDlg::~TPrintDlg() { FormDestroy(); }

void TPrintDlg::BuildPages() {
    IndScroll = new WIndScroll(this);
    PageControl = new QTabWidget(this);
    for (const TOptionPage& p : kPages) {
        auto* w = new QWidget;
        auto* lay = new QVBoxLayout(w);
        p.Build(*this, lay);
        PageControl->addTab(w, p.Caption);
    }

    butPrint = new QPushButton("Print");
    butPreview = new QPushButton("Preview");
    butSaveToFile = new QPushButton("Save to File");
    butCancel = new QPushButton("Cancel");
    cbViewFile = new QCheckBox("View file after saved");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cbViewFile);
    buttons->addStretch();
    buttons->addWidget(butPrint);
    buttons->addWidget(butPreview);
    buttons->addWidget(butSaveToFile);
    buttons->addWidget(butCancel);

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(IndScroll);
    lay->addWidget(PageControl, 1);
    lay->addLayout(buttons);
    resize(560, 460);

    connect(IndScroll, &WIndScroll::OnChange, this, &TPrintDlg::IndScrollChange);
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int) { PageControlChange(); });
    connect(butPrint, &QPushButton::clicked, this, &TPrintDlg::butPrintClick);
    connect(butPreview, &QPushButton::clicked, this, &TPrintDlg::butPreviewClick);
    connect(butSaveToFile, &QPushButton::clicked, this, &TPrintDlg::butSaveToFileClick);
    connect(butCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbIndPrintNotes, &QCheckBox::clicked, this, &TPrintDlg::cbIndPrintNotesClick);
    connect(cbViewFile, &QCheckBox::clicked, this, &TPrintDlg::cbViewFileClick);
    connect(cbDesPrintColumn, &QCheckBox::clicked, this, &TPrintDlg::cbDesPrintColumnClick);
    connect(CbDesLines, &QCheckBox::clicked, this, &TPrintDlg::CbDesLinesClick);
    connect(DesTrackBar, &QSlider::valueChanged, this, [this](int) { DesTrackBarChange(); });
}

void TPrintDlg::FormCreate() {
    rbSingle->setChecked(true);
    DesGenSpinEdit->setValue(WOptions::GetInt(opt::DesGenLimit));
    DesIndentSpinEdit->setValue(WOptions::GetInt(opt::DesIndent));
    cbDesShowDup->setChecked(WOptions::GetBool(opt::DesRepDups));
    {
        // Setting the position fires the change handler, which writes the
        // same value back and updates the width text.
        DesTrackBar->setValue(WOptions::GetInt(opt::DesColW));
        DesTrackBarChange();
    }
    cbViewFile->setChecked(WOptions::GetBool(opt::ViewSaved));
    cbDesPrintColumn->setChecked(WOptions::GetBool(opt::DesPC));
    cbDesPrintColumnClick();
    CbDesLines->setChecked(WOptions::GetBool(opt::DesDLines));
    cbIndPrintNotes->setChecked(WOptions::GetBool(opt::IndNotes));
}

void TPrintDlg::FormDestroy() {
    if (FDestroyed) return;
    FDestroyed = true;
    WOptions::SetBool(opt::Ped_Single, rbSingle->isChecked());
    WOptions::SetBool(opt::List_Grey, cbListGrayLines->isChecked());
    WOptions::SetBool(opt::List_Divider, cbListDividerLines->isChecked());
    WOptions::SetBool(opt::List_HL, cbListBoldHL->isChecked());
    WOptions::SetBool(opt::HL_Grey, cbHLGrayLines->isChecked());
    WOptions::SetBool(opt::HL_Divider, cbHLDividerLines->isChecked());
    WOptions::SetBool(opt::Island_Grey, cbIslandGrayLines->isChecked());
    WOptions::SetBool(opt::Island_Divider, cbIslandDividerLines->isChecked());
}

// ---------------------------------------------------------------- set-up by the main window

void TPrintDlg::SelectPage(int APage) {
    const int tab = tabOf(APage);
    if (tab >= 0) PageControl->setCurrentIndex(tab);
}

int TPrintDlg::CurrentPage() const {
    const TOptionPage* page = pageOfTab(PageControl->currentIndex());
    return page ? page->Report : -1;
}

void TPrintDlg::SetCollection(WABSCollection* ACollection, std::int32_t AIndividual, std::int32_t AFamilyIndex) {
    Collection = ACollection;
    IndScroll->SetCollection(ACollection);
    IndScroll->SetCurrentIndividual(AIndividual);
    FamilyIndex = AFamilyIndex;
    IndScrollChange();
}

void TPrintDlg::SetIterators(WColSortIterator* AHLIterator, WColSortIterator* AListIterator) {
    Reports.Borrow(AHLIterator, AListIterator);
}

void TPrintDlg::SetFileName(const std::string& AText) { FileName = AText; }

void TPrintDlg::SetColumns(WListColumns* AListColumns, WListColumns* ADesColumns) {
    ListColumns = AListColumns;
    DesColumns = ADesColumns;
}

void TPrintDlg::SetHighlighted(WABSHighLighter* AHighLighter) {
    HighLighter = AHighLighter;
    // One made for the previous highlighter would list the wrong people.
    Reports.DropOwnHighlighted();
    IndScroll->SetHighLighter(AHighLighter);
}

// ---------------------------------------------------------------- handlers

void TPrintDlg::IndScrollChange() {
    Individual = IndScroll->GetCurrentIndividual();
    RefreshSpouseLists();
}

void TPrintDlg::PageControlChange() { RefreshSpouseLists(); }

void TPrintDlg::RefreshSpouseLists() {
    const int page = CurrentPage();
    if (page != rpFamily && page != rpPedigree) return;
    SpouseFamilyCount = 0;
    SpouseFamilies.fill(0);
    std::unique_ptr<WABSIndividual> ind;
    if (Collection && Individual >= 1) ind = Collection->GetIndividual(Individual);
    if (ind) {
        SpouseFamilyCount = std::min<int>(ind->GetSpouseFamilyCount(), kMaxSpouseFamilies);
        for (int i = 1; i <= SpouseFamilyCount; ++i) SpouseFamilies[size_t(i)] = ind->GetSpouseFamily(i);
    }
    QListWidget* list = page == rpFamily ? lbFamList : lbPedList;
    list->clear();
    for (int i = 1; i <= SpouseFamilyCount; ++i) {
        const std::int32_t spouse = Collection->GetSpouse(Individual, i);
        list->addItem(toQ(std::to_string(i) + ": " + Collection->GetNameWithBirth(spouse)));
    }
    if (SpouseFamilyCount > 0)
        list->setCurrentRow(std::min(FamilyIndex < 1 ? 0 : FamilyIndex - 1, SpouseFamilyCount - 1));
}

void TPrintDlg::cbIndPrintNotesClick() { WOptions::SetBool(opt::IndNotes, cbIndPrintNotes->isChecked()); }
void TPrintDlg::cbViewFileClick() { WOptions::SetBool(opt::ViewSaved, cbViewFile->isChecked()); }
void TPrintDlg::CbDesLinesClick() { WOptions::SetBool(opt::DesDLines, CbDesLines->isChecked()); }

void TPrintDlg::cbDesPrintColumnClick() {
    const bool on = cbDesPrintColumn->isChecked();
    WOptions::SetBool(opt::DesPC, on);
    for (QWidget* w : {static_cast<QWidget*>(DesTrackBar), desPaintBox, static_cast<QWidget*>(labDesArea),
                       static_cast<QWidget*>(labDesWidthCaption), static_cast<QWidget*>(labDesWith)})
        w->setVisible(on);
}

std::string TPrintDlg::ColumnAreaWidthText(int position) {
    // Two decimals, halves rounded away from zero, "." whatever the locale.
    const double inches = 8.5 - position * 8.5 / 72.0;
    const long long hundredths = std::llround(inches * 100.0);
    std::string frac = std::to_string(std::llabs(hundredths) % 100);
    if (frac.size() < 2) frac.insert(0, "0");
    return std::string(hundredths < 0 ? "-" : "") + std::to_string(std::llabs(hundredths) / 100) + "." + frac + "\"";
}

void TPrintDlg::DesTrackBarChange() {
    WOptions::SetInt(opt::DesColW, DesTrackBar->value());
    labDesWith->setText(toQ(ColumnAreaWidthText(DesTrackBar->value())));
    desPaintBox->update();
}

void TPrintDlg::butPrintClick() { RunReport(rmPrint); }
void TPrintDlg::butPreviewClick() { RunReport(rmPreview); }

// ---------------------------------------------------------------- reports

TReportChoice TPrintDlg::Choice(int page) const {
    TReportChoice c;
    c.Page = page;
    c.Collection = Collection;
    c.FileName = FileName;
    c.Individual = Individual;
    QListWidget* spouses = page == rpFamily ? lbFamList : lbPedList;
    const int k = spouses->currentRow();
    if (k >= 0 && k < SpouseFamilyCount) c.Marriage = k + 1;
    c.Cascading = rbCascading->isChecked();
    c.Indent = DesIndentSpinEdit->value();
    c.Generations = DesGenSpinEdit->value();
    c.Repeat = cbDesShowDup->isChecked();
    c.ColumnStart = WOptions::GetInt(opt::DesColW);
    c.PrintColumns = WOptions::GetBool(opt::DesPC);
    c.DesLines = CbDesLines->isChecked();
    c.DesColumns = DesColumns;
    c.ListColumns = ListColumns;
    c.HighLighter = HighLighter;
    switch (page) {
    case rpList:
        c.Grey = cbListGrayLines->isChecked();
        c.Dividers = cbListDividerLines->isChecked();
        c.MarkHighlighted = cbListBoldHL->isChecked();
        break;
    case rpHighlighted:
        c.Grey = cbHLGrayLines->isChecked();
        c.Dividers = cbHLDividerLines->isChecked();
        break;
    case rpIslands:
        c.Grey = cbIslandGrayLines->isChecked();
        c.Dividers = cbIslandDividerLines->isChecked();
        break;
    }
    return c;
}

std::unique_ptr<TABSReportForm> TPrintDlg::BuildReport(int page) { return Reports.Build(Choice(page)); }

void TPrintDlg::RunForm(TABSReportForm& form, RunMode mode) {
    switch (mode) {
    case rmPrint: form.Print(); break;
    case rmPreview: form.Preview(); break;
    case rmSave: ExportReport(form); break;
    }
}

void TPrintDlg::RunReport(RunMode mode) {
    std::unique_ptr<TABSReportForm> form = BuildReport(CurrentPage());
    if (form) RunForm(*form, mode);
}

void TPrintDlg::ExportReport(TABSReportForm& report) {
    const std::string ext = extensionOfKind(ExportKind);
    std::unique_ptr<TQRExportFilter> filter;
    for (const auto& entry : TQRExportFilterLibrary::Instance().Filters())
        if (entry.Extension == ext) {
            filter = entry.Create(ExportFileName);
            break;
        }
    if (!filter) throw std::runtime_error("No export filter for \"" + ext + "\" files is installed.");
    // The export lays the report out itself, page by page into the filter.
    report.ExportToFilter(filter.get());
    SavedFileName = filter->GetSavedFileName();
    filter.reset();
    report.ReleasePages();
}

std::uint8_t TPrintDlg::ExportKindOfFilterRow(int row) {
    switch (row) {
    case 1: return ekPDF;
    case 2: return ekHTML;
    case 3: return ekRTF;
    case 4: return ekJPEG;
    case 5: return ekBMP;
    case 6: return ekEMF;
    default: return ekPDF;
    }
}

std::string TPrintDlg::NoViewerMessage(std::uint8_t kind) {
    static const char* const names[6] = {"BMP", "JPEG", "HTML", "PDF", "EMF", "RTF"};
    const char* name = kind < 6 ? names[kind] : "PDF";
    return std::string("Error: There is currently no default viewer set up for the file type \"") + name +
           "\" on your computer.";
}

bool TPrintDlg::AskExportFileName() {
    QFileDialog dlg(this, "Save to File");
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const char* f : kSaveFilters) filters << f;
    dlg.setNameFilters(filters);
    dlg.setDefaultSuffix("pdf");
    const std::string dir = WOptions::GetString(opt::SaveToFileDir);
    dlg.setDirectory(dir.empty() ? QDir::homePath() : toQPath(dir));
    dlg.selectFile(toQ(MakeDefaultFileName()));
    // Keep the suffix in step with the chosen type.
    connect(&dlg, &QFileDialog::filterSelected, &dlg, [&dlg, filters](const QString& f) {
        static const char* const ext[] = {"pdf", "htm", "rtf", "jpg", "bmp", "emf"};
        const int i = int(filters.indexOf(f));
        if (i >= 0) dlg.setDefaultSuffix(ext[i]);
    });
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
    ExportKind = ExportKindOfFilterRow(int(filters.indexOf(dlg.selectedNameFilter())) + 1);
    const std::string name = fromQPath(dlg.selectedFiles().first());
    if (name.empty()) return false;
    WOptions::SetString(opt::SaveToFileDir, folderPart(name));
    ExportFileName = name;
    return true;
}

void TPrintDlg::butSaveToFileClick() {
    if (!AskExportFileName()) return;
    SavedFileName.clear();
    TWaitDlg::ShowWait("Saving to File.  Please Wait...", true, false, this);
    setEnabled(false);
    std::string error;
    try {
        RunReport(rmSave);
    } catch (const std::exception& e) {
        error = e.what();
    }
    setEnabled(true);
    TWaitDlg::HideWait();
    if (!error.empty()) {
        plat::showMessage(error);
        return;
    }
    if (WOptions::GetBool(opt::ViewSaved) && !SavedFileName.empty()) {
        // The shell stand-in takes the path itself; the quotes are kept
        // for the record only.
        ViewerPath = "\"" + SavedFileName + "\"";
        // The opener answers later, maybe after the dialog has closed.
        const std::string failure = NoViewerMessage(ExportKind);
        if (auto& open = plat::hooks().shellOpen)
            open(SavedFileName, [failure] { plat::showMessage(failure); });
        else
            plat::showMessage(failure);
    }
}

std::string TPrintDlg::MakeDefaultFileName() {
    const bool preSuf = WOptions::GetBool(opt::PreSuf);
    const bool nameSlash = WOptions::GetBool(opt::NameSlash);
    WOptions::SetBool(opt::PreSuf, false);
    WOptions::SetBool(opt::NameSlash, false);
    struct Restore {
        bool p, n;
        ~Restore() {
            WOptions::SetBool(opt::PreSuf, p);
            WOptions::SetBool(opt::NameSlash, n);
        }
    } restore{preSuf, nameSlash};
    const TOptionPage* page = pageOfTab(PageControl->currentIndex());
    if (!page) return namePart(FileName);
    if (!page->NamedAfterIndividual) return namePart(FileName) + page->NameEnd;
    std::string name;
    if (Collection && Individual >= 1)
        if (std::unique_ptr<WABSIndividual> ind = Collection->GetIndividual(Individual)) name = ind->GetFullName(true);
    return name + page->NameEnd;
}
