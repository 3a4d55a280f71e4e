// The file viewer window: status, menus, find dialog, go-to-line, tab size,
// printing, strings view, drops and hex mode, wired to the viewer control.
#include "browse/finddlg.h"
#include "browse/frmview.h"
#include "components/fileviewer.h"
#include "components/statusheader.h"
#include "core/scriptedprompter.h"
#include "support/tempdrives.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using browse::TfrmView;
using Kind = core::ScriptedPrompter::Kind;
using ViewerKind = core::ScriptedPrompter::ViewerKind;

class ViewerWindowTest : public ::testing::Test {
protected:
    testing_support::TempDrives drives{"C"};
    core::ScriptedPrompter prompter;
    QTemporaryDir systemTemp;  // the system's temporary folder for the strings view
    QByteArray savedTmpDir = qgetenv("TMPDIR");
    browse::TFindDlg findDlg;

    void SetUp() override
    {
        core::setPrompter(&prompter);
        qputenv("TMPDIR", QFile::encodeName(systemTemp.path()));
        browse::FindDlg = &findDlg;
    }
    void TearDown() override
    {
        browse::FindDlg = nullptr;
        core::setPrompter(nullptr);
        if (savedTmpDir.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", savedTmpDir);
    }

    void open(TfrmView& w, const QString& path)
    {
        w.FileToView = path;
        w.show();
    }
    // Lets the idle count run to its end.
    static void countWhenIdle(TfrmView& w)
    {
        for (int i = 0; i < 1000 && w.Viewer1->lineCount() < 0; ++i)
            QCoreApplication::processEvents();
    }
    static QString status(TfrmView& w, int section) { return w.Header1->sectionText(section); }
    static void answerFind(TfrmView& w, const QString& text, bool global, bool backward = false)
    {
        w.AskFind = [=](browse::TFindDlg& d) {
            d.Edit1->setText(text);
            d.cbGlobal->setChecked(global);
            (backward ? d.rbBackward : d.rbForward)->setChecked(true);
            return true;
        };
    }
    QStringList leftInTemp() const { return QDir(systemTemp.path()).entryList(QDir::Files | QDir::Hidden); }
    static void snapshot(QWidget& w, const QString& name)
    {
        const QString dir = qEnvironmentVariable("TROVIK_SNAPSHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name + ".png")));
        }
    }
};

TEST_F(ViewerWindowTest, ShowsTheFileWithItsStatusAndCountsWhenIdle)
{
    drives.writeFile('C', "three.txt", "alpha\nbeta\ngamma\n");
    TfrmView w;
    open(w, "C:\\three.txt");
    EXPECT_EQ(w.windowTitle(), "View File : C:\\three.txt");
    EXPECT_EQ(status(w, 1), "Total: ?");
    EXPECT_EQ(status(w, 0), "     1:1");
    EXPECT_EQ(status(w, 3), "Bytes: 17");
    countWhenIdle(w);
    EXPECT_EQ(status(w, 1), "Total: 3");
    EXPECT_EQ(status(w, 2), "Top:     1");
    EXPECT_TRUE(w.rbAscii->isChecked());
    EXPECT_TRUE(w.TabExpansion1->isChecked());
    EXPECT_TRUE(w.Find1->isEnabled());
    EXPECT_TRUE(w.GotoLine1->isEnabled());
    EXPECT_FALSE(w.FindNext1->isEnabled());  // no search text yet
    EXPECT_FALSE(w.Copy1->isEnabled());
    EXPECT_FALSE(w.Print1->isEnabled());
    emit w.File1->aboutToShow();
    EXPECT_TRUE(w.Print1->isEnabled());

    w.Viewer1->select(1, 8);
    EXPECT_EQ(status(w, 0), "     2:3");
    EXPECT_TRUE(w.Copy1->isEnabled());
    w.Copy1->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "lpha\nbe");
}

TEST_F(ViewerWindowTest, GoToLineAndTabSizeTakeWholeNumbersInRange)
{
    drives.writeFile('C', "three.txt", "a\tb\nline two\nline three");
    TfrmView w;
    open(w, "C:\\three.txt");
    struct Row {
        QString answer;
        qint64 line;  // caret line afterwards, from 1
    };
    for (const Row& r : QList<Row>{{"2", 2}, {"7", 3}, {"x", 3}, {"0", 1}, {" 3 ", 3}}) {
        prompter.queue(r.answer);
        w.GotoLine1->trigger();
        EXPECT_EQ(w.Viewer1->caretLine(), r.line - 1) << r.answer.toStdString();
        EXPECT_EQ(w.Viewer1->caretColumn(), 0);
    }
    EXPECT_EQ(prompter.texts(Kind::Input).first(), "Enter line number (1 to 3)");
    EXPECT_EQ(prompter.records().first().caption, "Go to line number");

    struct TabRow {
        QString answer;
        int size;
    };
    for (const TabRow& r : QList<TabRow>{{"4", 4}, {"0", 4}, {"256", 4}, {"x", 4}, {"255", 255}, {"2", 2}}) {
        prompter.queue(r.answer);
        w.TabSize1->trigger();
        EXPECT_EQ(w.Viewer1->tabSize(), r.size) << r.answer.toStdString();
    }
    EXPECT_EQ(prompter.texts(Kind::Input).last(), "Enter tab size");
    EXPECT_EQ(prompter.records().last().caption, "Tab Size");
    EXPECT_EQ(w.Viewer1->document().lineText(w.Viewer1->document().lineFrom(0), {true, 2}), "a b");
}

TEST_F(ViewerWindowTest, FindThenFindNextFromTheCaretAndTheDialogKeepsItsText)
{
    drives.writeFile('C', "two.txt", "one two\nthree two\nfour two\n");
    {
        TfrmView w;
        open(w, "C:\\two.txt");
        countWhenIdle(w);
        w.Viewer1->goToLine(1);
        answerFind(w, "TWO", true);
        w.Find1->trigger();  // global: from the top
        EXPECT_EQ(w.Viewer1->caretLine(), 0);
        EXPECT_EQ(w.Viewer1->selectionStart(), 4);
        EXPECT_TRUE(w.FindNext1->isEnabled());
        w.FindNext1->trigger();  // never global: on from the find
        EXPECT_EQ(w.Viewer1->caretLine(), 1);
        w.FindNext1->trigger();
        EXPECT_EQ(w.Viewer1->caretLine(), 2);
        w.FindNext1->trigger();
        EXPECT_EQ(prompter.texts(Kind::Info), QStringList{"Search string 'TWO' not found"});
        answerFind(w, "two", false, true);
        w.Find1->trigger();
        EXPECT_EQ(w.Viewer1->caretLine(), 1);
        findDlg.Edit1->clear();
        emit w.Search1->aboutToShow();
        EXPECT_FALSE(w.FindNext1->isEnabled());
        findDlg.Edit1->setText("four");
    }
    EXPECT_TRUE(findDlg.backward());  // the options stay too
    findDlg.rbForward->setChecked(true);
    TfrmView again;
    open(again, "C:\\two.txt");
    EXPECT_TRUE(again.FindNext1->isEnabled());
    again.FindNext1->trigger();
    EXPECT_EQ(again.Viewer1->selectionStart(), 18);
}

TEST_F(ViewerWindowTest, PrintsTheSelectionAsShownOrEverything)
{
    QByteArray text;
    for (int i = 1; i <= 14; ++i)
        text += QStringLiteral("row%1 text\n").arg(i, 2, 10, QLatin1Char('0')).toLatin1();
    drives.writeFile('C', "rows.txt", text);
    TfrmView w;
    open(w, "C:\\rows.txt");
    countWhenIdle(w);
    comp::ViewerDocument& doc = w.Viewer1->document();
    w.Viewer1->select(*doc.lineStartOf(9) + 4, *doc.lineStartOf(11) + 2);
    QStringList printed;
    ASSERT_TRUE(w.Viewer1->printLines(true, [&](const QString& l) {
        printed << l;
        return true;
    }));
    EXPECT_EQ(printed, (QStringList{"    0 text", "row11 text", "ro"}));

    if (QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    core::PrintChoice choice;
    choice.target.pdfFile = "C:\\out.pdf";
    choice.selectionOnly = true;
    prompter.queuePrintChoice(choice);
    w.Print1->trigger();
    w.Viewer1->setCaretOffset(0);
    choice.selectionOnly = false;
    choice.target.pdfFile = "C:\\all.pdf";
    prompter.queuePrintChoice(choice);
    w.btPrint->click();
    EXPECT_EQ(prompter.viewerTexts(ViewerKind::PrintRange), (QStringList{"selection", "all"}));
    const auto pdfText = [&](const QString& name) {
        QProcess p;
        p.start("pdftotext", {"-layout", drives.posix('C') + "/" + name, "-"});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString selection = pdfText("out.pdf");
    EXPECT_TRUE(selection.contains("0 text")) << selection.toStdString();
    EXPECT_TRUE(selection.contains("row11 text"));
    EXPECT_FALSE(selection.contains("row12"));
    const QString all = pdfText("all.pdf");
    EXPECT_TRUE(all.contains("row01 text") && all.contains("row14 text")) << all.toStdString();
    EXPECT_TRUE(prompter.texts(Kind::Error).isEmpty());
}

TEST_F(ViewerWindowTest, StringsViewReadsAPrivateTemporaryFileRemovedAfterwards)
{
    struct Row {
        QByteArray contents;
        QStringList runs;
    };
    const QList<Row> rows = {
        {QByteArray("ab\x01", 3).repeated(33) + "z", {}},
        {QByteArray("hello world\x01" "data12345\x02" "abc\x03", 26), {"hello world", "data12345"}},
    };
    for (const Row& r : rows) {
        drives.writeFile('C', "bin.dat", r.contents);
        TfrmView w;
        open(w, "C:\\bin.dat");
        QString shownFile;
        QStringList shown;
        bool choicesHidden = false;
        QFile::Permissions permissions;
        QTimer::singleShot(0, [&] {
            auto* strings = qobject_cast<TfrmView*>(QApplication::activeModalWidget());
            if (!strings)
                return;
            shownFile = strings->windowTitle().mid(QStringLiteral("View File : ").size());
            permissions = QFileInfo(shownFile).permissions();
            comp::ViewerDocument& doc = strings->Viewer1->document();
            for (qint64 s = 0; s < doc.size(); s = doc.lineFrom(s).next)
                shown << doc.lineText(doc.lineFrom(s), {});
            choicesHidden = strings->btStrings->isHidden() && strings->rbAscii->isHidden() && strings->rbHex->isHidden()
                && !strings->HexMode1->isVisible();
            strings->reject();
        });
        w.btStrings->click();
        EXPECT_TRUE(shownFile.startsWith(systemTemp.path() + "/str")) << shownFile.toStdString();
        EXPECT_EQ(shown, r.runs);
        EXPECT_TRUE(choicesHidden);
        EXPECT_EQ(permissions, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
        EXPECT_EQ(leftInTemp(), QStringList());
    }

    // An input that cannot be read: the error box, no window, nothing left.
    TfrmView w;
    open(w, "C:\\gone.dat");
    bool windowOpened = false;
    QTimer::singleShot(0, [&] {
        if (auto* strings = qobject_cast<TfrmView*>(QApplication::activeModalWidget())) {
            windowOpened = true;
            strings->reject();
        }
    });
    w.btStrings->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(windowOpened);
    EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Could not open file C:\\gone.dat"});
    EXPECT_EQ(leftInTemp(), QStringList());
}

TEST_F(ViewerWindowTest, AFileThatCannotBeOpenedSaysWhy)
{
    TfrmView w;
    open(w, "C:\\missing.txt");
    EXPECT_TRUE(status(w, 4).startsWith("Cannot open file: ")) << status(w, 4).toStdString();
    EXPECT_TRUE(status(w, 4).contains("No such file"));
    EXPECT_EQ(status(w, 1), "");
    EXPECT_EQ(status(w, 3), "");
    EXPECT_FALSE(w.Find1->isEnabled());
    EXPECT_FALSE(w.GotoLine1->isEnabled());
    EXPECT_FALSE(w.SelectAll1->isEnabled());
}

TEST_F(ViewerWindowTest, HexChoicesStayInStepAndDropsOpenLocalFilesOnly)
{
    drives.writeFile('C', "a.txt", "0123456789abcdefXYZ");
    drives.writeFile('C', "other file.txt", "other");
    TfrmView w;
    open(w, "C:\\a.txt");
    w.rbHex->click();
    EXPECT_TRUE(w.HexMode1->isChecked());
    EXPECT_TRUE(w.Viewer1->hexMode());
    EXPECT_EQ(status(w, 1), "Total: 2");
    snapshot(w, "viewer-hex");
    w.HexMode1->trigger();
    EXPECT_TRUE(w.rbAscii->isChecked());
    EXPECT_FALSE(w.Viewer1->hexMode());
    w.rbHex->click();
    w.rbAscii->click();
    EXPECT_FALSE(w.HexMode1->isChecked());

    EXPECT_FALSE(w.FilesDropped({QUrl("https://example.com/a.txt")}));
    EXPECT_EQ(w.FileToView, "C:\\a.txt");
    EXPECT_TRUE(w.FilesDropped(
        {QUrl::fromLocalFile(drives.posix('C') + "/other file.txt"), QUrl::fromLocalFile(drives.posix('C') + "/a.txt")}));
    EXPECT_EQ(w.FileToView, "C:\\other file.txt");
    EXPECT_EQ(w.windowTitle(), "View File : C:\\other file.txt");
    EXPECT_EQ(w.Viewer1->fileSize(), 5);
}

}  // namespace
