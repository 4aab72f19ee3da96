// The main window's rules over plain state: identities, enabling, the operation modes, the
// shortcut letters and the title bar.
#include "shell/definitions_table.h"
#include "shell/shell_state.h"
#include "ui/main_window_rules.h"

#include <gtest/gtest.h>

namespace {

const QStringList ECHO_OFF_MENUS = {"openparameterfile",
                                    "saveparameterstofile",
                                    "openechofile",
                                    "printmenu",
                                    "mode",
                                    "setup",
                                    "calculator",
                                    "help",
                                    "file",
                                    "modem"};
const QStringList ECHO_OFF_KEYS = {"file", "download", "singledownload", "modem"};
const QStringList ECHO_OFF_LOADED_KEYS = {"upload", "refresh"};

EnableInputs inputs(bool echo_off, bool loaded, int level = 1, int mode = 1, int system = 1) {
    EnableInputs in;
    in.echo_off = echo_off;
    in.parameters_loaded = loaded;
    in.access_level = static_cast<int16_t>(level);
    in.software_mode = static_cast<int16_t>(mode);
    in.system_type = system;
    return in;
}

} // namespace

TEST(IdentityMenus, EachIdentityHasItsIconAndItsReprogrammingEntries) {
    struct Case {
        int mode;
        const char* icon;
        bool calculator, program_comm, program_velto, bootload, veltoprogram;
        std::optional<bool> modem, debug;
    };
    const Case cases[] = {
        {0, "veltolog.ico", false, true, true, false, true, false, std::nullopt},
        {1, "quillarn.ico", true, false, false, true, true, std::nullopt, false},
        {2, "hartym.ico", true, false, false, true, true, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const SoftwareModeMenus m = software_mode_menus(static_cast<int16_t>(c.mode), 1);
        EXPECT_EQ(m.icon, c.icon);
        EXPECT_EQ(m.calculator, c.calculator);
        EXPECT_EQ(m.ProgramComm, c.program_comm);
        EXPECT_EQ(m.ProgramVelto, c.program_velto);
        EXPECT_EQ(m.bootload, c.bootload);
        EXPECT_EQ(m.veltoprogram, c.veltoprogram);
        EXPECT_EQ(m.modem, c.modem);
        EXPECT_EQ(m.mnuDebug, c.debug);
    }
    const SoftwareModeMenus unknown = software_mode_menus(7, 1);
    EXPECT_TRUE(unknown.icon.isEmpty()) << "an unknown identity took another's icon";
    EXPECT_FALSE(unknown.ProgramComm.has_value());
    for (int mode : {0, 1, 2})
        EXPECT_EQ(software_mode_menus(static_cast<int16_t>(mode), 3).mnuDebug, false)
            << "a user at level 3 reaches the debug terminal in identity " << mode;
}

TEST(EnableControls, LiveEchoLocksTheMenusAndKeysWhateverIsLoaded) {
    for (bool loaded : {false, true}) {
        SCOPED_TRACE(loaded);
        const EnableResult r = enable_controls_rules(inputs(false, loaded));
        for (const QString& m : ECHO_OFF_MENUS)
            EXPECT_FALSE(r.menus.at(m)) << m.toStdString() << " usable during live echo";
        for (const QString& k : ECHO_OFF_KEYS + ECHO_OFF_LOADED_KEYS)
            EXPECT_FALSE(r.toolbar.at(k)) << k.toStdString() << " usable during live echo";
        EXPECT_FALSE(r.menus.at("reprogram"));
        EXPECT_EQ(r.menus.at("printparameters"), loaded);
    }
}

TEST(EnableControls, EchoOffOffersWhatTheLoadedSetAllows) {
    const EnableResult empty = enable_controls_rules(inputs(true, false));
    EXPECT_TRUE(empty.menus.at("saveparameterstofile"))
        << "saving must stay reachable without a loaded set";
    for (const QString& k : ECHO_OFF_KEYS)
        EXPECT_TRUE(empty.toolbar.at(k)) << k.toStdString();
    for (const QString& k : ECHO_OFF_LOADED_KEYS)
        EXPECT_FALSE(empty.toolbar.at(k)) << k.toStdString() << " offered with nothing loaded";
    EXPECT_FALSE(empty.menus.at("printparameters"));
    EXPECT_FALSE(empty.menus.at("printchangedparameters"));
    EXPECT_FALSE(empty.cso_tab_parameters);

    EnableInputs in = inputs(true, true);
    in.volume_mode = true;
    const EnableResult loaded = enable_controls_rules(in);
    for (const QString& k : ECHO_OFF_LOADED_KEYS)
        EXPECT_TRUE(loaded.toolbar.at(k)) << k.toStdString();
    EXPECT_TRUE(loaded.cso_tab_parameters);
    EXPECT_TRUE(loaded.cso_tab_volume);
    EXPECT_FALSE(loaded.cso_tab_flow) << "the flow tab without a flow unit";
}

TEST(EnableControls, VeltoLogAlwaysHasTheEchoOff) {
    const EnableResult r = enable_controls_rules(inputs(false, true, 1, 0));
    EXPECT_TRUE(r.force_echo_off);
    EXPECT_TRUE(r.menus.at("setup")) << "identity 0 left the menus locked as if live";
    EXPECT_FALSE(enable_controls_rules(inputs(false, true, 1, 1)).force_echo_off);
}

TEST(EnableControls, AccessLevelDecidesReprogrammingAndTheProtectedTab) {
    const struct {
        int level;
        bool allowed;
    } cases[] = {{1, true}, {2, true}, {3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        const EnableResult r = enable_controls_rules(inputs(true, true, c.level));
        EXPECT_EQ(r.menus.at("reprogram"), c.allowed);
        EXPECT_EQ(r.parameter_tab_access, c.allowed);
    }
}

TEST(EnableControls, SystemTypeFourHasNoRelayParameters) {
    const EnableResult four = enable_controls_rules(inputs(true, true, 1, 1, 4));
    EXPECT_FALSE(four.relay_parameters_present);
    EXPECT_FALSE(four.parameter_tab_relays);
    const EnableResult one = enable_controls_rules(inputs(true, true, 1, 1, 1));
    EXPECT_TRUE(one.relay_parameters_present);
    EXPECT_TRUE(one.parameter_tab_relays);
    EXPECT_EQ(RELAY_PARAMETERS.size(), 12u);
}

TEST(OtherMenus, EachOperationModeShowsItsTabsAndFileEntries) {
    const OtherMenusResult logging = enable_othermenus_rules(0);
    EXPECT_TRUE(logging.loggingmenu_checked);
    EXPECT_FALSE(logging.csomenu_checked);
    EXPECT_TRUE(logging.openlogfile_visible);
    EXPECT_FALSE(logging.cso_file_entries_visible);
    EXPECT_TRUE(logging.logging_tabs_visible);
    EXPECT_FALSE(logging.cso_tabs_visible);
    EXPECT_FALSE(logging.toolbar_visible);
    EXPECT_FALSE(logging.space3_visible);

    const OtherMenusResult cso = enable_othermenus_rules(1);
    EXPECT_TRUE(cso.csomenu_checked);
    EXPECT_FALSE(cso.openlogfile_visible);
    EXPECT_TRUE(cso.cso_file_entries_visible);
    EXPECT_TRUE(cso.cso_tabs_visible);
    EXPECT_TRUE(cso.toolbar_visible);
    EXPECT_TRUE(cso.space3_visible);
    EXPECT_TRUE(cso.quiet_commands);
}

TEST(Shortcuts, YesLettersFollowTheLanguageAndTheOthersWorkEverywhere) {
    // Languages: 0 English, 1 German, 2 French, 3 Italian, 4 Spanish.
    const struct {
        char letter;
        std::array<Shortcut, 5> by_language;
    } cases[] = {
        {'y', {Shortcut::EchoOn, Shortcut::None, Shortcut::None, Shortcut::None, Shortcut::None}},
        {'J', {Shortcut::None, Shortcut::EchoOn, Shortcut::None, Shortcut::None, Shortcut::None}},
        {'u', {Shortcut::None, Shortcut::None, Shortcut::EchoOn, Shortcut::None, Shortcut::None}},
        {'s', {Shortcut::None, Shortcut::None, Shortcut::None, Shortcut::EchoOn, Shortcut::EchoOn}},
        {'n',
         {Shortcut::EchoOff, Shortcut::EchoOff, Shortcut::EchoOff, Shortcut::EchoOff,
          Shortcut::EchoOff}},
        {'X', {Shortcut::Exit, Shortcut::Exit, Shortcut::Exit, Shortcut::Exit, Shortcut::Exit}},
        {'r',
         {Shortcut::ToggleRaw, Shortcut::ToggleRaw, Shortcut::ToggleRaw, Shortcut::ToggleRaw,
          Shortcut::ToggleRaw}},
        {'o',
         {Shortcut::ToggleNormal, Shortcut::ToggleNormal, Shortcut::ToggleNormal,
          Shortcut::ToggleNormal, Shortcut::ToggleNormal}},
        {'L',
         {Shortcut::ToggleAverage, Shortcut::ToggleAverage, Shortcut::ToggleAverage,
          Shortcut::ToggleAverage, Shortcut::ToggleAverage}},
        {'d',
         {Shortcut::ToggleKovex, Shortcut::ToggleKovex, Shortcut::ToggleKovex,
          Shortcut::ToggleKovex, Shortcut::ToggleKovex}},
        {'q', {Shortcut::None, Shortcut::None, Shortcut::None, Shortcut::None, Shortcut::None}},
    };
    for (const auto& c : cases)
        for (int language = 0; language < 5; ++language)
            EXPECT_EQ(shortcut_for_key(QChar(c.letter), static_cast<int16_t>(language)),
                      c.by_language[static_cast<size_t>(language)])
                << "'" << c.letter << "' in language " << language;
}

TEST(Shortcuts, ToggleKeysFlipABoxAndGreyCountsAsTicked) {
    EXPECT_EQ(toggled_check_value(0), 1);
    EXPECT_EQ(toggled_check_value(1), 0);
    EXPECT_EQ(toggled_check_value(2), 0);
}

TEST(ParameterList, RefreshCyclesThroughTheFourViews) {
    int16_t mode = 3;
    const int16_t expected[] = {0, 1, 2, 3, 0};
    for (int16_t e : expected) {
        mode = next_parameter_list_mode(mode);
        EXPECT_EQ(mode, e);
    }
}

TEST(TitleBar, NamesTheIdentityVersionAccessLevelAndTime) {
    reset_shell_state();
    for (auto& r : definitions_table())
        r.text.clear();
    definitions_table()[1139].text = "angemeldet";
    definitions_table()[1266].text = "Ingenieur";
    shell().application_title = "VeltoLog";
    const QDateTime when(QDate(2024, 3, 5), QTime(9, 7, 4));
    const struct {
        int level;
        const char* name;
    } cases[] = {{0, "ANYBODY"}, {1, "GOLDCARD"}, {2, "INGENIEUR"}, {3, "USER"}};
    for (const auto& c : cases) {
        shell().access_level = static_cast<int16_t>(c.level);
        EXPECT_EQ(
            main_window_caption(when),
            QString("VeltoLog 5.3 - %1 angemeldet Tuesday - 05 Mar 2024 @ 09:07:04").arg(c.name))
            << "level " << c.level;
    }
    reset_shell_state();
}
