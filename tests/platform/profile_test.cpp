#include "platform/profile.h"
#include "platform/text_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {
QString read_all(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QString::fromUtf8(f.readAll());
}
void write_all(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

TEST(ProfileFile, MissingFileReadsEmptyAndWriteCreatesFileAndSection) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("general.ini");
    EXPECT_FALSE(read_profile_string(ini, "General", "Port").has_value());
    ASSERT_TRUE(write_profile_string(ini, "General", "Port", "1"));
    EXPECT_EQ(read_all(ini), "[General]\nPort=1\n");
    EXPECT_EQ(read_profile_string(ini, "general", "PORT").value_or("?"), "1");
}

TEST(ProfileFile, WriteKeepsOrderCommentsAndOtherSections) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("general.ini");
    write_all(ini, "; settings\r\n[General]\r\nLanguage=1\r\n; port below\r\nPort=3\r\n\r\n"
                   "[Graph]\r\nBackground=True\r\n");
    ASSERT_TRUE(write_profile_string(ini, "GENERAL", "port", "4"));
    ASSERT_TRUE(write_profile_string(ini, "General", "Telephone", "0123"));
    ASSERT_TRUE(write_profile_string(ini, "Print Header", "Site", "North"));
    EXPECT_EQ(read_all(ini),
              "; settings\r\n[General]\r\nLanguage=1\r\n; port below\r\nport=4\r\nTelephone=0123\r\n"
              "\r\n[Graph]\r\nBackground=True\r\n\r\n[Print Header]\r\nSite=North\r\n");
}

TEST(ProfileFile, FirstMatchWinsAndKeysWithBlanksWork) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("general.ini");
    write_all(ini, "[General]\nSoftware Mode = 0 \nSoftware Mode=2\n[general]\nSoftware Mode=1\n");
    EXPECT_EQ(read_profile_string(ini, "General", "software mode").value_or("?"), "0");
}

TEST(ProfileFile, KeyOutsideItsSectionIsNotFound) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("general.ini");
    write_all(ini, "[Graph]\nPort=7\n[General]\nLanguage=2\n");
    EXPECT_FALSE(read_profile_string(ini, "General", "Port").has_value());
    EXPECT_EQ(read_profile_string(ini, "General", "Language").value_or("?"), "2");
}

TEST(ProfileFile, Windows1252ValuesAreRead) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("general.ini");
    write_all(ini, "[Print Header]\nSite=Kl\xe4rwerk\n");
    EXPECT_EQ(read_profile_string(ini, "Print Header", "Site").value_or("?"),
              QString::fromUtf8("Kl\xc3\xa4rwerk"));
}
