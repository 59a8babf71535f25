#include "support/MemCollection.h"  // before Qt: its headers use names Qt defines as macros

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/ColumnSetFile.h"
#include "app/SelfViewTrailer.h"
#include "app/ui/IndScroll.h"
#include "app/ui/IslandsView.h"
#include "app/ui/LogoAppForm.h"
#include "app/ui/LongTextMemo.h"
#include "highlight/HLGroup.h"
#include "highlight/HLRegister.h"
#include "highlight/ui/HLGuiMan.h"
#include "model/ABSCollection.h"
#include "model/Ini2.h"
#include "model/Options.h"
#include "payload/Compressor.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"
#include "support/ScopedTempDir.h"

namespace {

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A self-viewing program: some program image, the archive, the trailer.
std::string makeProgram(const std::string& dir, const std::string& gedcom, TSelfViewTrailer t) {
    const std::string image(3000, '\x7F');
    std::uint32_t blocks = 0;
    const auto archive = payload::compressArchive(gedcom, blocks, 4096);
    t.ArchiveOffset = std::uint32_t(image.size());
    t.BlockCount = blocks;
    const auto trailer = serializeTrailer(t);
    const std::string path = dir + "/family-viewer";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << image;
    out.write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
    out.write(reinterpret_cast<const char*>(trailer.data()), std::streamsize(trailer.size()));
    return path;
}

const char* const kFamily =
    "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME John /Smith/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 1 JAN 1900\r\n"
    "2 PLAC Boston\r\n1 FAMS @F1@\r\n0 @I2@ INDI\r\n1 NAME Mary /Jones/\r\n1 SEX F\r\n1 FAMS @F1@\r\n"
    "0 @I3@ INDI\r\n1 NAME Tom /Smith/\r\n1 SEX M\r\n1 BIRT\r\n2 DATE 5 MAY 1930\r\n1 FAMC @F1@\r\n"
    "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n1 CHIL @I3@\r\n1 MARR\r\n2 DATE 1925\r\n0 TRLR\r\n";

struct MainWindowTest : ::testing::Test {
    ScopedTempDir tmp;
    std::vector<std::string> messages;
    void SetUp() override {
        WOptions::Clear();
        // The column-set file goes to the configuration folder: keep it in
        // the test's own folder, never the user's.
        setenv("XDG_CONFIG_HOME", tmp.dir().c_str(), 1);
        ini::CloseIni();
        ini2::Open(tmp.dir() + "/zelt.ini");
        WOptions::Load(0);
        // Quick help would stop each test at a modal dialog.
        WOptions::SetBool(opt::DispInitHelp, false);
        plat::hooks().showMessage = [this](const std::string& t) { messages.push_back(t); };
        plat::hooks().messageBox = [this](const std::string& t, const std::string&, unsigned) {
            messages.push_back(t);
            return int(plat::IDOK);
        };
    }
    void TearDown() override {
        plat::resetHooks();
        WOptions::Clear();
        ini2::Close();
        ini::CloseIni();
        unsetenv("XDG_CONFIG_HOME");
    }
    std::vector<std::string> qelFiles() const {
        std::vector<std::string> out;
        for (const auto& f : tmp.files())
            if (f.rfind("qel", 0) == 0) out.push_back(f);
        return out;
    }
    // Shows the window and waits for its start-up to finish.
    static bool start(TLogoAppForm& form) {
        bool done = false, ok = false;
        QObject::connect(&form, &TLogoAppForm::startupFinished, [&](bool r) {
            done = true;
            ok = r;
        });
        form.show();
        QElapsedTimer t;
        t.start();
        while (!done && t.elapsed() < 20000) QTest::qWait(10);
        return done && ok;
    }
};

TEST_F(MainWindowTest, StartsOnTheTrailersIndividualAndCleansUp) {
    TSelfViewTrailer t;
    t.StartIndex = 3;
    t.Title = "Smiths";
    std::string gedFile;
    {
        TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
        ASSERT_TRUE(start(form));
        EXPECT_TRUE(messages.empty());
        ASSERT_NE(form.Collection(), nullptr);
        EXPECT_EQ(form.Collection()->GetIndividualCount(), 3);
        EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), 3);
        EXPECT_EQ(form.StatusText(1), "I: 3");
        EXPECT_EQ(form.StatusText(2), "F: 1");
        EXPECT_EQ(form.windowTitle(), "Quorvane Brenthaul Self-Viewing GEDCOM 1.19 - Smiths");
        EXPECT_NE(form.LoadTime().find(" seconds"), std::string::npos);
        gedFile = form.TempGEDFile();
        EXPECT_EQ(slurp(gedFile), kFamily);
        // A mail client or browser started from the window inherits no handle to our files.
        int ours = 0;
        for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code ec;
            if (std::filesystem::read_symlink(e.path(), ec).string().rfind(tmp.dir(), 0) != 0) continue;
            ++ours;
            EXPECT_NE(fcntl(std::stoi(e.path().filename().string()), F_GETFD) & FD_CLOEXEC, 0) << e.path();
        }
        EXPECT_GE(ours, 1);
        EXPECT_EQ(qelFiles().size(), 1u);   // the archive copy is gone already

        form.SelectTab(2);   // Individual
        ASSERT_EQ(form.CurrentPage(), TLogoAppForm::pgIndividual);
        const auto& rows = form.IndividualRows();
        ASSERT_GE(rows.size(), 3u);
        EXPECT_EQ(rows[1].Type, "Name");
        EXPECT_EQ(rows[1].Info, "Tom /Smith/");  // NameSlash is on by default
        bool father = false;
        for (const auto& r : rows)
            if (r.Target == 1 && r.Info.find("John /Smith/") == 0) father = true;
        EXPECT_TRUE(father);
        if (const char* shot = std::getenv("BRENTHAUL_SCREENSHOT")) form.grab().save(shot);
        form.close();
    }
    EXPECT_TRUE(qelFiles().empty());
}

TEST_F(MainWindowTest, ConditionsColourTheIndividualRowsAndDescribeThemselves) {
    HLRegister::RegisterConditionClasses();
    TSelfViewTrailer t;
    t.StartIndex = 3;
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    form.SelectTab(2);
    ASSERT_GE(form.IndividualRows().size(), 2u);
    EXPECT_EQ(form.IndividualRows()[1].Back, plat::kWhite);
    EXPECT_TRUE(form.HighlightText().isEmpty());

    form.ConditionPanel()->SetHLStrings("+17:M");
    Q_EMIT form.ConditionPanel()->OnChange();
    ASSERT_NE(form.Highlighter(), nullptr);
    EXPECT_TRUE(form.HighlightText().startsWith("Highlight Individuals: ")) << form.HighlightText().toStdString();
    // Tom (the current individual) is male: his name row takes the highlight colours.
    const auto& rows = form.IndividualRows();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1].Back, plat::ColorRef(WOptions::GetInt(opt::HLCol)));
    for (const auto& r : rows) {
        if (r.Target == 2) {
            EXPECT_EQ(r.Back, plat::kWhite);   // Mary is not
        }
    }
}

TEST_F(MainWindowTest, CopiesTheShownViewAsText) {
    std::string clip;
    plat::hooks().setClipboardText = [&](const std::string& t) { clip = t; };
    TSelfViewTrailer t;
    t.StartIndex = 3;
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    form.SelectTab(0);   // Sender: nothing to copy
    form.CopyViewToClipboard();
    EXPECT_TRUE(clip.empty());
    form.SelectTab(2);   // Individual
    form.CopyViewToClipboard();
    EXPECT_NE(clip.find("Tom /Smith/"), std::string::npos) << clip;
    EXPECT_NE(clip.find("\r\n"), std::string::npos);
    EXPECT_NE(clip.find("Male"), std::string::npos);
    // The setting turned off for the copy is back.
    EXPECT_TRUE(WOptions::GetBool(opt::TMGTagSent));
}

TEST_F(MainWindowTest, UseIslandsRestrictsTheViewsAndClearingShowsAllAgain) {
    const std::string family = std::string(kFamily).substr(0, std::string(kFamily).size() - 8) +
                               "0 @I9@ INDI\r\n1 NAME Lone /Wolf/\r\n0 TRLR\r\n";
    TSelfViewTrailer t;
    TLogoAppForm form(makeProgram(tmp.dir(), family, t));
    ASSERT_TRUE(start(form));
    WABSCollection* col = form.Collection();
    ASSERT_NE(col, nullptr);
    ASSERT_EQ(col->GetCount(), 4);
    ASSERT_TRUE(col->ComputeIslands());
    ASSERT_EQ(col->GetIslandCount(), 2);
    form.ShowLeftPanel(true, 1);
    TLeftIslandsPanel* panel = form.LeftIslands();
    panel->UseIslandsBox()->setChecked(true);
    panel->SelectRow(2);   // the smaller island: the lone individual
    EXPECT_EQ(col->GetCount(), 1);
    EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), 4);
    EXPECT_EQ(panel->UseIslandsBox()->text(), "Use Island (2)");
    panel->UseIslandsBox()->setChecked(false);
    panel->UseIslandsClick(false);
    EXPECT_EQ(col->GetCount(), 4);
    EXPECT_EQ(panel->UseIslandsBox()->text(), "Use Islands");
}

TEST_F(MainWindowTest, SenderPageShowsFullWidthFieldsAndLineBreaks) {
    TSelfViewTrailer t;
    t.Title = std::string(40, 'T');              // wider than its field
    t.SenderName = std::string(64, 'N');
    t.SenderEmail = "a@b.org";
    t.Address1 = "Stra\xDF" "e 1";
    t.Message = "Line one\r\nLine two";
    t.AllowExtract = 0;
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    EXPECT_EQ(form.SenderText("Title"), QString(32, 'T'));
    EXPECT_EQ(form.SenderText("Name"), QString(64, 'N'));
    EXPECT_EQ(form.SenderText("Addr1"), QString::fromUtf8("Stra\xC3\x9F" "e 1"));
    EXPECT_EQ(form.SenderText("Message"), "Line one\nLine two");
    EXPECT_TRUE(form.SenderText("Web").isEmpty());
    EXPECT_FALSE(form.ExtractVisible());
    EXPECT_TRUE(form.SenderText("EmailLink").startsWith("mailto:a@b.org?subject=TTTT"));
}

TEST_F(MainWindowTest, ExtractCopiesTheUnpackedFile) {
    TSelfViewTrailer t;
    t.AllowExtract = 1;
    t.FileName = "C:\\Users\\someone\\smith.ged";
    t.WebSite = "www.example.org";
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    EXPECT_TRUE(form.ExtractVisible());
    EXPECT_EQ(form.SenderText("WebLink"), "http://www.example.org");
    const std::string target = tmp.dir() + "/copy.ged";
    ASSERT_TRUE(form.ExtractTo(target));
    EXPECT_EQ(slurp(target), kFamily);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "\"" + target + "\" has been extracted.");
    std::remove(target.c_str());
}

TEST_F(MainWindowTest, ExtractProposesAPlainGedName) {
    TSelfViewTrailer t;
    t.AllowExtract = 1;
    t.FileName = ".bash_aliases";
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    QPushButton* extract = nullptr;
    for (auto* b : form.findChildren<QPushButton*>())
        if (b->text() == "Extract GEDCOM") extract = b;
    ASSERT_NE(extract, nullptr);
    QString proposed;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            proposed = QFileInfo(dlg->selectedFiles().value(0)).fileName();
            dlg->reject();
        }
    });
    poll.start(10);
    QTest::mouseClick(extract, Qt::LeftButton);
    EXPECT_EQ(proposed, "bash_aliases.ged");
}

TEST_F(MainWindowTest, ExtractLabelKeepsItsRoomBesideFullWidthFields) {
    TSelfViewTrailer t;
    t.AllowExtract = 1;
    t.Title = std::string(32, 'W');
    t.SenderName = t.SenderEmail = t.Address1 = t.Address2 = t.WebSite = t.FileName = std::string(64, 'W');
    t.Phone = std::string(32, 'W');
    t.Message = std::string(1024, 'W');
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    form.resize(1000, 700);
    QTest::qWait(50);
    QLabel* label = nullptr;
    for (auto* l : form.findChildren<QLabel*>())
        if (l->text().startsWith("The sender of this gedcom")) label = l;
    ASSERT_NE(label, nullptr);
    QPlainTextEdit* memo = nullptr;
    for (auto* m : form.findChildren<QPlainTextEdit*>())
        if (m->toPlainText() == QString(1024, 'W')) memo = m;
    ASSERT_NE(memo, nullptr);
    ASSERT_TRUE(label->isVisible());
    EXPECT_FALSE(label->geometry().intersects(memo->geometry()));
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_LE(label->heightForWidth(label->width()), 3 * label->fontMetrics().height());
}

TEST_F(MainWindowTest, LongNoteShowsItsBeginningAndTheRestOnDemand) {
    // One line of 50 MB: laying it out at once froze the window for minutes.
    std::string note;
    note.reserve(51u << 20);
    for (int i = 0; note.size() < (50u << 20); ++i) note += "w" + std::to_string(i);
    const std::string family =
        "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME Long /Note/\r\n1 NOTE " + note + "\r\n0 TRLR\r\n";
    TSelfViewTrailer t;
    t.StartIndex = 1;
    TLogoAppForm form(makeProgram(tmp.dir(), family, t));
    ASSERT_TRUE(start(form));
    form.SelectTab(2);
    ASSERT_FALSE(form.IndividualRows().empty());
    ASSERT_EQ(form.IndividualRows()[0].Notes.size(), note.size());
    TLongTextMemo* memo = nullptr;
    for (auto* m : form.findChildren<TLongTextMemo*>())
        if (auto* box = qobject_cast<QGroupBox*>(m->parentWidget()); box && box->title() == "Notes") memo = m;
    ASSERT_NE(memo, nullptr);
    const QString shown = memo->toPlainText();
    EXPECT_LE(shown.size(), 2 * TLongTextMemo::kPart);
    EXPECT_EQ(QString(shown).remove('\n'), toQ(note.substr(0, size_t(shown.size() - shown.count('\n')))));
    // The end of what is shown brings the next part.
    QTest::keyClick(memo, Qt::Key_End);
    EXPECT_GT(memo->toPlainText().size(), shown.size());
    EXPECT_GT(memo->PendingLength(), 0u);

    // The record-text page holds the same note.
    {
        // An idle loop: the actions follow the opened file.
        QEventLoop idle;
        QTimer::singleShot(20, &idle, &QEventLoop::quit);
        idle.exec();
    }
    QAction* raw = nullptr;
    for (auto* a : form.findChildren<QAction*>())
        if (a->toolTip() == "Show RAW GEDCOM data") raw = a;
    ASSERT_NE(raw, nullptr);
    raw->trigger();
    TLongTextMemo* record = nullptr;
    for (auto* m : form.findChildren<TLongTextMemo*>())
        if (m->isVisible()) record = m;


    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(record->toPlainText().startsWith("0 @I1@ INDI"));
    EXPECT_LE(record->toPlainText().size(), 2 * TLongTextMemo::kPart);
    form.close();
}

TEST_F(MainWindowTest, DamagedArchiveEndsWithoutLeftovers) {
    TSelfViewTrailer t;
    std::string path = makeProgram(tmp.dir(), kFamily, t);
    {
        // Flip bytes inside the archive's first block.
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(3000 + 40);
        f.write("\xFF\x00\xFF\x00\xFF\x00", 6);
    }
    TLogoAppForm form(path);
    EXPECT_FALSE(start(form));
    EXPECT_FALSE(messages.empty());
    EXPECT_EQ(form.Collection(), nullptr);
    EXPECT_TRUE(qelFiles().empty());
}

TEST_F(MainWindowTest, EveryRealFileStartsAndLeavesNoTempFile) {
    const QDir data(BRENTHAUL_SHARED_DATA);
    if (!data.exists()) GTEST_SKIP() << "shared GEDCOM folder absent: " << BRENTHAUL_SHARED_DATA;
    const QStringList files = data.entryList({"*.ged", "*.GED"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        messages.clear();
        TSelfViewTrailer t;
        t.StartIndex = 2;
        t.FileName = name.toStdString();
        const std::string text = slurp(data.filePath(name).toStdString());
        {
            TLogoAppForm form(makeProgram(tmp.dir(), text, t));
            ASSERT_TRUE(start(form));
            if (name == "utf16le.ged") {
                // Refused with the reader's message; the window stays empty.
                ASSERT_EQ(messages.size(), 1u);
                EXPECT_EQ(messages[0], "Error: Cannot read unicode GEDCOM file\rutf16le.ged");
                EXPECT_EQ(form.Collection(), nullptr);
            } else {
                ASSERT_NE(form.Collection(), nullptr);
                EXPECT_TRUE(messages.empty());
                const bool people = form.Collection()->GetIndividualCount() >= 2;
                // utf8.ged holds only a submitter: nobody to show.
                EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), people ? 2 : 0);
                form.SelectTab(2);
                EXPECT_EQ(form.IndividualRows().empty(), !people);
            }
            form.close();
        }
        EXPECT_TRUE(qelFiles().empty());
    }
}

} // namespace
