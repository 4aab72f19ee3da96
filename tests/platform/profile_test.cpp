#include "platform/profile.h"
#include "test_util.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>
#include <vector>

using namespace platform;
using testutil::read_bytes;
using testutil::write_bytes;

TEST(ProfileFile, ReadsFollowTheProfileStringRules) {
    const std::nullopt_t none = std::nullopt; // no file, or no value
    // clang-format off
    struct Case { const char* what; std::optional<QByteArray> file; const char *section, *key;
                  std::optional<QString> expected; };
    const std::vector<Case> cases = {
        {"missing file", none, "General", "Port", none},
        {"value of blanks only", "[General]\nPort=   \n", "General", "Port", QString()},
        {"names in other case, blanks around", "[GENERAL]\n  Software Mode =  0  \n", "general", "software mode", "0"},
        {"first of two keys wins", "[General]\nSoftware Mode=0\nSoftware Mode=2\n", "General", "Software Mode", "0"},
        {"first of two sections wins", "[General]\nPort=1\n[general]\nPort=2\nLanguage=3\n", "General", "Language", none},
        {"comment after the section name", "[General] ; main\nPort=4\n", "General", "Port", "4"},
        {"byte order mark, CRLF", "\xEF\xBB\xBF[General]\r\nPort=5\r\n", "General", "Port", "5"},
        {"value holding =", "[General]\nFilter=a=b\n", "General", "Filter", "a=b"},
        {"quoted value", "[Print Header]\nSite=\" North \"\n", "Print Header", "Site", " North "},
        {"Windows-1252 value", "[Print Header]\nSite=Kl\xe4rwerk\n", "Print Header", "Site",
         QString::fromUtf8("Kl\xc3\xa4rwerk")}};
    // clang-format on
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString ini = dir.filePath("general.ini");
        if (c.file)
            write_bytes(ini, *c.file);
        EXPECT_EQ(read_profile_string(ini, c.section, c.key), c.expected)
            << "reading " << c.section << "/" << c.key << " from a file with " << c.what;
    }
}

TEST(ProfileFile, WritesChangeOnlyTheirOwnLine) {
    // clang-format off
    struct Write { const char *section, *key; QString value; };
    // clang-format on
    // clang-format off
    struct Case { const char* what; std::optional<QByteArray> file; std::vector<Write> writes;
                  QByteArray expected; };
    const std::vector<Case> cases = {
        {"missing file", std::nullopt, {{"General", "Port", "1"}}, "[General]\nPort=1\n"},
        {"CRLF file with comments and other sections",
         "; settings\r\n[General]\r\nLanguage=1\r\n; port below\r\nPort = 3\r\n\r\n[Graph]\r\nBackground=True\r\n",
         {{"GENERAL", "port", "4"}, {"General", "Telephone", "0123"}, {"Print Header", "Site", "North"}},
         "; settings\r\n[General]\r\nLanguage=1\r\n; port below\r\nPort=4\r\nTelephone=0123\r\n"
         "\r\n[Graph]\r\nBackground=True\r\n\r\n[Print Header]\r\nSite=North\r\n"},
        {"section after a last line without line end", "[General]\nPort=3", {{"Debug", "Useloginfo", "True"}},
         "[General]\nPort=3\n\n[Debug]\nUseloginfo=True\n"},
        {"only the first of two equal keys", "[General]\nPort=1\nPort=2\n", {{"General", "Port", "9"}},
         "[General]\nPort=9\nPort=2\n"},
        {"value with line breaks cannot start a new key", "[General]\n",
         {{"General", "CompanyAddress", "1 Main St\r\nTown\n[Graph]\nBackground=0"}},
         "[General]\nCompanyAddress=1 Main St Town [Graph] Background=0\n"},
        // The encodings themselves are kept as EveryValueReadsBackAsWrittenWhateverTheFilesEncoding
        // shows; this one looks like UTF-8 once written.
        {"Windows-1252 file whose only 8-bit line is replaced by bytes that look like UTF-8",
         "[Print Header]\r\nSite=\xe9\r\n", {{"Print Header", "Site", QString::fromUtf8("\xc3\x83\xc2\xa9")}},
         "[Print Header]\r\nSite=\xc3\x83\xc2\xa9\r\n"}};
    // clang-format on
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString ini = dir.filePath("general.ini");
        if (c.file)
            write_bytes(ini, *c.file);
        for (const auto& w : c.writes)
            EXPECT_TRUE(write_profile_string(ini, w.section, w.key, w.value))
                << "writing " << w.section << "/" << w.key << " into a file with " << c.what;
        EXPECT_EQ(read_bytes(ini), c.expected) << "settings file after writing, " << c.what;
    }
}

TEST(ProfileFile, WrittenValuesReadBackUnchangedAndAtOnce) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("general.ini");
    for (const QString& v : {QString(), QString("a;b"), QString("[x]")}) {
        ASSERT_TRUE(write_profile_string(ini, "General", "Key", v));
        EXPECT_EQ(read_profile_string(ini, "general", "key"), v)
            << "value written as " << qPrintable(v);
    }
    write_bytes(ini, "[General]\nPort=7\n"); // a second copy of the program writes
    EXPECT_EQ(read_profile_string(ini, "General", "Port"), QString("7"))
        << "a cached value hides the other copy's setting";
}

TEST(ProfileFile, FailedWriteLeavesTheFileAsItWas) {
    QTemporaryDir dir;
    const QByteArray before = "[General]\nPort=3\nLanguage=1\n";

    // An existing file that cannot be read must not be replaced by a one-key stub.
    const QString unreadable = dir.filePath("unreadable.ini");
    write_bytes(unreadable, before);
    {
        testutil::ScopedPermissions write_only(unreadable, QFile::WriteOwner);
        EXPECT_FALSE(write_profile_string(unreadable, "General", "Port", "4"));
    }
    EXPECT_EQ(read_bytes(unreadable), before) << "an unreadable settings file was overwritten";

    // A folder where no temporary file can be made: the write fails, the file stays whole.
    const QString folder = dir.filePath("locked");
    const QString ini = folder + "/general.ini";
    write_bytes(ini, before);
    {
        testutil::ScopedPermissions read_only(folder, testfiles::read_only_folder);
        EXPECT_FALSE(write_profile_string(ini, "General", "Port", "4"));
        EXPECT_EQ(read_profile_string(ini, "General", "Port"), QString("3"));
    }
    EXPECT_EQ(read_bytes(ini), before) << "a failed write damaged the settings file";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"general.ini"})
        << "a failed write left a temporary file behind";

    // A folder in place of the file.
    const QString is_dir = dir.filePath("dir.ini");
    ASSERT_TRUE(QDir().mkdir(is_dir));
    EXPECT_FALSE(write_profile_string(is_dir, "General", "Port", "4"));
    EXPECT_FALSE(read_profile_string(is_dir, "General", "Port").has_value());
}

TEST(ProfileFile, EveryValueReadsBackAsWrittenWhateverTheFilesEncoding) {
    // Each file keeps its encoding and its other lines; the value written reads back as written.
    const QString tricky = QString::fromUtf8("\xc3\x83\xc2\xa9"); // "Ã©": in 1252 the bytes of "é"
    const auto utf16 = testfiles::utf16_bytes;
    const QString text16 = QString::fromUtf8("[Print Header]\r\nSite=Kl\xc3\xa4rwerk\r\n");
    const struct {
        const char* what;
        QByteArray file;
        QByteArray kept; // the bytes of the other line, still in the file
    } cases[] = {
        {"Windows-1252", "[Print Header]\r\nSite=Kl\xe4rwerk\r\n", "Site=Kl\xe4rwerk\r\n"},
        {"UTF-8", "[Print Header]\nSite=Kl\xc3\xa4rwerk\n", "Site=Kl\xc3\xa4rwerk\n"},
        {"UTF-16 little-endian", utf16(text16, true), utf16("Site=", true).mid(2)},
        {"UTF-16 big-endian", utf16(text16, false), utf16("Site=", false).mid(2)},
    };
    for (const auto& c : cases) {
        for (const QString& value : {tricky, QString::fromUtf8("\xce\xa9")}) {
            QTemporaryDir dir;
            const QString ini = dir.filePath("general.ini");
            write_bytes(ini, c.file);
            ASSERT_TRUE(write_profile_string(ini, "Print Header", "Project", value)) << c.what;
            EXPECT_EQ(read_profile_string(ini, "Print Header", "Project"), value)
                << c.what << ": " << qPrintable(value) << " read back as another text";
            EXPECT_EQ(read_profile_string(ini, "Print Header", "Site"),
                      QString::fromUtf8("Kl\xc3\xa4rwerk"))
                << c.what << ": the other line changed";
            const QByteArray bytes = read_bytes(ini);
            // A Windows-1252 file that cannot hold the value becomes UTF-8 as a whole.
            const bool holds = !c.file.startsWith("[") || c.file.contains("\xc3") ||
                               value != QString::fromUtf8("\xce\xa9");
            if (holds)
                EXPECT_TRUE(bytes.contains(c.kept)) << c.what << ": the file changed its encoding";
            else
                EXPECT_TRUE(bytes.contains("Site=Kl\xc3\xa4rwerk\r\n")) << c.what;
            EXPECT_TRUE(bytes.startsWith(c.file.left(2))) << c.what << ": byte order mark lost";
        }
    }
}

TEST(ProfileFile, AFileIsParsedAgainOnlyWhenItChangedOnDisk) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("general.ini");
    write_bytes(ini, "[General]\nPort=3\nBig=" + QByteArray(1 << 20, 'x') + "\n");
    // Written a while ago: a file changed within the last moments is parsed every time.
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                  QFileDevice::FileModificationTime));
    }
    ::sync();
    const int before = profile_parse_count();
    for (int i = 0; i < 50; ++i)
        ASSERT_EQ(read_profile_string(ini, "General", "Port"), QString("3"));
    EXPECT_LE(profile_parse_count() - before, 1) << "every key read parsed the whole file";
    // Another copy of the program writes a value of the same length.
    write_bytes(ini, "[General]\nPort=4\nBig=" + QByteArray(1 << 20, 'x') + "\n");
    EXPECT_EQ(read_profile_string(ini, "General", "Port"), QString("4"))
        << "a change on disk was not seen";
}
