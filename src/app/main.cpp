// Trovik: start-up. The splash window shows while the main window and the
// windows that live for the whole run are made; then the message loop runs
// until the main window is closed. The one argument the program takes is
// --look=classic or --look=desktop, which overrides the stored look for
// this run.

#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/frmstandby.h"
#include "app/programwindows.h"
#include "browse/finddlg.h"
#include "components/look.h"
#include "components/qtprompter.h"
#include "core/helpers.h"
#include "delete/deletionlog.h"
#include "finders/frmdupcompare.h"
#include "platform/environment.h"
#include "stats/frmstatistics.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trovik"));
    QApplication::setOrganizationName(QStringLiteral("Halvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    QString lookError;
    const std::optional<comp::Look> lookSwitch = comp::lookFromArguments(QApplication::arguments(), &lookError);
    if (!lookError.isEmpty())
        std::fprintf(stderr, "trovik: %s\n", qPrintable(lookError));
    comp::applyLook(lookSwitch.value_or(comp::storedLook()));

    comp::QtPrompter prompter;
    core::setPrompter(&prompter);

    app::SplashForm = new app::TfrmSplash;
    app::SplashForm->show();
    QApplication::processEvents();

    // The deletion log lives for the whole run; the windows that remove
    // files record into it and the statistics window shows it.
    del::DeletionLog deletionLog(plat::programFile(QStringLiteral("grdelete.txt")));
    // A damaged log is not overwritten: the first save keeps it under the
    // name told here and starts a new one.
    if (!deletionLog.load())
        core::WarningBox(QStringLiteral("The deletion log ") + deletionLog.file() +
                         QStringLiteral(" could not be read: ") + deletionLog.lastError() +
                         QStringLiteral(". It will be kept as ") + deletionLog.damagedFileKeptAs() +
                         QStringLiteral(" and a new log started."));
    del::setProgramLog(&deletionLog);

    int result = 0;
    {
        app::TfrmMain main;
        app::registerProgramWindows(main);
        // The windows that live for the whole run, created hidden: the
        // statistics window, the viewer's find dialog and the duplicate pair
        // window, then the standby window.
        stats::TfrmStatistics statistics;
        // Closing the main window ends the program: a collection running in
        // the statistics window stops first.
        QObject::connect(&main, &app::TfrmMain::closed, &statistics, &stats::TfrmStatistics::abortCollection);
        QObject::connect(&main, &app::TfrmMain::closed, &app, &QApplication::quit, Qt::QueuedConnection);
        browse::TFindDlg findDlg;
        browse::FindDlg = &findDlg;
        finders::TfrmDupCompare dupCompare;
        finders::setProgramPairWindow(&dupCompare);
        app::TfrmStandBy standBy;
        main.show();
        result = QApplication::exec();
        finders::setProgramPairWindow(nullptr);
    }
    delete app::SplashForm.data();
    del::setProgramLog(nullptr);
    core::setPrompter(nullptr);
    return result;
}
