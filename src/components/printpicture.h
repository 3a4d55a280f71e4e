#pragma once
// Prints a picture of a window or chart on one page: across the printable
// width, as large as it fits, aspect kept. The target is a printer, or a PDF
// file where no printer exists.

#include "core/prompter.h"

#include <QPixmap>
#include <QString>

namespace comp {

// False when the printer or file could not be opened; nothing is printed
// then, and the caller tells the user.
bool PrintPicture(const QPixmap& picture, const core::PrintTarget& target, const QString& documentName);

}  // namespace comp
