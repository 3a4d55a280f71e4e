#pragma once
// The listings every result window offers: a printed grid, a printed list of
// lines and a grid saved as a web page (an HTML table fragment). The text of
// each form is built here without widgets and can be checked line by line;
// the printer only receives finished lines.

#include "components/resultgrid.h"
#include "core/prompter.h"

#include <QColor>
#include <QFont>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace reports {

// ---- Printed listings -------------------------------------------------

// One printed cell: the text cut to w characters and padded with blanks to
// w, then one blank, where w is the column's width in pixels / 6.
QString ListingCell(const QString& text, int widthPixels);
// Every row of the grid, the title row first, one line per row.
QStringList GridListingRows(const comp::ResultGrid& grid, const QList<int>& columnWidths);
// The head of a listing: the title, "Printed : " with the date and time,
// two empty lines. indent goes before the first two (the list listing's
// three blanks).
QStringList ListingHead(const QString& title, const QDateTime& when, const QString& indent = QString());

// The error box of a listing that could not be printed.
extern const char* const kPrintErrorMessage;

// Receives the lines of a printed listing. open and writeLine return false
// when the target fails; close always ends the document.
class ListingTarget {
public:
    virtual ~ListingTarget() = default;
    virtual bool open() = 0;
    virtual bool writeLine(const QString& line) = 0;
    virtual void close() = 0;
};

// The printer chosen in the print dialog, or a PDF file where the target
// names one. Lines run down the printable area in the requested fixed-pitch
// family at 8 points (the system's fixed-pitch font where the family is
// missing or not fixed-pitch), a new page when the next line does not fit.
std::unique_ptr<ListingTarget> MakePrinterTarget(const core::PrintTarget& target, const QString& family);
// The same in a given font, on pages laid out as the printer setup says (an
// invalid layout: the printer's own); the printer named by the setup when
// the target names none.
std::unique_ptr<ListingTarget> MakePrinterTarget(const core::PrintTarget& target, const QFont& font,
                                                 const core::PageSetup& setup);

// Writes head then body to the target under the hourglass. A failure shows
// kPrintErrorMessage and stops; a failure in the body still closes the
// target. True when every line was written.
bool WriteListing(ListingTarget& target, const QStringList& head, const QStringList& body);

// The grid (with the widths its columns have on screen) in "Courier New";
// the list lines, each after three blanks, in "Courier".
bool PrintGridListing(const comp::ResultGrid& grid, const QList<int>& columnWidths, const QString& title,
                      const core::PrintTarget& target);
bool PrintListListing(const QStringList& lines, const QString& title, const core::PrintTarget& target);
// The body of the list listing: each line after three blanks.
QStringList ListListingLines(const QStringList& lines);

// ---- Web page ---------------------------------------------------------

struct WebCellLook {
    enum Align { Left, Right, Center };
    Align align = Left;
    QColor background;  // invalid: none
    QColor text;        // invalid: none
    bool bold = false;
    bool italic = false;
};
// Asked for every cell of the page (row in grid numbering); a window without
// such a rule passes none. For the title row only the alignment counts: the
// titles always have the grey ground and bold text.
using WebCellRule = std::function<void(int row, int column, WebCellLook& look)>;

// The fixed light grey of the title cells.
QString WebTitleColor();
// A cell's text as the page shows it: "<" and ">" escaped, each carriage
// return a "<br>", an empty text "<br>".
QString WebCellText(const QString& text);
// The page, line by line, without line ends.
QStringList WebPageLines(const comp::ResultGrid& grid, const WebCellRule& rule = {});
// Writes the page to drivePath (every line ended by CR LF), replacing the
// file only when all of it was written. A failure is reported in the error
// box; true when the file was written.
bool SaveGridAsWebPage(const comp::ResultGrid& grid, const QString& drivePath, const WebCellRule& rule = {});

// The save dialog of the finder windows' "Web page" command.
core::SaveRequest WebPageSaveRequest();

}  // namespace reports
