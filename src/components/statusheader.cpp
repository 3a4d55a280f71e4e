#include "components/statusheader.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>

namespace comp {

StatusHeader::StatusHeader(const QList<int>& widths, QWidget* parent) : QFrame(parent)
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    const int charWidth = QFontMetrics(font()).horizontalAdvance(QLatin1Char('0'));
    for (int i = 0; i < widths.size(); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Section%1").arg(i));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setTextFormat(Qt::PlainText);
        label->setContentsMargins(3, 1, 3, 1);
        if (widths[i] > 0)
            label->setFixedWidth(widths[i] * charWidth + 10);
        row->addWidget(label, widths[i] > 0 ? 0 : 1);
        sections_ << label;
    }
}

QString StatusHeader::sectionText(int i) const
{
    return i >= 0 && i < sections_.size() ? sections_[i]->text() : QString();
}

void StatusHeader::setSectionText(int i, const QString& text)
{
    if (i >= 0 && i < sections_.size())
        sections_[i]->setText(text);
}

}  // namespace comp
