// Traditional PKWARE encryption, for reading archives made with `zip -e`.
#include "components/zip/zipcrypt.h"

#include <zlib.h>

namespace comp::zipfmt {

namespace {

inline quint32 crcByte(quint32 crc, quint8 b)
{
    static const z_crc_t* table = get_crc_table();
    return quint32(table[(crc ^ b) & 0xff]) ^ (crc >> 8);
}

}  // namespace

TraditionalCipher::TraditionalCipher(const QByteArray& password)
    : k0_(0x12345678), k1_(0x23456789), k2_(0x34567890)
{
    for (char c : password)
        update(quint8(c));
}

void TraditionalCipher::update(quint8 plain)
{
    k0_ = crcByte(k0_, plain);
    k1_ = (k1_ + (k0_ & 0xff)) * 134775813u + 1;
    k2_ = crcByte(k2_, quint8(k1_ >> 24));
}

quint8 TraditionalCipher::streamByte() const
{
    const quint32 t = (k2_ | 2) & 0xffff;
    return quint8((t * (t ^ 1)) >> 8);
}

void TraditionalCipher::decrypt(char* data, qint64 len)
{
    for (qint64 i = 0; i < len; ++i) {
        const quint8 plain = quint8(data[i]) ^ streamByte();
        update(plain);
        data[i] = char(plain);
    }
}

void TraditionalCipher::encrypt(char* data, qint64 len)
{
    for (qint64 i = 0; i < len; ++i) {
        const quint8 plain = quint8(data[i]);
        const quint8 cipher = plain ^ streamByte();
        update(plain);
        data[i] = char(cipher);
    }
}

bool TraditionalCipher::headerMatches(char* header12, quint8 checkByte)
{
    decrypt(header12, 12);
    return quint8(header12[11]) == checkByte;
}

}  // namespace comp::zipfmt
