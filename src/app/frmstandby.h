#pragma once
// TfrmStandBy: the small "Loading files" window with a progress bar that
// long batches show meanwhile. It lives for the whole run; showing it and
// hiding it both empty LastTestedFolder. It is the program's standby
// progress (comp::standbyProgress()) while it exists.

#include "app/launcher.h"
#include "components/standbyprogress.h"

#include <QDialog>

class QProgressBar;

namespace app {

class TfrmStandBy : public QDialog, public comp::StandbyProgress {
    Q_OBJECT
public:
    explicit TfrmStandBy(Launcher& state = Launcher::program(), QWidget* parent = nullptr);
    ~TfrmStandBy() override;

    // The standby window of the running program, or nullptr.
    static TfrmStandBy* instance();

    QProgressBar* bar = nullptr;

    // comp::StandbyProgress: the bar's maximum and show, the bar, hide.
    void begin(int maximum) override;
    void step(int value) override;
    void end() override;

signals:
    // Emitted after each show and each hide.
    void shownOrHidden(bool visible);

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void reject() override {}  // Esc does not close it; its user hides it

private:
    Launcher& state_;
};

}  // namespace app
