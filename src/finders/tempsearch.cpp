#include "finders/tempsearch.h"

#include "core/helpers.h"
#include "finders/filewalk.h"
#include "finders/scanscope.h"
#include "finders/templists.h"
#include "platform/openfiles.h"
#include "reports/sortcommand.h"

#include <array>

namespace finders {

const char* const kTempAbortedMessage = "LIST INCOMPLETE ... ABORTED BY USER";
const char* const kNoExtensionMessage = "Select at least one file extension";

QStringList TempTitles()
{
    return {"Size", "Modified", "Time", "Access", "FileName", "Type"};
}

TempSearch::TempSearch(TempCriteria criteria) : criteria_(std::move(criteria))
{
    for (const QString& entry : criteria_.entries) {
        const QString ext = TempMatchExtension(entry);
        if (!ext.isEmpty())
            extensions_.insert(ext);
    }
}

void TempSearch::scan(comp::ResultGrid& grid)
{
    grid.reset(TempTitles());
    // Dates and types repeat from row to row and are kept once each; a
    // path keeps its folder shared with the other files of that folder.
    using G = comp::ResultGrid;
    for (int c : {1, 3, 5})
        grid.setColumnStore(c, G::Shared);
    grid.setColumnStore(4, G::ByFolder);
    held_ = 0;
    if (extensions_.isEmpty())
        return;
    // Read once: what processes hold now is what counts for this list.
    const plat::OpenFiles open = plat::OpenFiles::read();
    const quint32 me = plat::currentUserId();

    FileWalkOptions options;
    options.hiddenFiles = true;
    FileWalk walk(options);
    walk.status = status;
    walk.pump = pump;
    walk.leftOut = note ? note : status;
    walk.aborted = [this] { return abortFlag; };
    walk.file = [&](const plat::WalkFolder& folder, const plat::FindData& f, bool first) {
        if (!first && status)
            status(folder.path());
        // The walk hands over no links, devices, FIFOs or sockets; the
        // extension test is the cheap one, so it comes first.
        const QString ext = FileExtension(f.name);
        if (!extensions_.contains(ext) || f.owner != me)
            return;
        if (open.holds(f)) {
            ++held_;
            return;
        }
        const core::PackedDosDateTime written = core::LastWriteDosTime(f);
        const QString path = core::JoinPath(folder.path(), f.name);
        const std::array<QString, 6> cells = {core::FormatGroupedF(core::FindDataSize(f)),
                                              core::DosDateText(written),
                                              core::DosTimeText(written),
                                              core::DosDateText(core::LastAccessDosTime(f)),
                                              path,
                                              typeNames_.ofExtension(ext)};
        const std::array<QStringView, 6> views = {cells[0], cells[1], cells[2], cells[3], cells[4], cells[5]};
        grid.addRowViews(views, path);
    };
    walk.run(criteria_.roots);
    if (grid.rowsUsed() > 1)
        grid.fitRowCount();
}

bool SortTempBySize(comp::ResultGrid& grid)
{
    const reports::SortCommand* bySize = reports::FindSortCommand(u"TfrmClean", u"&Size");
    return bySize && reports::RunSortCommand(grid, *bySize);
}

}  // namespace finders
