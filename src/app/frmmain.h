#pragma once
// TfrmMain, the launcher: one button per function, each opening that
// function's window. The main window also hosts the program-wide state of
// the launcher (see launcher.h) and the splash timer.

#include "app/launcher.h"

#include <QHash>
#include <QPixmap>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>

class QAbstractButton;
class QAction;
class QFrame;
class QMenu;
class QTimer;

namespace comp {
enum class Look;
class TileBackground;
class GradientBackground;
class ShadowLabel;
class ClickLabel;
}  // namespace comp

namespace app {

class TfrmHelp;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    // What a launcher button does once its guard has passed: create the
    // function's window with the main window as owner, show it, destroy it.
    using Action = std::function<void(TfrmMain&)>;

    explicit TfrmMain(Launcher& state = Launcher::program(), QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The main window of the running program, or nullptr.
    static TfrmMain* instance();

    Launcher& launcher() { return state_; }

    // Gives a launcher button its window; a button without one stays
    // disabled. The About action also enables the two maker labels.
    void registerAction(const QString& buttonName, Action action);
    bool hasAction(const QString& buttonName) const { return actions_.contains(buttonName); }
    QAbstractButton* button(const QString& buttonName) const;
    // A launcher button's click: the guard, DuplicateMode, then the action,
    // with any error shown in the error box.
    void runFunction(const QString& buttonName);

    // After the Safe Harbor builder reports a change.
    void reloadSafeHarbor();

    // The small folder picture of the drive check lists.
    const QPixmap& bmpFolder() const { return bmpFolder_; }

    // Test seams: the colour depth probe, the help file folders and the
    // opener of the help file.
    void setDepthProbe(std::function<int()> probe) { depthProbe_ = std::move(probe); }
    void setHelpSearchDirs(const QStringList& dirs) { helpDirs_ = dirs; }
    void setHelpOpener(std::function<bool(const QUrl&)> opener) { helpOpener_ = std::move(opener); }
    QString helpFile() const { return helpFile_; }

    // The hint look of the whole program: colour and delay.
    static QColor hintColor() { return QColor(245, 249, 136); }
    static constexpr int kHintDelayMs = 1000;
    static constexpr int kSplashMs = 3000;

    void btHelpClick();
    void btCloseClick();

public slots:
    void tmSplashTimer();

signals:
    // The main window was closed: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

private:
    void buildControls();
    QFrame* addButtonPanel(const LauncherFunction& f, const QRect& geometry);
    void FormShow();
    void applyColourDepth();
    static void applyHints();
    // Stores the look and, when it differs, applies it to every window.
    void chooseLook(comp::Look look);
    void centreOnScreen();

    Launcher& state_;
    QHash<QString, Action> actions_;
    QHash<QString, QAbstractButton*> buttons_;
    comp::TileBackground* EsTile1 = nullptr;
    comp::GradientBackground* EsGradient1 = nullptr;
    comp::ShadowLabel* lblTitle = nullptr;
    comp::ClickLabel* lblMaker = nullptr;
    comp::ClickLabel* lblMakerWeb = nullptr;
    QTimer* tmSplash = nullptr;
    QMenu* popMain = nullptr;
    QAction* miDesktopLook = nullptr;
    QPixmap bmpFolder_;
    QString helpFile_;
    QStringList helpDirs_;
    std::function<int()> depthProbe_;
    std::function<bool(const QUrl&)> helpOpener_;
    QPointer<TfrmHelp> frmHelp_;  // made on the first Help without a browser
};

}  // namespace app
