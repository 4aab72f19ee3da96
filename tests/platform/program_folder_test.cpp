#include "platform/program_folder.h"
#include "test_util.h"

#include <QTemporaryDir>

using namespace platform;

TEST(ProgramFolder, CommandLineIsUpperCased) {
    set_command_line("/sim unscale");
    EXPECT_EQ(command_line(), QString("/SIM UNSCALE"));
    set_command_line("");
    EXPECT_EQ(command_line(), QString());
}

TEST(ProgramFolder, ReadOnlyProgramFolderRedirectsToTheUserConfiguration) {
    QTemporaryDir dir;
    const QString program = dir.filePath("program");
    const QString config = dir.filePath("config");
    ASSERT_TRUE(QDir().mkpath(program));
    testutil::ScopedEnv xdg("XDG_CONFIG_HOME", config.toUtf8());
    set_program_folder(program + "/");
    EXPECT_EQ(program_folder(), program) << "a trailing separator was kept";
    EXPECT_EQ(writable_program_folder(), program);
    {
        testutil::ScopedPermissions read_only(program, testfiles::read_only_folder);
        EXPECT_EQ(writable_program_folder(), config + "/quillarnpc");
    }
    EXPECT_TRUE(QDir(config + "/quillarnpc").exists());
    EXPECT_TRUE(QDir(program).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "the write probe left a file in the program folder";
    set_program_folder(QString());
}
