#include "finders/buttonrow.h"

#include <QHBoxLayout>
#include <QPushButton>

#include <algorithm>

namespace finders {

void AddButtonRow(QWidget* parent, QHBoxLayout* row, std::span<const ButtonPlace> places)
{
    int width = 75 * parent->logicalDpiX() / 96;
    for (const ButtonPlace& s : places) {
        auto* b = new QPushButton(QString::fromLatin1(s.caption), parent);
        b->setObjectName(QLatin1String(s.name));
        b->setAutoDefault(false);
        b->setToolTip(QString::fromLatin1(s.hint));
        if (s.bold) {
            QFont bold = b->font();
            bold.setBold(true);
            b->setFont(bold);
        }
        *s.button = b;
        width = std::max(width, b->sizeHint().width());
    }
    for (const ButtonPlace& s : places) {
        (*s.button)->setFixedWidth(width);
        row->addWidget(*s.button);
    }
    row->addStretch(1);
}

}  // namespace finders
