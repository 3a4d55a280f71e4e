// Date formats, DOS date-time values and date texts.
#include "core/helpers.h"

#include "core/settings.h"

#include <QLocale>
#include <QTime>

#include <optional>

namespace core {

namespace {

std::optional<QString>& shortDateFormatSlot()
{
    static std::optional<QString> format;
    return format;
}

struct DecodedDos {
    QDate date;
    QTime time;
};

// Decodes a PackedDosDateTime; empty when any part is out of range.
std::optional<DecodedDos> decodeDos(PackedDosDateTime t)
{
    const int year = int(t >> 25) + 1980;
    const int month = int((t >> 21) & 0x0F);
    const int day = int((t >> 16) & 0x1F);
    const int hour = int((t >> 11) & 0x1F);
    const int minute = int((t >> 5) & 0x3F);
    const int second = int(t & 0x1F) * 2;
    if (!QDate::isValid(year, month, day) || !QTime::isValid(hour, minute, second))
        return std::nullopt;
    return DecodedDos{QDate(year, month, day), QTime(hour, minute, second)};
}

const QDate& dosEpoch()
{
    static const QDate d(1980, 1, 1);
    return d;
}

QString plural(qint64 k)
{
    return k > 1 ? QStringLiteral("s") : QString();
}

// Day of the week, 1 = Sunday .. 7 = Saturday.
int weekdaySundayFirst(const QDate& d)
{
    return d.dayOfWeek() % 7 + 1;
}

// Whole years and months of a month difference m whose year difference is y.
void splitYearsMonths(qint64 m, qint64 y, qint64& years, qint64& months)
{
    const qint64 g = y - 1;
    const qint64 r = m - 12 * g;
    if (r < 12) {
        years = g;
        months = r;
    } else {
        years = g + r / 12;
        months = r % 12;
    }
}

}  // namespace

// ---------------------------------------------------------------------------
// Formats

QString WidenDateFormat(const QString& format)
{
    QString f = format;
    if (!f.contains(QLatin1String("yyyy"))) {
        const qsizetype yy = f.indexOf(QLatin1String("yy"));
        if (yy >= 0)
            f.insert(yy, QLatin1String("yy"));
    }
    const qsizetype mmm = f.indexOf(QLatin1String("MMM"));
    if (mmm >= 0)
        f.replace(mmm, 3, QLatin1String("MM"));
    return f;
}

QString ShortDateFormat()
{
    const auto& slot = shortDateFormatSlot();
    if (slot && !slot->isEmpty())
        return *slot;
    return WidenDateFormat(QLocale().dateFormat(QLocale::ShortFormat));
}

void SetShortDateFormat(const QString& format)
{
    shortDateFormatSlot() = format;
}

QString LongTimeFormat()
{
    // The locale's long time format without the time-zone field, which a
    // bare time of day does not have.
    const QString f = QLocale().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (QChar c : f) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.trimmed();
}

// ---------------------------------------------------------------------------
// Date texts

QString SafeDateToStr(const QDate& d)
{
    const QString format = ShortDateFormat();
    if (d.isValid()) {
        const QString text = QLocale().toString(d, format);
        if (!text.isEmpty())
            return text;
    }
    return QLocale().toString(dosEpoch(), format);
}

QDateTime DosToDateTime(PackedDosDateTime t)
{
    if (const auto d = decodeDos(t))
        return QDateTime(d->date, d->time);
    return QDateTime(dosEpoch(), QTime(0, 0));
}

PackedDosDateTime DateTimeToDos(const QDateTime& local)
{
    if (!local.isValid())
        return 0;
    const QDateTime lt = local.timeSpec() == Qt::LocalTime ? local : local.toLocalTime();
    const QDate d = lt.date();
    const QTime t = lt.time();
    if (!d.isValid() || !t.isValid() || d.year() < 1980 || d.year() > 2107)
        return 0;
    return (PackedDosDateTime(d.year() - 1980) << 25) | (PackedDosDateTime(d.month()) << 21)
        | (PackedDosDateTime(d.day()) << 16) | (PackedDosDateTime(t.hour()) << 11)
        | (PackedDosDateTime(t.minute()) << 5) | PackedDosDateTime(t.second() / 2);
}

QString DosDateText(PackedDosDateTime t)
{
    if (t == 0)
        return QString();
    const auto d = decodeDos(t);
    return SafeDateToStr(d ? d->date : dosEpoch());
}

QString DosTimeText(PackedDosDateTime t)
{
    if (t == 0)
        return QString();
    const auto d = decodeDos(t);
    const QTime time = d ? d->time : QTime(12, 0, 0);
    const QString text = QLocale().toString(time, LongTimeFormat());
    return text.isEmpty() ? QStringLiteral("12:00:00") : text;
}

QString DosTimeHHMM(PackedDosDateTime t)
{
    const auto d = decodeDos(t);
    if (!d)
        return QStringLiteral("1200");
    return QStringLiteral("%1%2")
        .arg(d->time.hour(), 2, 10, QLatin1Char('0'))
        .arg(d->time.minute(), 2, 10, QLatin1Char('0'));
}

QString DosDateYYYYMMDD(PackedDosDateTime t)
{
    const auto d = decodeDos(t);
    if (!d)
        return QStringLiteral("19800101");
    return QStringLiteral("%1%2%3")
        .arg(d->date.year(), 4, 10, QLatin1Char('0'))
        .arg(d->date.month(), 2, 10, QLatin1Char('0'))
        .arg(d->date.day(), 2, 10, QLatin1Char('0'));
}

int AgeInDays(PackedDosDateTime t, const QDate& today)
{
    if (t == 0)
        return -1;
    const auto d = decodeDos(t);
    const QDate date = d ? d->date : dosEpoch();
    const qint64 days = today.toJulianDay() - date.toJulianDay();
    return int(days < 0 ? -days : days);
}

int AgeInDays(PackedDosDateTime t)
{
    return AgeInDays(t, QDate::currentDate());
}

QString AgeText(const QDateTime& d)
{
    return RelativeDateText(d, QDateTime::currentDateTime());
}

QString RelativeDateText(const QDateTime& d, const QDateTime& ref)
{
    const QDate dd = d.date();
    const QDate rd = ref.date();
    if (!dd.isValid() || dd.year() == 0 || !rd.isValid())
        return QString();

    const qint64 diff = rd.toJulianDay() - dd.toJulianDay();
    const qint64 n = diff < 0 ? -diff : diff;
    const bool future = dd > rd;

    if (n == 0)
        return QStringLiteral("Today");
    if (n == 1)
        return future ? QStringLiteral("Tomorrow") : QStringLiteral("Yesterday");

    if (future) {
        const int wdRef = weekdaySundayFirst(rd);
        const qint64 w = (n + wdRef - 1) / 7;
        if (7 - wdRef >= n)
            return QStringLiteral("This week");
        if (w < 2)
            return QStringLiteral("Next week");
        const qint64 m = (qint64(dd.year()) * 12 + dd.month()) - (qint64(rd.year()) * 12 + rd.month());
        const qint64 y = qint64(dd.year()) - rd.year();
        if (m <= 2)
            return QString::number(w) + QStringLiteral(" wks");
        if (y > 2) {
            qint64 years = 0, months = 0;
            splitYearsMonths(m, y, years, months);
            QString text = QString::number(years) + QStringLiteral(" yrs");
            if (months > 0)
                text += QLatin1Char(' ') + QString::number(months) + QStringLiteral(" mon") + plural(months);
            return text;
        }
        return QString::number(m) + QStringLiteral(" mon") + plural(m);
    }

    const qint64 w = (weekdaySundayFirst(dd) + n - 1) / 7;
    if (w == 0)
        return QStringLiteral("This week");
    if (w == 1)
        return QStringLiteral("Last week");
    const qint64 m = (qint64(rd.year()) * 12 + rd.month()) - (qint64(dd.year()) * 12 + dd.month());
    const qint64 y = qint64(rd.year()) - dd.year();
    if (m <= 2)
        return QString::number(w) + QStringLiteral(" wks ago");
    if (y > 2) {
        qint64 years = 0, months = 0;
        splitYearsMonths(m, y, years, months);
        QString text = QString::number(years) + QStringLiteral(" yrs ");
        if (months > 0)
            text += QString::number(months) + QStringLiteral(" mon") + plural(months) + QLatin1Char(' ');
        return text + QStringLiteral("ago");
    }
    return QString::number(m) + QStringLiteral(" mon") + plural(m) + QStringLiteral(" ago");
}

}  // namespace core
