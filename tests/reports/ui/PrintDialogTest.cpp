// The print dialog: pages, spouse lists, settings, default names and saving.
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <typeinfo>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>

#include "export/PsQRExportSettings.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "reports/ABSReport.h"
#include "reports/ReportEngine.h"
#include "reports/ui/PrintDialog.h"
#include "support/MemCollection.h"

namespace {

// A filter that writes nothing and names a page file as the saved file.
struct FakeImageFilter : TQRExportFilter {
    using TQRExportFilter::TQRExportFilter;
    int pages = 0;
    void NewPage() override { ++pages; }
    std::string GetSavedFileName() const override { return FileName + ".page" + std::to_string(pages); }
};

std::string reportName(const TABSReportForm& form) { return typeid(form).name() + (": " + form.Title()); }

// The dialog with the file question answered by the test; counts the
// layouts of the reports it runs, or only names them when run is off.
struct TestDlg : TPrintDlg {
    std::string answer;
    int row = 4;
    int layouts = 0;
    bool run = true;
    std::string ran;
    bool AskExportFileName() override {
        if (answer.empty()) return false;
        ExportKind = ExportKindOfFilterRow(row);
        ExportFileName = answer;
        return true;
    }
    void RunForm(TABSReportForm& form, RunMode mode) override {
        ran = reportName(form);
        if (!run) return;
        form.OnStartPage = [this, start = form.OnStartPage](TQuickRep* r) {
            layouts += r->PageNumber() == 1;
            if (start) start(r);
        };
        TPrintDlg::RunForm(form, mode);
    }
};

struct PrintDialog : ::testing::Test {
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
    WMemCollection c;
    std::int32_t joe = 0, first = 0, second = 0, lone = 0;
    std::vector<std::string> messages, opened;
    std::vector<std::function<void()>> openFailed; // the opener's answers, given later
    void SetUp() override {
        joe = c.AddPerson("Joe /Roe/", 'M');
        first = c.AddPerson("Ann /Lee/", 'F').Birth("1900", "Rome");
        second = c.AddPerson("Bea /Kay/", 'F');
        c.AddFamily(joe, first);
        c.AddFamily(joe, second);
        lone = c.AddPerson("Lone /One/", 'F');
        plat::hooks().showMessage = [this](const std::string& s) { messages.push_back(s); };
        plat::hooks().shellOpen = [this](const std::string& s, std::function<void()> failed) {
            opened.push_back(s);
            openFailed.push_back(std::move(failed));
        };
    }
    void TearDown() override { plat::resetHooks(); }
};

TEST_F(PrintDialog, SpouseListsFollowPageAndIndividual) {
    TPrintDlg dlg;
    dlg.SelectPage(rpFamily);
    dlg.SetCollection(&c, joe, 2);
    EXPECT_EQ(dlg.Individual, joe);
    ASSERT_EQ(dlg.lbFamList->count(), 2);
    EXPECT_EQ(dlg.lbFamList->currentRow(), 1) << "FamilyIndex 2 preselects the second item";
    EXPECT_EQ(dlg.lbFamList->item(0)->text().toStdString(), "1: " + c.GetNameWithBirth(first));
    EXPECT_EQ(dlg.SpouseFamilies[2], 2);
    // The pedigree page fills its own list on a page change.
    EXPECT_EQ(dlg.lbPedList->count(), 0);
    dlg.SelectPage(rpPedigree);
    EXPECT_EQ(dlg.lbPedList->count(), 2);
    // An individual without spouse families empties the list.
    dlg.SetCollection(&c, lone, 0);
    EXPECT_EQ(dlg.lbPedList->count(), 0);
    EXPECT_EQ(dlg.SpouseFamilyCount, 0);
    dlg.SelectPage(rpIslands);
    EXPECT_EQ(dlg.PageControl->currentIndex(), 7);
    dlg.SelectPage(rpPageCount);
    EXPECT_EQ(dlg.PageControl->currentIndex(), 7);
}

TEST_F(PrintDialog, ChoiceFollowsTheControls) {
    TPrintDlg dlg;
    dlg.SelectPage(rpFamily);
    dlg.SetCollection(&c, joe, 2);
    dlg.SetFileName("Roe tree");
    EXPECT_EQ(dlg.Choice(rpFamily).Marriage, 2);
    dlg.lbFamList->setCurrentRow(0);
    const TReportChoice fam = dlg.Choice(rpFamily);
    EXPECT_EQ(fam.Marriage, 1);
    EXPECT_EQ(fam.Individual, joe);
    EXPECT_EQ(fam.FileName, "Roe tree");
    EXPECT_EQ(dlg.Choice(rpPedigree).Marriage, 0) << "its own list is still empty";
    dlg.rbCascading->click();
    EXPECT_TRUE(dlg.Choice(rpPedigree).Cascading);
    // Each list page reads its own check boxes.
    dlg.cbListGrayLines->setChecked(true);
    dlg.cbHLGrayLines->setChecked(false);
    dlg.cbIslandDividerLines->setChecked(true);
    dlg.cbListDividerLines->setChecked(false);
    EXPECT_TRUE(dlg.Choice(rpList).Grey);
    EXPECT_FALSE(dlg.Choice(rpHighlighted).Grey);
    EXPECT_TRUE(dlg.Choice(rpIslands).Dividers);
    EXPECT_FALSE(dlg.Choice(rpList).Dividers);
    dlg.DesGenSpinEdit->setValue(7);
    EXPECT_EQ(dlg.Choice(rpDescendants).Generations, 7);
}

TEST_F(PrintDialog, SettingsLoadedAndWrittenBack) {
    WOptions::SetBool(opt::Ped_Single, false);
    WOptions::SetBool(opt::List_Grey, true);
    WOptions::SetInt(opt::DesColW, 54);
    WOptions::SetBool(opt::Island_Divider, false);
    {
        TPrintDlg dlg;
        EXPECT_TRUE(dlg.rbCascading->isChecked());
        EXPECT_TRUE(dlg.cbListGrayLines->isChecked());
        EXPECT_EQ(dlg.DesTrackBar->value(), 54);
        dlg.rbSingle->setChecked(true);
        dlg.cbIslandDividerLines->setChecked(true);
        dlg.DesTrackBar->setValue(18);
        EXPECT_EQ(WOptions::GetInt(opt::DesColW), 18) << "written on change";
        dlg.cbIndPrintNotes->click();
        EXPECT_EQ(WOptions::GetBool(opt::IndNotes), dlg.cbIndPrintNotes->isChecked());
    }
    EXPECT_TRUE(WOptions::GetBool(opt::Ped_Single));
    EXPECT_TRUE(WOptions::GetBool(opt::Island_Divider));
    EXPECT_EQ(TPrintDlg::ColumnAreaWidthText(18), "6.38\"");
    EXPECT_EQ(TPrintDlg::ColumnAreaWidthText(54), "2.13\"");
    EXPECT_EQ(TPrintDlg::ColumnAreaWidthText(36), "4.25\"");
}

TEST_F(PrintDialog, EachReportOpensItsPageWithItsCaptionReportAndFileName) {
    WOptions::SetBool(opt::PreSuf, true);
    c.Person(joe).Prefix("Dr.");
    TestDlg dlg;
    dlg.run = false;
    dlg.SetCollection(&c, joe, 0);
    dlg.SetFileName("C:\\data\\Roe tree");
    const std::string joeName = "Joe Roe"; // without the prefix and slashes
    // In tab order.
    const struct {
        int report;
        const char* caption;
        std::string name;
    } pages[] = {{rpGeneral, "General", "Roe tree - General Info"},
                 {rpIndividual, "Individual", joeName + " - Individual"},
                 {rpFamily, "Family", joeName + " - Family"},
                 {rpPedigree, "Pedigree", joeName + " - Pedigree"},
                 {rpDescendants, "Descendants", joeName + " - Descendants"},
                 {rpList, "List", "Roe tree - List"},
                 {rpHighlighted, "Highlighted", "Roe tree - Highlight List"},
                 {rpIslands, "Islands", "Roe tree - Islands"}};
    ASSERT_EQ(dlg.PageControl->count(), int(std::size(pages)));
    for (int tab = 0; tab < dlg.PageControl->count(); ++tab) {
        SCOPED_TRACE(pages[tab].caption);
        EXPECT_EQ(dlg.PageControl->tabText(tab).toStdString(), pages[tab].caption);
        dlg.SelectPage(pages[tab].report);
        EXPECT_EQ(dlg.PageControl->currentIndex(), tab);
        dlg.ran.clear();
        dlg.butPreview->click();
        const auto expected = dlg.Reports.Build(dlg.Choice(pages[tab].report));
        ASSERT_NE(expected, nullptr);
        EXPECT_EQ(dlg.ran, reportName(*expected));
        EXPECT_EQ(dlg.MakeDefaultFileName(), pages[tab].name);
    }
    dlg.SelectPage(rpFamily);
    const std::string name = dlg.MakeDefaultFileName();
    EXPECT_EQ(name.find("Dr."), std::string::npos) << name;
    EXPECT_EQ(name.find('/'), std::string::npos) << name;
    EXPECT_NE(name.find("Joe"), std::string::npos);
    EXPECT_EQ(name.substr(name.size() - 9), " - Family");
    EXPECT_TRUE(WOptions::GetBool(opt::PreSuf)) << "restored";
}

TEST_F(PrintDialog, SaveRunsTheFilterAndOpensTheSavedFile) {
    // Only the fake filter answers for "jpg" here.
    const TPsQRVisibleFilters visible = PsQRExportSettings().VisibleFilters();
    PsQRExportSettings().SetVisibleFilters({});
    auto& lib = TQRExportFilterLibrary::Instance();
    lib.AddFilter([](const std::string& f) { return std::make_unique<FakeImageFilter>(f); }, "Fake JPEG", "jpg");
    WOptions::SetBool(opt::ViewSaved, true);
    auto owned = std::make_unique<TestDlg>();
    TestDlg& dlg = *owned;
    dlg.SetCollection(&c, joe, 1);
    dlg.SelectPage(rpIndividual);
    dlg.answer = "/tmp/out.jpg";
    dlg.row = 4; // JPEG
    dlg.butSaveToFile->click();
    EXPECT_EQ(dlg.ExportKind, TPrintDlg::ekJPEG);
    EXPECT_EQ(dlg.SavedFileName, "/tmp/out.jpg.page1");
    EXPECT_EQ(dlg.layouts, 1) << "laid out once, into the filter";
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], dlg.SavedFileName);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(dlg.isEnabled());

    // No filter installed for the kind: a message, nothing opened.
    messages.clear();
    opened.clear();
    dlg.row = 6; // EMF
    dlg.butSaveToFile->click();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(opened.empty());
    lib.RemoveFilter("Fake JPEG");

    // A page without a collection runs nothing.
    messages.clear();
    dlg.SetCollection(nullptr, 0, 0);
    dlg.SelectPage(rpFamily);
    dlg.row = 6;
    dlg.butSaveToFile->click();
    EXPECT_TRUE(messages.empty());
    // Cancelled question: nothing.
    dlg.answer.clear();
    dlg.butSaveToFile->click();
    EXPECT_TRUE(messages.empty());
    PsQRExportSettings().SetVisibleFilters(visible);
    // The opener's failure arrives after the dialog has gone: the message names the kind.
    owned.reset();
    ASSERT_EQ(openFailed.size(), 1u);
    openFailed[0]();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], TPrintDlg::NoViewerMessage(TPrintDlg::ekJPEG));
    EXPECT_NE(messages[0].find("\"JPEG\""), std::string::npos);
}

TEST_F(PrintDialog, FilterRowsMapToKinds) {
    EXPECT_EQ(TPrintDlg::ExportKindOfFilterRow(1), TPrintDlg::ekPDF);
    EXPECT_EQ(TPrintDlg::ExportKindOfFilterRow(2), TPrintDlg::ekHTML);
    EXPECT_EQ(TPrintDlg::ExportKindOfFilterRow(3), TPrintDlg::ekRTF);
    EXPECT_EQ(TPrintDlg::ExportKindOfFilterRow(5), TPrintDlg::ekBMP);
    EXPECT_EQ(TPrintDlg::ExportKindOfFilterRow(6), TPrintDlg::ekEMF);
    EXPECT_EQ(TPrintDlg::ExportKindOfFilterRow(9), TPrintDlg::ekPDF);
}

} // namespace
