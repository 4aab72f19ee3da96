#pragma once
// clsBlowfish: the 64-bit block cipher with 16 rounds whose P-array and S-boxes start from the
// hexadecimal digits of pi, in electronic code book mode (no chaining, no padding of its own).
// A self-contained utility: it enciphers byte arrays, strings and whole files under one key.
//
// Usage: construct, call sInitBF with the key, then any of the operations. Every error (no key
// schedule yet, mismatched or ragged arrays, a missing or malformed file, a text that has no
// byte form) is raised as a CipherError carrying the number and description the class has always
// used; nothing reads past the end of its input.
//
// Strings map to bytes through Windows-1252, one byte per character ("€" is 0x80); the five
// bytes that code page leaves undefined stand for the control characters of the same number, so
// every byte an encryption produces survives the trip through a string and back. A text holding a
// character outside Windows-1252 has no such byte form and is refused rather than silently
// altered.
//
// The file format of sFileEncrypt: the plain length n as a 4-byte little-endian signed integer,
// then the enciphered bytes (the plain bytes padded with zeros to a multiple of 8).

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <stdexcept>

class CipherError : public std::runtime_error {
public:
    CipherError(int32_t number, const QString& description, const QString& source = {});
    int32_t number() const { return number_; }
    const QString& description() const { return description_; }
    const QString& source() const { return source_; }

private:
    int32_t number_;
    QString description_;
    QString source_;
};

class clsBlowfish {
public:
    // Error numbers: the application error base plus 3401, 3402 and 3403.
    static constexpr int32_t ERROR_BASE = -2147221504;
    static constexpr int32_t ERR_NOT_INITIALISED = ERROR_BASE + 3401;
    static constexpr int32_t ERR_ARGUMENT = ERROR_BASE + 3402;
    static constexpr int32_t ERR_SIZE = ERROR_BASE + 3403;

    // Key schedule. The text form takes the key's Windows-1252 bytes. An empty key, or a key text
    // with a character outside Windows-1252, is refused (ERR_ARGUMENT) and leaves the instance as
    // it was. Keys longer than 72 bytes use their first 72 bytes, as the algorithm consumes them.
    void sInitBF(const QString& key);
    void sInitBF(const QByteArray& key);
    bool initialised() const { return initialised_; }

    // ECB over whole arrays: `plain` and `encrypted` must be the same size (ERR_ARGUMENT) and
    // that size a multiple of 8 (ERR_SIZE).
    void sEncrypt(const QByteArray& plain, QByteArray& encrypted) const;
    void sDecrypt(const QByteArray& encrypted, QByteArray& plain) const;

    // Whole files in the format above; the target is replaced only when it was written in full.
    void sFileEncrypt(const QString& source, const QString& target) const;
    void sFileDecrypt(const QString& source, const QString& target) const;

    // The same format on bytes in memory. decrypt_stored refuses a source shorter than its
    // length field, a negative length, a length beyond the enciphered bytes, and enciphered
    // bytes that are not a multiple of 8.
    QByteArray encrypt_stored(const QByteArray& plain) const;
    QByteArray decrypt_stored(const QByteArray& stored) const;

    // The length of `text` rounded up to a multiple of 8.
    static int32_t GetEncryptSize(const QString& text);

    // The text's Windows-1252 bytes padded with zeros, enciphered, as a text of the same
    // length. Decryption needs a length that is a multiple of 8 (ERR_SIZE) and cuts the result
    // before its first NUL unless that NUL is the first character.
    QString sStringEncrypt(const QString& text) const;
    QString sStringDecrypt(const QString& text) const;

    // Each UTF-16 code unit as two bytes, low byte first, each byte as two upper-case hex digits.
    static QString fStringToHexCode(const QString& text);
    // The inverse, for any length: half the length rounded half to even gives the bytes (the
    // last one a single digit for some odd lengths), two bytes one character and a lone last
    // byte one more. An empty text, or a digit read that is not hexadecimal, is refused
    // (ERR_ARGUMENT).
    static QString fHexCodeToString(const QString& hex);

    // One 8-byte block in place (big-endian halves), for the published vectors.
    void encrypt_block(uint8_t* block) const;
    void decrypt_block(uint8_t* block) const;

private:
    uint32_t F(uint32_t x) const;
    void encrypt_halves(uint32_t& left, uint32_t& right) const;
    void decrypt_halves(uint32_t& left, uint32_t& right) const;
    void check_arrays(const QByteArray& from, const QByteArray& to) const;

    std::array<uint32_t, 18> P_{};
    std::array<std::array<uint32_t, 256>, 4> S_{};
    bool initialised_ = false;
};

namespace block_cipher_tables {
// The standard's starting values: the fraction of pi in hexadecimal, 32 bits at a time.
extern const std::array<uint32_t, 18> P;
extern const std::array<std::array<uint32_t, 256>, 4> S;
} // namespace block_cipher_tables
