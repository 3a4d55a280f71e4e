#include "cli/tempcommand.h"

#include "cli/cliargs.h"
#include "cli/rowoutput.h"
#include "core/typelist.h"
#include "finders/dupresults.h"
#include "finders/templists.h"
#include "finders/tempsearch.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringEncoder>

#include <algorithm>
#include <cstdio>

namespace cli {

const char* const kTempUsage =
    "  trovik-scan temp [--type P]... [--json|--print0] ROOT...\n"
    "  trovik-scan temp --list\n"
    "      Finds temporary files as the \"Quick clean\" window does: the user's own\n"
    "      files whose extension is that of an entry of the stored temporary-file\n"
    "      list (the built-in list of 13 when none is stored), all of them\n"
    "      selected, or only of the --type patterns (\"*.tmp\"). Hidden folders are\n"
    "      not searched; files a process holds open are left out. Prints the\n"
    "      result grid as hogs does, largest first; --json one JSON document\n"
    "      instead, --print0 only the paths, each ended by a NUL byte. --list\n"
    "      prints the list.\n";

namespace {

void WriteLine(QStringEncoder& toUtf8, QByteArray& bytes, QStringView line)
{
    bytes.resize(toUtf8.requiredSpace(line.size()) + 1);
    char* end = toUtf8.appendToBuffer(bytes.data(), line);
    *end++ = '\n';
    std::fwrite(bytes.constData(), 1, size_t(end - bytes.constData()), stdout);
}

}  // namespace

int RunTemp(const QStringList& args)
{
    if (args == QStringList{"--list"}) {
        if (rowOutput())
            return kUsage;  // a list of types, not of files
        for (const QString& entry : finders::ReadTempList(finders::CleanDefaultPatterns()))
            Out(entry);
        return kOk;
    }
    finders::TempCriteria criteria;
    QStringList types;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == "--type") {
            if (++i == args.size() || args[i].isEmpty())
                return kUsage;
            types << core::TypeEntry(args[i]);
        } else if (args[i].startsWith("--")) {
            return kUsage;
        } else {
            const auto root = DrivePathArgument(args[i]);
            if (!root) {
                Err("Not a drive entry or an absolute path on a drive: " + args[i]);
                return kUsage;
            }
            criteria.roots << *root;
        }
    }
    if (criteria.roots.isEmpty())
        return kUsage;
    criteria.entries = types.isEmpty() ? finders::ReadTempList(finders::CleanDefaultPatterns()) : types;
    if (criteria.entries.isEmpty()) {
        Err(QString::fromLatin1(finders::kNoExtensionMessage));
        return kMessage;
    }
    RowOutput* out = rowOutput();
    if (out) {
        QStringList patterns;
        for (const QString& entry : criteria.entries)
            patterns << core::TypeEntryPattern(entry);
        out->setCriteria({{"roots", QJsonArray::fromStringList(criteria.roots)},
                          {"types", QJsonArray::fromStringList(patterns)}});
        out->testSafeHarbor();
    }
    finders::TempSearch search(criteria);
    search.note = [](const QString& text) { Err(text); };
    comp::ResultGrid grid;
    search.scan(grid);
    if (grid.rowsUsed() == 0) {
        Err(QString::fromLatin1(finders::kNoFilesMessage));
        return kMessage;
    }
    // As the window's first search of a program run: largest first.
    finders::SortTempBySize(grid);
    if (out) {
        out->addFiles(std::min(grid.rowsUsed(), grid.rowCount() - 1), [&](int i) { return grid.path(i + 1); });
        return kOk;
    }
    QStringEncoder toUtf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes;
    QString line;
    for (int r = 0; r <= grid.rowsUsed(); ++r) {
        line.resize(0);
        for (int c = 0; c < grid.colCount(); ++c) {
            if (c)
                line += u'\t';
            line += grid.cellView(r, c);
        }
        WriteLine(toUtf8, bytes, line);
    }
    return kOk;
}

}  // namespace cli
