// Message boxes, text tests and conversions, number texts, and the settings
// and registry readers.
#include "core/helpers.h"

#include "core/prompter.h"
#include "core/settings.h"

#include <QLocale>

#include <cmath>

namespace core {

// ---------------------------------------------------------------------------
// Message boxes (the prompter beeps before errors and warnings)

void ErrorBox(const QString& message)
{
    prompter().message(MessageKind::Error, message);
}

void WarningBox(const QString& message)
{
    prompter().message(MessageKind::Warning, message);
}

void InfoBox(const QString& message)
{
    prompter().message(MessageKind::Info, message);
}

// ---------------------------------------------------------------------------
// Text tests and conversions

bool IsLetter(QChar c)
{
    const ushort u = c.unicode();
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

bool IsDigit(QChar c)
{
    const ushort u = c.unicode();
    return u >= '0' && u <= '9';
}

bool IsLetterOrDigit(QChar c)
{
    return IsLetter(c) || IsDigit(c);
}

bool IsBlankChar(QChar c)
{
    const ushort u = c.unicode();
    return u == 8 || u == 10 || u == 13 || u == 32;
}

bool IsBlankText(const QString& s)
{
    for (QChar c : s) {
        if (!IsBlankChar(c))
            return false;
    }
    return true;
}

QString DigitsOnly(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        if (IsDigit(c))
            out += c;
    }
    return out;
}

qint64 StrToIntOrZero(const QString& s)
{
    const QString t = s.trimmed();
    if (t.isEmpty())
        return 0;
    // Decimal only: a leading "0x" is not a decimal integer.
    if (t.size() > 2 && t[0] == QLatin1Char('0') && (t[1] == QLatin1Char('x') || t[1] == QLatin1Char('X')))
        return 0;
    const auto v = parseStoredInteger(t, true);
    return v ? *v : 0;
}

double StrToFloatOrZero(const QString& s)
{
    bool ok = false;
    QLocale loc;
    loc.setNumberOptions(loc.numberOptions() & ~QLocale::RejectGroupSeparator);
    const double x = loc.toDouble(s.trimmed(), &ok);
    if (!ok || !std::isfinite(x))
        return 0.0;
    return x;
}

namespace {

// Removes leading and trailing blanks and control characters (code <= 32).
QString trimControls(const QString& s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.mid(b, e - b);
}

}  // namespace

QString TabField(const QString& s, int n)
{
    if (n < 1)
        return QString();
    qsizetype start = 0;
    for (int field = 1; field < n; ++field) {
        const qsizetype tab = s.indexOf(QLatin1Char('\t'), start);
        if (tab < 0)
            return QString();
        start = tab + 1;
    }
    qsizetype end = s.indexOf(QLatin1Char('\t'), start);
    if (end < 0)
        end = s.size();
    return trimControls(s.mid(start, end - start));
}

QString JoinPath(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('\\')))
        return folder + name;
    return folder + QLatin1Char('\\') + name;
}

// ---------------------------------------------------------------------------
// Number texts

namespace {

// Digits grouped by threes with the current locale's group separator.
QString groupDigits(const QString& digits)
{
    const QString sep = QLocale().groupSeparator();
    QString out;
    out.reserve(digits.size() + digits.size() / 3 * sep.size());
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += digits[i];
    }
    return out;
}

QString signedGrouped(bool negative, const QString& digits)
{
    QString body = groupDigits(digits);
    const bool zero = digits.count(QLatin1Char('0')) == digits.size();
    if (negative && !zero)
        body.prepend(QLocale().negativeSign());
    return body;
}

}  // namespace

QString FormatGrouped(qint64 n)
{
    const bool negative = n < 0;
    // The magnitude as unsigned text (also for the smallest 64-bit value).
    const quint64 magnitude = negative ? quint64(0) - quint64(n) : quint64(n);
    return signedGrouped(negative, QString::number(magnitude));
}

QString FormatGroupedF(double x)
{
    if (!std::isfinite(x))
        return QString();
    // Round to two decimals first, then keep what stands before the point.
    const QString fixed = QString::number(std::fabs(x), 'f', 2);
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    return signedGrouped(x < 0, point >= 0 ? fixed.left(point) : fixed);
}

QString FormatNumberText(double x)
{
    if (!std::isfinite(x))
        return QString();
    const double a = std::fabs(x);
    QString digits;
    if (a < 1e14) {
        // At most 14 digits before the point: round to a whole number.
        digits = QString::number(std::round(a), 'f', 0);
    } else {
        // 14 significant digits, rounded half up; the places below them
        // become zeros. From 1e14 on, the fraction cannot change the digit
        // that decides the rounding.
        digits = QString::number(std::floor(a), 'f', 0);
        if (digits.size() > 14) {
            const bool up = digits[14].unicode() >= '5';
            for (qsizetype i = 14; i < digits.size(); ++i)
                digits[i] = QLatin1Char('0');
            for (qsizetype i = 13; up && i >= 0; --i) {
                if (digits[i] == QLatin1Char('9')) {
                    digits[i] = QLatin1Char('0');
                    if (i == 0)
                        digits.prepend(QLatin1Char('1'));
                } else {
                    digits[i] = QChar(digits[i].unicode() + 1);
                    break;
                }
            }
        }
    }
    return signedGrouped(x < 0, digits);
}

// ---------------------------------------------------------------------------
// Settings and registry

QString SettingsRootKey()
{
    return QStringLiteral("Software\\Halvane\\Trovik\\3.0");
}

QString ReadUserRegString(const QString& key, const QString& name)
{
    try {
        const QString root = SettingsRootKey();
        QString k = key;
        while (k.endsWith(QLatin1Char('\\')))
            k.chop(1);
        if (!k.startsWith(root + QLatin1Char('\\'), Qt::CaseInsensitive))
            return QString();
        QString section = k.mid(root.size() + 1);
        if (section.isEmpty() || name.isEmpty())
            return QString();
        // The sections are stored with their own spelling; a key below a
        // section is a nested group.
        section.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return SettingsStore::readString(section, name, QString());
    } catch (...) {
        return QString();
    }
}

QString ReadMachineRegString(const QString& key, const QString& name)
{
    // There is no machine-wide store of this program's values here.
    Q_UNUSED(key);
    Q_UNUSED(name);
    return QString();
}

}  // namespace core
