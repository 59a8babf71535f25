#pragma once
// The main window tests' common ground: a self-viewing program made from a
// GEDCOM text, settings in the test's own folder, and a started window.
#include "support/MemCollection.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTabBar>
#include <QTest>

#include <string>
#include <vector>

#include "app/ColumnSetFile.h"
#include "app/SelfViewTrailer.h"
#include "app/ui/IndividualView.h"
#include "app/ui/LogoAppForm.h"
#include "model/Ini2.h"
#include "model/Options.h"
#include "model/ui/WaitDlg.h"
#include "payload/Compressor.h"
#include "platform/Hooks.h"
#include "support/ScopedTempDir.h"
#include "support/TestFiles.h"

using tsupport::readFile;

// A self-viewing program: a program image (by default some bytes that only
// the window tests read, never run), the archive, the trailer.
inline std::string makeProgram(const std::string& dir, const std::string& gedcom, TSelfViewTrailer t,
                               std::uint32_t blockSize = 4096, const std::string& image = std::string(3000, '\x7F')) {
    std::uint32_t blocks = 0;
    const auto archive = payload::compressArchive(gedcom, blocks, blockSize);
    t.ArchiveOffset = std::uint32_t(image.size());
    t.BlockCount = blocks;
    const auto trailer = serializeTrailer(t);
    const std::string path = dir + "/family-viewer";
    tsupport::writeFile(path, image + std::string(archive.begin(), archive.end()) +
                                  std::string(trailer.begin(), trailer.end()));
    return path;
}

inline const char* const kFamily =
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
        // The wait dialog stays on top: no message may come while it is up.
        plat::hooks().showMessage = [this](const std::string& t) {
            EXPECT_EQ(TWaitDlg::Instance(), nullptr) << t;
            messages.push_back(t);
        };
        plat::hooks().messageBox = [this](const std::string& t, const std::string&, unsigned) {
            EXPECT_EQ(TWaitDlg::Instance(), nullptr) << t;
            messages.push_back(t);
            return int(plat::IDOK);
        };
    }
    void TearDown() override {
        plat::resetHooks();
        plat::setCancelRequested(false); // a cancelled open must not cancel the next test's
        WOptions::Clear();
        ini2::Close();
        ini::CloseIni();
        unsetenv("XDG_CONFIG_HOME");
    }
    // A tab of the tab bar, clicked.
    static void clickTab(TLogoAppForm& form, const QString& caption) {
        QTabBar* tabs = form.Tabs();
        for (int i = 0; i < tabs->count(); ++i)
            if (tabs->tabText(i) == caption) QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
    }
    // The rows the Individual view shows.
    static const std::vector<IndRow>& individualRows(TLogoAppForm& form) {
        return form.findChild<TIndividualView*>()->Rows();
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
