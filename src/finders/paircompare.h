#pragma once
// The pair comparison behind TfrmDupCompare, without widgets: a private
// copy of the duplicate rows, the current row r (the pair is rows r and
// r + 1), stepping to the next or previous matching pair, what each side
// shows, and which of the two sides' texts differ.

#include "components/resultgrid.h"
#include "core/helpers.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace core {
class SafeHarbor;
}

namespace finders {

extern const char* const kFileNotFound;
extern const char* const kProfileAbsent;
extern const char* const kInNonDeleteList;
extern const char* const kEndOfList;
extern const char* const kStartOfList;
extern const char* const kCannotReadFile;

// One side of the pair as the window shows it.
struct PairSide {
    enum class State { NoRow, Missing, Found };
    State state = State::NoRow;
    QString name;    // the row's "Filename": the side's caption
    QString folder;  // the row's "Folder"
    QString path;    // the row's real path
    double size = 0;
    core::PackedDosDateTime created = 0;
    core::PackedDosDateTime modified = 0;
    core::PackedDosDateTime accessed = 0;
    bool isProtected = false;
    QStringList versionLines;  // TAB separators, or the single kProfileAbsent
    // The detailed view.
    QString sizeText;
    QString typeText;
    QString createText;
    QString modifyText;
    QString accessText;
    QString attributesText;
    QString crcText;
    QString harborText;
    // The simple view; the right side's creation and size lines compare it
    // with the left (PairList::fill).
    QString simpleCreate;
    QString simpleAccess;
    QString simpleSize;

    bool found() const { return state == State::Found; }
};

// A side from row `row` of the pair list: NoRow when there is no such data
// row; Missing (name, folder and kFileNotFound, nothing else) when its file
// is gone; Found with every text otherwise.
PairSide ReadPairSide(const comp::ResultGrid& rows, int row, core::SafeHarbor& harbor);

// The right side's creation line: c2 compared with c1.
QString CreationCompareText(core::PackedDosDateTime c1, core::PackedDosDateTime c2);
// The right side's size line: s2 compared with s1, as a share of the
// smaller file.
QString SizeCompareText(double s1, double s2);
// "%8x": at least 8 characters, right-aligned with blanks, upper case.
QString CrcField(quint32 value);
// Both checksum texts with their verdict; a file that could not be read
// says kCannotReadFile, and then neither side says identical.
std::pair<QString, QString> CrcCompareTexts(std::optional<quint32> left, std::optional<quint32> right);

// Arrow between the sides: which value is the later; hidden when either is
// not recorded (0).
enum class Arrow { Hidden, Left, Right, Equal };
Arrow ArrowFor(quint32 left, quint32 right);

// True when rows row and row + 1 agree on the columns of the matching mode.
bool PairMatches(const comp::ResultGrid& rows, int row, int matchMode);

class PairList {
public:
    enum class Step { Moved, EndOfList, StartOfList };

    // A copy of the rows; the current row becomes currentRow (at least 1).
    void load(const comp::ResultGrid& grid, int currentRow, int matchMode);
    const comp::ResultGrid& rows() const { return rows_; }
    int current() const { return r_; }
    int lastRow() const { return rows_.rowCount() - 1; }

    Step next();
    Step prev();

    // Fills both sides from rows r and r + 1 (checksums emptied).
    void fill(core::SafeHarbor& harbor);
    // Computes the checksums of both files.
    void computeCrc();
    bool canComputeCrc() const { return left_.state != PairSide::State::NoRow && right_.state != PairSide::State::NoRow; }
    // The automatic comparison: both files there and their size texts equal.
    bool autoCrcApplies() const { return left_.found() && right_.found() && left_.sizeText == right_.sizeText; }

    const PairSide& left() const { return left_; }
    const PairSide& right() const { return right_; }

    // Which detailed label pairs differ (size, type, creation, modification,
    // access, attributes, checksum), in that order.
    QList<bool> differences() const;
    Arrow createArrow() const;
    Arrow accessArrow() const;
    Arrow modifyArrow() const;
    // Whether version line i of a list differs from the other list's line
    // at the same place (only when both lists hold two lines or more).
    bool versionLineDiffers(int i) const;
    // The version lists are shown when either holds more than one line.
    bool showVersionLists() const { return left_.versionLines.size() > 1 || right_.versionLines.size() > 1; }

private:
    comp::ResultGrid rows_;
    int r_ = 1;
    int matchMode_ = 0;
    PairSide left_;
    PairSide right_;
};

}  // namespace finders
