#include "finders/blockcrc.h"

#include "platform/filereader.h"

#include <vector>
#include <zlib.h>

namespace finders {

namespace {
constexpr qint64 kBlock = 2048;
// Large reads cost far fewer system calls; the sum is still taken over
// 2048-byte slices of the stream, as if it had been read 2048 bytes at a time.
constexpr qint64 kBuffer = 1 << 20;

quint32 SumBlocks(const char* data, qint64 size)
{
    quint32 sum = 0;
    for (qint64 at = 0; at < size; at += kBlock) {
        const uInt n = uInt(std::min(kBlock, size - at));
        sum += quint32(crc32(0L, reinterpret_cast<const Bytef*>(data + at), n));
    }
    return sum;
}
}  // namespace

quint32 BlockCrcSumOf(const char* data, qint64 size)
{
    return SumBlocks(data, size);
}

quint32 BlockCrcSum(const QString& drivePath)
{
    return TryBlockCrcSum(drivePath).value_or(0);
}

std::optional<quint32> TryBlockCrcSum(const QString& drivePath)
{
    plat::RegularFileReader reader;
    if (!reader.open(drivePath))
        return std::nullopt;
    std::vector<char> buffer(kBuffer);
    quint32 sum = 0;
    qint64 pending = 0;  // bytes in buffer not yet summed (a partial slice)
    for (;;) {
        const qint64 n = reader.read(buffer.data() + pending, kBuffer - pending);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        const qint64 have = pending + n;
        const qint64 whole = have - have % kBlock;
        sum += SumBlocks(buffer.data(), whole);
        pending = have - whole;
        if (pending)
            std::copy(buffer.data() + whole, buffer.data() + have, buffer.data());
    }
    // The last slice may be shorter than a block.
    sum += SumBlocks(buffer.data(), pending);
    return sum;
}

QString CrcText(quint32 value)
{
    return QString::number(value, 16).toUpper();
}

}  // namespace finders
