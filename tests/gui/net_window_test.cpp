// The version check and About windows: verdicts, boxes, buttons and "Days"
// after checks against a scripted loopback server; cancelling; the About
// window's actions and its place on the main window.
#include "app/frmmain.h"
#include "app/programwindows.h"
#include "components/clicklabel.h"
#include "components/httpclient.h"
#include "components/shadowlabel.h"
#include "core/settings.h"
#include "finders_testutil.h"
#include "net/frmabout.h"
#include "net/frmversioncheck.h"
#include "net/scriptedserver.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

using core::ScriptedPrompter;
using finders_test::whenModal;
using net::TfrmAbout;
using net::TfrmVersionCheck;
using namespace net_test;
using Kind = ScriptedPrompter::Kind;

namespace {

const QString kNoConnection = "Could not establish connection to internet.";
const QByteArray kNotes = "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 New in 4.2:\\par see http://www.halvane.example/news}";

class NetWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        core::setPrompter(&prompter);
        net::SetUrlOpener([this](const QString& t) {
            opened << t;
            return openerWorks;
        });
    }
    void TearDown() override
    {
        net::SetUrlOpener({});
        core::setPrompter(nullptr);
    }
    QString days() const { return core::SettingsStore::readString("Options", "Days"); }

    testing_support::TempDrives drives{"C"};
    ScriptedPrompter prompter;
    QStringList opened;
    bool openerWorks = true;
};

QStringList anchors(QTextBrowser* ed)
{
    QStringList out;
    for (QTextBlock b = ed->document()->begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isAnchor())
                out << it.fragment().charFormat().anchorHref();
    return out;
}

}  // namespace

TEST_F(NetWindowTest, CheckOutcomes)
{
    ScriptedServer web;
    ScriptedServer tls(true);
    struct Row {
        const char* name;
        std::optional<Answer> version;  // nothing = no server at all
        Answer notes;
        bool overTls;
        Kind box;
        QString boxText;
        QString status;  // exact, or the part after "Error : "
        bool completed;
        const char* memVer;  // the version file's lines as kept
    };
    const Answer notes = okAnswer(kNotes);
    const Row rows[] = {
        {"4.1", okAnswer("4.1\r\n"), notes, false, Kind::Info, "You have the latest version - 4.1",
         "You have the latest version - 4.1", true, "4.1"},
        {"4.2", okAnswer("4.2\n12 May 2004\n"), notes, false, Kind::Warning,
         "Your version is out of date, the latest version is 4.2 last updated on 12 May 2004",
         "Out of date!  Last version was on 12 May 2004", true, "4.2\n12 May 2004"},
        {"blank", okAnswer("4.1 "), notes, false, Kind::Warning,
         "Your version is out of date, the latest version is 4.1  last updated on ", "Out of date!  Last version was on ",
         true, "4.1 "},
        {"hang", hangAnswer(), notes, false, Kind::Error, kNoConnection, "The web site sent nothing for 0.3 seconds.",
         false, ""},
        {"404", statusAnswer(404, "Not Found", "4.1"), notes, false, Kind::Error, kNoConnection,
         "The web site answered 404 Not Found", false, ""},
        {"5MiB", okAnswer(QByteArray(5 << 20, '4')), notes, false, Kind::Error, kNoConnection,
         "The answer of the web site is larger than 1048576 bytes.", false, ""},
        {"to http", redirectAnswer(web.url("/v").toEncoded()), notes, true, Kind::Error, kNoConnection,
         "The web site redirected from a secure to an insecure address: " + web.url("/v").toString(), false, ""},
        {"closed", std::nullopt, notes, false, Kind::Error, kNoConnection, "Connection refused", false, ""},
        {"notes 404", okAnswer("4.1"), statusAnswer(404, "Not Found", ""), false, Kind::Error,
         "The web site answered 404 Not Found", "The web site answered 404 Not Found", false, "4.1"},
    };
    web.answer("/v", okAnswer("4.1"));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        prompter.clear();
        core::SettingsStore::writeString("Options", "Days", "");
        ScriptedServer& server = r.overTls ? tls : web;
        server.answer("/version/trovik/ver.txt", r.version.value_or(Answer{}));
        server.answer("/version/trovik/note.rtf", r.notes);
        const QUrl site = r.version ? server.url("/")
                                    : QUrl(QString("http://127.0.0.1:%1/").arg(ScriptedServer::closedPort()));

        TfrmVersionCheck w;
        w.setSite(net::Site::parse(site.toString()));
        w.http().setTimeouts(QString(r.name) == "hang" ? 300 : 10000, 20000);
        w.http().addCaCertificates(ScriptedServer::certificate());
        w.show();
        EXPECT_TRUE(w.Panel1->isVisible());
        w.btCheck->click();

        ASSERT_EQ(prompter.records().size(), 1);
        EXPECT_EQ(prompter.records()[0].kind, r.box);
        EXPECT_EQ(prompter.records()[0].text, r.boxText);
        const QString status = w.StatusBar1->currentMessage();
        EXPECT_EQ(status, r.completed ? r.status : "Error : " + r.status);
        EXPECT_FALSE(w.Panel1->isVisible());
        EXPECT_EQ(w.btCheck->isEnabled(), !r.completed);
        EXPECT_EQ(w.btUpdate->isEnabled(), r.completed);
        EXPECT_EQ(days(), r.completed ? QString::number(core::todayDayNumber()) : QString());
        EXPECT_EQ(w.lblTitle->text(),
                  r.completed && r.box == Kind::Warning ? "Out of date!" : "Version Check for Trovik");
        EXPECT_EQ(w.memVer->toPlainText(), r.memVer);
        if (r.completed) {
            EXPECT_EQ(w.richEd->toPlainText(), "New in 4.2:\nsee http://www.halvane.example/news");
            EXPECT_EQ(anchors(w.richEd), QStringList{"http://www.halvane.example/news"});
        } else {
            EXPECT_TRUE(w.richEd->toPlainText().isEmpty());
        }
    }
}

TEST_F(NetWindowTest, UpdatePageLinksEscAndClose)
{
    ScriptedServer web;
    web.answer("/version/trovik/ver.txt", okAnswer("4.1"));
    web.answer("/version/trovik/note.rtf", okAnswer(kNotes));
    {
        TfrmVersionCheck w;
        w.setSite(net::Site::parse(web.url("/").toString()));
        w.show();
        w.btCheck->click();
        w.btUpdate->click();
        emit w.richEd->anchorClicked(QUrl("http://www.halvane.example/news"));
        emit w.richEd->anchorClicked(QUrl("file:///etc/passwd"));
        EXPECT_EQ(opened, (QStringList{web.url("/version/trovik/update.htm").toString(), "http://www.halvane.example/news"}));
        openerWorks = false;
        prompter.clear();
        w.btUpdate->click();
        EXPECT_EQ(prompter.texts(Kind::Error), QStringList{"Couldn't open web browser for home page"});
    }

    // Esc cancels a transfer that hangs and leaves the window open; "Close"
    // cancels and closes. Neither shows a box or writes "Days".
    web.answer("/version/trovik/ver.txt", hangAnswer());
    core::SettingsStore::writeString("Options", "Days", "");
    for (const bool viaClose : {false, true}) {
        prompter.clear();
        TfrmVersionCheck w;
        w.setSite(net::Site::parse(web.url("/").toString()));
        w.show();
        QObject::connect(&w.http(), &comp::HttpClient::opened, &w, [&] {
            QTimer::singleShot(0, &w, [&] {
                if (viaClose)
                    w.btClose->click();
                else
                    QTest::keyClick(&w, Qt::Key_Escape);
            });
        });
        w.btCheck->click();
        EXPECT_TRUE(prompter.records().isEmpty());
        EXPECT_EQ(w.isVisible(), !viaClose);
        EXPECT_EQ(w.StatusBar1->currentMessage(), "Error : The transfer was cancelled.");
        EXPECT_TRUE(w.btCheck->isEnabled());
        EXPECT_TRUE(days().isEmpty());
    }
}

TEST_F(NetWindowTest, AboutActions)
{
    TfrmAbout about;
    about.setSite(net::Site::parse("https://www.halvane.example/"));
    EXPECT_EQ(about.windowTitle(), "How to contact us");
    EXPECT_EQ(about.lblWeb->text(), "https://www.halvane.example/");
    EXPECT_EQ(about.btWeb->toolTip(), "Launch your browser to Halvane Home Page");
    about.show();

    prompter.queue(QString("friend's e-mail"));
    about.btRecommend->click();
    prompter.queue(std::monostate{});
    about.btRecommend->click();
    QTest::mouseClick(about.lblWeb, Qt::LeftButton);
    openerWorks = false;
    about.btWeb->click();
    EXPECT_EQ(opened, (QStringList{net::RecommendLink("friend's e-mail", "https://www.halvane.example/"),
                                   "https://www.halvane.example/", "https://www.halvane.example/"}));
    ASSERT_EQ(prompter.records().size(), 3);
    EXPECT_EQ(prompter.records()[0].caption, "Enter friend's e-mail address");
    EXPECT_EQ(prompter.records()[0].text, "E-mail address");
    EXPECT_EQ(prompter.texts(Kind::Error),
              QStringList{"Unable to start web browser. Make sure you have it properly set-up on your system."});
}

TEST_F(NetWindowTest, EnterOpensTheCheckAndClosingItClosesAbout)
{
    app::Launcher state;
    app::TfrmMain main(state);
    app::registerProgramWindows(main);
    main.show();
    for (const char* opener : {"btReach", "lblMakerWeb"}) {
        SCOPED_TRACE(opener);
        bool checkShown = false;
        whenModal<TfrmAbout>([&](TfrmAbout& about) {
            whenModal<TfrmVersionCheck>([&](TfrmVersionCheck& check) {
                checkShown = check.btCheck->isEnabled() && check.Panel1->isVisible();
                check.btClose->click();
            });
            QTest::keyClick(&about, Qt::Key_Return);
        });
        if (QString(opener) == "btReach")
            main.button("btReach")->click();
        else
            QTest::mouseClick(main.findChild<comp::ClickLabel*>(opener), Qt::LeftButton);
        EXPECT_TRUE(checkShown);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}
