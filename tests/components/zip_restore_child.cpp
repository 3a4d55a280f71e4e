// Helper of the leftover test: extracts ARCHIVE into FOLDER and kills itself
// with SIGKILL once half of the data is written, as a crash or a killed
// session ends a restore. With "named" every file is written under a named
// part file first, as on file systems that cannot make files without a name.
#include "components/zip/zipreader.h"

#include <QCoreApplication>

#include <csignal>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 4)
        return 64;
    if (argc == 4 && QByteArray(argv[3]) == "named")
        comp::detail::allowAnonymousTempFiles(false);
    comp::ZipReader reader;
    if (!reader.openPosix(argv[1]))
        return 2;
    reader.extractAllPosix(argv[2], [](int percent) {
        if (percent >= 50)
            std::raise(SIGKILL);
    });
    return 3;  // never reached half way: the test says so
}
