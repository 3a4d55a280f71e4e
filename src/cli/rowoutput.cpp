#include "cli/rowoutput.h"

#include "core/helpers.h"
#include "core/safeharbor.h"
#include "platform/cleanpath.h"
#include "platform/drives.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>

#include <algorithm>
#include <ctime>
#include <vector>

namespace cli {

namespace {

RowOutput* g_output = nullptr;

// Seconds between 1601-01-01 and 1970-01-01, the two epochs of file times.
constexpr qint64 kEpochDelta = 11644473600LL;

// A JSON value in compact form; QJsonDocument holds only arrays and objects.
QByteArray Encoded(const QJsonValue& value)
{
    const QByteArray wrapped = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return wrapped.mid(1, wrapped.size() - 2);
}

}  // namespace

bool TakeOutputFormat(QStringList& args, OutputFormat& format)
{
    const bool json = args.removeAll(QStringLiteral("--json")) > 0;
    const bool print0 = args.removeAll(QStringLiteral("--print0")) > 0;
    format = json ? OutputFormat::Json : print0 ? OutputFormat::Print0 : OutputFormat::Text;
    return !(json && print0);
}

QJsonValue FileTimeJson(plat::FileTime t)
{
    if (t == 0)
        return QJsonValue::Null;
    const time_t seconds = time_t(qint64(t / 10'000'000ULL) - kEpochDelta);
    struct tm local {};
    if (!localtime_r(&seconds, &local))
        return QJsonValue::Null;
    const long offset = local.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    char text[64];
    const int n = std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld", local.tm_year + 1900,
                                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                                offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    // Years beyond four digits are no ISO 8601 date a reader takes.
    if (n <= 0 || local.tm_year + 1900 > 9999)
        return QJsonValue::Null;
    return QString::fromLatin1(text, n);
}

void PutPosixPath(QJsonObject& row, const QByteArray& posix)
{
    const QString text = QString::fromUtf8(posix);
    row.insert(QStringLiteral("path"), text);
    if (text.toUtf8() != posix)
        row.insert(QStringLiteral("pathBytes"), QString::fromLatin1(posix.toBase64()));
}

std::optional<quint64> ParseGroupedCount(QStringView text)
{
    QString digits = text.toString();
    const QString separator = QLocale().groupSeparator();
    if (!separator.isEmpty())
        digits.remove(separator);
    if (digits.isEmpty() || digits.size() > 20)
        return std::nullopt;
    for (QChar c : digits)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    bool ok = false;
    const quint64 n = digits.toULongLong(&ok);
    return ok ? std::optional<quint64>(n) : std::nullopt;
}

RowOutput::RowOutput(OutputFormat format, const QString& command, FILE* to)
    : format_(format), command_(command), to_(to)
{
}

RowOutput::~RowOutput()
{
    if (g_output == this)
        g_output = nullptr;
}

void RowOutput::testSafeHarbor()
{
    if (format_ != OutputFormat::Json)
        return;
    auto harbor = std::make_unique<core::SafeHarbor>();
    // The main window's load order: extensions first, then the folder lists.
    harbor->ReadSafeHarborExtensions();
    harbor->GetSearchPath();
    // Without folders.txt a 0 would claim more than is known.
    if (!harbor->SafeHarborMissing)
        harbor_ = std::move(harbor);
}

RowOutput::FileFacts RowOutput::readFacts(const QString& drivePath)
{
    plat::TreeEntry entry;
    plat::TreeError error = plat::TreeError::None;
    FileFacts facts;
    if (!folders_.openParent(plat::cleanDrivePath(drivePath), entry, error) || entry.isFolder() || entry.isLink())
        return facts;
    facts.size = entry.data.size();
    facts.modified = entry.data.lastWriteTime;
    facts.accessed = entry.data.lastAccessTime;
    facts.created = entry.data.creationTime;
    facts.found = true;
    return facts;
}

void RowOutput::putFile(const QString& drivePath, const FileFacts& facts, QJsonObject row)
{
    const QString name = drivePath.mid(drivePath.lastIndexOf(u'\\') + 1);
    row.insert(QStringLiteral("type"), typeNames_.ofFile(name));
    row.insert(QStringLiteral("size"), facts.found ? QJsonValue(qint64(facts.size)) : QJsonValue());
    row.insert(QStringLiteral("modified"), FileTimeJson(facts.found ? facts.modified : 0));
    row.insert(QStringLiteral("accessed"), FileTimeJson(facts.found ? facts.accessed : 0));
    row.insert(QStringLiteral("created"), FileTimeJson(facts.found ? facts.created : 0));
    put(drivePath, row, true, true);
}

void RowOutput::addFile(const QString& drivePath, const QJsonObject& extra)
{
    if (format_ != OutputFormat::Json)
        put(drivePath, {}, true, false);
    else
        putFile(drivePath, readFacts(drivePath), extra);
}

void RowOutput::addFiles(int count, const std::function<QString(int)>& pathOf,
                         const std::function<QJsonObject(int)>& extraOf)
{
    if (format_ != OutputFormat::Json) {
        for (int i = 0; i < count; ++i)
            put(pathOf(i), {}, true, false);
        return;
    }
    // The rows of each folder together; a folder's text is kept once.
    QHash<QString, std::vector<int>> byFolder;
    for (int i = 0; i < count; ++i) {
        const QString path = pathOf(i);
        byFolder[path.left(path.lastIndexOf(u'\\'))].push_back(i);
    }
    std::vector<FileFacts> facts(size_t(std::max(count, 0)));
    for (const std::vector<int>& rows : std::as_const(byFolder))
        for (int i : rows)
            facts[size_t(i)] = readFacts(pathOf(i));
    byFolder.clear();
    for (int i = 0; i < count; ++i)
        putFile(pathOf(i), facts[size_t(i)], extraOf ? extraOf(i) : QJsonObject());
}

void RowOutput::addFolder(const QString& drivePath, const QJsonObject& fields)
{
    QJsonObject row = fields;
    row.insert(QStringLiteral("type"), QStringLiteral("folder"));
    put(drivePath, row, false, true);
}

void RowOutput::addRow(const QString& drivePath, const QJsonObject& fields)
{
    put(drivePath, fields, true, false);
}

void RowOutput::put(const QString& drivePath, QJsonObject row, bool isFile, bool withHarbor)
{
    const std::optional<QByteArray> posix = plat::toPosix(drivePath);
    if (format_ == OutputFormat::Print0) {
        // A path the drive table cannot map names nothing to act on.
        if (posix)
            write(*posix + '\0');
        return;
    }
    if (format_ != OutputFormat::Json)
        return;
    if (posix)
        PutPosixPath(row, *posix);
    else
        row.insert(QStringLiteral("path"), QJsonValue::Null);
    row.insert(QStringLiteral("drivePath"), drivePath);
    if (withHarbor && harbor_)
        row.insert(QStringLiteral("harbor"), int(harbor_->IsInSafeHarbor(drivePath, isFile)));
    writeHead();
    QByteArray line = rows_++ ? QByteArrayLiteral(",\n") : QByteArrayLiteral("\n");
    line += QJsonDocument(row).toJson(QJsonDocument::Compact);
    write(line);
}

void RowOutput::writeHead()
{
    if (headWritten_)
        return;
    headWritten_ = true;
    // Written by hand so that the keys keep this order; every value is
    // encoded by QJsonDocument.
    write("{\"version\":1,\"command\":" + Encoded(command_) + ",\"criteria\":" + Encoded(criteria_)
          + ",\"rows\":[");
}

void RowOutput::finish()
{
    if (finished_ || format_ != OutputFormat::Json) {
        std::fflush(to_);
        return;
    }
    finished_ = true;
    writeHead();
    write((rows_ ? QByteArrayLiteral("\n],\"messages\":") : QByteArrayLiteral("],\"messages\":"))
          + Encoded(QJsonArray::fromStringList(messages_)) + "}\n");
    std::fflush(to_);
}

void RowOutput::write(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to_);
}

RowOutput* rowOutput()
{
    return g_output;
}

void setRowOutput(RowOutput* output)
{
    g_output = output;
}

}  // namespace cli
