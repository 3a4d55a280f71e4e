#include "finders/listingcommands.h"

#include "components/resultgridview.h"
#include "core/prompter.h"
#include "reports/cliptext.h"

#include <QClipboard>
#include <QGuiApplication>

namespace finders {

ListingCommands::ListingCommands(comp::ResultGridView* grid, QObject* parent) : QObject(parent), grid_(grid) {}

void ListingCommands::copyNames()
{
    QGuiApplication::clipboard()->setText(reports::FileNamesText(grid_->grid()));
}

void ListingCommands::copyGrid()
{
    QGuiApplication::clipboard()->setText(reports::TabbedGridText(grid_->grid()));
}

void ListingCommands::print()
{
    const QString title = printTitle ? printTitle() : QString();
    const auto target = core::prompter().choosePrinter(QStringLiteral("Print"));
    if (!target)
        return;
    reports::PrintGridListing(grid_->grid(), grid_->columnWidths(), title, *target);
}

void ListingCommands::saveWebPage()
{
    // The flag holds for the dialog and the writing, and is cleared on every
    // way out.
    struct Flag {
        ListingCommands& c;
        explicit Flag(ListingCommands& commands) : c(commands)
        {
            c.webPage_ = true;
            if (c.webPageMode)
                c.webPageMode(true);
        }
        ~Flag()
        {
            c.webPage_ = false;
            if (c.webPageMode)
                c.webPageMode(false);
        }
    } flag(*this);
    const auto file = core::prompter().saveFile(reports::WebPageSaveRequest());
    if (!file)
        return;
    reports::SaveGridAsWebPage(grid_->grid(), *file, webCellRule);
}

}  // namespace finders
