#include "reports/ui/PrintDialog.h"

#include "app/ui/IndScroll.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "model/ui/WaitDlg.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"
#include "reports/ABSReport.h"
#include "reports/ui/QRRenderer.h"

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

#include <cmath>
#include <stdexcept>

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
    auto page = [this](const char* caption) {
        auto* w = new QWidget;
        auto* lay = new QVBoxLayout(w);
        PageControl->addTab(w, caption);
        return lay;
    };
    const QString spouseText = "Marriages of Active Individual.  Please select which Spouse to be used in the report";
    const QString columnNote =
        "The column widths in this report are based on the column widths displayed in the List/Highlighted tabs.  "
        "Therefore, if you increase the width of a column on the screen, that column will be printed with the "
        "large width size.";
    auto wrapped = [](const QString& text) {
        auto* l = new QLabel(text);
        l->setWordWrap(true);
        return l;
    };

    QVBoxLayout* l0 = page("General");
    l0->addWidget(new QLabel("No options to select"));
    l0->addStretch();

    QVBoxLayout* l1 = page("Individual");
    cbIndPrintNotes = new QCheckBox("Print Notes in the Report");
    l1->addWidget(cbIndPrintNotes);
    l1->addStretch();

    QVBoxLayout* l2 = page("Family");
    l2->addWidget(wrapped(spouseText));
    lbFamList = new QListWidget;
    l2->addWidget(lbFamList);

    QVBoxLayout* l3 = page("Pedigree");
    l3->addWidget(wrapped(spouseText));
    lbPedList = new QListWidget;
    l3->addWidget(lbPedList);
    rbSingle = new QRadioButton("Single Sheet");
    rbCascading = new QRadioButton("Cascading Sheets");
    l3->addWidget(rbSingle);
    l3->addWidget(rbCascading);

    QVBoxLayout* l4 = page("Descendants");
    CbDesLines = new QCheckBox("Draw divider lines between individuals");
    cbDesShowDup = new QCheckBox("Repeat individuals");
    l4->addWidget(CbDesLines);
    l4->addWidget(cbDesShowDup);
    auto* indentRow = new QHBoxLayout;
    indentRow->addWidget(new QLabel("Indent amount:"));
    DesIndentSpinEdit = new QSpinBox;
    DesIndentSpinEdit->setRange(1, 32);
    indentRow->addWidget(DesIndentSpinEdit);
    indentRow->addStretch();
    l4->addLayout(indentRow);
    auto* genRow = new QHBoxLayout;
    genRow->addWidget(new QLabel("Generations to show:"));
    DesGenSpinEdit = new QSpinBox;
    DesGenSpinEdit->setRange(0, 255);
    genRow->addWidget(DesGenSpinEdit);
    genRow->addStretch();
    l4->addLayout(genRow);
    auto* group = new QGroupBox;
    auto* gl = new QVBoxLayout(group);
    cbDesPrintColumn = new QCheckBox("Print Columns");
    gl->addWidget(cbDesPrintColumn);
    labDesArea = new QLabel("Width of area used for columns");
    gl->addWidget(labDesArea);
    auto* trackRow = new QHBoxLayout;
    DesTrackBar = new QSlider(Qt::Horizontal);
    DesTrackBar->setRange(18, 54);
    trackRow->addWidget(DesTrackBar, 1);
    desPaintBox = new TDesPaintBox(group);
    trackRow->addWidget(desPaintBox);
    gl->addLayout(trackRow);
    auto* widthRow = new QHBoxLayout;
    labDesWidthCaption = new QLabel("Width:");
    labDesWith = new QLabel;
    widthRow->addWidget(labDesWidthCaption);
    widthRow->addWidget(labDesWith);
    widthRow->addStretch();
    gl->addLayout(widthRow);
    l4->addWidget(group);
    l4->addStretch();

    QVBoxLayout* l5 = page("List");
    cbListGrayLines = new QCheckBox("Grey alternating lines");
    cbListDividerLines = new QCheckBox("Draw divider lines between individuals");
    cbListBoldHL = new QCheckBox("Indicate highlighted individuals with \"*\"");
    l5->addWidget(cbListGrayLines);
    l5->addWidget(cbListDividerLines);
    l5->addWidget(cbListBoldHL);
    l5->addWidget(wrapped(columnNote));
    l5->addStretch();

    QVBoxLayout* l6 = page("Highlighted");
    cbHLGrayLines = new QCheckBox("Grey alternating lines");
    cbHLDividerLines = new QCheckBox("Draw divider lines between individuals");
    l6->addWidget(cbHLGrayLines);
    l6->addWidget(cbHLDividerLines);
    l6->addWidget(wrapped(columnNote));
    l6->addStretch();

    QVBoxLayout* l7 = page("Islands");
    cbIslandGrayLines = new QCheckBox("Grey alternating lines");
    cbIslandDividerLines = new QCheckBox("Draw divider lines between rows");
    l7->addWidget(cbIslandGrayLines);
    l7->addWidget(cbIslandDividerLines);
    l7->addStretch();

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
    if (APage >= 0 && APage < PageControl->count()) PageControl->setCurrentIndex(APage);
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
    const int page = PageControl->currentIndex();
    if (page != 2 && page != 3) return;
    SpouseFamilyCount = 0;
    SpouseFamilies.fill(0);
    std::unique_ptr<WABSIndividual> ind;
    if (Collection && Individual >= 1) ind = Collection->GetIndividual(Individual);
    if (ind) {
        SpouseFamilyCount = std::min<int>(ind->GetSpouseFamilyCount(), kMaxSpouseFamilies);
        for (int i = 1; i <= SpouseFamilyCount; ++i) SpouseFamilies[size_t(i)] = ind->GetSpouseFamily(i);
    }
    QListWidget* list = page == 2 ? lbFamList : lbPedList;
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
    std::unique_ptr<TABSReportForm> form = BuildReport(PageControl->currentIndex());
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
    const int page = PageControl->currentIndex();
    auto fullName = [this] {
        if (!Collection || Individual < 1) return std::string();
        std::unique_ptr<WABSIndividual> ind = Collection->GetIndividual(Individual);
        return ind ? ind->GetFullName(true) : std::string();
    };
    switch (page) {
    case 0: return namePart(FileName) + " - General Info";
    case 1: return fullName() + " - Individual";
    case 2: return fullName() + " - Family";
    case 3: return fullName() + " - Pedigree";
    case 4: return fullName() + " - Descendants";
    case 5: return namePart(FileName) + " - List";
    case 6: return namePart(FileName) + " - Highlight List";
    default: return namePart(FileName) + " - Islands";
    }
}
