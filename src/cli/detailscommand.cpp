#include "cli/detailscommand.h"

#include "browse/filedetails.h"
#include "cli/cliargs.h"
#include "core/safeharbor.h"
#include "finders/dupsearch.h"
#include "finders/paircompare.h"

namespace cli {

const char* const kDetailsUsage =
    "  trovik-scan details FILE...\n"
    "      Prints what the \"File Details\" window prints for each file: name,\n"
    "      type, size and clusters, the three dates, the attributes and the\n"
    "      version lines of a Windows executable, tab-separated. Files are\n"
    "      separated by an empty line.\n"
    "  trovik-scan compare [--crc] A B\n"
    "      Compares two files as the \"Compare file pairs\" window does: the\n"
    "      detailed texts of each side with its Safe Harbor label, then the\n"
    "      right side's size and creation lines. --crc adds the checksums and\n"
    "      their verdict.\n";

namespace {

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'\\');
    return slash < 0 ? QString() : path.left(slash == 2 ? 3 : slash);
}

void PrintSide(const char* title, const finders::PairSide& s, bool crc)
{
    Out(QString::fromLatin1(title));
    const std::pair<const char*, QString> lines[] = {
        {"Filename:", s.name},          {"Folder:", s.folder},         {"Size:", s.sizeText},
        {"Type:", s.typeText},          {"Creation date:", s.createText}, {"Modify date:", s.modifyText},
        {"Access date:", s.accessText}, {"Attributes:", s.attributesText}, {"Safe Harbor:", s.harborText},
    };
    for (const auto& [label, text] : lines)
        Out(QString::fromLatin1(label) + '\t' + text);
    if (crc)
        Out(QStringLiteral("CRC Value:\t") + s.crcText);
    for (const QString& v : s.versionLines)
        Out(v);
}

}  // namespace

int RunDetails(const QStringList& args)
{
    if (args.isEmpty())
        return kUsage;
    int status = kOk;
    bool first = true;
    for (const QString& a : args) {
        const auto path = DrivePathArgument(a);
        if (!path) {
            Err("Not a drive path or an absolute path on a drive: " + a);
            status = kMessage;
            continue;
        }
        const browse::FileDetails d = browse::ReadFileDetails(*path);
        if (!d.found) {
            Err("File not found: " + *path);
            status = kMessage;
            continue;
        }
        if (!first)
            Out(QString());
        first = false;
        for (const QString& line : browse::DetailsPrintLines(d))
            Out(line);
    }
    return status;
}

int RunCompare(const QStringList& args)
{
    bool crc = false;
    QStringList files;
    for (const QString& a : args) {
        if (a == "--crc")
            crc = true;
        else if (a.startsWith("--"))
            return kUsage;
        else
            files << a;
    }
    if (files.size() != 2)
        return kUsage;
    // A pair list of two rows, as the duplicate window would hand it over.
    comp::ResultGrid grid(7, 3);
    grid.setTitles(finders::DupTitles());
    for (int i = 0; i < 2; ++i) {
        const auto path = DrivePathArgument(files[i]);
        if (!path) {
            Err("Not a drive path or an absolute path on a drive: " + files[i]);
            return kMessage;
        }
        QStringList cells(7);
        cells[finders::dcFilename] = path->mid(path->lastIndexOf(u'\\') + 1);
        cells[finders::dcFolder] = folderOf(*path);
        grid.setRow(i + 1, cells, *path);
    }
    grid.setRowsUsed(2);

    core::SafeHarbor harbor;
    harbor.ReadSafeHarborExtensions();
    harbor.GetSearchPath();
    finders::PairList pairs;
    pairs.load(grid, 1, finders::mmFilename);
    pairs.fill(harbor);
    if (crc)
        pairs.computeCrc();
    PrintSide("[left]", pairs.left(), crc);
    PrintSide("[right]", pairs.right(), crc);
    Out(QStringLiteral("[compared]"));
    Out(QStringLiteral("Size:\t") + pairs.right().simpleSize);
    Out(QStringLiteral("Created:\t") + pairs.right().simpleCreate);
    int status = kOk;
    for (const finders::PairSide* s : {&pairs.left(), &pairs.right()})
        if (!s->found()) {
            Err("File not found: " + s->path);
            status = kMessage;
        }
    return status;
}

}  // namespace cli
