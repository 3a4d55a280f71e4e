// The order of rows with equal keys is part of what the user sees, so the
// sorts are checked against a plain transcription of the procedure: a
// temporary two-column grid (row number, cell), keys recomputed at every
// comparison, recursion, and the rows copied over by the numbers at the end.
// Many seeded random grids, full of equal keys, in both directions.
#include "reports/sortgrid.h"

#include "core/helpers.h"
#include "sorttestutil.h"

#include <QDate>
#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cstring>

using namespace reports;
using namespace sorttest;

namespace {

// ---------------------------------------------------------------------------
// The reference: written from the description, not from the engine.

class Reference {
public:
    Reference(SortKind kind, bool descending) : kind_(kind), descending_(descending) {}

    // Element k: the grid row that ends up at row first + k.
    std::vector<int> order(const comp::ResultGrid& grid, int first, int last, int column)
    {
        tmp_.assign(size_t(grid.rowCount()), {});
        for (int r = first; r <= last; ++r)
            tmp_[size_t(r)] = {QString::number(r), grid.cell(r, column)};
        if (kind_ == SortKind::Text)
            textSort(first, last);
        else
            quickSort(first, last);
        std::vector<int> out;
        for (int r = first; r <= last; ++r)
            out.push_back(tmp_[size_t(r)].first.toInt());
        return out;
    }

private:
    using Row = std::pair<QString, QString>;

    // <0, 0, >0 as key a is below, equal to or above key b.
    int compareKeys(const QString& a, const QString& b) const
    {
        switch (kind_) {
        case SortKind::Text: {
            const QByteArray ka = upperAZ(a).toUtf8(), kb = upperAZ(b).toUtf8();
            const int c = std::memcmp(ka.constData(), kb.constData(), size_t(std::min(ka.size(), kb.size())));
            return c != 0 ? c : int(ka.size() - kb.size());
        }
        case SortKind::Number: {
            const double x = number(a), y = number(b);
            return x < y ? -1 : x > y ? 1 : 0;
        }
        case SortKind::Date: {
            const qint64 x = date(a), y = date(b);
            return x < y ? -1 : x > y ? 1 : 0;
        }
        }
        return 0;
    }

    static QString upperAZ(QString s)
    {
        for (QChar& c : s)
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 32);
        return s;
    }

    static double number(const QString& s)
    {
        QString kept;
        const QString point = QLocale().decimalPoint();
        for (QChar c : s) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                kept += c;
            else if (point.contains(c))
                kept += QLatin1Char('.');
        }
        bool ok = false;
        const double x = QLocale::c().toDouble(kept, &ok);
        return ok ? x : 0;
    }

    static qint64 date(const QString& s)
    {
        const QDate d = QLocale().toDate(s, core::ShortDateFormat());
        return (d.isValid() ? d : QDate(1900, 1, 1)).toJulianDay();
    }

    // "row i sorts before the pivot" in the requested direction.
    bool before(const QString& a, const QString& b) const
    {
        const int c = compareKeys(a, b);
        return descending_ ? c > 0 : c < 0;
    }

    void swapRows(int a, int b) { std::swap(tmp_[size_t(a)], tmp_[size_t(b)]); }

    void partition(int first, int last, int& i, int& j)
    {
        const QString pivot = tmp_[size_t((first + last) / 2)].second;
        i = first;
        j = last;
        while (i <= j) {
            while (before(tmp_[size_t(i)].second, pivot))
                ++i;
            while (before(pivot, tmp_[size_t(j)].second))
                --j;
            if (i <= j) {
                swapRows(i, j);
                ++i;
                --j;
            }
        }
    }

    void quickSort(int first, int last)
    {
        if (first >= last)
            return;
        int i, j;
        partition(first, last, i, j);
        quickSort(first, j);
        quickSort(i, last);
    }

    void textSort(int first, int last)
    {
        if (last - first < 5) {
            bool swapped = true;
            while (swapped) {
                swapped = false;
                for (int r = first; r < last; ++r) {
                    const int c = compareKeys(tmp_[size_t(r)].second, tmp_[size_t(r + 1)].second);
                    if (descending_ ? c < 0 : c > 0) {
                        swapRows(r, r + 1);
                        swapped = true;
                    }
                }
            }
            return;
        }
        int i, j;
        partition(first, last, i, j);
        textSort(first, j);
        textSort(i, last);
    }

    SortKind kind_;
    bool descending_;
    std::vector<Row> tmp_;
};

// ---------------------------------------------------------------------------
// Random cells with many equal keys.

QString randomText(QRandomGenerator& rng)
{
    static const char* const parts[] = {"a", "A", "b", "B", "ab", "Ab", "aB", "z", "Z", "_", "~", "1", "10", "2",
                                        " ", "\u00e9", "\u00c9", "\u20ac", ".txt", ""};
    QString s;
    const int n = int(rng.bounded(3));
    for (int k = 0; k <= n; ++k)
        s += QString::fromUtf8(parts[rng.bounded(int(std::size(parts)))]);
    return s;
}

QString randomNumber(QRandomGenerator& rng)
{
    switch (rng.bounded(10)) {
    case 0:
        return QString();
    case 1:
        return QStringLiteral("n/a");
    case 2:
        return QStringLiteral("-%1").arg(rng.bounded(20));
    case 3:
        return QStringLiteral("%1.%2").arg(rng.bounded(5)).arg(rng.bounded(10));
    case 4:
        return core::FormatGrouped(qint64(rng.bounded(3)) * 1000 + rng.bounded(3)) + QStringLiteral(" KB");
    default:
        return QString::number(rng.bounded(25));
    }
}

QString randomDate(QRandomGenerator& rng)
{
    switch (rng.bounded(8)) {
    case 0:
        return QString();
    case 1:
        return QStringLiteral("not a date");
    default:
        return QLocale().toString(QDate(2001, 1, 1).addDays(rng.bounded(30)), core::ShortDateFormat());
    }
}

class SortReferenceTest : public ::testing::Test {
protected:
    LocaleScope locale{QLocale(QLocale::English, QLocale::UnitedStates)};
    void SetUp() override { core::SetShortDateFormat(QStringLiteral("dd/MM/yyyy")); }
    void TearDown() override { core::SetShortDateFormat(QString()); }

    void compareMany(SortKind kind, QString (*make)(QRandomGenerator&))
    {
        for (quint32 seed = 1; seed <= 400; ++seed) {
            QRandomGenerator rng(seed);
            // Mostly small grids, where the bubble passes and the first
            // partitions decide; some larger ones.
            const int rows = seed % 10 == 0 ? int(rng.bounded(2000)) : int(rng.bounded(60));
            QStringList cells;
            for (int r = 0; r < rows; ++r)
                cells << make(rng);
            comp::ResultGrid grid = columnGrid(cells, 2, 1);
            // Sometimes a block that leaves rows at either end alone.
            const int first = rows > 4 && seed % 3 == 0 ? 2 : 1;
            const int last = rows > 4 && seed % 4 == 0 ? rows - 1 : rows;
            for (bool descending : {false, true}) {
                SCOPED_TRACE(testing::Message() << "seed " << seed << " rows " << rows << " first " << first
                                                << " last " << last << " descending " << descending);
                const std::vector<int> expected = Reference(kind, descending).order(grid, first, last, 1);
                ASSERT_EQ(SortOrder(grid, first, last, descending, 1, kind), expected);

                comp::ResultGrid sorted = grid;
                SortGrid(sorted, first, last, descending, 1, kind);
                for (int r = 1; r <= rows; ++r) {
                    const int from = r >= first && r <= last ? expected[size_t(r - first)] : r;
                    ASSERT_EQ(sorted.tag(r), quint64(from)) << "row " << r;
                    ASSERT_EQ(sorted.cell(r, 1), grid.cell(from, 1));
                }
            }
        }
    }
};

TEST_F(SortReferenceTest, TextMatchesTheProcedure)
{
    compareMany(SortKind::Text, randomText);
}

TEST_F(SortReferenceTest, NumberMatchesTheProcedure)
{
    compareMany(SortKind::Number, randomNumber);
}

TEST_F(SortReferenceTest, DateMatchesTheProcedure)
{
    compareMany(SortKind::Date, randomDate);
}

}  // namespace
