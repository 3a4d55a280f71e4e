#include "core/dostexts.h"

#include <QDate>
#include <QTime>

#include <ctime>
#include <new>

namespace core {

namespace {

using Fields = std::vector<DosTexts::Field>;

bool IsAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The format as fields; false when it holds anything but the letters in
// allowed (each with a run length that is a plain number field), AM/PM
// markers where allowed, and characters that stand for themselves.
// Quoted text is left to the locale.
bool ParseFormat(const QString& format, bool dates, Fields& out)
{
    out.clear();
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'')
            return false;
        if (!IsAsciiLetter(c)) {
            if (out.empty() || out.back().kind != 0)
                out.push_back({});
            out.back().literal += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c)
            ++run;
        const char k = char(c.unicode());
        bool ok = false;
        if (dates)
            ok = ((k == 'd' || k == 'M') && run <= 2) || (k == 'y' && (run == 2 || run == 4));
        else if (k == 'h' || k == 'H' || k == 'm' || k == 's')
            ok = run <= 2;
        else if ((k == 'a' || k == 'A') && run == 1) {
            // "A", "a", "AP", "ap", "Ap", "aP": one marker.
            if (i + 1 < format.size() && (format[i + 1] == u'p' || format[i + 1] == u'P')) {
                const bool upperP = format[i + 1] == u'P';
                out.push_back({k, upperP ? 3 : 2, QString()});
                i += 2;
                continue;
            }
            ok = true;
        }
        if (!ok)
            return false;
        out.push_back({k, int(run), QString()});
        i += run;
    }
    return true;
}

// Seconds since 1970 of a file time, as FileTimeToLocalDos takes them.
qint64 UnixSeconds(plat::FileTime t)
{
    constexpr qint64 kEpochDifference = 11644473600LL;
    return qint64(t / 10000000ULL) - kEpochDifference;
}

// The DOS value of local seconds since 1970 (the local time written as if
// it were UTC), as FileTimeToLocalDos packs it.
PackedDosDateTime PackLocal(qint64 local)
{
    const qint64 days = local >= 0 ? local / 86400 : -((-local + 86399) / 86400);
    const qint64 secs = local - days * 86400;
    // Civil date from days since 1970-01-01 (proleptic Gregorian).
    const qint64 z = days + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    const qint64 day = doy - (153 * mp + 2) / 5 + 1;
    const qint64 month = mp < 10 ? mp + 3 : mp - 9;
    const qint64 year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    if (year < 1980 || year > 2107)
        return 0;
    return (PackedDosDateTime(year - 1980) << 25) | (PackedDosDateTime(month) << 21)
        | (PackedDosDateTime(day) << 16) | (PackedDosDateTime(secs / 3600) << 11)
        | (PackedDosDateTime(secs / 60 % 60) << 5) | PackedDosDateTime(secs % 60 / 2);
}

// The zone's offset at a time, or LocalDosClock's "ask each time".
qint64 OffsetAt(qint64 seconds, qint64 none)
{
    const std::time_t tt = std::time_t(seconds);
    std::tm local{};
    if (qint64(tt) != seconds || !localtime_r(&tt, &local))
        return none;
    return local.tm_gmtoff;
}

void AppendNumber(QString& out, int value, int width)
{
    char16_t digits[12];
    int n = 0;
    do {
        digits[n++] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value);
    if (width >= 2 && n < 2)
        digits[n++] = u'0';
    while (n)
        out += QChar(digits[--n]);
}

}  // namespace

DosTexts::DosTexts() : dateFormat_(ShortDateFormat()), timeFormat_(LongTimeFormat())
{
    am_ = locale_.amText();
    pm_ = locale_.pmText();
    Fields fields;
    if (ParseFormat(dateFormat_, true, fields) && !fields.empty()) {
        dateFields_ = fields;
        const QDate probes[] = {{1980, 1, 1},   {1999, 9, 9},   {2000, 10, 10}, {2005, 12, 31},
                                {2009, 11, 30}, {2024, 2, 29},  {2099, 7, 15},  {2107, 12, 31}};
        for (const QDate& d : probes)
            if (dateText(d.year(), d.month(), d.day()) != locale_.toString(d, dateFormat_))
                dateFields_.clear();
    }
    if (ParseFormat(timeFormat_, false, fields) && !fields.empty()) {
        timeFields_ = fields;
        for (const Field& f : timeFields_)
            twelveHours_ = twelveHours_ || f.kind == 'a' || f.kind == 'A';
        const int hours[] = {0, 1, 9, 10, 11, 12, 13, 21, 23};
        const int minutes[] = {0, 7, 10, 59};
        const int seconds[] = {0, 8, 10, 58};
        for (size_t k = 0; k < std::size(hours) * std::size(minutes); ++k) {
            const QTime t(hours[k % std::size(hours)], minutes[k % std::size(minutes)],
                          seconds[(k / std::size(minutes)) % std::size(seconds)]);
            if (timeText(t.hour(), t.minute(), t.second()) != locale_.toString(t, timeFormat_))
                timeFields_.clear();
        }
    }
}

QString DosTexts::dateText(int year, int month, int day) const
{
    if (dateFields_.empty())
        return locale_.toString(QDate(year, month, day), dateFormat_);
    QString out;
    out.reserve(24);
    for (const Field& f : dateFields_) {
        switch (f.kind) {
        case 0: out += f.literal; break;
        case 'd': AppendNumber(out, day, f.width); break;
        case 'M': AppendNumber(out, month, f.width); break;
        case 'y': AppendNumber(out, f.width == 2 ? year % 100 : year, 2); break;
        }
    }
    return out;
}

QString DosTexts::timeText(int hour, int minute, int second) const
{
    if (timeFields_.empty())
        return locale_.toString(QTime(hour, minute, second), timeFormat_);
    QString out;
    out.reserve(24);
    for (const Field& f : timeFields_) {
        switch (f.kind) {
        case 0: out += f.literal; break;
        case 'h': AppendNumber(out, twelveHours_ ? (hour % 12 == 0 ? 12 : hour % 12) : hour, f.width); break;
        case 'H': AppendNumber(out, hour, f.width); break;
        case 'm': AppendNumber(out, minute, f.width); break;
        case 's': AppendNumber(out, second, f.width); break;
        case 'a':
        case 'A': {
            const QString& text = hour < 12 ? am_ : pm_;
            // A lone letter or a pair of the same case gives that case;
            // "Ap" and "aP" the locale's own text.
            if (f.width == 1 || (f.kind == 'A' && f.width == 3))
                out += text.toUpper();
            else if (f.kind == 'a' && f.width == 2)
                out += text.toLower();
            else
                out += text;
            break;
        }
        }
    }
    return out;
}

QString DosTexts::date(PackedDosDateTime t) const
{
    if (t == 0)
        return QString();
    int year = int(t >> 25) + 1980, month = int((t >> 21) & 0x0F), day = int((t >> 16) & 0x1F);
    const bool valid = QDate::isValid(year, month, day)
                       && QTime::isValid(int((t >> 11) & 0x1F), int((t >> 5) & 0x3F), int(t & 0x1F) * 2);
    if (!valid) {
        year = 1980;
        month = 1;
        day = 1;
    }
    QString text = dateText(year, month, day);
    return text.isEmpty() ? dateText(1980, 1, 1) : text;
}

QString DosTexts::time(PackedDosDateTime t) const
{
    if (t == 0)
        return QString();
    int hour = int((t >> 11) & 0x1F), minute = int((t >> 5) & 0x3F), second = int(t & 0x1F) * 2;
    const bool valid = QDate::isValid(int(t >> 25) + 1980, int((t >> 21) & 0x0F), int((t >> 16) & 0x1F))
                       && QTime::isValid(hour, minute, second);
    if (!valid) {
        hour = 12;
        minute = 0;
        second = 0;
    }
    const QString text = timeText(hour, minute, second);
    return text.isEmpty() ? QStringLiteral("12:00:00") : text;
}

PackedDosDateTime LocalDosClock::operator()(plat::FileTime t)
{
    if (t == 0 || ask_)
        return FileTimeToLocalDos(t);
    const qint64 seconds = UnixSeconds(t);
    const qint64 day = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    // Days a table place cannot name are rare enough to ask the system.
    if (day < std::numeric_limits<qint32>::min() + 1 || day >= std::numeric_limits<qint32>::max())
        return FileTimeToLocalDos(t);
    if (!days_) {
        days_.reset(static_cast<Day*>(std::calloc(kDays, sizeof(Day))));
        if (!days_)
            throw std::bad_alloc();
    }
    Day& d = days_.get()[size_t(day) % kDays];
    if (d.dayPlusOne != qint32(day + 1)) {
        // One offset from the day's start to its end, the same at noon,
        // and the system's local time of this very time agrees with it.
        const qint64 start = day * 86400;
        const qint64 offset = OffsetAt(start, kNoOffset);
        const bool one = offset > kNoOffset && offset <= std::numeric_limits<qint32>::max()
                         && OffsetAt(start + 43200, kNoOffset) == offset
                         && OffsetAt(start + 86399, kNoOffset) == offset;
        const PackedDosDateTime system = FileTimeToLocalDos(t);
        if (one && PackLocal(seconds + offset) != system) {
            ask_ = true;  // a zone with leap seconds: not a plain offset
            return system;
        }
        d = {qint32(day + 1), one ? qint32(offset) : kNoOffset};
        return system;
    }
    if (d.offset == kNoOffset)
        return FileTimeToLocalDos(t);
    return PackLocal(seconds + d.offset);
}

}  // namespace core
