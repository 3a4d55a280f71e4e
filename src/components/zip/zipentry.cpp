// Texts for the codec's per-file results.
#include "components/zip/zipentry.h"

namespace comp {

QString describe(ZipAddResult r)
{
    switch (r) {
    case ZipAddResult::Added: return QStringLiteral("added");
    case ZipAddResult::NameExists: return QStringLiteral("the archive holds a file of that name already");
    case ZipAddResult::ReadFailed: return QStringLiteral("the file could not be read");
    case ZipAddResult::SourceChanged: return QStringLiteral("the file changed while it was being stored");
    case ZipAddResult::WriteFailed: return QStringLiteral("the archive could not be written");
    case ZipAddResult::Aborted: return QStringLiteral("aborted");
    case ZipAddResult::IsArchive: return QStringLiteral("the archive cannot hold itself");
    case ZipAddResult::BadName: return QStringLiteral("the name cannot be stored safely");
    }
    return {};
}

QString describe(ZipExtractResult r)
{
    switch (r) {
    case ZipExtractResult::Extracted: return QStringLiteral("extracted");
    case ZipExtractResult::Exists: return QStringLiteral("a file of that name exists already");
    case ZipExtractResult::BadName: return QStringLiteral("the stored name would lead outside the folder");
    case ZipExtractResult::CrcError: return QStringLiteral("the stored data is damaged (CRC error)");
    case ZipExtractResult::BadPassword: return QStringLiteral("wrong or missing password");
    case ZipExtractResult::WriteFailed: return QStringLiteral("the file could not be written");
    case ZipExtractResult::Unsupported: return QStringLiteral("links, special files and this kind of compression are not supported");
    }
    return {};
}

}  // namespace comp
