#include "delete/deletionlog.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>
#include <cmath>

namespace del {

namespace {

// More rows than any log gathers in years; a file claiming more is not
// believed, so a damaged first line cannot make us allocate without end.
constexpr int kMaxRows = 100000;

QString escapeCell(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char('\t'));
    text.replace(QLatin1Char('\n'), QLatin1Char('\b'));
    return text;
}

QString unescapeCell(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char('\r'));
    text.replace(QLatin1Char('\b'), QLatin1Char('\n'));
    return text;
}

std::optional<int> parseInt(QStringView text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

QStringList emptyRow()
{
    return QStringList(DeletionLog::kColumns, QString());
}

}  // namespace

const QStringList& DeletionLog::headers()
{
    static const QStringList h{QStringLiteral("Date/Time"),    QStringLiteral("# Deleted"),
                               QStringLiteral("Size Deleted"), QStringLiteral("# Recycled"),
                               QStringLiteral("Size Recycled"), QStringLiteral("# Zipped"),
                               QStringLiteral("Size Zipped")};
    return h;
}

const QList<int>& DeletionLog::defaultWidths()
{
    static const QList<int> w{127, 49, 93, 49, 95, 53, 90};
    return w;
}

DeletionLog::DeletionLog(const QString& posixFile, QObject* parent)
    : QObject(parent), file_(posixFile), clock_([] { return QDateTime::currentDateTime(); })
{
    reset();
}

void DeletionLog::reset()
{
    rows_ = {headers(), emptyRow(), emptyRow()};
    widths_ = defaultWidths();
}

QString DeletionLog::cell(int column, int row) const
{
    if (row < 0 || row >= rows_.size() || column < 0 || column >= kColumns)
        return QString();
    return rows_[row][column];
}

int DeletionLog::columnWidth(int column) const
{
    return column >= 0 && column < kColumns ? widths_[column] : 0;
}

int DeletionLog::usedRows() const
{
    int n = 0;
    for (int r = 1; r < rows_.size(); ++r)
        if (!rows_[r][0].isEmpty())
            ++n;
    return n;
}

QString DeletionLog::plainNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    // Whole bytes: no decimal point, no exponent, no grouping.
    return QString::number(std::round(value), 'f', 0);
}

QString DeletionLog::toText() const
{
    QString out;
    QTextStream s(&out);
    s << kColumns << ',' << rows_.size() << '\n';
    for (int c = 0; c < kColumns; ++c)
        s << "cw " << c << ',' << widths_[c] << '\n';
    for (int r = 0; r < rows_.size(); ++r)
        for (int c = 0; c < kColumns; ++c)
            if (!rows_[r][c].isEmpty())
                s << c << ',' << r << ',' << escapeCell(rows_[r][c]) << '\n';
    s.flush();
    return out;
}

bool DeletionLog::fromText(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (lines.isEmpty())
        return false;

    const QStringList first = lines[0].split(QLatin1Char(','));
    if (first.size() != 2)
        return false;
    const auto columns = parseInt(first[0]);
    const auto rowCount = parseInt(first[1]);
    if (!columns || *columns != kColumns || !rowCount || *rowCount < 2 || *rowCount > kMaxRows)
        return false;

    QList<QStringList> rows(*rowCount, emptyRow());
    QList<int> widths = defaultWidths();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("cw "))) {
            const QStringList parts = line.mid(3).split(QLatin1Char(','));
            const auto c = parts.size() == 2 ? parseInt(parts[0]) : std::nullopt;
            const auto w = parts.size() == 2 ? parseInt(parts[1]) : std::nullopt;
            if (c && w && *c >= 0 && *c < kColumns && *w >= 0)
                widths[*c] = *w;
            continue;
        }
        // "<col>,<row>,<text>": the text is everything after the second comma.
        const qsizetype a = line.indexOf(QLatin1Char(','));
        const qsizetype b = a < 0 ? -1 : line.indexOf(QLatin1Char(','), a + 1);
        if (b < 0)
            continue;
        const auto c = parseInt(QStringView(line).left(a));
        const auto r = parseInt(QStringView(line).mid(a + 1, b - a - 1));
        if (!c || !r || *c < 0 || *c >= kColumns || *r < 0 || *r >= *rowCount)
            continue;
        rows[*r][*c] = unescapeCell(line.mid(b + 1));
    }
    // The header is the program's own, whatever the file says.
    rows[0] = headers();
    rows_ = rows;
    widths_ = widths;
    return true;
}

bool DeletionLog::load()
{
    lastError_.clear();
    damaged_ = false;
    keptAs_.clear();
    if (file_.isEmpty() || !QFileInfo::exists(file_)) {
        reset();
        emit changed();
        return true;
    }
    // A file that is there but not usable must survive the next save.
    auto fail = [this](const QString& why) {
        lastError_ = why;
        damaged_ = true;
        keptAs_ = freeDamagedName(file_);
        return false;
    };
    QFile f(file_);
    if (!f.open(QIODevice::ReadOnly))
        return fail(f.errorString());
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return fail(f.errorString());
    if (!fromText(QString::fromLocal8Bit(data)))
        return fail(QStringLiteral("not a deletion log"));
    emit changed();
    return true;
}

QString DeletionLog::freeDamagedName(const QString& file)
{
    const QString base = file + QStringLiteral(".bad");
    QString name = base;
    for (int n = 1; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = base + QString::number(n);
    return name;
}

bool DeletionLog::setDamagedFileAside()
{
    // Gone meanwhile (moved away by hand): nothing left to keep.
    if (!QFileInfo::exists(file_) && !QFileInfo(file_).isSymLink()) {
        damaged_ = false;
        return true;
    }
    // The name told at load may have been taken since; rename never replaces.
    if (keptAs_.isEmpty() || QFileInfo::exists(keptAs_) || QFileInfo(keptAs_).isSymLink())
        keptAs_ = freeDamagedName(file_);
    QFile f(file_);
    if (!f.rename(keptAs_)) {
        lastError_ = QStringLiteral("the damaged log could not be kept as ") + keptAs_ + QStringLiteral(": ") +
                     f.errorString();
        return false;
    }
    damaged_ = false;
    return true;
}

bool DeletionLog::save()
{
    lastError_.clear();
    if (file_.isEmpty())
        return true;
    if (damaged_ && !setDamagedFileAside())
        return false;
    QSaveFile f(file_);
    if (!f.open(QIODevice::WriteOnly)) {
        lastError_ = f.errorString();
        return false;
    }
    const QByteArray data = toText().toLocal8Bit();
    if (f.write(data) != data.size() || !f.commit()) {
        lastError_ = f.errorString();
        f.cancelWriting();
        return false;
    }
    return true;
}

bool DeletionLog::clear()
{
    rows_ = {headers(), emptyRow()};
    emit changed();
    return save();
}

bool DeletionLog::addToDeleteGrid(qint64 deleted, double deletedBytes, qint64 recycled, double recycledBytes,
                                  qint64 zipped, double zippedBytes)
{
    int row = -1;
    for (int r = 1; r < rows_.size(); ++r) {
        if (rows_[r][0].isEmpty()) {
            row = r;
            break;
        }
    }
    if (row < 0) {
        rows_.insert(1, emptyRow());
        row = 1;
    }
    QStringList& cells = rows_[row];
    cells[0] = clock_().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    cells[1] = QString::number(deleted);
    cells[2] = plainNumber(deletedBytes);
    cells[3] = QString::number(recycled);
    cells[4] = plainNumber(recycledBytes);
    cells[5] = QString::number(zipped);
    cells[6] = plainNumber(zippedBytes);
    emit changed();
    return save();
}

namespace {
DeletionLog* theProgramLog = nullptr;
}

DeletionLog& programLog()
{
    if (theProgramLog)
        return *theProgramLog;
    static DeletionLog inMemory;
    return inMemory;
}

void setProgramLog(DeletionLog* log)
{
    theProgramLog = log;
}

}  // namespace del
