#include "cli/cliargs.h"

#include "cli/rowoutput.h"
#include "platform/drives.h"

#include <QFile>
#include <cstdio>

namespace cli {

std::optional<QString> DrivePathArgument(const QString& arg)
{
    if (arg.size() >= 2 && arg.at(1) == ':' && arg.at(0).isLetter())
        return arg;
    if (arg.startsWith('/'))
        return plat::toDrivePath(QFile::encodeName(arg));
    return std::nullopt;
}

void Out(const QString& line)
{
    const QByteArray b = line.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
    std::fputc('\n', stdout);
}

void Err(const QString& line)
{
    // A JSON document carries the messages too; standard error keeps them
    // for whoever watches the run.
    if (RowOutput* rows = rowOutput(); rows && rows->format() == OutputFormat::Json)
        rows->addMessage(line);
    const QByteArray b = line.toUtf8();
    std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
    std::fputc('\n', stderr);
}

}  // namespace cli
