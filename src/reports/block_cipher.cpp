#include "reports/block_cipher.h"

#include "platform/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cctype>

namespace {

const QString CLASS_NAME = QStringLiteral("clsBlowfish");

// Texts become bytes through Windows-1252, the code page of the systems the class was made for,
// so "€" is the byte 0x80. A character outside that code page has no byte and is refused.
QByteArray text_bytes(const QString& text) {
    const auto bytes = platform::encode_windows1252(text);
    if (!bytes)
        throw CipherError(clsBlowfish::ERR_ARGUMENT,
                          QStringLiteral("Text holds a character that has no single-byte form."));
    return *bytes;
}

uint32_t load_be(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

void store_be(uint32_t v, uint8_t* p) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

QByteArray read_source(const QString& source) {
    QFile file(source);
    if (source.isEmpty() || !QFileInfo(source).isFile() || !file.open(QIODevice::ReadOnly))
        throw CipherError(clsBlowfish::ERR_ARGUMENT, QStringLiteral("Source file is not found"));
    return file.readAll();
}

void write_target(const QString& target, const QByteArray& bytes) {
    if (!platform::write_file_atomically(target, bytes))
        throw CipherError(clsBlowfish::ERR_ARGUMENT,
                          QStringLiteral("Target file could not be written"));
}

} // namespace

CipherError::CipherError(int32_t number, const QString& description, const QString& source)
    : std::runtime_error(description.toStdString()), number_(number), description_(description),
      source_(source) {}

void clsBlowfish::sInitBF(const QString& key) {
    sInitBF(text_bytes(key));
}

void clsBlowfish::sInitBF(const QByteArray& key) {
    if (key.isEmpty())
        throw CipherError(ERR_ARGUMENT, QStringLiteral("The key must not be empty."));
    P_ = block_cipher_tables::P;
    S_ = block_cipher_tables::S;
    const auto* k = reinterpret_cast<const uint8_t*>(key.constData());
    const qsizetype n = key.size();
    qsizetype j = 0;
    for (uint32_t& p : P_) {
        uint32_t word = 0;
        for (int b = 0; b < 4; ++b) {
            word = (word << 8) | k[j];
            j = (j + 1) % n;
        }
        p ^= word;
    }
    uint32_t left = 0, right = 0;
    for (size_t i = 0; i < P_.size(); i += 2) {
        encrypt_halves(left, right);
        P_[i] = left;
        P_[i + 1] = right;
    }
    for (auto& box : S_)
        for (size_t i = 0; i < box.size(); i += 2) {
            encrypt_halves(left, right);
            box[i] = left;
            box[i + 1] = right;
        }
    initialised_ = true;
}

uint32_t clsBlowfish::F(uint32_t x) const {
    return ((S_[0][x >> 24] + S_[1][(x >> 16) & 0xFF]) ^ S_[2][(x >> 8) & 0xFF]) + S_[3][x & 0xFF];
}

void clsBlowfish::encrypt_halves(uint32_t& left, uint32_t& right) const {
    uint32_t l = left, r = right;
    for (int i = 0; i < 16; i += 2) {
        l ^= P_[i];
        r ^= F(l);
        r ^= P_[i + 1];
        l ^= F(r);
    }
    l ^= P_[16];
    r ^= P_[17];
    left = r;
    right = l;
}

void clsBlowfish::decrypt_halves(uint32_t& left, uint32_t& right) const {
    uint32_t l = left, r = right;
    for (int i = 17; i > 1; i -= 2) {
        l ^= P_[i];
        r ^= F(l);
        r ^= P_[i - 1];
        l ^= F(r);
    }
    l ^= P_[1];
    r ^= P_[0];
    left = r;
    right = l;
}

void clsBlowfish::encrypt_block(uint8_t* block) const {
    uint32_t l = load_be(block), r = load_be(block + 4);
    encrypt_halves(l, r);
    store_be(l, block);
    store_be(r, block + 4);
}

void clsBlowfish::decrypt_block(uint8_t* block) const {
    uint32_t l = load_be(block), r = load_be(block + 4);
    decrypt_halves(l, r);
    store_be(l, block);
    store_be(r, block + 4);
}

void clsBlowfish::check_arrays(const QByteArray& from, const QByteArray& to) const {
    if (!initialised_)
        throw CipherError(ERR_NOT_INITIALISED, QStringLiteral("Call sInitBF before calling this sub"),
                          CLASS_NAME);
    if (from.size() != to.size())
        throw CipherError(ERR_ARGUMENT, QStringLiteral("Need to pass two byte arrays the same size"),
                          CLASS_NAME);
    if (from.size() % 8 != 0)
        throw CipherError(ERR_SIZE, QStringLiteral("Byte array must be sized divisible by 8."),
                          CLASS_NAME);
}

void clsBlowfish::sEncrypt(const QByteArray& plain, QByteArray& encrypted) const {
    check_arrays(plain, encrypted);
    QByteArray out = plain;
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    for (qsizetype i = 0; i < out.size(); i += 8)
        encrypt_block(p + i);
    encrypted = out;
}

void clsBlowfish::sDecrypt(const QByteArray& encrypted, QByteArray& plain) const {
    check_arrays(encrypted, plain);
    QByteArray out = encrypted;
    auto* p = reinterpret_cast<uint8_t*>(out.data());
    for (qsizetype i = 0; i < out.size(); i += 8)
        decrypt_block(p + i);
    plain = out;
}

QByteArray clsBlowfish::encrypt_stored(const QByteArray& plain) const {
    if (!initialised_)
        throw CipherError(ERR_NOT_INITIALISED, QStringLiteral("Call sInitBF before calling this sub"));
    if (plain.isEmpty())
        throw CipherError(ERR_ARGUMENT, QStringLiteral("Source file is empty"));
    if (plain.size() > INT32_MAX - 8)
        throw CipherError(ERR_SIZE, QStringLiteral("Source file is too large"));
    const auto n = static_cast<int32_t>(plain.size());
    QByteArray padded = plain;
    padded.append(QByteArray((8 - n % 8) % 8, '\0'));
    QByteArray enciphered(padded.size(), '\0');
    sEncrypt(padded, enciphered);
    QByteArray out(4, '\0');
    const auto u = static_cast<uint32_t>(n);
    for (int b = 0; b < 4; ++b)
        out[b] = static_cast<char>((u >> (8 * b)) & 0xFF);
    return out + enciphered;
}

QByteArray clsBlowfish::decrypt_stored(const QByteArray& stored) const {
    if (!initialised_)
        throw CipherError(ERR_NOT_INITIALISED, QStringLiteral("Call sInitBF before calling this sub"));
    if (stored.size() < 4)
        throw CipherError(ERR_SIZE, QStringLiteral("Source file is shorter than its length field"));
    uint32_t u = 0;
    for (int b = 0; b < 4; ++b)
        u |= uint32_t(static_cast<uint8_t>(stored[b])) << (8 * b);
    const auto n = static_cast<int32_t>(u);
    const QByteArray body = stored.mid(4);
    if (n < 0 || n > body.size())
        throw CipherError(ERR_SIZE, QStringLiteral("Source file holds a length that does not fit it"));
    QByteArray plain(body.size(), '\0');
    if (body.size() % 8 != 0)
        throw CipherError(ERR_SIZE, QStringLiteral("Byte array must be sized divisible by 8."));
    sDecrypt(body, plain);
    plain.truncate(n);
    return plain;
}

void clsBlowfish::sFileEncrypt(const QString& source, const QString& target) const {
    if (!initialised_)
        throw CipherError(ERR_NOT_INITIALISED, QStringLiteral("Call sInitBF before calling this sub"));
    write_target(target, encrypt_stored(read_source(source)));
}

void clsBlowfish::sFileDecrypt(const QString& source, const QString& target) const {
    if (!initialised_)
        throw CipherError(ERR_NOT_INITIALISED, QStringLiteral("Call sInitBF before calling this sub"));
    write_target(target, decrypt_stored(read_source(source)));
}

int32_t clsBlowfish::GetEncryptSize(const QString& text) {
    const auto n = static_cast<int32_t>(text.size());
    return n % 8 == 0 ? n : n + 8 - n % 8;
}

QString clsBlowfish::sStringEncrypt(const QString& text) const {
    QByteArray plain = text_bytes(text);
    plain.append(QByteArray(GetEncryptSize(text) - plain.size(), '\0'));
    QByteArray enciphered(plain.size(), '\0');
    sEncrypt(plain, enciphered);
    return platform::decode_windows1252(enciphered);
}

QString clsBlowfish::sStringDecrypt(const QString& text) const {
    if (text.size() % 8 != 0)
        throw CipherError(ERR_SIZE,
                          QStringLiteral("String to decrypt should be sized divisible by 8."));
    const QByteArray enciphered = text_bytes(text);
    QByteArray plain(enciphered.size(), '\0');
    sDecrypt(enciphered, plain);
    QString result = platform::decode_windows1252(plain);
    const qsizetype nul = result.indexOf(QChar(0));
    if (nul > 0)
        result.truncate(nul);
    return result;
}

QString clsBlowfish::fStringToHexCode(const QString& text) {
    QString hex;
    hex.reserve(text.size() * 4);
    const auto digits = [&hex](unsigned byte) {
        hex += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    };
    for (const QChar c : text) {
        digits(c.unicode() & 0xFF);
        digits(c.unicode() >> 8);
    }
    return hex;
}

QString clsBlowfish::fHexCodeToString(const QString& hex) {
    if (hex.isEmpty())
        throw CipherError(ERR_ARGUMENT, QStringLiteral("Hex code is empty."));
    // Half the length, rounded half to even, counts the bytes; for some odd lengths the last
    // byte is a single digit.
    const qsizetype pairs = hex.size() / 2;
    const qsizetype count = (hex.size() % 2 == 1 && pairs % 2 == 1) ? pairs + 1 : pairs;
    QByteArray bytes;
    bytes.reserve(count);
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype i = 2 * k;
        const qsizetype digits = std::min<qsizetype>(2, hex.size() - i);
        uint value = 0;
        for (qsizetype d = 0; d < digits; ++d) {
            const char16_t c = hex[i + d].unicode();
            if (c >= 0x80 || !isxdigit(static_cast<unsigned char>(c)))
                throw CipherError(ERR_ARGUMENT, QStringLiteral("Hex code holds a pair that is not "
                                                               "hexadecimal."));
            value = value * 16 + (c <= '9' ? uint(c - '0') : uint((c | 0x20) - 'a' + 10));
        }
        bytes += char(value);
    }
    // Two bytes, low first, make one character; a lone last byte makes one of its own.
    QString text;
    text.reserve((bytes.size() + 1) / 2);
    for (qsizetype i = 0; i < bytes.size(); i += 2) {
        const uint low = uchar(bytes[i]);
        const uint high = i + 1 < bytes.size() ? uchar(bytes[i + 1]) : 0;
        text += QChar(char16_t(low | (high << 8)));
    }
    return text;
}
