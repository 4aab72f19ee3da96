#include "platform/text_file.h"
#include "test_util.h"

#include <QTemporaryDir>
#include <vector>

using namespace platform;
using testutil::read_bytes;

TEST(TextFile, ReadsUtf8AndWindows1252) {
    // clang-format off
    struct Case { const char* what; QByteArray bytes; QString expected; };
    // clang-format on
    const std::vector<Case> cases = {
        {"Windows-1252 signs in 0x80..0x9F", "\x80 \x93x\x94 \x96",
         QString::fromUtf8("\xe2\x82\xac \xe2\x80\x9cx\xe2\x80\x9d \xe2\x80\x93")},
        {"byte order mark", "\xEF\xBB\xBFP1", "P1"},
        {"lines of both kinds ended by lone CRs", "a\xc3\xa4\r\xe4\xf6\r",
         QString::fromUtf8("a\xc3\xa4\r\xc3\xa4\xc3\xb6\r")},
        {"UTF-16 with a no-break space after its mark", QByteArray("\xFF\xFE\xFF\xFEP\x00", 6),
         QString(QChar(0xFEFF)) + "P"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(decode_text(c.bytes), c.expected) << "decoding " << c.what;
}

TEST(TextFile, Windows1252RoundTripAndUnencodableText) {
    QByteArray all;
    for (int b = 0x20; b < 0x100; ++b)
        if (b != 0x7F)
            all += static_cast<char>(b);
    EXPECT_EQ(encode_windows1252(decode_line(all)), std::optional<QByteArray>(all))
        << "a Windows-1252 text changes when written back";
    EXPECT_FALSE(encode_windows1252(QString::fromUtf8("\xce\xa9")).has_value())
        << "a Greek letter cannot be held in Windows-1252";
}

TEST(TextFile, SplitLinesAtEveryKindOfLineEnd) {
    const std::pair<QString, QStringList> cases[] = {
        {"", {}}, {"a\r\nb\nc\rd", {"a", "b", "c", "d"}}, {"a\n\nb\r\n", {"a", "", "b"}}};
    for (const auto& [text, lines] : cases)
        EXPECT_EQ(split_lines(text), lines) << "splitting " << qPrintable(text);
}

TEST(TextFile, AtomicWriteReplacesWholeOrNotAtAll) {
    QTemporaryDir dir;
    const QString file = dir.filePath("report.txt");
    ASSERT_TRUE(write_file_atomically(file, "first"));
    ASSERT_TRUE(write_file_atomically(file, "second version"));
    EXPECT_EQ(read_bytes(file), "second version");

    EXPECT_FALSE(write_file_atomically(dir.filePath("missing/report.txt"), "x"))
        << "a write into a missing folder reported success";
    EXPECT_FALSE(write_file_atomically(dir.path(), "x")) << "a folder was taken for a file";

    const QString folder = dir.filePath("locked");
    const QString target = folder + "/export.csv";
    testutil::write_bytes(target, "old data\n");
    {
        testutil::ScopedPermissions read_only(folder, testfiles::read_only_folder);
        EXPECT_FALSE(write_file_atomically(target, "new data that never lands\n"))
            << "a write into a read-only folder reported success";
    }
    EXPECT_EQ(read_bytes(target), "old data\n") << "a failed write damaged the old file";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"export.csv"})
        << "a failed write left a temporary file behind";

    EXPECT_FALSE(read_text_file(dir.filePath("none.txt")).has_value());
    EXPECT_FALSE(read_text_file(dir.path()).has_value()) << "a folder read as an empty text";
}
