#include "shell/command_options.h"
#include "shell/settings.h"
#include "shell/start_settings.h"
#include "shell_test_support.h"

#include "../platform/test_util.h"
#include "platform/profile.h"

#include <map>

namespace {
QString ini_value(const QString& ini, const char* key) {
    return platform::read_profile_string(ini, "General", key).value_or("<missing>");
}
} // namespace

TEST_F(ShellTest, FirstRunTakesLanguageAndBrandFromTheLocale) {
    // clang-format off
    const struct { const char* locale; int language, logo; const char *title, *picture, *folder; }
    cases[] = {
        {"German", 1, 1, "QuillarnPC", "Images/t_painting.jpg", "Tamzo/QuillarnPC"},
        {"Swiss German", 1, 1, "QuillarnPC", "Images/t_painting.jpg", "Tamzo/QuillarnPC"},
        {"Italian", 3, 2, "VeltoRovenPC", "pordyvastrelo2.jpg", "PVastrelo/VeltoRovenPC"},
        {"Spanish", 4, 0, "QuillarnPC", "Images/d_painting.jpg", "Dravik/QuillarnPC"},
        {"Swedish", 0, 0, "QuillarnPC", "Images/d_painting.jpg", "Dravik/QuillarnPC"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale);
        QFile::remove(ini());
        reset_shell_state();
        set_locale(c.locale);

        load_start_settings();

        const ShellState& s = shell();
        EXPECT_EQ(fields(s.ini_path, s.language_index, s.start_logo, s.software_mode,
                         s.operation_mode, s.application_title),
                  fields(ini(), c.language, c.logo, 1, 1, c.title));
        EXPECT_EQ(fields(ini_value(ini(), "Language"), ini_value(ini(), "StartLogo"),
                         ini_value(ini(), "Software Mode"), ini_value(ini(), "Mode Operation")),
                  fields(c.language, c.logo, 1, 1))
            << "the choices are written back";
        EXPECT_EQ(platform::application_title(), c.title) << "message boxes carry the title";
        EXPECT_EQ(start_picture_name(s.start_logo), c.picture);
        EXPECT_EQ(s.data_folder, appdata + "/" + c.folder);
        EXPECT_TRUE(QFileInfo(s.data_folder).isDir()) << "the data folder was not created";
    }
}

TEST_F(ShellTest, StoredIdentityDecidesTitleAndOperationMode) {
    // Software mode, start logo, stored operation mode; the title, the operation mode after the
    // start window and the one written back.
    // clang-format off
    const struct { const char *software_mode, *start_logo, *stored, *title; int mode;
                   const char* written; } cases[] = {
        {"0", "0", "1", "VeltoLog", 0, "0"}, {"1", "1", "0", "QuillarnPC", 1, "1"},
        {"2", "0", "0", "Hartym", 1, "0"}, // identity 2 keeps the stored mode for the loader
        {"7", "0", "0", "QuillarnPC", 1, "0"}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.software_mode);
        reset_shell_state();
        write_bytes(ini(), QString("[General]\r\nLanguage=2\r\nStartLogo=%1\r\nSoftware Mode=%2\r\n"
                                   "Mode Operation=%3\r\n")
                               .arg(c.start_logo, c.software_mode, c.stored)
                               .toUtf8());
        load_start_settings();
        EXPECT_EQ(fields(shell().language_index, shell().application_title, shell().operation_mode,
                         ini_value(ini(), "Mode Operation")),
                  fields(2, c.title, c.mode, c.written));
    }
}

TEST_F(ShellTest, UnreadableStartKeysKeepTheirValuesAndBlankOnesGetDefaults) {
    write_bytes(ini(), "[General]\nLanguage=abc\nStartLogo=99999\nSoftware Mode=\n");
    load_start_settings();
    EXPECT_EQ(fields(shell().language_index, shell().start_logo, shell().software_mode,
                     ini_value(ini(), "Software Mode")),
              fields(0, 0, 1, 1));
    EXPECT_EQ(ini_value(ini(), "Language"), "abc") << "a value the user wrote is not replaced";
}

// An installed program cannot write its folder: the settings move to the user's configuration
// folder, which starts from the general.ini shipped beside the program and then keeps its own.
TEST_F(ShellTest, AReadOnlyProgramFolderStartsFromTheSettingsShippedInIt) {
    const QString config = tmp.filePath("config");
    testutil::ScopedEnv xdg("XDG_CONFIG_HOME", config.toUtf8());
    const QString own = config + "/quillarnpc/general.ini";
    const QByteArray shipped =
        "[General]\r\nLanguage=1\r\nStartLogo=0\r\nSoftware Mode=0\r\nPort=4\r\n";
    write_bytes(ini(), shipped);
    testutil::ScopedPermissions read_only(program, testfiles::read_only_folder);
    // The second run finds the user's own file, with the language the user chose meanwhile.
    for (const auto& [run, language] : {std::pair{"first run", 1}, {"second run", 2}}) {
        reset_shell_state();
        load_start_settings();
        EXPECT_EQ(fields(shell().ini_path, shell().software_mode, shell().language_index,
                         shell().application_title, shell().operation_mode, ini_value(own, "Port"),
                         ini_value(own, "Mode Operation")),
                  fields(own, 0, language, "VeltoLog", 0, "4", "0"))
            << run << ": the program did not start from the settings shipped with it";
        write_ini(own, "General", "Language", "2");
    }
    EXPECT_EQ(read_bytes(ini()), shipped);
}

TEST(Passcode, StoredPasscodesGiveLevelsOneAndTwoAndAnythingElseThree) {
    // Blanks around are trimmed; the levels 1 and 2 and the empty passcode are met at the start
    // window's log-in.
    const std::pair<const char*, int> cases[] = {{"   ", 3}, {"3184060", 3}, {"31840 6", 3}};
    for (const auto& [typed, level] : cases)
        EXPECT_EQ(access_level_for_passcode(typed), level) << '"' << typed << '"';
}

TEST(StartOptions, PortMappingsStayOffTheProgramsCommandLineAndTheWordsAreKept) {
    using A = StartOptions::Action;
    // clang-format off
    const struct { QStringList arguments; A action; QStringList mappings; QString command_line; } cases[] = {
        {{"--map-port=3=/dev/ttyUSB0", "SIM"}, A::Run, {"3=/dev/ttyUSB0"}, "SIM"},
        {{"--map-port", "1=/a", "unscale", "--map-port", "2=/b"}, A::Run, {"1=/a", "2=/b"}, "unscale"},
        {{"SIM", "--version"}, A::Version, {}, ""}, {{"-v"}, A::Version, {}, ""},
        {{"-h", "--map-port", "1=/a"}, A::Help, {}, ""}, {{"--verbose"}, A::Error, {}, ""},
        {{"--map-port"}, A::Error, {}, ""}};
    // clang-format on
    for (const auto& c : cases) {
        const StartOptions o = parse_start_options(c.arguments);
        EXPECT_EQ(fields(int(o.action), o.port_mappings.join(' '), o.command_line),
                  fields(int(c.action), c.mappings.join(' '), c.command_line))
            << c.arguments.join(' ');
    }
    const StartOptions help = parse_start_options({"--help"});
    for (const char* named : {"--help", "--version", "--map-port <N=PATH>", "SIM", "UNSCALE"})
        EXPECT_TRUE(help.message.contains(named)) << "the help leaves out " << named;
    EXPECT_EQ(parse_start_options({"--version"}).message, "QuillarnPC 5.3");
    EXPECT_TRUE(parse_start_options({"--verbose"}).message.contains("verbose"));
}

TEST(StartOptions, OnlyHelpAndVersionAreAnsweredBeforeTheWindowSystem) {
    const std::pair<QStringList, bool> cases[] = {
        {{"SIM", "-v"}, true},
        {{"-?"}, true},
        {{"SIM"}, false},
        {{"--", "--help"}, false},
    };
    for (const auto& [arguments, answered] : cases)
        EXPECT_EQ(asks_for_console_answer(arguments), answered) << arguments.join(' ');
}

TEST(StartOptions, WithoutADisplayTheProgramSaysSoInOneLine) {
    // clang-format off
    struct Case { std::map<QString, QString> env; QStringList arguments; bool told; };
    const Case cases[] = {
        {{}, {}, true}, {{{"WAYLAND_DISPLAY", "wayland-0"}}, {}, false},
        {{{"QT_QPA_PLATFORM", "offscreen"}}, {}, false}, {{{"QT_QPA_PLATFORM", "xcb"}}, {}, true},
        {{}, {"-platform", "offscreen"}, false}};
    // clang-format on
    for (const Case& c : cases) {
        const QString line = missing_display_message(c.arguments, [&](const char* name) {
            const auto it = c.env.find(QString::fromLatin1(name));
            return it == c.env.end() ? QString() : it->second;
        });
        EXPECT_EQ(!line.isEmpty(), c.told) << line.toStdString();
        EXPECT_FALSE(line.contains('\n'));
    }
}
