#pragma once
// The clipboard texts of the result windows: plain text, every line ended
// by CR LF, empty lines left out.

#include "components/resultgrid.h"

#include <QString>

namespace reports {

// "Filenames only": the real path of every data row; never the titles.
QString FileNamesText(const comp::ResultGrid& grid);
// "Entire grid separated by tabs": every row, the titles first, its cells
// joined by TAB characters.
QString TabbedGridText(const comp::ResultGrid& grid);

}  // namespace reports
