#include "finders/scanscope.h"

#include "core/helpers.h"
#include "core/prompter.h"
#include "platform/fileops.h"

namespace finders {

QString TypeEntryExtension(const QString& entry)
{
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    const QString pattern = tab < 0 ? entry : entry.left(tab);
    return pattern.mid(1).toLower();
}

QString FileExtension(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : fileName.mid(dot).toLower();
}

TypeFilter::TypeFilter(TypeMode mode, const QStringList& typeEntries) : mode_(mode)
{
    if (mode_ == TypeMode::AllFiles)
        return;
    extensions_.reserve(typeEntries.size());
    for (const QString& entry : typeEntries)
        extensions_ << TypeEntryExtension(entry);
}

bool TypeFilter::isThisSelected(const QString& fileName) const
{
    if (mode_ == TypeMode::AllFiles)
        return true;
    const QString ext = FileExtension(fileName);
    const bool listed = !ext.isEmpty() && extensions_.contains(ext);
    return mode_ == TypeMode::Include ? listed : !listed;
}

RootStart EnterRoot(const QString& entry, const plat::WalkOptions& options,
                    std::unique_ptr<plat::WalkFolder>& folder)
{
    folder.reset();
    if (entry.size() >= 2 && entry[1] == QLatin1Char(':') && !core::DriveReady(entry[0]))
        return RootStart::NotReady;
    plat::TreeError error = plat::TreeError::None;
    folder = plat::WalkFolder::openRoot(core::FolderOfEntry(entry), options, error);
    if (folder) {
        try {
            core::ChangeToFolder(entry);
            return RootStart::Entered;
        } catch (const plat::IoError&) {
            folder.reset();
        }
    }
    // The message of this box is a note about one root, not an alarm:
    // the prompter has no quiet error box, so the error kind is used.
    core::prompter().message(core::MessageKind::Error, QStringLiteral("Can't open drive ") + entry);
    return RootStart::Failed;
}

}  // namespace finders
