#include "cli/datescommand.h"

#include "cli/cliargs.h"
#include "cli/rowoutput.h"
#include "finders/datesearch.h"
#include "finders/dupresults.h"

#include <QByteArray>
#include <QDate>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringEncoder>

#include <algorithm>
#include <cstdio>

namespace cli {

const char* const kDatesUsage =
    "  trovik-scan dates [--accessed|--created|--modified]\n"
    "                    [--before D | --after D | --between D D2] [--wildcard P]\n"
    "                    [--json|--print0] ROOT...\n"
    "      Lists the files whose last access (default), creation or last\n"
    "      modification falls on or before D, on or after D, or between D and D2\n"
    "      (both included), as the \"Files in a range of dates\" window does; the\n"
    "      default is between today and today. D is YYYY-MM-DD. Prints the titles,\n"
    "      then one line per file in walk order, tab-separated; --json one JSON\n"
    "      document instead, --print0 only the paths, each ended by a NUL byte.\n";

namespace {

bool ParseDay(const QString& text, QDate& out)
{
    out = QDate::fromString(text, Qt::ISODate);
    return out.isValid() && text.size() == 10;
}

bool ParseDates(QStringList args, finders::DateCriteria& c)
{
    c.start = c.end = QDate::currentDate();
    bool relationGiven = false;
    bool kindGiven = false;
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        auto day = [&](QDate& out) { return !args.isEmpty() && ParseDay(args.takeFirst(), out); };
        if (a == "--accessed" || a == "--created" || a == "--modified") {
            if (kindGiven)
                return false;
            kindGiven = true;
            c.kind = a == "--accessed" ? finders::tkAccessed
                     : a == "--created" ? finders::tkCreated
                                        : finders::tkModified;
        } else if (a == "--before" || a == "--after") {
            if (relationGiven || !day(c.start))
                return false;
            relationGiven = true;
            c.end = c.start;
            c.relation = a == "--before" ? finders::drOnOrBefore : finders::drOnOrAfter;
        } else if (a == "--between") {
            if (relationGiven || !day(c.start) || !day(c.end) || c.end < c.start)
                return false;
            relationGiven = true;
            c.relation = finders::drBetween;
        } else if (a == "--wildcard") {
            if (args.isEmpty() || args.first().isEmpty())
                return false;
            c.wildcard = args.takeFirst();
        } else if (a.startsWith("--")) {
            return false;
        } else {
            c.roots << a;
        }
    }
    return !c.roots.isEmpty();
}

}  // namespace

int RunDates(const QStringList& args)
{
    finders::DateCriteria c;
    if (!ParseDates(args, c))
        return kUsage;
    QStringList roots;
    for (const QString& r : c.roots) {
        const auto root = DrivePathArgument(r);
        if (!root) {
            Err("Not a drive entry or an absolute path on a drive: " + r);
            return kUsage;
        }
        roots << *root;
    }
    c.roots = roots;

    RowOutput* out = rowOutput();
    if (out) {
        static const char* const kinds[] = {"accessed", "created", "modified"};
        static const char* const relations[] = {"before", "between", "after"};
        QJsonObject criteria{{"roots", QJsonArray::fromStringList(c.roots)},
                             {"kind", kinds[c.kind]},
                             {"relation", relations[c.relation]},
                             {"start", c.start.toString(Qt::ISODate)},
                             {"wildcard", c.wildcard}};
        if (c.relation == finders::drBetween)
            criteria.insert("end", c.end.toString(Qt::ISODate));
        out->setCriteria(criteria);
        out->testSafeHarbor();
    }
    finders::DateSearch search(c);
    search.note = [](const QString& text) { Err(text); };
    comp::ResultGrid grid(7);
    if (search.search(grid) == 0) {
        Err(QString::fromLatin1(finders::kNoFilesMessage));
        return kMessage;
    }
    if (out) {
        out->addFiles(std::min(grid.rowsUsed(), grid.rowCount() - 1), [&](int i) { return grid.path(i + 1); });
        return kOk;
    }
    QStringEncoder toUtf8(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes;
    QString line;
    for (int r = 0; r <= grid.rowsUsed(); ++r) {
        line.clear();
        for (int col = 0; col < grid.colCount(); ++col) {
            if (col)
                line += u'\t';
            line += grid.cellView(r, col);
        }
        bytes.resize(toUtf8.requiredSpace(line.size()) + 1);
        char* end = toUtf8.appendToBuffer(bytes.data(), line);
        *end++ = '\n';
        std::fwrite(bytes.constData(), 1, size_t(end - bytes.constData()), stdout);
    }
    return kOk;
}

}  // namespace cli
