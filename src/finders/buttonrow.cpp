#include "finders/buttonrow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

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

QLabel* StackPanelGridStatus(QWidget* window, QWidget* panel, QWidget* grid)
{
    auto* status = new QLabel(window);
    status->setObjectName(QStringLiteral("lblStatus"));
    status->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    status->setMargin(1);
    status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    auto* main = new QVBoxLayout(window);
    main->setContentsMargins(0, 0, 0, 0);
    main->setSpacing(0);
    main->addWidget(panel);
    main->addWidget(grid, 1);
    main->addWidget(status);
    return status;
}

}  // namespace finders
