// The enciphered file reader (decrypt_stored) and the hex code reader (fHexCodeToString) on
// arbitrary bytes, and the round trips of both formats. Input: one byte giving the key length,
// the key, then the stored file's bytes.
#include "fuzz_support.h"

#include "reports/block_cipher.h"

#include <QtEndian>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    const size_t key_length = 1 + data[0] % 56;
    if (size < 1 + key_length)
        return 0;
    const QByteArray key(reinterpret_cast<const char*>(data + 1), qsizetype(key_length));
    const QByteArray rest(reinterpret_cast<const char*>(data + 1 + key_length),
                          qsizetype(size - 1 - key_length));
    clsBlowfish bf;
    bf.sInitBF(key);

    // Any bytes: a clean error, or exactly the length the field names.
    const int32_t field = rest.size() >= 4 ? qFromLittleEndian<qint32>(rest.constData()) : -1;
    const qsizetype body = rest.size() - 4;
    const bool well_formed = rest.size() >= 4 && field >= 0 && field <= body && body % 8 == 0;
    try {
        const QByteArray plain = bf.decrypt_stored(rest);
        FUZZ_REQUIRE(well_formed && plain.size() == field);
    } catch (const CipherError&) {
        FUZZ_REQUIRE(!well_formed);
    }

    // The same bytes as a hex code of any length: a text or a clean error; and as a text of
    // 16-bit characters, whose code comes back to it.
    try {
        (void)clsBlowfish::fHexCodeToString(QString::fromLatin1(rest));
    } catch (const CipherError&) {
    }
    QString text(rest.size() / 2, Qt::Uninitialized);
    memcpy(text.data(), rest.constData(), size_t(text.size()) * sizeof(QChar));
    if (!text.isEmpty())
        FUZZ_REQUIRE(clsBlowfish::fHexCodeToString(clsBlowfish::fStringToHexCode(text)) == text);

    // The same bytes as a plain file: back whole, and every whole-block prefix of the enciphered
    // bytes deciphers to the same prefix of the plain bytes.
    if (rest.isEmpty())
        return 0;
    const QByteArray stored = bf.encrypt_stored(rest);
    FUZZ_REQUIRE(stored.size() == 4 + (rest.size() + 7) / 8 * 8);
    FUZZ_REQUIRE(bf.decrypt_stored(stored) == rest);
    const qsizetype blocks = (stored.size() - 4) / 8;
    const qsizetype cut = blocks > 1 ? 8 * (data[0] % blocks) : 0;
    QByteArray prefix = stored.left(4 + cut);
    qToLittleEndian<qint32>(qint32(cut), prefix.data());
    FUZZ_REQUIRE(bf.decrypt_stored(prefix) == rest.left(cut));
    return 0;
}
