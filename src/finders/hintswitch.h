#pragma once
// Switches the tool-tip hints of one window off and on again: while a
// search runs its hints would only get in the way of the status line.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace finders {

class HintSwitch : public QObject {
    Q_OBJECT
public:
    explicit HintSwitch(QWidget* window);
    ~HintSwitch() override;

    void setHintsShown(bool on);
    bool hintsShown() const { return shown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> window_;
    bool shown_ = true;
};

// Hints off for one scope, on again when it ends, also by an exception.
class HintsOff {
public:
    explicit HintsOff(HintSwitch& s) : s_(s) { s_.setHintsShown(false); }
    ~HintsOff() { s_.setHintsShown(true); }
    HintsOff(const HintsOff&) = delete;
    HintsOff& operator=(const HintsOff&) = delete;

private:
    HintSwitch& s_;
};

}  // namespace finders
