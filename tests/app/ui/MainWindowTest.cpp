#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <sstream>
#include <sys/stat.h>

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "app/ColumnSetFile.h"
#include "app/navpanel/IndScroll.h"
#include "app/ui/IslandsView.h"
#include "app/ui/LogoAppForm.h"
#include "app/ui/LongTextMemo.h"
#include "app/ui/MainActions.h"
#include "app/ui/PedigreeView.h"
#include "app/ui/URLLabel.h"
#include "highlight/HLGroup.h"
#include "highlight/HLRegister.h"
#include "highlight/ui/HLGuiMan.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "model/ui/IndInfoPanel.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"
#include "support/SharedData.h"

namespace {

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
        EXPECT_EQ(readFile(gedFile), kFamily);
        // A mail client or browser started from the window inherits no handle to our files.
        int ours = 0;
        for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code ec;
            if (std::filesystem::read_symlink(e.path(), ec).string().rfind(tmp.dir(), 0) != 0) continue;
            ++ours;
            EXPECT_NE(fcntl(std::stoi(e.path().filename().string()), F_GETFD) & FD_CLOEXEC, 0) << e.path();
        }
        EXPECT_GE(ours, 1);
        EXPECT_EQ(tmp.qelFiles().size(), 1u); // the archive copy is gone already

        clickTab(form, "Individual");
        ASSERT_EQ(form.CurrentPage(), TLogoAppForm::pgIndividual);
        const auto& rows = individualRows(form);
        ASSERT_GE(rows.size(), 3u);
        EXPECT_EQ(rows[1].Type, "Name");
        EXPECT_EQ(rows[1].Info, "Tom /Smith/"); // NameSlash is on by default
        bool father = false;
        for (const auto& r : rows)
            if (r.Target == 1 && r.Info.find("John /Smith/") == 0) father = true;
        EXPECT_TRUE(father);
        if (const char* shot = std::getenv("BRENTHAUL_SCREENSHOT")) form.grab().save(shot);
        form.close();
    }
    EXPECT_TRUE(tmp.qelFiles().empty());

    // A start index that names nobody in the file starts on the first individual.
    for (const std::int32_t index :
         {0, -1, std::numeric_limits<std::int32_t>::min(), 4, std::numeric_limits<std::int32_t>::max()}) {
        SCOPED_TRACE(index);
        t.StartIndex = index;
        TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
        ASSERT_TRUE(start(form));
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), 1);
        clickTab(form, "Individual");
        ASSERT_GE(individualRows(form).size(), 2u);
        EXPECT_EQ(individualRows(form)[1].Info, "John /Smith/");
        form.close();
    }
}

// A field of the Sender page as it reads on screen (empty when hidden).
QString senderField(const QWidget& form, const char* name) {
    if (auto* m = form.findChild<QPlainTextEdit*>(name)) return m->toPlainText();
    auto* l = form.findChild<QLabel*>(name);
    return !l ? "(no such field)" : l->isHidden() ? QString() : l->text();
}

QString senderLink(const QWidget& form, const char* name) {
    auto* l = form.findChild<TURLLabel*>(name);
    return l ? toQ(l->TargetLink()) : "(no such link)";
}

QPushButton* extractButton(const QWidget& form) {
    for (auto* b : form.findChildren<QPushButton*>())
        if (b->text() == "Extract GEDCOM") return b;
    return nullptr;
}

TEST_F(MainWindowTest, SenderPageShowsFullWidthFieldsAndLineBreaks) {
    TSelfViewTrailer t;
    t.Title = std::string(40, 'T'); // wider than its field
    t.SenderName = std::string(64, 'N');
    t.SenderEmail = "a@b.org";
    t.Address1 = "Stra\xDF"
                 "e 1";
    t.Message = "Line one\r\nLine two";
    t.AllowExtract = 0;
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    EXPECT_EQ(senderField(form, "labSendTitle"), QString(32, 'T'));
    EXPECT_EQ(senderField(form, "labSendName"), QString(64, 'N'));
    EXPECT_EQ(senderField(form, "labSendAddr1"), QString::fromUtf8("Stra\xC3\x9F"
                                                                   "e 1"));
    EXPECT_EQ(senderField(form, "memoSendMsg"), "Line one\nLine two");
    EXPECT_TRUE(senderField(form, "urlSenderWebSite").isEmpty());
    ASSERT_NE(extractButton(form), nullptr);
    EXPECT_FALSE(extractButton(form)->isVisible());
    EXPECT_TRUE(senderLink(form, "labSendEmail").startsWith("mailto:a@b.org?subject=TTTT"));
}

TEST_F(MainWindowTest, SenderPageShowsTheSendersMarkupAsText) {
    const std::string markup = "<b>&amp;<img src=x><a href=y>"; // fits the narrowest field
    TSelfViewTrailer t;
    t.Title = t.SenderName = t.SenderEmail = t.Address1 = t.Address2 = t.Phone = t.FileName = markup;
    t.WebSite = "\nmailto:" + markup + "?attach=/etc/passwd";
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    for (const char* name : {"labSendTitle", "labSendName", "labSendEmail", "labSendAddr1", "labSendAddr2",
                             "labSendPhone", "labSendFileName", "urlSenderWebSite"}) {
        auto* l = form.findChild<QLabel*>(name);
        ASSERT_NE(l, nullptr) << name;
        EXPECT_TRUE(l->text().contains(toQ(markup))) << name;
        EXPECT_EQ(l->textFormat(), Qt::PlainText) << name;
    }
    // Whatever stands before it, the web site's mail link adds nothing of the sender's.
    EXPECT_TRUE(senderLink(form, "urlSenderWebSite").startsWith("mailto:%3Cb%3E"));
    EXPECT_FALSE(senderLink(form, "urlSenderWebSite").contains('?'));
}

TEST_F(MainWindowTest, ExtractProposesAPlainNameAndCopiesTheUnpackedFile) {
    TSelfViewTrailer t;
    t.AllowExtract = 1;
    t.FileName = ".bash_aliases";
    t.WebSite = "www.example.org";
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    EXPECT_EQ(senderLink(form, "urlSenderWebSite"), "http://www.example.org");
    QPushButton* extract = extractButton(form);
    ASSERT_NE(extract, nullptr);
    ASSERT_TRUE(extract->isVisible());
    // A folder named in UTF-8, as the desktop names it, with letters the code page has and lacks.
    const std::string folder = tmp.dir() + "/T\xC3\xA9l\xC3\xA9"
                                           "chargements \xE2\x82\xAC\xE4\xB8\xAD";
    ASSERT_EQ(::mkdir(folder.c_str(), 0700), 0);
    const std::string target = folder + "/copy.ged";
    QString proposed;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            proposed = QFileInfo(dlg->selectedFiles().value(0)).fileName();
            auto* name = dlg->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromUtf8(target.c_str()));
            QMetaObject::invokeMethod(dlg, "accept");
        }
    });
    poll.start(10);
    QTest::mouseClick(extract, Qt::LeftButton);
    EXPECT_EQ(proposed, "bash_aliases.ged");
    EXPECT_EQ(readFile(target), kFamily);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "\"" + target + "\" has been extracted."); // as the system spells it
}

TEST_F(MainWindowTest, DamagedArchiveSaysTheProgramClosesAndLeavesNothing) {
    // A wrong block checksum, and a damaged coded stream in the first block.
    struct Damage {
        int offset, length;
        const char* first; // the message before the closing one
    };
    const Damage damages[] = {{3000 + 8, 4, "CRC does not match!"}, {3000 + 40, 6, nullptr}};
    for (const auto& [offset, length, first] : damages) {
        SCOPED_TRACE(offset);
        messages.clear();
        std::string path = makeProgram(tmp.dir(), kFamily, {});
        {
            std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
            f.seekp(offset);
            f.write("\xFF\x00\xFF\x00\xFF\x00", length);
        }
        TLogoAppForm form(path);
        EXPECT_TRUE(senderField(form, "labSendEmail").isEmpty()); // no placeholder before the trailer is read
        EXPECT_FALSE(start(form));
        ASSERT_FALSE(messages.empty());
        if (first) {
            EXPECT_EQ(messages.front(), first);
        }
        EXPECT_NE(messages.back().find("is damaged.  The program will now close."), std::string::npos)
            << messages.back();
        EXPECT_EQ(form.Collection(), nullptr);
        EXPECT_TRUE(tmp.qelFiles().empty());
    }
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

    form.close();

    // Short fields leave the page narrow: from the first-start size down to
    // the smallest window the message box yields and nothing overlaps, also
    // when the welcome box has shown the window before the sender is read.
    t.Title = t.SenderName = t.Address1 = t.Phone = t.FileName = "Ann";
    t.SenderEmail = t.Address2 = t.WebSite = "";
    t.Message = "Dear cousins,\r\nhere is the family.";
    WOptions::SetBool(opt::DispInitHelp, true);
    int helpBoxes = 0;
    QTimer closeHelp;
    QObject::connect(&closeHelp, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        // Closed once the window behind it is laid out, as a reader's is.
        for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
        ++helpBoxes;
        d->reject();
    });
    closeHelp.start(20);
    TLogoAppForm small(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(small));
    EXPECT_EQ(helpBoxes, 1);
    small.showNormal();
    memo = small.findChild<QPlainTextEdit*>("memoSendMsg");
    label = nullptr;
    for (auto* l : small.findChildren<QLabel*>())
        if (l->text().startsWith("The sender of this gedcom")) label = l;
    QPushButton* extract = extractButton(small);
    ASSERT_TRUE(memo && label && extract);
    const QWidget* box = memo->parentWidget();
    for (const QSize size : {QSize(1050, 672), QSize(1050, 620), QSize(1050, 600), QSize(800, 560), QSize(1, 1)}) {
        small.resize(size); // the window keeps its own minimum
        QTest::qWait(50);
        SCOPED_TRACE(QString("%1x%2").arg(small.width()).arg(small.height()).toStdString());
        EXPECT_LT(memo->geometry().bottom(), std::min(label->geometry().top(), extract->geometry().top()));
        EXPECT_GE(label->height(), label->heightForWidth(label->width()));
        for (const QWidget* w : std::initializer_list<const QWidget*>{memo, label, extract})
            EXPECT_TRUE(box->contentsRect().contains(w->geometry())) << w->geometry().bottom();
        EXPECT_GE(memo->height(), 3 * memo->fontMetrics().lineSpacing());
    }
    EXPECT_EQ(small.size(), small.minimumSize());
}

// The widgets of a page show their text whole (a wrapping text box at least
// its longest word and a few lines), and laid-out siblings stay apart.
void expectReadable(const QWidget* page) {
    const auto kids = page->findChildren<QWidget*>();
    for (qsizetype i = 0; i < kids.size(); ++i) {
        const QWidget* w = kids[i];
        if (!w->isVisible()) continue;
        const QFontMetrics fm = w->fontMetrics();
        SCOPED_TRACE((w->metaObject()->className() + QString(" ") + w->objectName()).toStdString());
        if (auto* m = qobject_cast<const QPlainTextEdit*>(w)) {
            int word = 0;
            for (const QString& s : m->toPlainText().split(QRegularExpression("\\s+")))
                word = std::max(word, fm.horizontalAdvance(s));
            EXPECT_GE(m->viewport()->width(), word + 2 * int(m->document()->documentMargin()));
            EXPECT_GE(m->viewport()->height(), 3 * fm.lineSpacing());
        } else if (auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty()) {
            if (l->wordWrap()) {
                EXPECT_GE(l->height(), l->heightForWidth(l->width())) << l->text().toStdString();
            } else {
                const QSize text = fm.size(0, l->text());
                EXPECT_GE(l->contentsRect().width(), text.width()) << l->text().toStdString();
                EXPECT_GE(l->contentsRect().height(), text.height()) << l->text().toStdString();
            }
        } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QComboBox*>(w)) {
            EXPECT_GE(w->width(), w->minimumSizeHint().width());
        } else if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
            EXPECT_GE(b->width(), fm.horizontalAdvance(QString(b->text()).remove('&'))) << b->text().toStdString();
        } else if (auto* g = qobject_cast<const QGroupBox*>(w)) {
            EXPECT_GE(g->width(), fm.horizontalAdvance(g->title()));
        }
        if (!w->parentWidget()->layout()) continue;
        for (const QWidget* o : kids.mid(i + 1))
            if (o->parentWidget() == w->parentWidget() && o->isVisible()) {
                EXPECT_FALSE(w->geometry().intersects(o->geometry()))
                    << o->metaObject()->className() << " " << o->objectName().toStdString();
            }
    }
}

TEST_F(MainWindowTest, EveryViewAndPanelIsReadableAtTheOneMinimumSize) {
    BRENTHAUL_NEED_SHARED("royal92.ged");
    TSelfViewTrailer t;
    t.StartIndex = 57;
    t.AllowExtract = 1;
    t.Title = "The royal families";
    t.SenderName = "Ann";
    HLRegister::RegisterConditionClasses();
    TLogoAppForm form(makeProgram(tmp.dir(), readFile(tsupport::sharedFile("royal92.ged")), t));
    ASSERT_TRUE(start(form));
    form.showNormal();
    const QSize minimum = form.minimumSize();
    // Every tab, as it comes and with the Highlighting panel and the lines of
    // text of its conditions, at the smallest window.
    const QWidget* left = form.ConditionPanel()->parentWidget();
    WHLGuiColMan* conditions = form.ConditionPanel();
    // Their text wraps just past the width of one line.
    const char* const kinds[] = {"Has Age",        "Has Any Note",   "Has Any Source",
                                 "Has Birth Note", "Has Death Note", "Has Burial Note"};
    const QPlainTextEdit* text = nullptr;
    for (const bool panel : {false, true}) {
        for (int i = 0; i < form.Tabs()->count(); ++i) {
            form.Tabs()->setCurrentIndex(i);
            if (panel && !form.ConditionPanel()->isVisible()) form.Actions()->Action(ActionId::LeftHL)->trigger();
            for (int k = 0; panel && i == 0 && k < 6; ++k) {
                if (k > 0) QTest::mouseClick(conditions->butAdd, Qt::LeftButton);
                QComboBox* box = conditions->Row(k)->cbCondition;
                box->showPopup();
                box->view()->setCurrentIndex(box->model()->index(box->findText(kinds[k]), 0));
                QTest::keyClick(box->view(), Qt::Key_Return);
                ASSERT_EQ(box->currentText(), kinds[k]);
            }
            form.resize(1, 1);
            QTest::qWait(50);
            SCOPED_TRACE((form.Tabs()->tabText(i) + (panel ? " with the panel" : "")).toStdString());
            EXPECT_EQ(form.minimumSize(), minimum);
            EXPECT_EQ(form.size(), minimum);
            ASSERT_TRUE(form.ConditionPanel()->isVisible() || !panel);
            const QWidget* view = nullptr;
            for (auto* v : form.findChildren<TViewPage*>())
                if (v->isVisible()) view = v;
            ASSERT_NE(view, nullptr);
            EXPECT_GE(view->height(), view->minimumSizeHint().height());
            // The pedigree's boxes have their own test.
            if (!qobject_cast<const TPedigreeView*>(view)) expectReadable(view);
            if (left->isVisible()) expectReadable(left);
            if (!panel) continue;
            // The text above the views scrolls to its last line.
            for (auto* m : form.findChildren<QPlainTextEdit*>())
                if (m->isVisible() && !view->isAncestorOf(m) && m->toPlainText() == form.HighlightText()) text = m;
            ASSERT_NE(text, nullptr);
            ASSERT_GE(text->document()->lineCount(), 2);
            // Whole lines, at least one, and no bar sideways over them.
            EXPECT_FALSE(text->horizontalScrollBar()->isVisible());
            const int line = int(text->document()->firstBlock().layout()->lineAt(0).height());
            const int lines = text->viewport()->height() - 2 * int(text->document()->documentMargin());
            EXPECT_GE(lines / line, 1);
            EXPECT_LE(lines % line, 1);
            text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
            QTextCursor end(text->document());
            end.movePosition(QTextCursor::End);
            EXPECT_TRUE(text->viewport()->rect().contains(text->cursorRect(end)));
        }
    }
    // With room, the text shows whole without scrolling.
    form.resize(1050, 672);
    QTest::qWait(50);
    EXPECT_EQ(text->verticalScrollBar()->maximum(), 0);
    EXPECT_FALSE(text->verticalScrollBar()->isVisible());
    EXPECT_FALSE(text->horizontalScrollBar()->isVisible());
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
    clickTab(form, "Individual");
    ASSERT_FALSE(individualRows(form).empty());
    ASSERT_EQ(individualRows(form)[0].Notes.size(), note.size());
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

TEST_F(MainWindowTest, PedigreeBoxesStayApartAtEverySize) {
    BRENTHAUL_NEED_SHARED("royal92.ged");
    TSelfViewTrailer t;
    t.StartIndex = 57; // Philip: a full tree, and a spouse with a long name and parents
    TLogoAppForm form(makeProgram(tmp.dir(), readFile(tsupport::sharedFile("royal92.ged")), t));
    ASSERT_TRUE(start(form));
    form.showNormal();
    clickTab(form, "Pedigree");
    const auto* v = form.findChild<TPedigreeView*>();
    ASSERT_NE(v->Box(7)->IndividualNumber, 0);
    ASSERT_NE(v->Box(31)->IndividualNumber, 0);
    // From the first-start size down to the least the window allows (1 x 1
    // is held at that): below the size the boxes need, the area scrolls.
    for (const QSize size : {QSize(1050, 672), QSize(1050, 630), QSize(1050, 600), QSize(800, 560), QSize(1, 1)}) {
        form.resize(size);
        QTest::qWait(50);
        SCOPED_TRACE(std::to_string(form.width()) + "x" + std::to_string(form.height()));
        ASSERT_TRUE(v->SpousePlus()->isVisible());
        std::vector<QWidget*> shown{v->SpousePanel(), v->SpousePlus()};
        for (int k = 1; k <= kPedBoxes; ++k) shown.push_back(v->Box(k));
        for (int i = 1; i <= 16; ++i)
            if (v->PlusButton(i)->isVisible()) shown.push_back(v->PlusButton(i));
        for (size_t a = 0; a < shown.size(); ++a) {
            EXPECT_TRUE(v->MainArea()->rect().contains(shown[a]->geometry())) << a;
            for (size_t b = a + 1; b < shown.size(); ++b)
                EXPECT_FALSE(shown[a]->geometry().intersects(shown[b]->geometry())) << a << " " << b;
        }
        // The spouse's name shows whole beside its marker.
        if (size.width() == 1050) {
            EXPECT_GE(v->SpousePanel()->width(), v->SpousePanel()->NameFitWidth());
        }
    }
}

TEST_F(MainWindowTest, EveryRealFileStartsAndLeavesNoTempFile) {
    BRENTHAUL_NEED_SHARED("");
    const QDir data(BRENTHAUL_SHARED_DATA);
    const QStringList files = data.entryList({"*.ged", "*.GED"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        messages.clear();
        TSelfViewTrailer t;
        t.StartIndex = 2;
        t.FileName = name.toStdString();
        const std::string text = readFile(data.filePath(name).toStdString());
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
                clickTab(form, "Individual");
                EXPECT_EQ(individualRows(form).empty(), !people);
            }
            form.close();
        }
        EXPECT_TRUE(tmp.qelFiles().empty());
    }
}

} // namespace
