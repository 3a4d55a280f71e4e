#pragma once
// TfrmSplash: the picture shown while the program starts, cut to its
// outline. The main window closes it a few seconds after it is shown.

#include <QPixmap>
#include <QPointer>
#include <QPolygon>
#include <QWidget>

namespace app {

class TfrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit TfrmSplash(QWidget* parent = nullptr);

    static constexpr int kWidth = 585;
    static constexpr int kHeight = 410;

    // The outline in window coordinates (the picture sits at the origin).
    QPolygon outline() const { return outline_; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QPixmap picture_;
    QPolygon outline_;
};

// The splash window while it exists.
extern QPointer<TfrmSplash> SplashForm;

}  // namespace app
