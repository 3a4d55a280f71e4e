#include "cli/viewcommand.h"

#include "browse/viewstatus.h"
#include "cli/cliargs.h"
#include "components/viewerdoc.h"
#include "components/viewersearch.h"
#include "core/helpers.h"
#include "platform/fileops.h"

#include <QFile>

#include <cstdio>

namespace cli {

const char* const kViewUsage =
    "  trovik-scan view [--hex] [--tab N] [--from LINE | --end] [--lines N]\n"
    "                   [--find TEXT [--backward] [--match-case]] FILE\n"
    "      Prints display lines of FILE as the file viewer pages them (text, or\n"
    "      16 bytes a line with --hex; tabs expanded to N, default 8): N lines\n"
    "      (default 25) from the top, from line LINE, or the last screen with\n"
    "      --end. --find moves to the first find after that place (before it with\n"
    "      --backward) and prints from its line. Then \"Total:\" as far as the\n"
    "      lines were counted on the way (\"?\" when not) and \"Bytes:\".\n"
    "  trovik-scan strings FILE\n"
    "      Prints the readable text runs of FILE (at least 5 letters, digits or\n"
    "      blanks; at most 101 a line), as \"Peek at strings\" shows them.\n";

namespace {

struct ViewOptions {
    QString file;
    bool hex = false;
    int tab = 8;
    qint64 from = 0;  // line from 1; 0 = the top
    bool end = false;
    int lines = 25;
    QString find;
    bool findGiven = false;
    bool backward = false;
    bool matchCase = false;
};

bool ParseView(QStringList args, ViewOptions& o)
{
    while (!args.isEmpty()) {
        const QString a = args.takeFirst();
        auto number = [&](qint64 low, qint64 high, qint64& out) {
            if (args.isEmpty())
                return false;
            const std::optional<qint64> n = browse::WholeNumber(args.takeFirst());
            if (!n || *n < low || *n > high)
                return false;
            out = *n;
            return true;
        };
        qint64 n = 0;
        if (a == "--hex") {
            o.hex = true;
        } else if (a == "--tab") {
            if (!number(1, 255, n))
                return false;
            o.tab = int(n);
        } else if (a == "--from") {
            if (!number(1, std::numeric_limits<qint64>::max(), o.from) || o.end)
                return false;
        } else if (a == "--end") {
            if (o.from > 0)
                return false;
            o.end = true;
        } else if (a == "--lines") {
            if (!number(1, 100000, n))
                return false;
            o.lines = int(n);
        } else if (a == "--find") {
            if (args.isEmpty())
                return false;
            o.find = args.takeFirst();
            o.findGiven = true;
        } else if (a == "--backward") {
            o.backward = true;
        } else if (a == "--match-case") {
            o.matchCase = true;
        } else if (a.startsWith("--") || !o.file.isEmpty()) {
            return false;
        } else {
            o.file = a;
        }
    }
    if ((o.backward || o.matchCase) && !o.findGiven)
        return false;
    return !o.file.isEmpty() && (!o.findGiven || !o.find.isEmpty());
}

}  // namespace

int RunView(const QStringList& args)
{
    ViewOptions o;
    if (!ParseView(args, o))
        return kUsage;
    const std::optional<QString> path = DrivePathArgument(o.file);
    if (!path)
        return kUsage;
    comp::ViewerDocument doc;
    doc.setHexMode(o.hex);
    if (!doc.open(*path)) {
        Err(QStringLiteral("Cannot open file ") + *path + QStringLiteral(": ") + doc.errorText());
        return kMessage;
    }

    qint64 top = 0;
    qint64 caret = 0;
    if (o.from > 0 && doc.size() > 0) {
        doc.countToLine(o.from - 1, {});
        std::optional<qint64> start = doc.lineStartOf(o.from - 1);
        if (!start)  // fewer lines: the last one
            start = doc.lineAt(doc.size() - 1).start;
        top = caret = *start;
    } else if (o.end) {
        top = doc.lastScreenTop(o.lines);
        caret = doc.size();
    }
    if (o.findGiven) {
        comp::ViewerMatch match;
        const comp::SearchOutcome found =
            comp::SearchViewerDocument(doc, {o.find, o.backward, o.matchCase}, caret, match);
        if (found != comp::SearchOutcome::Found) {
            Err(QStringLiteral("Search string '") + o.find + QStringLiteral("' not found"));
            return kMessage;
        }
        top = doc.lineAt(match.start).start;
    }

    const comp::ViewerTextOptions text{true, o.tab};
    qint64 s = top;
    for (int i = 0; i < o.lines && s < doc.size(); ++i) {
        const comp::ViewerDocument::Line line = doc.lineFrom(s);
        Out(doc.lineText(line, text));
        if (line.next <= s)
            break;
        s = line.next;
    }
    Out(browse::TotalStatusText(doc.lineCount()));
    Out(browse::BytesStatusText(doc.size()));
    return kOk;
}

int RunStrings(const QStringList& args)
{
    if (args.size() != 1)
        return kUsage;
    const std::optional<QString> path = DrivePathArgument(args.first());
    if (!path)
        return kUsage;
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        Err(QStringLiteral("Cannot write to the standard output"));
        return kMessage;
    }
    try {
        if (!core::ExtractTextRuns(*path, out, QStringLiteral("standard output"), 5, 100))
            return kMessage;
    } catch (const plat::IoError& e) {
        Err(QString::fromLocal8Bit(e.what()));
        return kMessage;
    }
    return kOk;
}

}  // namespace cli
