#pragma once
// A push button under its control name, with its caption and hint, as the
// windows build their button rows.

#include <QPushButton>
#include <QString>

namespace comp {

inline QPushButton* namedButton(const char* caption, const char* hint, QWidget* parent, const char* name)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromLatin1(hint));
    return b;
}

}  // namespace comp
