#pragma once
// Version information of Windows executables (PE32 and PE32+), read by our
// own bounds-checked reader: the headers, the section table, the resource
// tree down to the first RT_VERSION resource, and that one block (at most
// 64 KiB). Every offset and length is checked against the file, the
// section and the parent block; no resource directory is visited twice.
// Other files (ELF, text, anything short or damaged) have none.

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>
#include <utility>

namespace plat {
class RegularFileReader;
}

namespace browse {

// Where the reader takes its bytes from.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual qint64 size() const = 0;
    // Exactly len bytes at offset; false when they are not all there.
    virtual bool readAt(qint64 offset, qint64 len, QByteArray& out) = 0;
};

class MemorySource : public ByteSource {
public:
    explicit MemorySource(QByteArray data) : data_(std::move(data)) {}
    qint64 size() const override { return data_.size(); }
    bool readAt(qint64 offset, qint64 len, QByteArray& out) override;
private:
    QByteArray data_;
};

// Reads through an open regular-file reader (never past its size at open).
class FileSource : public ByteSource {
public:
    explicit FileSource(plat::RegularFileReader& reader) : reader_(reader) {}
    qint64 size() const override;
    bool readAt(qint64 offset, qint64 len, QByteArray& out) override;
private:
    plat::RegularFileReader& reader_;
};

constexpr qint64 kMaxVersionBlock = 64 * 1024;

// The data of the image's version resource (VS_VERSIONINFO): the RT_VERSION
// resource with ID 1, else the first one; its first language. Nothing when
// the source is no PE image or has no such resource.
std::optional<QByteArray> FindVersionBlock(ByteSource& source);

// Queries over a version block, as VerQueryValue answers them: a path of
// block keys below the root ("\StringFileInfo\040904e4\CompanyName"),
// each compared without regard to case. A block whose length is 0 ends the
// list of its siblings; one that does not fit in its parent, or whose key
// has no end, ends it too.
class VersionBlock {
public:
    explicit VersionBlock(QByteArray data) : data_(std::move(data)) {}

    // The value bytes of the block at path; "\" is the root's value.
    std::optional<QByteArray> value(QStringView path) const;
    // The value as text: UTF-16 up to its first NUL, control characters
    // turned into blanks.
    std::optional<QString> text(QStringView path) const;
    // The first entry of \VarFileInfo\Translation: language, code page.
    std::optional<std::pair<quint16, quint16>> translation() const;

private:
    struct Node {
        qsizetype end = 0;            // one past the block
        qsizetype valueStart = 0;
        qsizetype valueBytes = 0;     // clamped to the block
        qsizetype childrenStart = 0;
        QString key;
    };
    // The block at offset at within [at, limit); nothing when it ends the list.
    std::optional<Node> node(qsizetype at, qsizetype limit) const;
    std::optional<Node> find(QStringView path) const;

    QByteArray data_;
};

// "%04x%04x" of a translation: the sub-block name of its string table.
QString StringTableName(quint16 language, quint16 codePage);

}  // namespace browse
