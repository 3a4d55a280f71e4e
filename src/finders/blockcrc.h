#pragma once
// The file checksum shown as "CRC": the sum, modulo 2^32, of the CRC-32 of
// each 2048-byte block of the file's contents.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace finders {

// 0 when the file cannot be opened (or is not a regular file).
quint32 BlockCrcSum(const QString& drivePath);
// Nothing when the file cannot be opened or read to its end.
std::optional<quint32> TryBlockCrcSum(const QString& drivePath);
// The same over bytes in memory.
quint32 BlockCrcSumOf(const char* data, qint64 size);
// The ways this processor can compute it ("zlib", and "clmul" and "vclmul"
// where it has carry-less multiplication), and the sum by one of them; all
// give the same values. For tests.
QStringList BlockCrcVariants();
quint32 BlockCrcSumOfVariant(const QString& variant, const char* data, qint64 size);
// "%X": upper-case hexadecimal without leading zeros (352441C2, 0).
QString CrcText(quint32 value);

}  // namespace finders
