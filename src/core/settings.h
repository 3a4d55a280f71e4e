#pragma once
// The settings store: an INI file with one group per section, every value a
// string. Every access opens the file anew; nothing is cached, so a value
// written by one window is seen by the next read anywhere.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace core {

class SettingsStore {
public:
    // The INI file of the settings root key.
    static QString filePath();

    static QString readString(const QString& section, const QString& name, const QString& def = QString());
    // Decimal text; "0x1F"/"0X1F" (more than 2 characters) is hexadecimal;
    // text that is not a valid 32-bit signed integer gives def.
    static int readInt(const QString& section, const QString& name, int def);
    // The same rule for 64-bit whole numbers (size totals).
    static qint64 readInt64(const QString& section, const QString& name, qint64 def);
    static double readFloat(const QString& section, const QString& name, double def);
    static void writeString(const QString& section, const QString& name, const QString& value);
    static void writeInt(const QString& section, const QString& name, qint64 value);
    // Shortest decimal text, 15 significant digits, no point for whole numbers.
    static void writeFloat(const QString& section, const QString& name, double value);
    static bool hasValue(const QString& section, const QString& name);

    // The list convention: "Number" and File1..FileN. Empty optional when the
    // list was never saved ("Number" absent or negative); empty texts are skipped.
    static std::optional<QStringList> readList(const QString& section);
    // Writes Number and File1..FileN; only the text before the first tab of
    // each entry is stored. Entries above N are left in place.
    static void writeList(const QString& section, const QStringList& entries);

    // The column-width convention: "ColWid<k>", default = dpi * base / 96.
    static int readColumnWidth(const QString& section, int column, int base96, int screenDpi);
    static void writeColumnWidth(const QString& section, int column, int width);
};

// The integer reading rule on a text, exposed for the window-placement parser.
std::optional<qint64> parseStoredInteger(const QString& text, bool allow64);

// Window placement: the ten integers of a WINDOWPLACEMENT record.
struct WindowPlacement {
    int flags = 0;
    int showCommand = 1;
    int minX = 0, minY = 0;
    int maxX = 0, maxY = 0;
    int left = 0, top = 0, right = 0, bottom = 0;

    // Ten integers, each followed by one space.
    QString toText() const;
    // Front-to-back parse; an invalid or missing part gives 0, the show
    // command 1.
    static WindowPlacement fromText(const QString& text);
    bool applicable() const { return left < right; }
};

class PlacementStore {
public:
    // Two key files: the shared one, and one of its own for files by date.
    enum class Key { Shared, FilesByDate };
    static QString filePath(Key key);
    static WindowPlacement read(Key key, const QString& section, const QString& id);
    // Never throws; a failure to write is ignored.
    static void write(Key key, const QString& section, const QString& id, const WindowPlacement& p) noexcept;
};

// The eight values of section "Trovik"; -1 means nothing counted yet.
struct CumulativeTotals {
    qint64 nDelete = -1, sizeDelete = -1;
    qint64 nWaste = -1, sizeWaste = -1;
    qint64 delDate = -1;
    qint64 nZip = -1, sizeZip = -1;
    qint64 zipDate = -1;

    static CumulativeTotals load();
    void save() const;
};

// Whole days since 1899-12-30 of a date (1 January 2000 is 36526).
qint64 dayNumber(int year, int month, int day);
qint64 todayDayNumber();

}  // namespace core
