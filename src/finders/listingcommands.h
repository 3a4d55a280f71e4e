#pragma once
// What a result window makes of its grid for use elsewhere: the clipboard
// ("Filenames only", "Entire grid separated by tabs"), the printed listing
// under the window's title, and the web page through the save dialog.

#include "reports/listings.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace comp {
class ResultGridView;
}

namespace finders {

class ListingCommands : public QObject {
    Q_OBJECT
public:
    explicit ListingCommands(comp::ResultGridView* grid, QObject* parent = nullptr);

    // The title of the printed listing, taken before the print dialog shows.
    std::function<QString()> printTitle;
    // The window's cell colours for the web page; none by default.
    reports::WebCellRule webCellRule;
    // Told when the web-page flag goes on and off again (the window drops
    // its on-screen shading meanwhile).
    std::function<void(bool on)> webPageMode;
    // True from the save dialog to the last line written.
    bool webPageFlag() const { return webPage_; }

    void copyNames();
    void copyGrid();
    void print();
    void saveWebPage();

private:
    QPointer<comp::ResultGridView> grid_;
    bool webPage_ = false;
};

}  // namespace finders
