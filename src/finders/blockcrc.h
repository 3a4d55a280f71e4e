#pragma once
// The file checksum shown as "CRC": the sum, modulo 2^32, of the CRC-32 of
// each 2048-byte block of the file's contents.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

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
// Checksums of many files, read in the order given (see BlockCrcReadOrder).
// Each file is opened relative to its folder's open handle (one open, one
// status query; the folder is reached once for all its files in a row) and
// read with one buffer, at most the size it had when opened. When the files
// turn out not to be in memory, the next few files are announced to the
// system ahead of their turn, so the disk has work queued while the current
// one is summed. limit > 0 sums only the first limit bytes of each file.
class BlockCrcBatch {
public:
    BlockCrcBatch(std::vector<QString> drivePaths, std::vector<int> order, qint64 limit = 0);
    ~BlockCrcBatch();
    BlockCrcBatch(const BlockCrcBatch&) = delete;
    BlockCrcBatch& operator=(const BlockCrcBatch&) = delete;
    // The next file in order: its index and its sum (nothing when it could
    // not be opened or read). False when all were read.
    bool next(int& index, std::optional<quint32>& sum);
    // The size the file had when it was opened, -1 when it could not be.
    qint64 sizeAtOpen(int index) const { return sizes_[size_t(index)]; }

private:
    struct Opened {
        int index;
        int fd;  // -1: could not be opened
        qint64 size;
    };
    void openAhead(size_t count);
    std::optional<quint32> readAndClose(const Opened& file);

    std::vector<QString> paths_;
    std::vector<int> order_;
    std::vector<qint64> sizes_;
    qint64 limit_;
    size_t opened_ = 0;  // files of order_ opened so far
    std::vector<Opened> ahead_;  // opened, not yet read, in order
    size_t aheadFirst_ = 0;
    bool cold_ = false;      // a file was found not in memory
    bool probing_ = true;    // whether to ask if a file is in memory
    struct Folders;
    std::unique_ptr<Folders> folders_;
};

// The order for a batch: the files of a folder together, each folder's
// files by device and inode (as listed; 0 when not known), and the folders
// by the first of those; so a cold disk is read mostly front to back.
std::vector<int> BlockCrcReadOrder(const std::vector<QString>& drivePaths,
                                   const std::vector<std::pair<quint64, quint64>>& fileIds);

// "%X": upper-case hexadecimal without leading zeros (352441C2, 0).
QString CrcText(quint32 value);

}  // namespace finders
