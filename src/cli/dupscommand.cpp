#include "cli/dupscommand.h"

#include "cli/cliargs.h"
#include "cli/rowoutput.h"
#include "finders/blockcrc.h"
#include "finders/dupsearch.h"
#include "finders/dupresults.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringEncoder>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace cli {

const char* const kDupsUsage =
    "  trovik-scan dups [--match N] [--larger S | --smaller S | --between S S2]\n"
    "                   [--unit bytes|KB] [--wildcard P] [--crc [--eliminate]]\n"
    "                   [--json|--print0] ROOT...\n"
    "      Finds duplicate files as the \"Duplicate files\" window does. --match is\n"
    "      the matching mode: 0 file name only, 1 file name and size (default),\n"
    "      2 file name, size and modify date/time, 3 size only, 4 size and modify\n"
    "      date/time, 5 size and type, 6 type and modify date/time. The size rule\n"
    "      defaults to --larger 250 --unit KB; sizes are whole numbers 0 to 10000.\n"
    "      --wildcard lists only files whose names match P (default *.*).\n"
    "      --crc computes the checksum of every listed file (modes 1 to 4);\n"
    "      --eliminate then drops the files whose checksum no other file of the\n"
    "      same size has. Prints the result grid: titles first, then one line per\n"
    "      row, tab-separated, each row starting with its shade (A or B). In\n"
    "      JSON each row has its group, numbered from 1, and with --crc its crc.\n"
    "  trovik-scan hogs [--larger S | --smaller S | --between S S2] [--unit bytes|KB]\n"
    "                   [--wildcard P] [--json|--print0] ROOT...\n"
    "      Lists the largest files, largest first, as the \"File hogs\" window does.\n"
    "  trovik-scan crc [--json|--print0] FILE...\n"
    "      Prints the checksum of each file as the grid shows it, a tab, and the\n"
    "      file. In JSON a file that cannot be read has a null crc.\n"
    "      A ROOT is a drive-list entry (\"C:\", \"D:\\Projects\") or an absolute\n"
    "      path, mapped to its drive.\n"
    "      --json prints one JSON document instead of the lines, --print0 only\n"
    "      the files' paths, each ended by a NUL byte.\n";

namespace {

bool ParseSize(const QString& text, int& out)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < 0 || v > 10000)
        return false;
    out = v;
    return true;
}

struct DupsOptions {
    finders::DupCriteria criteria;
    bool crc = false;
    bool eliminate = false;
};

// Fills the options; false on a usage error.
bool ParseDups(QStringList args, bool duplicateMode, DupsOptions& o)
{
    o.criteria.duplicateMode = duplicateMode;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        auto value = [&](QString& out) {
            if (args.isEmpty())
                return false;
            out = args.takeFirst();
            return true;
        };
        QString v, v2;
        if (a == "--match" && duplicateMode) {
            bool ok = false;
            if (!value(v))
                return false;
            o.criteria.matchMode = v.toInt(&ok);
            if (!ok || o.criteria.matchMode < 0 || o.criteria.matchMode > 6)
                return false;
        } else if (a == "--larger" || a == "--smaller") {
            if (!value(v) || !ParseSize(v, o.criteria.num1))
                return false;
            o.criteria.relation = a == "--larger" ? finders::SizeRelation::LargerOrEqual
                                                  : finders::SizeRelation::SmallerOrEqual;
        } else if (a == "--between") {
            if (!value(v) || !value(v2) || !ParseSize(v, o.criteria.num1) || !ParseSize(v2, o.criteria.num2))
                return false;
            o.criteria.relation = finders::SizeRelation::Between;
        } else if (a == "--unit") {
            if (!value(v) || (v != "bytes" && v != "KB"))
                return false;
            o.criteria.unitKB = v == "KB";
        } else if (a == "--wildcard") {
            if (!value(o.criteria.wildcard) || o.criteria.wildcard.isEmpty())
                return false;
        } else if (a == "--crc" && duplicateMode) {
            o.crc = true;
        } else if (a == "--eliminate" && duplicateMode) {
            o.eliminate = true;
        } else if (a.startsWith("--")) {
            return false;
        } else {
            o.criteria.roots << a;
        }
    }
    if (o.eliminate && !o.crc)
        return false;
    return !o.criteria.roots.isEmpty();
}

QJsonObject CriteriaJson(const DupsOptions& o)
{
    const finders::DupCriteria& c = o.criteria;
    QJsonObject j{{"roots", QJsonArray::fromStringList(c.roots)},
                  {"relation", c.relation == finders::SizeRelation::LargerOrEqual    ? "larger"
                               : c.relation == finders::SizeRelation::SmallerOrEqual ? "smaller"
                                                                                     : "between"},
                  {"size1", c.num1},
                  {"unit", c.unitKB ? "KB" : "bytes"},
                  {"wildcard", c.wildcard}};
    if (c.relation == finders::SizeRelation::Between)
        j.insert("size2", c.num2);
    if (c.duplicateMode) {
        j.insert("match", c.matchMode);
        j.insert("crc", o.crc);
        j.insert("eliminate", o.eliminate);
    }
    return j;
}

// The rows of the grid for --json and --print0: in duplicate mode a group
// is a run of rows of one shade, as the window's marking commands take it.
void WriteRows(RowOutput& out, const finders::DupResults& results)
{
    const comp::ResultGrid& grid = results.grid();
    const bool dup = results.criteria().duplicateMode;
    const int crcColumn = dup ? finders::dcType : -1;
    const bool withCrc = dup && grid.cellView(0, crcColumn) == QLatin1String(finders::kCrcTitle);
    const int last = std::min(grid.rowsUsed(), grid.rowCount() - 1);
    // Group numbers by row, counted in grid order before the rows go out.
    std::vector<int> groups(size_t(std::max(last, 0)));
    int group = 0;
    for (int r = 1; dup && r <= last; ++r) {
        if (r == 1 || grid.shade(r) != grid.shade(r - 1))
            ++group;
        groups[size_t(r - 1)] = group;
    }
    out.addFiles(
        last, [&](int i) { return grid.path(i + 1); },
        [&](int i) {
            QJsonObject extra;
            if (dup)
                extra.insert("group", groups[size_t(i)]);
            if (withCrc)
                extra.insert("crc", grid.cell(i + 1, crcColumn));
            return extra;
        });
}

// A root as the drive list would hold it.
std::optional<QString> RootArgument(const QString& arg)
{
    return DrivePathArgument(arg);
}

}  // namespace

int RunDups(const QStringList& args, bool duplicateMode)
{
    DupsOptions o;
    if (!ParseDups(args, duplicateMode, o))
        return kUsage;
    QStringList roots;
    for (const QString& r : o.criteria.roots) {
        const auto root = RootArgument(r);
        if (!root) {
            Err("Not a drive entry or an absolute path on a drive: " + r);
            return kUsage;
        }
        roots << *root;
    }
    o.criteria.roots = roots;
    if (o.criteria.relation == finders::SizeRelation::Between && o.criteria.num2 < o.criteria.num1) {
        Err(QString::fromLatin1(finders::kSecondNumberMessage));
        return kMessage;
    }
    if (o.crc && !finders::MatchModeOffersCrc(o.criteria.matchMode)) {
        Err("Checksums are offered only with matching modes 1 to 4.");
        return kUsage;
    }

    RowOutput* out = rowOutput();
    if (out) {
        out->setCriteria(CriteriaJson(o));
        out->testSafeHarbor();
    }
    finders::DupResults results(o.criteria);
    results.note = [](const QString& text) { Err(text); };
    results.search(o.crc, o.eliminate);
    if (results.grid().rowsUsed() == 0) {
        Err(QString::fromLatin1(finders::kNoFilesMessage));
        return kMessage;
    }
    if (out) {
        WriteRows(*out, results);
        return kOk;
    }
    // A line at a time: a list of all of them would hold the results twice.
    QStringEncoder toUtf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes;
    results.writeGridLines([&](QStringView line) {
        bytes.resize(toUtf8.requiredSpace(line.size()) + 1);
        char* end = toUtf8.appendToBuffer(bytes.data(), line);
        *end++ = '\n';
        std::fwrite(bytes.constData(), 1, size_t(end - bytes.constData()), stdout);
    });
    return kOk;
}

int RunCrc(const QStringList& args)
{
    if (args.isEmpty())
        return kUsage;
    RowOutput* out = rowOutput();
    if (out) {
        out->setCriteria({{"files", QJsonArray::fromStringList(args)}});
        out->testSafeHarbor();
    }
    int status = kOk;
    for (const QString& a : args) {
        const auto path = DrivePathArgument(a);
        if (!path) {
            Err("Not a drive path or an absolute path on a drive: " + a);
            status = kMessage;
            continue;
        }
        const auto value = finders::TryBlockCrcSum(*path);
        if (!value) {
            Err("Could not read " + *path);
            status = kMessage;
        }
        if (out)
            out->addFile(*path, {{"crc", value ? QJsonValue(finders::CrcText(*value)) : QJsonValue()}});
        else
            Out(finders::CrcText(value.value_or(0)) + '\t' + *path);
    }
    return status;
}

}  // namespace cli
