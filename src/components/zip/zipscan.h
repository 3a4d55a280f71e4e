#pragma once
// Internal to the zip codec: decoding an entry's data (decrypt, inflate, CRC)
// and recovering the entry list of an archive whose central directory is
// missing or damaged by scanning its local headers.

#include "components/zip/zipformat.h"

#include <functional>

namespace comp::zipfmt {

class TraditionalCipher;

enum class DecodeStatus {
    Ok,
    CrcMismatch,   // data complete but its CRC differs
    Corrupt,       // bad deflate stream, or more/less data than announced
    ReadError,     // the archive bytes are not there
    SinkError,     // the sink refused the data (write failed)
    Unsupported,   // a method other than stored or deflated
};

struct DecodeRequest {
    quint64 dataOffset = 0;
    quint64 compressedSize = 0;   // bytes available; with stopAtStreamEnd an upper bound
    quint16 method = kStored;
    quint64 expectedSize = 0;     // uncompressed size; ignored with stopAtStreamEnd
    quint32 expectedCrc = 0;      // ignored with stopAtStreamEnd
    bool stopAtStreamEnd = false; // size unknown (data descriptor): find the deflate end
    TraditionalCipher* cipher = nullptr;  // past the 12-byte header already
};

struct DecodeResult {
    DecodeStatus status = DecodeStatus::Ok;
    quint32 crc = 0;
    quint64 produced = 0;
    quint64 consumed = 0;
    quint64 bytesRead = 0;  // from the source, also when decoding failed
};

using DataSink = std::function<bool(const char* data, qint64 len)>;
using ConsumedProgress = std::function<void(quint64 consumedSoFar)>;

DecodeResult decodeData(ByteSource& src, const DecodeRequest& req, const DataSink& sink = {},
                        const ConsumedProgress& progress = {});

// Lists every complete entry found by walking the local headers from the
// start. Entries whose data can be checked (not encrypted, stored or
// deflated) are listed only when their CRC is right. centralOffset is set to
// the end of the last good entry: where a writer may continue. One forward
// pass: the bytes read grow linearly with the archive's size, whatever it
// holds (a walk that would read more stops and sets unparsedOverflow).
void scanLocalHeaders(ByteSource& src, Directory* dir);

}  // namespace comp::zipfmt
