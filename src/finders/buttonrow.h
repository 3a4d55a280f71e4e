#pragma once
// The finder windows' common frame: the row of equally wide buttons under
// their criteria, and the criteria panel over the grid over the status line.
#include <span>

class QHBoxLayout;
class QLabel;
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

// Stacks panel, grid (taking the height) and a sunken status line on
// window, edge to edge, and returns the status line ("lblStatus"). Its text
// never widens the window: a search shows long paths there.
QLabel* StackPanelGridStatus(QWidget* window, QWidget* panel, QWidget* grid);

}  // namespace finders
