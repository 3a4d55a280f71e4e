// File-type names and registered extensions from the shared MIME database.
#include "platform/filetypes.h"

#include <QMimeDatabase>
#include <QSet>

#include <algorithm>

namespace plat {

namespace {

// "*.txt" -> "txt" when the glob is a plain suffix of 1-4 characters; empty
// otherwise ("*.tar.gz", "*.[ch]", "Makefile", "*.markdown").
QString singleSuffix(const QString& glob)
{
    if (!glob.startsWith(QLatin1String("*.")))
        return {};
    const QString suffix = glob.mid(2).toLower();
    if (suffix.isEmpty() || suffix.size() > 4)
        return {};
    for (QChar c : suffix) {
        if (c == u'.' || c == u'*' || c == u'?' || c == u'[' || c == u']' || c.isSpace())
            return {};
    }
    return suffix;
}

QStringList normalised(const QStringList& dotExtensions)
{
    QSet<QString> seen;
    QStringList out;
    for (const QString& e : dotExtensions) {
        const QString s = singleSuffix(u'*' + (e.startsWith(u'.') ? e : u'.' + e));
        if (!s.isEmpty() && !seen.contains(s)) {
            seen.insert(s);
            out << u'.' + s;
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

FileTypeSource* g_override = nullptr;

}  // namespace

QString MimeFileTypes::typeName(const QString& dotExtension)
{
    const QString ext = dotExtension.toLower();
    const auto cached = names_.constFind(ext);
    if (cached != names_.constEnd())
        return *cached;
    QString name;
    if (ext.startsWith(u'.') && ext.size() > 1) {
        const QString glob = u'*' + ext;
        QMimeDatabase db;
        // The database also answers by content rules and longer globs; only
        // a type that really lists "*.ext" gives the name.
        for (const QMimeType& t : db.mimeTypesForFileName(QStringLiteral("x") + ext)) {
            const QStringList globs = t.globPatterns();
            const bool hasGlob = std::any_of(globs.cbegin(), globs.cend(), [&](const QString& g) {
                return g.compare(glob, Qt::CaseInsensitive) == 0;
            });
            if (hasGlob) {
                name = t.comment();
                break;
            }
        }
    }
    names_.insert(ext, name);
    return name;
}

QStringList MimeFileTypes::registeredExtensions()
{
    if (!extensions_.isEmpty())
        return extensions_;
    QStringList all;
    QMimeDatabase db;
    for (const QMimeType& t : db.allMimeTypes()) {
        for (const QString& g : t.globPatterns()) {
            const QString s = singleSuffix(g);
            if (!s.isEmpty())
                all << u'.' + s;
        }
    }
    extensions_ = normalised(all);
    return extensions_;
}

QString FakeFileTypes::typeName(const QString& dotExtension)
{
    const auto it = table_.constFind(dotExtension);
    if (it != table_.constEnd())
        return *it;
    for (auto i = table_.cbegin(); i != table_.cend(); ++i) {
        if (i.key().compare(dotExtension, Qt::CaseInsensitive) == 0)
            return i.value();
    }
    return {};
}

QStringList FakeFileTypes::registeredExtensions()
{
    return normalised(table_.keys());
}

FileTypeSource& fileTypes()
{
    static MimeFileTypes mime;
    return g_override ? *g_override : mime;
}

void setFileTypes(FileTypeSource* source)
{
    g_override = source;
}

}  // namespace plat
