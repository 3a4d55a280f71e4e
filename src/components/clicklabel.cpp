#include "components/clicklabel.h"

#include <QEvent>
#include <QMouseEvent>

namespace comp {

ClickLabel::ClickLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mousePressEvent(QMouseEvent* e)
{
    pressed_ = e->button() == Qt::LeftButton;
    QLabel::mousePressEvent(e);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    const bool was = pressed_;
    pressed_ = false;
    QLabel::mouseReleaseEvent(e);
    if (was && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && isEnabled())
        emit clicked();
}

void ClickLabel::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange)
        setCursor(isEnabled() ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QLabel::changeEvent(e);
}

}  // namespace comp
