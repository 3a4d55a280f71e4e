#include "pebuilder.h"

#include <QtEndian>

namespace petest {

namespace {

void put16(QByteArray& b, qsizetype at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void put32(QByteArray& b, qsizetype at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

void pad4(QByteArray& b)
{
    while (b.size() % 4)
        b.append('\0');
}

QByteArray utf16z(const QString& s)
{
    QByteArray out;
    for (QChar c : s) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    out.append(2, '\0');
    return out;
}

// wLength, wValueLength, wType, key, padding, value, padding, children.
QByteArray node(const QString& key, const QByteArray& value, quint16 valueLength, quint16 type,
                const QList<QByteArray>& children = {})
{
    QByteArray b(6, '\0');
    b += utf16z(key);
    pad4(b);
    b += value;
    for (const QByteArray& c : children) {
        pad4(b);
        b += c;
    }
    put16(b, 0, quint16(b.size()));
    put16(b, 2, valueLength);
    put16(b, 4, type);
    return b;
}

}  // namespace

QList<std::pair<QString, QString>> SampleStrings()
{
    return {{"CompanyName", "Halvane Test Works"},  {"FileDescription", "Fixture library"},
            {"FileVersion", "1.2.3.4"},             {"InternalName", "fixture"},
            {"LegalCopyright", "(C) 2024 Halvane"}, {"LegalTrademarks", "Trovik(TM)"},
            {"OriginalFilename", "fixture.dll"},    {"PrivateBuild", "private-7"},
            {"ProductName", "Trovik fixture"},      {"ProductVersion", "4.1"},
            {"SpecialBuild", "special-9"}};
}

QByteArray VersionBlockBytes(const VersionSpec& spec)
{
    QList<QByteArray> strings;
    for (qsizetype i = 0; i < spec.strings.size(); ++i) {
        const QByteArray value = utf16z(spec.strings[i].second);
        const quint16 length = quint16(spec.valueLengthInBytes ? value.size() : value.size() / 2);
        QByteArray s = node(spec.strings[i].first, value, length, 1);
        if (i == spec.overlongString)
            put16(s, 0, 0xFFF0);
        strings << s;
        if (i == spec.zeroChildAfter)
            strings << QByteArray(8, '\0');
    }
    const QString table = spec.tableName.isEmpty()
                              ? QStringLiteral("%1%2").arg(spec.language, 4, 16, QLatin1Char('0')).arg(spec.codePage, 4, 16, QLatin1Char('0'))
                              : spec.tableName;
    QList<QByteArray> children;
    children << node(QStringLiteral("StringFileInfo"), {}, 0, 1, {node(table, {}, 0, 1, strings)});
    if (spec.withTranslation) {
        QByteArray pair(4, '\0');
        put16(pair, 0, spec.language);
        put16(pair, 2, spec.codePage);
        children << node(QStringLiteral("VarFileInfo"), {}, 0, 1, {node(QStringLiteral("Translation"), pair, 4, 0)});
    }
    QByteArray fixed(52, '\0');
    put32(fixed, 0, 0xFEEF04BD);
    put32(fixed, 4, 0x00010000);
    return node(QStringLiteral("VS_VERSION_INFO"), fixed, 52, 0, children);
}

QByteArray PeImage(const ImageSpec& spec)
{
    constexpr quint32 kSectionVa = 0x1000;
    constexpr quint32 kRawPtr = 0x200;
    // The resource section: three directories, a data entry, the block.
    QByteArray rsrc(0x58, '\0');
    auto directory = [&](qsizetype at, quint32 id, quint32 offset) {
        put16(rsrc, at + 14, 1);  // one ID entry
        put32(rsrc, at + 16, id);
        put32(rsrc, at + 20, offset);
    };
    const quint32 sub = 0x80000000u;
    using Tree = ImageSpec::Tree;
    directory(0x00, 16, sub | (spec.tree == Tree::RootToItself ? 0x00 : 0x18));
    directory(0x18, spec.versionId, sub | (spec.tree == Tree::TypeToItself ? 0x18 : 0x30));
    directory(0x30, 0x0409, spec.tree == Tree::NameToRoot ? sub : 0x48);
    put32(rsrc, 0x48, kSectionVa + 0x58);
    put32(rsrc, 0x4C, spec.dataSize ? spec.dataSize : quint32(spec.versionBlock.size()));
    rsrc += spec.versionBlock;
    const quint32 virtualSize = quint32(rsrc.size());
    while (rsrc.size() % 0x200)
        rsrc.append('\0');

    const quint16 optionalSize = spec.pe32Plus ? 240 : 224;
    QByteArray image(kRawPtr, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    put32(image, 0x3C, 0x40);
    image.replace(0x40, 4, QByteArray("PE\0\0", 4));
    const qsizetype coff = 0x44;
    put16(image, coff, spec.pe32Plus ? 0x8664 : 0x14C);
    put16(image, coff + 2, 1);
    put16(image, coff + 16, optionalSize);
    put16(image, coff + 18, 0x2102);
    const qsizetype opt = coff + 20;
    put16(image, opt, spec.pe32Plus ? 0x20B : 0x10B);
    const qsizetype count = opt + (spec.pe32Plus ? 108 : 92);
    put32(image, count, 16);
    const qsizetype dirs = count + 4;
    put32(image, dirs + 16, kSectionVa);
    put32(image, dirs + 20, virtualSize);
    const qsizetype section = opt + optionalSize;
    image.replace(section, 6, QByteArray(".rsrc\0", 6));
    put32(image, section + 8, virtualSize);
    put32(image, section + 12, kSectionVa);
    put32(image, section + 16, quint32(rsrc.size()));
    put32(image, section + 20, kRawPtr);
    return image + rsrc;
}

}  // namespace petest
