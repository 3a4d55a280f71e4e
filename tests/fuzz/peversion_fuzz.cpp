// libFuzzer target for the version reader. The first byte chooses what the
// rest is: a PE image (the resource tree is walked to its version block) or
// a version block itself. The block is then queried for the eleven strings
// of the details window and for keys taken from the input. Built only with
// -DTROVIK_FUZZ=ON and clang.
#include "browse/peversion.h"
#include "browse/versionstrings.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QByteArray block;
    if (data[0] & 1) {
        block = input;
    } else {
        browse::MemorySource source(input);
        const auto found = browse::FindVersionBlock(source);
        if (!found)
            return 0;
        if (found->size() > browse::kMaxVersionBlock)
            std::abort();
        block = *found;
    }
    const browse::VersionBlock b(block);
    const QStringList lines = browse::VersionLinesOf(b, data[0] & 2);
    if (!lines.isEmpty() && lines.size() != 11)
        std::abort();
    for (const QString& line : lines)
        for (QChar c : line)
            if (c.unicode() < 0x20 && c != QLatin1Char('\t'))
                std::abort();
    // Keys from the input's last bytes: any path of any depth.
    const QString keys = QString::fromLatin1(input.right(48)).replace(QLatin1Char('/'), QLatin1Char('\\'));
    (void)b.value(keys);
    (void)b.text(QStringLiteral("\\StringFileInfo\\") + keys);
    (void)b.value(u"\\");
    return 0;
}
