#pragma once
// Builds version blocks and small PE32/PE32+ images in memory, sound or
// damaged on purpose, for the version reader's tests and fuzz seeds.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <utility>

namespace petest {

struct VersionSpec {
    quint16 language = 0x0409;
    quint16 codePage = 0x04E4;
    QString tableName;  // empty: the translation's own "%04x%04x"
    QList<std::pair<QString, QString>> strings;
    bool withTranslation = true;
    bool valueLengthInBytes = false;  // text lengths counted in bytes
    int zeroChildAfter = -1;          // a block of length 0 after string n
    int overlongString = -1;          // string n claims more than its table holds
};
QByteArray VersionBlockBytes(const VersionSpec& spec);

struct ImageSpec {
    bool pe32Plus = false;
    QByteArray versionBlock;
    enum class Tree { Sound, RootToItself, TypeToItself, NameToRoot };
    Tree tree = Tree::Sound;
    quint32 dataSize = 0;  // 0: the block's own size
    quint32 versionId = 1;
};
QByteArray PeImage(const ImageSpec& spec);

// The eleven strings with plain values, for sound images.
QList<std::pair<QString, QString>> SampleStrings();

}  // namespace petest
