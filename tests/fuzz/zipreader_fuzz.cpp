// libFuzzer target for the archive reader: open from memory, list, read and
// extract every entry into a scratch folder; nothing may appear outside it,
// and no link may be created. Built only with -DTROVIK_FUZZ=ON and clang.
#include "components/zip/zipreader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir* scratch = new QTemporaryDir;
    const QString base = scratch->path() + "/base";
    QDir(base).removeRecursively();
    QDir().mkpath(base);

    comp::ZipReader reader;
    if (!reader.openMemory(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))))
        return 0;
    (void)reader.comment();
    int asked = 0;
    reader.setPasswordProvider([&](const QString&) -> std::optional<QByteArray> {
        return ++asked % 2 ? std::optional<QByteArray>("pass") : std::nullopt;
    });
    for (size_t i = 0; i < reader.entries().size() && i < 8; ++i) {
        QByteArray out;
        reader.readEntry(int(i), &out);
    }
    reader.extractAllPosix(QFile::encodeName(base));

    // Only "base" in the scratch folder, and no links below it.
    const QStringList top = QDir(scratch->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                                            | QDir::System);
    if (top != QStringList{"base"})
        std::abort();
    QDirIterator it(base, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo fi(it.next());
        if (fi.isSymLink() || !(fi.isFile() || fi.isDir()))
            std::abort();
    }
    return 0;
}
