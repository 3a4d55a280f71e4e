#pragma once
// The program's look, one switch for every window.
//
// Classic: tiled backgrounds, bevelled launcher buttons, shadowed titles and
// the fixed colours and fonts the windows ask for, on the Fusion style with
// its light palette (the fixed colours assume a light ground).
// Desktop: the platform's style and palette (Fusion where the platform
// names none) and the desktop's fonts; the painting components draw with
// palette colours and the fixed colours and fonts are left out, so a dark
// desktop theme gives dark windows.
//
// The painting components (backgrounds, bevel buttons, shadow labels, result
// grids) ask look() each time they paint. A window that wants a fixed
// colour, font or style sheet hands it to setClassicPalette/Font/StyleSheet:
// it is kept on the widget and applied only in the classic look, and
// applyLook() puts every kept one on or off again, so a change of look
// reaches the windows that are open.

#include <QFont>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <optional>

class QWidget;

namespace comp {

enum class Look { Classic, Desktop };

// The stored value: "Desktop" (any case, blanks around ignored) is the
// desktop look; anything else, empty or missing reads as Classic.
Look parseLook(const QString& text);
QString lookName(Look look);

// The switch "--look=desktop" / "--look=classic" (value in any case) among
// the program's arguments; the last one counts. Nothing when there is none.
// A switch with another value, or without one, is named in *error and left
// out.
std::optional<Look> lookFromArguments(const QStringList& arguments, QString* error = nullptr);

// [Options] Look in the settings store.
Look storedLook();
void storeLook(Look look);

// The look in force (Classic until applyLook runs).
Look look();
inline bool classicLook() { return look() == Look::Classic; }

// Sets the application's style and palette for the look, puts the kept
// classic colours, fonts and style sheets of every widget on or off, and
// repaints. The desktop's palette and style are those the application had
// before the first call.
void applyLook(Look look);
// True once applyLook has set the application's style.
bool lookApplied();

// A style hint the program's style answers in both looks (the hint delay).
void setStyleHintOverride(QStyle::StyleHint hint, int value);
// The colours of every hint in the classic look.
void setClassicToolTipColors(const QColor& base, const QColor& text);

// The fixed colours of a widget: the roles set in `roles` (a palette made
// for the purpose, holding only those roles) apply in the classic look.
void setClassicPalette(QWidget* widget, const QPalette& roles);
// A fixed font; in the desktop look the desktop's font family with the same
// size, weight, slant and underline.
void setClassicFont(QWidget* widget, const QFont& font);
void setClassicStyleSheet(QWidget* widget, const QString& styleSheet);
// The font shown for a classic font in the current look.
QFont lookFont(const QFont& classic);

// One colour mixed from two: `part` of `b` in `a` (0..1).
QColor mixColors(const QColor& a, const QColor& b, double part);

}  // namespace comp
