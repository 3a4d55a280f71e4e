#include "finders/blockcrc.h"

#include "platform/cleanpath.h"
#include "platform/drives.h"
#include "platform/folderchain.h"
#include "platform/filereader.h"
#include "platform/foldertree.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <numeric>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <zlib.h>

#if defined(__x86_64__) && defined(__GNUC__)
// GCC 12's AVX-512 headers start some vectors from an "undefined" value and
// then warn about it where they are inlined.
#pragma GCC diagnostic ignored "-Wuninitialized"
#include <immintrin.h>
#define TROVIK_CLMUL_CRC 1
#endif

namespace finders {

namespace {
constexpr qint64 kBlock = 2048;
// Large reads cost fewer system calls, but the buffer should stay in the
// processor's cache, where the checksum then finds the bytes the read just
// wrote; the sum is still taken over 2048-byte slices of the stream, as if
// it had been read 2048 bytes at a time.
constexpr qint64 kBuffer = 256 * 1024;

// --- CRC-32 (the zlib one) of a 2048-byte block, by carry-less multiplication.
//
// The block is folded 128 bits at a time with precomputed powers of x modulo
// the CRC polynomial, then reduced to 32 bits (Barrett). Each constant is
// bit-reflected x^n mod P(x), shifted left by one; a pair for a fold over d
// bits is (x^(d+32) mod P, x^(d-32) mod P). zlib's crc32 gives the same
// values on every processor; this is only faster, and is checked against it
// in the tests.
#ifdef TROVIK_CLMUL_CRC

#define TROVIK_TARGET_CLMUL __attribute__((target("pclmul,sse4.1")))
#define TROVIK_TARGET_VCLMUL __attribute__((target("avx512f,avx512vl,vpclmulqdq,pclmul,sse4.1")))

TROVIK_TARGET_CLMUL inline __m128i Fold128(__m128i a, __m128i data, __m128i k)
{
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(a, k, 0x00), _mm_clmulepi64_si128(a, k, 0x11)), data);
}

// 128 bits of folded state to the CRC register (not yet inverted).
TROVIK_TARGET_CLMUL inline quint32 Reduce128(__m128i x)
{
    const __m128i k128 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);  // fold over 128 bits
    const __m128i k64 = _mm_set_epi64x(0, 0x163cd6124);             // x^64 mod P
    const __m128i mu = _mm_set_epi64x(0x1f7011641, 0x1db710641);    // Barrett: P and x^64 / P
    const __m128i low32 = _mm_setr_epi32(~0, 0, ~0, 0);
    // 128 bits to 64.
    __m128i t = _mm_clmulepi64_si128(x, k128, 0x10);
    x = _mm_xor_si128(_mm_srli_si128(x, 8), t);
    // 64 bits to 32 bits plus a 32-bit remainder.
    t = _mm_srli_si128(x, 4);
    x = _mm_clmulepi64_si128(_mm_and_si128(x, low32), k64, 0x00);
    x = _mm_xor_si128(x, t);
    // Barrett reduction to the 32-bit remainder.
    t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), mu, 0x10);
    t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), mu, 0x00);
    return quint32(_mm_extract_epi32(_mm_xor_si128(x, t), 1));
}

// CRC-32 of a whole block, 128 bits per step in four lanes.
TROVIK_TARGET_CLMUL quint32 BlockCrcClmul(const uchar* p)
{
    const __m128i k512 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
    const __m128i k128 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
    auto load = [](const uchar* at) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at)); };
    __m128i x0 = _mm_xor_si128(load(p), _mm_cvtsi32_si128(-1));  // the register starts as ~0
    __m128i x1 = load(p + 16), x2 = load(p + 32), x3 = load(p + 48);
    for (const uchar* at = p + 64; at < p + kBlock; at += 64) {
        x0 = Fold128(x0, load(at), k512);
        x1 = Fold128(x1, load(at + 16), k512);
        x2 = Fold128(x2, load(at + 32), k512);
        x3 = Fold128(x3, load(at + 48), k512);
    }
    x0 = Fold128(x0, x1, k128);
    x0 = Fold128(x0, x2, k128);
    x0 = Fold128(x0, x3, k128);
    return ~Reduce128(x0);
}

TROVIK_TARGET_VCLMUL inline __m512i Fold512(__m512i a, __m512i data, __m512i k)
{
    return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(a, k, 0x00), _mm512_clmulepi64_epi128(a, k, 0x11), data,
                                     0x96);  // a ^ b ^ c
}

// The same with 512-bit registers: 256 bytes per step in four registers of
// four lanes each.
TROVIK_TARGET_VCLMUL quint32 BlockCrcVclmul(const uchar* p)
{
    const __m512i k2048 = _mm512_broadcast_i32x4(_mm_set_epi64x(0x1322d1430, 0x11542778a));
    const __m512i k512 = _mm512_broadcast_i32x4(_mm_set_epi64x(0x1c6e41596, 0x154442bd4));
    __m512i z0 = _mm512_xor_si512(_mm512_loadu_si512(p), _mm512_zextsi128_si512(_mm_cvtsi32_si128(-1)));
    __m512i z1 = _mm512_loadu_si512(p + 64);
    __m512i z2 = _mm512_loadu_si512(p + 128);
    __m512i z3 = _mm512_loadu_si512(p + 192);
    for (const uchar* at = p + 256; at < p + kBlock; at += 256) {
        z0 = Fold512(z0, _mm512_loadu_si512(at), k2048);
        z1 = Fold512(z1, _mm512_loadu_si512(at + 64), k2048);
        z2 = Fold512(z2, _mm512_loadu_si512(at + 128), k2048);
        z3 = Fold512(z3, _mm512_loadu_si512(at + 192), k2048);
    }
    z0 = Fold512(z0, z1, k512);
    z0 = Fold512(z0, z2, k512);
    z0 = Fold512(z0, z3, k512);
    // Four lanes to one: lane 0 folds over 384 bits, lane 1 over 256, lane 2
    // over 128, onto lane 3.
    const __m512i kLanes = _mm512_set_epi64(0, 0, 0x0ccaa009e, 0x1751997d0, 0x15a546366, 0x0f1da05aa, 0x174359406,
                                            0x03db1ecdc);
    const __m512i t = _mm512_xor_si512(_mm512_clmulepi64_epi128(z0, kLanes, 0x00),
                                       _mm512_clmulepi64_epi128(z0, kLanes, 0x11));
    __m128i x = _mm_xor_si128(_mm512_extracti32x4_epi32(z0, 3), _mm512_castsi512_si128(t));
    x = _mm_xor_si128(x, _mm512_extracti32x4_epi32(t, 1));
    x = _mm_xor_si128(x, _mm512_extracti32x4_epi32(t, 2));
    return ~Reduce128(x);
}

using BlockCrcFn = quint32 (*)(const uchar*);

BlockCrcFn ChooseBlockCrc()
{
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl")
        && __builtin_cpu_supports("vpclmulqdq") && __builtin_cpu_supports("pclmul")
        && __builtin_cpu_supports("sse4.1"))
        return BlockCrcVclmul;
    if (__builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1"))
        return BlockCrcClmul;
    return nullptr;  // zlib
}

#endif  // TROVIK_CLMUL_CRC

// Whole blocks with the given function, the short last one with zlib.
quint32 SumBlocksWith(const char* data, qint64 size, quint32 (*whole)(const uchar*))
{
    const auto* p = reinterpret_cast<const uchar*>(data);
    quint32 sum = 0;
    qint64 at = 0;
    if (whole)
        for (; at + kBlock <= size; at += kBlock)
            sum += whole(p + at);
    for (; at < size; at += kBlock)
        sum += quint32(crc32(0L, p + at, uInt(std::min(kBlock, size - at))));
    return sum;
}

quint32 SumBlocks(const char* data, qint64 size)
{
#ifdef TROVIK_CLMUL_CRC
    static const BlockCrcFn whole = ChooseBlockCrc();
    return SumBlocksWith(data, size, whole);
#else
    return SumBlocksWith(data, size, nullptr);
#endif
}

// One read buffer per thread, made once: a fresh megabyte for every file
// would cost more than reading most files.
char* ReadBuffer()
{
    thread_local std::unique_ptr<char[]> buffer;
    if (!buffer)
        buffer.reset(new char[size_t(kBuffer)]);
    return buffer.get();
}

}  // namespace

quint32 BlockCrcSumOf(const char* data, qint64 size)
{
    return SumBlocks(data, size);
}

QStringList BlockCrcVariants()
{
    QStringList out{QStringLiteral("zlib")};
#ifdef TROVIK_CLMUL_CRC
    __builtin_cpu_init();
    if (__builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1"))
        out << QStringLiteral("clmul");
    if (ChooseBlockCrc() == BlockCrcVclmul)
        out << QStringLiteral("vclmul");
#endif
    return out;
}

quint32 BlockCrcSumOfVariant(const QString& variant, const char* data, qint64 size)
{
#ifdef TROVIK_CLMUL_CRC
    if (variant == QLatin1String("clmul"))
        return SumBlocksWith(data, size, BlockCrcClmul);
    if (variant == QLatin1String("vclmul"))
        return SumBlocksWith(data, size, BlockCrcVclmul);
#endif
    return SumBlocksWith(data, size, nullptr);
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
    char* buffer = ReadBuffer();
    quint32 sum = 0;
    qint64 pending = 0;  // bytes in buffer not yet summed (a partial slice)
    for (;;) {
        const qint64 n = reader.read(buffer + pending, kBuffer - pending);
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        const qint64 have = pending + n;
        const qint64 whole = have - have % kBlock;
        sum += SumBlocks(buffer, whole);
        pending = have - whole;
        if (pending)
            std::copy(buffer + whole, buffer + have, buffer);
    }
    // The last slice may be shorter than a block.
    sum += SumBlocks(buffer, pending);
    return sum;
}

// --- many files --------------------------------------------------------------

struct BlockCrcBatch::Folders {
    plat::FolderChain chain;
};

namespace {
// Files opened ahead of their turn once the disk is found cold.
constexpr size_t kAhead = 16;

// The folder and name of a file's cleaned drive path; false for a drive
// root or a name that cannot be one.
bool SplitFilePath(const QString& drivePath, QString& folder, QByteArray& name)
{
    const qsizetype cut = drivePath.lastIndexOf(u'\\');
    if (cut < 2 || cut + 1 >= drivePath.size())
        return false;
    name = QFile::encodeName(drivePath.mid(cut + 1));
    if (name == "." || name == ".." || name.contains('/') || !plat::isRepresentableName(name))
        return false;
    folder = drivePath.left(cut == 2 ? 3 : cut);
    return true;
}
}  // namespace

BlockCrcBatch::BlockCrcBatch(std::vector<QString> drivePaths, std::vector<int> order, qint64 limit)
    : paths_(std::move(drivePaths)), order_(std::move(order)), sizes_(paths_.size(), -1), limit_(limit),
      folders_(std::make_unique<Folders>())
{
}

BlockCrcBatch::~BlockCrcBatch()
{
    for (size_t k = aheadFirst_; k < ahead_.size(); ++k)
        if (ahead_[k].fd >= 0)
            ::close(ahead_[k].fd);
}

void BlockCrcBatch::openAhead(size_t count)
{
    while (ahead_.size() - aheadFirst_ < count && opened_ < order_.size()) {
        const int index = order_[opened_++];
        Opened file{index, -1, 0};
        QString folderPath;
        QByteArray name;
        plat::TreeError error = plat::TreeError::None;
        const int folderFd = SplitFilePath(plat::cleanDrivePath(paths_[size_t(index)]), folderPath, name)
                                 ? folders_->chain.open(folderPath, error)
                                 : -1;
        if (folderFd >= 0) {
            // Regular files ignore O_NONBLOCK for reading; here it only keeps
            // the open from waiting should the name now be a FIFO's, and the
            // status query then refuses anything but a regular file.
            const int fd =
                ::openat(folderFd, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
            struct stat st;
            if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
                file.fd = fd;
                file.size = st.st_size;
                if (cold_) {
                    const qint64 want = limit_ > 0 ? std::min(limit_, file.size) : file.size;
                    ::posix_fadvise(fd, 0, off_t(want), POSIX_FADV_WILLNEED);
                }
            } else if (fd >= 0) {
                ::close(fd);
            }
        }
        if (aheadFirst_ > 0 && aheadFirst_ == ahead_.size()) {
            ahead_.clear();
            aheadFirst_ = 0;
        }
        ahead_.push_back(file);
    }
}

std::optional<quint32> BlockCrcBatch::readAndClose(const Opened& file)
{
    char* buffer = ReadBuffer();
    const qint64 want = limit_ > 0 ? std::min(limit_, file.size) : file.size;
    quint32 sum = 0;
    qint64 pending = 0;  // bytes in buffer not yet summed (a partial slice)
    qint64 done = 0;
    bool failed = false;
    while (done < want) {
        const size_t ask = size_t(std::min(kBuffer - pending, want - done));
        ssize_t n = -1;
        if (probing_ && done == 0) {
            // Read only what is in memory: a file that is not tells that the
            // disk is cold, and from then on the next files are announced.
            iovec io{buffer + pending, ask};
            n = ::preadv2(file.fd, &io, 1, 0, RWF_NOWAIT);
            if (n < 0 && errno == EAGAIN) {
                cold_ = true;
                probing_ = false;
                for (size_t k = aheadFirst_; k < ahead_.size(); ++k)
                    if (ahead_[k].fd >= 0)
                        ::posix_fadvise(ahead_[k].fd, 0, 0, POSIX_FADV_WILLNEED);
                openAhead(kAhead);
                n = ::pread(file.fd, buffer + pending, ask, 0);
            } else if (n < 0 && (errno == EOPNOTSUPP || errno == EINVAL || errno == ENOSYS)) {
                probing_ = false;
                n = ::pread(file.fd, buffer + pending, ask, 0);
            }
            // Otherwise a partial answer is what was in memory; the rest is
            // read from where it ends.
        } else {
            n = ::pread(file.fd, buffer + pending, ask, off_t(done));
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            failed = true;
            break;
        }
        if (n == 0)
            break;
        done += n;
        const qint64 have = pending + n;
        const qint64 whole = have - have % kBlock;
        sum += SumBlocks(buffer, whole);
        pending = have - whole;
        if (pending)
            std::copy(buffer + whole, buffer + have, buffer);
    }
    ::close(file.fd);
    if (failed)
        return std::nullopt;
    sizes_[size_t(file.index)] = file.size;
    return sum + SumBlocks(buffer, pending);
}

bool BlockCrcBatch::next(int& index, std::optional<quint32>& sum)
{
    openAhead(cold_ ? kAhead : 1);
    if (aheadFirst_ >= ahead_.size())
        return false;
    const Opened file = ahead_[aheadFirst_++];
    index = file.index;
    sum = file.fd < 0 ? std::nullopt : readAndClose(file);
    return true;
}

std::vector<int> BlockCrcReadOrder(const std::vector<QString>& drivePaths,
                                   const std::vector<std::pair<quint64, quint64>>& fileIds)
{
    const size_t n = drivePaths.size();
    auto id = [&](size_t k) { return k < fileIds.size() ? fileIds[k] : std::pair<quint64, quint64>{0, 0}; };
    // Each folder by number, and its first file's id.
    QHash<QStringView, int> folderOf;
    std::vector<int> folder(n);
    std::vector<std::pair<quint64, quint64>> firstId;
    for (size_t k = 0; k < n; ++k) {
        const QString& p = drivePaths[k];
        const QStringView f = QStringView(p).left(std::max<qsizetype>(p.lastIndexOf(u'\\'), 0));
        const auto it = folderOf.constFind(f);
        if (it == folderOf.constEnd()) {
            folder[k] = int(firstId.size());
            folderOf.insert(f, folder[k]);
            firstId.push_back(id(k));
        } else {
            folder[k] = *it;
            firstId[size_t(*it)] = std::min(firstId[size_t(*it)], id(k));
        }
    }
    std::vector<int> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const auto fa = folder[size_t(a)], fb = folder[size_t(b)];
        if (fa != fb)
            return std::pair(firstId[size_t(fa)], fa) < std::pair(firstId[size_t(fb)], fb);
        return id(size_t(a)) < id(size_t(b));
    });
    return order;
}

QString CrcText(quint32 value)
{
    return QString::number(value, 16).toUpper();
}

}  // namespace finders
