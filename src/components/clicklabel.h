#pragma once
// A label that acts like a link: a press and release on it emits clicked().
// Disabled, it shows greyed and does nothing.

#include <QLabel>

namespace comp {

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text = QString(), QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    bool pressed_ = false;
};

}  // namespace comp
