#pragma once
// Traditional PKWARE encryption (the "ZipCrypto" stream cipher of the
// application note, section 6.1): what `zip -e` writes. Weak, but archives
// protected with it must still be readable.

#include <QByteArray>
#include <QtGlobal>

namespace comp::zipfmt {

class TraditionalCipher {
public:
    explicit TraditionalCipher(const QByteArray& password);
    void decrypt(char* data, qint64 len);
    void encrypt(char* data, qint64 len);
    // Decrypts the 12-byte header in place and says whether its last byte is
    // the check byte (high byte of the CRC, or of the DOS time when sizes
    // follow the data).
    bool headerMatches(char* header12, quint8 checkByte);

private:
    void update(quint8 plain);
    quint8 streamByte() const;
    quint32 k0_, k1_, k2_;
};

}  // namespace comp::zipfmt
