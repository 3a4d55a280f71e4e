// The file details window: what it shows for a file with and without
// version lines, a path that is gone, and its printed lines.
#include "browse/frmdetails.h"
#include "finders_testutil.h"
#include "../browse/pebuilder.h"
#include "support/localescope.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using browse::TfrmDetails;

namespace {

class DetailsWindowTest : public finders_test::WindowTest {
protected:
    testing_support::LocaleScope english{QLocale(QLocale::English, QLocale::UnitedStates)};

    static void snapshot(QWidget& w, const QString& name)
    {
        const QString dir = qEnvironmentVariable("TROVIK_SNAPSHOT_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(w.grab().save(QDir(dir).filePath(name + ".png")));
        }
    }
};

}  // namespace

TEST_F(DetailsWindowTest, ShowsTheFileAndItsVersionLines)
{
    const QString folder = "Program Files/Halvane Test Works/Fixture Library With A Long Name/bin/x86_64";
    petest::VersionSpec v;
    v.strings = petest::SampleStrings();
    QByteArray image = petest::PeImage({false, petest::VersionBlockBytes(v)});
#ifdef TROVIK_PE_FIXTURES
    // The library the MinGW tools made, where they are installed.
    QFile fixture(TROVIK_PE_FIXTURES "/fixture64.dll");
    ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
    image = fixture.readAll();
#endif
    drives.writeFile('C', folder + "/fixture.dll", image);
    drives.writeFile('C', "notes.txt", QByteArray(10000, 'n'));
    const QString dll = "C:\\" + QString(folder).replace('/', '\\') + "\\fixture.dll";

    TfrmDetails exe;
    exe.FileToShow = dll;
    exe.show();
    EXPECT_EQ(exe.windowTitle(), "File Details");
    EXPECT_EQ(exe.lblFileName->text(), dll);
    EXPECT_EQ(exe.lblFileType->text(), "Library");
    EXPECT_FALSE(exe.Memo1->isHidden());
    EXPECT_EQ(exe.Memo1->toPlainText().split('\n').size(), 11);
    EXPECT_EQ(exe.Memo1->toPlainText().split('\n').first(), "Company: \tHalvane Test Works");
    // No viewer in this program yet: "&View" waits for one.
    EXPECT_FALSE(exe.btView->isEnabled());
    snapshot(exe, "details-executable");

    TfrmDetails text;
    text.FileToShow = "C:\\notes.txt";
    text.show();
    EXPECT_EQ(text.lblSizeBytes->text(), "10,000 bytes");
    EXPECT_TRUE(text.Memo1->isHidden());
    // Without version lines the buttons move up and the window shrinks.
    EXPECT_LT(text.height(), exe.height());
    EXPECT_LT(text.btClose->y(), exe.btClose->y());
    snapshot(text, "details-text");

    // Print: the window's lines under the title, into a PDF.
    const QString pdf = "C:\\details.pdf";
    prompter.queue(core::PrintTarget{QString(), pdf});
    text.btPrint->click();
    ASSERT_EQ(text.lb->count(), 12);
    EXPECT_EQ(text.lb->item(3)->text(), "Size of file : \t10,000 bytes");
    EXPECT_EQ(text.lb->item(7)->text(), "Modification date : \t" + text.lblModify->text());
    EXPECT_TRUE(QFileInfo(drives.posix(pdf)).size() > 0);
}

TEST_F(DetailsWindowTest, APathThatIsGoneFillsNothingIn)
{
    TfrmDetails w;
    w.FileToShow = "C:\\gone.txt";
    w.show();
    EXPECT_TRUE(w.lblFileName->text().isEmpty());
    EXPECT_TRUE(w.lblSizeBytes->text().isEmpty());
    EXPECT_TRUE(w.lblAccess->text().isEmpty());
    EXPECT_TRUE(w.btPrint->isEnabled());
}
