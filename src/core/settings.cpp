#include "core/settings.h"

#include "platform/environment.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace core {

namespace {

const char* const kSettingsFileName = "Trovik-3.0.ini";
const char* const kPlacementFileName = "Trovik-3.0-placement.ini";
const char* const kPlacementDatesFileName = "Trovik-3.0-placement-mods.ini";

// The folder of an INI file must exist before QSettings can write it.
void ensureFolderOf(const QString& file)
{
    const QString folder = QFileInfo(file).absolutePath();
    if (!folder.isEmpty())
        QDir().mkpath(folder);
}

// The text of a value as it was stored. QSettings turns an unquoted value
// holding a comma (a hand-edited file) into a list; such a value reads as
// its parts joined again. Values of any other type (byte arrays, rectangles,
// "@Invalid()") are not strings: empty optional, as is a missing value.
std::optional<QString> storedText(QSettings& s, const QString& name)
{
    if (name.isEmpty() || !s.contains(name))
        return std::nullopt;
    const QVariant v = s.value(name);
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString();
    case QMetaType::QStringList:
        return v.toStringList().join(QStringLiteral(", "));
    default:
        return std::nullopt;
    }
}

// A fresh QSettings opened at one section, for one access.
class Access {
public:
    Access(const QString& file, const QString& section)
        : s_(file, QSettings::IniFormat)
    {
        if (!section.isEmpty())
            s_.beginGroup(section);
    }
    QSettings& operator*() { return s_; }
    QSettings* operator->() { return &s_; }

private:
    QSettings s_;
};

void writeText(const QString& file, const QString& section, const QString& name, const QString& value)
{
    if (name.isEmpty())
        return;
    ensureFolderOf(file);
    Access a(file, section);
    a->setValue(name, value);
    a->sync();
}

std::optional<qint64> parseFloatWhole(const QString& text)
{
    bool ok = false;
    double x = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok)
        x = QLocale().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(x) || x != std::floor(x))
        return std::nullopt;
    // 2^63 is exactly representable; everything below it fits.
    if (x >= 9223372036854775808.0 || x < -9223372036854775808.0)
        return std::nullopt;
    return qint64(x);
}

// Size totals: 64-bit decimal text; older stores may hold the text of a
// floating total ("1234.0", "1.5E9"), read when it is a whole number.
qint64 readTotal(QSettings& s, const QString& name, qint64 def)
{
    const auto text = storedText(s, name);
    if (!text)
        return def;
    if (const auto v = parseStoredInteger(*text, true))
        return *v;
    if (const auto v = parseFloatWhole(*text))
        return *v;
    return def;
}

qint64 readInteger(QSettings& s, const QString& name, qint64 def, bool allow64)
{
    const auto text = storedText(s, name);
    if (!text)
        return def;
    const auto v = parseStoredInteger(*text, allow64);
    return v ? *v : def;
}

int hexDigit(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<qint64> parseStoredInteger(const QString& text, bool allow64)
{
    const quint64 maxPositive = allow64 ? quint64(std::numeric_limits<qint64>::max())
                                        : quint64(std::numeric_limits<qint32>::max());
    const quint64 maxNegative = maxPositive + 1;  // magnitude of the minimum

    if (text.size() > 2 && text[0] == QLatin1Char('0')
        && (text[1] == QLatin1Char('x') || text[1] == QLatin1Char('X'))) {
        quint64 v = 0;
        for (qsizetype i = 2; i < text.size(); ++i) {
            const int d = hexDigit(text[i]);
            if (d < 0 || v > (maxPositive >> 4))
                return std::nullopt;
            v = (v << 4) | quint64(d);
            if (v > maxPositive)
                return std::nullopt;
        }
        return qint64(v);
    }

    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    const quint64 limit = negative ? maxNegative : maxPositive;
    quint64 v = 0;
    for (; i < text.size(); ++i) {
        const ushort u = text[i].unicode();
        if (u < '0' || u > '9')
            return std::nullopt;
        const quint64 d = u - '0';
        if (v > (limit - d) / 10)
            return std::nullopt;
        v = v * 10 + d;
    }
    if (negative)
        return v > quint64(std::numeric_limits<qint64>::max()) ? std::numeric_limits<qint64>::min() : -qint64(v);
    return qint64(v);
}

// ---------------------------------------------------------------------------
// SettingsStore

QString SettingsStore::filePath()
{
    return plat::configFile(QString::fromLatin1(kSettingsFileName));
}

QString SettingsStore::readString(const QString& section, const QString& name, const QString& def)
{
    Access a(filePath(), section);
    const auto text = storedText(*a, name);
    return text ? *text : def;
}

int SettingsStore::readInt(const QString& section, const QString& name, int def)
{
    Access a(filePath(), section);
    return int(readInteger(*a, name, def, false));
}

qint64 SettingsStore::readInt64(const QString& section, const QString& name, qint64 def)
{
    Access a(filePath(), section);
    return readInteger(*a, name, def, true);
}

double SettingsStore::readFloat(const QString& section, const QString& name, double def)
{
    Access a(filePath(), section);
    const auto text = storedText(*a, name);
    if (!text)
        return def;
    bool ok = false;
    double x = QLocale::c().toDouble(text->trimmed(), &ok);
    if (!ok)
        x = QLocale().toDouble(text->trimmed(), &ok);
    return ok ? x : def;
}

void SettingsStore::writeString(const QString& section, const QString& name, const QString& value)
{
    writeText(filePath(), section, name, value);
}

void SettingsStore::writeInt(const QString& section, const QString& name, qint64 value)
{
    writeText(filePath(), section, name, QString::number(value));
}

void SettingsStore::writeFloat(const QString& section, const QString& name, double value)
{
    writeText(filePath(), section, name, QString::number(value, 'g', 15));
}

bool SettingsStore::hasValue(const QString& section, const QString& name)
{
    if (name.isEmpty())
        return false;
    Access a(filePath(), section);
    return a->contains(name);
}

std::optional<QStringList> SettingsStore::readList(const QString& section)
{
    Access a(filePath(), section);
    const qint64 n = readInteger(*a, QStringLiteral("Number"), -1, false);
    if (n < 0)
        return std::nullopt;

    // The stored values are walked, not the numbers 1..Number: a hand-made
    // Number of two thousand million reads as fast as the few values that
    // exist. Values that are absent read as empty and are skipped anyway.
    std::vector<std::pair<qint64, QString>> found;
    const QStringList keys = a->childKeys();
    for (const QString& key : keys) {
        if (!key.startsWith(QLatin1String("File")))
            continue;
        bool ok = false;
        const qint64 k = key.mid(4).toLongLong(&ok);
        // Only the names the list writes ("File7", not "File07" or "File+7").
        if (!ok || k < 1 || k > n || key != QLatin1String("File") + QString::number(k))
            continue;
        const auto text = storedText(*a, key);
        if (text && !text->isEmpty())
            found.emplace_back(k, *text);
    }
    std::sort(found.begin(), found.end(),
              [](const auto& x, const auto& y) { return x.first < y.first; });
    QStringList entries;
    entries.reserve(qsizetype(found.size()));
    for (auto& [k, text] : found)
        entries << std::move(text);
    return entries;
}

void SettingsStore::writeList(const QString& section, const QStringList& entries)
{
    const QString file = filePath();
    ensureFolderOf(file);
    Access a(file, section);
    a->setValue(QStringLiteral("Number"), QString::number(entries.size()));
    for (qsizetype k = 0; k < entries.size(); ++k) {
        const QString& entry = entries[k];
        const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
        a->setValue(QStringLiteral("File") + QString::number(k + 1), tab >= 0 ? entry.left(tab) : entry);
    }
    a->sync();
}

int SettingsStore::readColumnWidth(const QString& section, int column, int base96, int screenDpi)
{
    const int def = int(qint64(screenDpi) * base96 / 96);
    return readInt(section, QStringLiteral("ColWid") + QString::number(column), def);
}

void SettingsStore::writeColumnWidth(const QString& section, int column, int width)
{
    writeInt(section, QStringLiteral("ColWid") + QString::number(column), width);
}

// ---------------------------------------------------------------------------
// Window placement

QString WindowPlacement::toText() const
{
    const int fields[10] = {flags, showCommand, minX, minY, maxX, maxY, left, top, right, bottom};
    QString text;
    for (int v : fields)
        text += QString::number(v) + QLatin1Char(' ');
    return text;
}

WindowPlacement WindowPlacement::fromText(const QString& text)
{
    int fields[10];
    qsizetype pos = 0;
    for (int i = 0; i < 10; ++i) {
        const int fallback = i == 1 ? 1 : 0;
        if (pos >= text.size()) {
            fields[i] = fallback;
            continue;
        }
        qsizetype space = text.indexOf(QLatin1Char(' '), pos);
        if (space < 0)
            space = text.size();
        const auto v = parseStoredInteger(text.mid(pos, space - pos), false);
        fields[i] = v ? int(*v) : fallback;
        pos = space + 1;
    }
    WindowPlacement p;
    p.flags = fields[0];
    p.showCommand = fields[1];
    p.minX = fields[2];
    p.minY = fields[3];
    p.maxX = fields[4];
    p.maxY = fields[5];
    p.left = fields[6];
    p.top = fields[7];
    p.right = fields[8];
    p.bottom = fields[9];
    return p;
}

QString PlacementStore::filePath(Key key)
{
    return plat::configFile(QString::fromLatin1(key == Key::FilesByDate ? kPlacementDatesFileName
                                                                       : kPlacementFileName));
}

WindowPlacement PlacementStore::read(Key key, const QString& section, const QString& id)
{
    Access a(filePath(key), section);
    const auto text = storedText(*a, id);
    return WindowPlacement::fromText(text ? *text : QString());
}

void PlacementStore::write(Key key, const QString& section, const QString& id, const WindowPlacement& p) noexcept
{
    try {
        writeText(filePath(key), section, id, p.toText());
    } catch (...) {
        // A placement that cannot be kept is simply forgotten.
    }
}

// ---------------------------------------------------------------------------
// CumulativeTotals

namespace {
const char* const kTotalsSection = "Trovik";
}

CumulativeTotals CumulativeTotals::load()
{
    Access a(SettingsStore::filePath(), QString::fromLatin1(kTotalsSection));
    QSettings& s = *a;
    CumulativeTotals t;
    t.nDelete = readInteger(s, QStringLiteral("Ndelete"), -1, true);
    t.sizeDelete = readTotal(s, QStringLiteral("SizeDelete"), -1);
    t.nWaste = readInteger(s, QStringLiteral("NWaste"), -1, true);
    t.sizeWaste = readTotal(s, QStringLiteral("SizeWaste"), -1);
    t.delDate = readInteger(s, QStringLiteral("DelDate"), -1, true);
    t.nZip = readInteger(s, QStringLiteral("NZip"), -1, true);
    t.sizeZip = readTotal(s, QStringLiteral("SizeZip"), -1);
    t.zipDate = readInteger(s, QStringLiteral("ZipDate"), -1, true);
    return t;
}

void CumulativeTotals::save() const
{
    const QString file = SettingsStore::filePath();
    ensureFolderOf(file);
    Access a(file, QString::fromLatin1(kTotalsSection));
    QSettings& s = *a;
    s.setValue(QStringLiteral("Ndelete"), QString::number(nDelete));
    s.setValue(QStringLiteral("SizeDelete"), QString::number(sizeDelete));
    s.setValue(QStringLiteral("NWaste"), QString::number(nWaste));
    s.setValue(QStringLiteral("SizeWaste"), QString::number(sizeWaste));
    s.setValue(QStringLiteral("DelDate"), QString::number(delDate));
    s.setValue(QStringLiteral("NZip"), QString::number(nZip));
    s.setValue(QStringLiteral("SizeZip"), QString::number(sizeZip));
    s.setValue(QStringLiteral("ZipDate"), QString::number(zipDate));
    s.sync();
}

// ---------------------------------------------------------------------------
// Day numbers

qint64 dayNumber(int year, int month, int day)
{
    const QDate d(year, month, day);
    if (!d.isValid())
        return -1;
    return d.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
}

qint64 todayDayNumber()
{
    const QDate today = QDate::currentDate();
    return dayNumber(today.year(), today.month(), today.day());
}

}  // namespace core
