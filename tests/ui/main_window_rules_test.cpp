// The main window's rules over plain state: identities, enabling, the operation modes, the
// shortcut letters and the title bar.
#include "fields.h"
#include "platform/sysinfo.h"
#include "platform/vb.h"
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

EnableResult rules(bool echo_off, bool loaded, int level = 1, int mode = 1, int system = 1) {
    EnableInputs in;
    in.echo_off = echo_off;
    in.parameters_loaded = loaded;
    in.access_level = static_cast<int16_t>(level);
    in.software_mode = static_cast<int16_t>(mode);
    in.system_type = system;
    in.volume_mode = true;
    return enable_controls_rules(in);
}

} // namespace

// The icon, then calculator, ProgramComm, ProgramVelto, bootload, veltoprogram, modem and
// mnuDebug as 1 shown, 0 hidden or - left alone.
QString menus_at(int mode, int level) {
    const SoftwareModeMenus m =
        software_mode_menus(static_cast<int16_t>(mode), static_cast<int16_t>(level));
    QString s = m.icon + " ";
    for (const auto& v : {m.calculator, m.ProgramComm, m.ProgramVelto, m.bootload, m.veltoprogram,
                          m.modem, m.mnuDebug})
        s += !v ? '-' : *v ? '1' : '0';
    return s;
}

TEST(IdentityMenus, EachIdentityHasItsIconAndItsReprogrammingEntries) {
    EXPECT_EQ(menus_at(0, 1), "veltolog.ico 011010-");
    EXPECT_EQ(menus_at(1, 1), "quillarn.ico 10011-0");
    EXPECT_EQ(menus_at(2, 1), "hartym.ico 10011--");
    for (int mode : {0, 1, 2})
        EXPECT_TRUE(menus_at(mode, 3).endsWith('0'))
            << "a user at level 3 reaches the debug terminal";
    const SoftwareModeMenus unknown = software_mode_menus(7, 1);
    EXPECT_TRUE(unknown.icon.isEmpty()) << "an unknown identity took another's icon";
    EXPECT_FALSE(unknown.ProgramComm.has_value());
}

TEST(EnableControls, LiveEchoLocksTheMenusAndKeysWhateverIsLoaded) {
    for (bool loaded : {false, true}) {
        SCOPED_TRACE(loaded);
        const EnableResult r = rules(false, loaded);
        for (const QString& m : ECHO_OFF_MENUS)
            EXPECT_FALSE(r.menus.at(m)) << m.toStdString() << " usable during live echo";
        for (const QString& k : ECHO_OFF_KEYS + ECHO_OFF_LOADED_KEYS)
            EXPECT_FALSE(r.toolbar.at(k)) << k.toStdString() << " usable during live echo";
        EXPECT_FALSE(r.menus.at("reprogram"));
        EXPECT_EQ(r.menus.at("printparameters"), loaded);
    }
    EXPECT_TRUE(rules(false, true, 1, 0).force_echo_off) << "VeltoLog has no live echo";
    EXPECT_TRUE(rules(false, true, 1, 0).menus.at("setup")) << "VeltoLog left locked as if live";
    EXPECT_FALSE(rules(false, true, 1, 1).force_echo_off);
}

TEST(EnableControls, EchoOffOffersWhatTheLoadedSetAllows) {
    const EnableResult empty = rules(true, false);
    EXPECT_TRUE(empty.menus.at("saveparameterstofile"))
        << "saving must stay reachable without a loaded set";
    for (const QString& k : ECHO_OFF_KEYS)
        EXPECT_TRUE(empty.toolbar.at(k)) << k.toStdString();
    for (const QString& k : ECHO_OFF_LOADED_KEYS)
        EXPECT_FALSE(empty.toolbar.at(k)) << k.toStdString() << " offered with nothing loaded";
    EXPECT_EQ(fields(empty.menus.at("printparameters"), empty.menus.at("printchangedparameters"),
                     empty.cso_tab_parameters),
              fields(false, false, false));

    const EnableResult loaded = rules(true, true);
    for (const QString& k : ECHO_OFF_LOADED_KEYS)
        EXPECT_TRUE(loaded.toolbar.at(k)) << k.toStdString();
    // No flow tab without a flow unit.
    EXPECT_EQ(fields(loaded.cso_tab_parameters, loaded.cso_tab_volume, loaded.cso_tab_flow),
              fields(true, true, false));
}

TEST(EnableControls, AccessLevelAndSystemTypeDecideReprogrammingAndTheProtectedTabs) {
    // clang-format off
    const struct { int level, system; bool reprogram, relays; }
    cases[] = {{1, 1, true, true}, {2, 1, true, true}, {3, 1, false, true}, {1, 4, true, false}};
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << " system " << c.system);
        const EnableResult r = rules(true, true, c.level, 1, c.system);
        EXPECT_EQ(fields(r.menus.at("reprogram"), r.parameter_tab_access,
                         r.relay_parameters_present, r.parameter_tab_relays),
                  fields(c.reprogram, c.reprogram, c.relays, c.relays));
    }
}

TEST(OtherMenus, EachOperationModeShowsItsTabsAndFileEntries) {
    for (const bool cso : {false, true}) {
        const OtherMenusResult r = enable_othermenus_rules(cso ? 1 : 0);
        EXPECT_EQ(
            QList<bool>({r.loggingmenu_checked, r.openlogfile_visible, r.logging_tabs_visible}),
            QList<bool>(3, !cso))
            << "logging entries, CSO mode " << cso;
        EXPECT_EQ(QList<bool>({r.csomenu_checked, r.cso_file_entries_visible, r.cso_tabs_visible,
                               r.toolbar_visible, r.space3_visible}),
                  QList<bool>(5, cso))
            << "CSO entries, CSO mode " << cso;
    }
    EXPECT_TRUE(enable_othermenus_rules(1).quiet_commands);
}

TEST(Shortcuts, YesLettersFollowTheLanguageAndTheOthersWorkEverywhere) {
    // Languages: 0 English, 1 German, 2 French, 3 Italian, 4 Spanish.
    const QString yes = "yjuss";
    const std::pair<char, Shortcut> everywhere[] = {
        {'n', Shortcut::EchoOff},      {'X', Shortcut::Exit},          {'r', Shortcut::ToggleRaw},
        {'o', Shortcut::ToggleNormal}, {'L', Shortcut::ToggleAverage}, {'d', Shortcut::ToggleKovex},
        {'q', Shortcut::None}};
    for (int16_t language = 0; language < 5; ++language) {
        SCOPED_TRACE(testing::Message() << "language " << language);
        for (QChar letter : QString("yJus"))
            EXPECT_EQ(shortcut_for_key(letter, language),
                      letter.toLower() == yes[language] ? Shortcut::EchoOn : Shortcut::None)
                << "'" << letter.toLatin1() << "'";
        for (auto [letter, shortcut] : everywhere)
            EXPECT_EQ(shortcut_for_key(QChar(letter), language), shortcut) << "'" << letter << "'";
    }
}

TEST(TitleBar, NamesTheIdentityVersionAccessLevelAndTimeWithDaysInTheUsersLocale) {
    reset_shell_state();
    for (auto& r : definitions_table())
        r.text.clear();
    definitions_table()[1139].text = "angemeldet";
    definitions_table()[1266].text = "Ingenieur";
    shell().application_title = "VeltoLog";
    const QDateTime when(QDate(2024, 3, 5), QTime(9, 7, 4));
    // clang-format off
    const struct { int level; const char* name; }
    cases[] = {{0, "ANYBODY"}, {1, "GOLDCARD"}, {2, "INGENIEUR"}, {3, "USER"}};
    // clang-format on
    for (const auto& c : cases) {
        shell().access_level = static_cast<int16_t>(c.level);
        EXPECT_EQ(
            main_window_caption(when),
            QString("VeltoLog 5.3 - %1 angemeldet Tuesday - 05 Mar 2024 @ 09:07:04").arg(c.name))
            << "level " << c.level;
    }

    const platform::DateFormats saved = platform::date_formats();
    const QDateTime sunday(QDate(2026, 12, 6), QTime(9, 7, 4));
    const std::pair<const char*, const char*> days[] = {{"de_DE", "Sonntag - 06 Dez"},
                                                        {"fr_FR", "dimanche - 06 déc"},
                                                        {"en_GB", "Sunday - 06 Dec"}};
    for (const auto& [locale, date] : days) {
        platform::SystemInfo info;
        info.decimal_separator = ".";
        info.locale_name = locale;
        platform::use_system_formats(info);
        EXPECT_TRUE(main_window_caption(sunday).contains(QString::fromUtf8(date)))
            << locale << ": " << main_window_caption(sunday).toStdString();
    }
    platform::date_formats() = saved;
    reset_shell_state();
}
