#pragma once
// The finder windows' row of equally wide buttons under their criteria.
#include <span>

class QHBoxLayout;
class QPushButton;
class QWidget;

namespace finders {

struct ButtonPlace {
    QPushButton** button;
    const char* name;     // objectName
    const char* caption;
    const char* hint;     // tooltip
    bool bold = false;
};

// Makes the buttons in order on parent, each as wide as the widest caption
// and at least 75 pixels at 96 dots per inch, none taking Enter for itself,
// and closes the row with a stretch.
void AddButtonRow(QWidget* parent, QHBoxLayout* row, std::span<const ButtonPlace> places);

}  // namespace finders
