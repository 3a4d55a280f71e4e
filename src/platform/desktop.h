#pragma once
// Hands files, web pages and mail links to the desktop; nothing is executed.

#include <QString>

namespace plat {

// target: a drive path, an http(s) address or a mailto: link.
bool openWithDesktop(const QString& target);

}  // namespace plat
