#include "qt_print.h"
#include "test_files.h"

#include "platform/text_file.h"
#include "reports/block_cipher.h"

#include <QTemporaryDir>
#include <functional>

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

int32_t error_number(const std::function<void()>& action) {
    try {
        action();
    } catch (const CipherError& e) {
        return e.number();
    }
    return 0;
}

clsBlowfish keyed(const QByteArray& key) {
    clsBlowfish bf;
    bf.sInitBF(key);
    return bf;
}

// The published vectors: key, plain block, enciphered block.
struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

TEST(BlockCipher, PublishedVectorsHoldBothWaysBlockByBlockUnderEachNewKey) {
    const Vector vectors[] = {
        {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
        {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
        {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
        {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
        {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
        {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
        // Keys of 1, 9 and 24 bytes (the variable key length set).
        {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
        {"F0E1D2C3B4A5968778", "FEDCBA9876543210", "15750E7A4F4EC577"},
        {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210",
         "05044B62FA52D080"},
    };
    for (const Vector& v : vectors) {
        const clsBlowfish bf = keyed(hex(v.key));
        QByteArray out(8, '\0');
        bf.sEncrypt(hex(v.plain), out);
        EXPECT_EQ(out.toHex().toUpper(), QByteArray(v.cipher)) << "key " << v.key;
        QByteArray back(8, '\0');
        bf.sDecrypt(hex(v.cipher), back);
        EXPECT_EQ(back.toHex().toUpper(), QByteArray(v.plain)) << "key " << v.key;
    }
    clsBlowfish bf = keyed(hex("1111111111111111"));
    bf.sInitBF(hex("0000000000000000"));
    QByteArray out(24, '\0');
    bf.sEncrypt(QByteArray(24, '\0'), out);
    EXPECT_EQ(out.toHex().toUpper(), QByteArray("4EF997456198DD78").repeated(3))
        << "a new key did not start from the standard constants, or blocks were chained";
}

TEST(BlockCipher, TextKeysUseTheirWindows1252Bytes) {
    clsBlowfish bf;
    bf.sInitBF(QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    QByteArray out(8, '\0');
    bf.sEncrypt("BLOWFISH", out);
    EXPECT_EQ(out.toHex().toUpper(), QByteArray("324ED0FEF413A203"));

    bf.sInitBF(QStringLiteral("€ 5 Ÿ"));
    bf.sEncrypt("BLOWFISH", out);
    QByteArray by_bytes(8, '\0');
    keyed("\x80 5 \x9F").sEncrypt("BLOWFISH", by_bytes);
    EXPECT_EQ(out, by_bytes) << "\"\u20AC\" is not the key byte 0x80";
}

TEST(BlockCipher, EncryptSizeRoundsUpToWholeBlocks) {
    const std::pair<int, int> cases[] = {{0, 0}, {1, 8}, {8, 8}, {9, 16}};
    for (const auto& [length, size] : cases)
        EXPECT_EQ(clsBlowfish::GetEncryptSize(QString(length, QLatin1Char('x'))), size) << length;
}

TEST(BlockCipher, StringsSurviveTheRoundTripWithEveryByteValue) {
    const clsBlowfish bf = keyed("key");
    QByteArray every_byte;
    for (int c = 1; c < 256; ++c)
        every_byte += char(c);
    const QString all = platform::decode_windows1252(every_byte);
    const QString cases[] = {QStringLiteral("exactly8"), all};
    for (const QString& text : cases) {
        const QString enciphered = bf.sStringEncrypt(text);
        EXPECT_EQ(enciphered.size(), clsBlowfish::GetEncryptSize(text));
        EXPECT_EQ(bf.sStringDecrypt(enciphered), text);
    }
    QByteArray euro(8, '\0');
    bf.sEncrypt(QByteArray("\x80\0\0\0\0\0\0\0", 8), euro);
    EXPECT_EQ(bf.sStringEncrypt(QStringLiteral("€")), platform::decode_windows1252(euro))
        << "\"\u20AC\" is not enciphered as the byte 0x80";
}

TEST(BlockCipher, DecryptedStringsEndAtTheirFirstNulUnlessItLeads) {
    const clsBlowfish bf = keyed("key");
    const auto enc = [&](const QByteArray& plain) {
        QByteArray out(plain.size(), '\0');
        bf.sEncrypt(plain, out);
        return platform::decode_windows1252(out);
    };
    EXPECT_EQ(bf.sStringDecrypt(enc(QByteArray("ab\0cdefg", 8))), QStringLiteral("ab"));
    EXPECT_EQ(bf.sStringDecrypt(enc(QByteArray("\0bcdefgh", 8))).size(), 8);
}

TEST(BlockCipher, HexCodeHoldsTwoBytesPerCharacterLowFirst) {
    EXPECT_EQ(clsBlowfish::fStringToHexCode(QStringLiteral("0")), QStringLiteral("3000"));
    EXPECT_EQ(clsBlowfish::fStringToHexCode(QString(QChar(0x20AC))), QStringLiteral("AC20"));
    const QString texts[] = {QStringLiteral("Grüße €"), QString(QChar(0x0A)) + QChar(0xFFFF)};
    for (const QString& text : texts)
        EXPECT_EQ(clsBlowfish::fHexCodeToString(clsBlowfish::fStringToHexCode(text)), text);
    // Half the length rounded half to even counts the bytes read; a lone byte is a character.
    const std::pair<const char*, QString> lengths[] = {
        {"ac20", QString(QChar(0x20AC))},  {"3", QString()},
        {"300", QStringLiteral("0")},      {"30004", "0"},
        {"3000410", QStringLiteral("0A")}, {"300041", QStringLiteral("0A")},
    };
    for (const auto& [code, text] : lengths)
        EXPECT_EQ(clsBlowfish::fHexCodeToString(QString::fromLatin1(code)), text) << code;
}

TEST(BlockCipher, FilesKeepTheirLengthAndComeBackWhole) {
    QTemporaryDir dir;
    const clsBlowfish bf = keyed("file key");
    const QByteArray contents[] = {QByteArray(8, 'x'), QByteArray("\0\xff\x01 binary\r\n", 12)};
    for (const QByteArray& content : contents) {
        testfiles::write_bytes(dir.filePath("plain"), content);
        bf.sFileEncrypt(dir.filePath("plain"), dir.filePath("enc"));
        const QByteArray stored = testfiles::read_bytes(dir.filePath("enc"));
        EXPECT_EQ(stored.size(), 4 + clsBlowfish::GetEncryptSize(QString(content.size(), 'x')));
        EXPECT_EQ(stored.left(4), QByteArray(1, char(content.size())) + QByteArray(3, '\0'));
        bf.sFileDecrypt(dir.filePath("enc"), dir.filePath("back"));
        EXPECT_EQ(testfiles::read_bytes(dir.filePath("back")), content);
    }
}

TEST(BlockCipher, EveryMalformedInputIsAnErrorNumber) {
    using C = clsBlowfish;
    QTemporaryDir dir;
    const clsBlowfish bf = keyed("k");
    const clsBlowfish fresh;
    QByteArray eight(8, '\0'), seven(7, '\0'), sixteen(16, '\0');
    testfiles::write_bytes(dir.filePath("empty"), "");
    testfiles::write_bytes(dir.filePath("short"), "\x01\0");
    testfiles::write_bytes(dir.filePath("target"), "keep me");
    testfiles::write_bytes(dir.filePath("bad"), QByteArray("\x10\0\0\0abc", 7));
    const auto stored = [&](int32_t length, int body) {
        QByteArray b(4, '\0');
        for (int i = 0; i < 4; ++i)
            b[i] = char((uint32_t(length) >> (8 * i)) & 0xFF);
        return b + QByteArray(body, 'z');
    };
    struct Case {
        const char* what;
        std::function<void()> action;
        int32_t number;
    };
    const Case cases[] = {
        {"encrypt before a key", [&] { fresh.sEncrypt(eight, eight); }, C::ERR_NOT_INITIALISED},
        {"file before a key", [&] { fresh.sFileEncrypt(dir.filePath("short"), dir.filePath("x")); },
         C::ERR_NOT_INITIALISED},
        {"empty key", [&] { clsBlowfish().sInitBF(QByteArray()); }, C::ERR_ARGUMENT},
        {"key outside Windows-1252", [&] { clsBlowfish().sInitBF(QStringLiteral("Ω")); },
         C::ERR_ARGUMENT},
        {"arrays of two sizes", [&] { bf.sEncrypt(eight, sixteen); }, C::ERR_ARGUMENT},
        {"ragged arrays", [&] { bf.sDecrypt(seven, seven); }, C::ERR_SIZE},
        {"missing file", [&] { bf.sFileDecrypt(dir.filePath("none"), dir.filePath("x")); },
         C::ERR_ARGUMENT},
        {"empty file", [&] { bf.sFileEncrypt(dir.filePath("empty"), dir.filePath("x")); },
         C::ERR_ARGUMENT},
        {"file shorter than its length field",
         [&] { bf.sFileDecrypt(dir.filePath("short"), dir.filePath("x")); }, C::ERR_SIZE},
        {"bad file over an old target",
         [&] { bf.sFileDecrypt(dir.filePath("bad"), dir.filePath("target")); }, C::ERR_SIZE},
        {"negative length", [&] { bf.decrypt_stored(stored(-1, 8)); }, C::ERR_SIZE},
        {"length beyond the data", [&] { bf.decrypt_stored(stored(9, 8)); }, C::ERR_SIZE},
        {"ragged enciphered bytes", [&] { bf.decrypt_stored(stored(3, 5)); }, C::ERR_SIZE},
        {"string of ragged length", [&] { bf.sStringDecrypt(QStringLiteral("abc")); }, C::ERR_SIZE},
        {"empty hex code", [&] { C::fHexCodeToString(QString()); }, C::ERR_ARGUMENT},
        {"non-hex single digit", [&] { C::fHexCodeToString(QStringLiteral("300G")); },
         C::ERR_ARGUMENT},
        {"non-hex pair", [&] { C::fHexCodeToString(QStringLiteral("3G00")); }, C::ERR_ARGUMENT},
        {"signed pair", [&] { C::fHexCodeToString(QStringLiteral("+100")); }, C::ERR_ARGUMENT},
    };
    for (const Case& c : cases)
        EXPECT_EQ(error_number(c.action), c.number) << c.what;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("x"))) << "a failed call left a target file";
    EXPECT_EQ(testfiles::read_bytes(dir.filePath("target")), QByteArray("keep me"));
}

} // namespace
