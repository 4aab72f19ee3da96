#include "shell/settings.h"
#include "shell_test_support.h"

#include "platform/profile.h"

namespace {

struct RecordingView : SettingsView {
    QStringList calls;
    void enable_othermenus() override { calls << "enable_othermenus"; }
    void set_printmenu_visible(bool v) override { calls << QString("printmenu %1").arg(v); }
    void set_loggingmenu_checked(bool c) override { calls << QString("loggingmenu %1").arg(c); }
    void set_csomenu_checked(bool c) override { calls << QString("csomenu %1").arg(c); }
    void set_playback_text(const QString& t) override { calls << "Text15 " + t; }
};

class SettingsTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        shell().ini_path = ini();
        shell().data_folder = tmp.filePath("data");
        shell().user_name = "tester";
        QDir().mkpath(shell().data_folder);
    }
    QString value(const char* section, const char* key) const {
        return platform::read_profile_string(ini(), section, key).value_or("<missing>");
    }
};

} // namespace

TEST_F(SettingsTest, MissingOrBlankValueGivesTheDefaultAndIsWritten) {
    EXPECT_EQ(read_ini(ini(), "General", "Port", "1"), "1");
    EXPECT_EQ(read_bytes(ini()), "[General]\nPort=1\n") << "file, section and key not created";
    for (const char* stored : {"Port=", "Port=    "}) {
        write_bytes(ini(), QByteArray("[General]\r\n") + stored + "\r\nBaudrate=9600\r\n");
        EXPECT_EQ(read_ini(ini(), "General", "Port", "1"), "1") << stored;
        EXPECT_EQ(read_bytes(ini()), "[General]\r\nPort=1\r\nBaudrate=9600\r\n") << stored;
    }
    EXPECT_NE(write_ini(ini(), "General", "Port", "1"), 0);

    write_bytes(ini(), "[Print Header]\nSite=  North  \nProject=" + QByteArray(3100, 'x') + "\n");
    EXPECT_EQ(read_ini(ini(), "Print Header", "Site", ""), "North");
    EXPECT_EQ(read_ini(ini(), "Print Header", "Project", "").size(), 3071);
    EXPECT_EQ(value("Print Header", "Project").size(), 3100) << "reading rewrote a long value";
}

TEST_F(SettingsTest, FirstLoadWritesEveryDefaultAndMakesTheFolders) {
    load_settings(nullptr);
    const QString data = shell().data_folder;
    // clang-format off
    const struct { const char *section, *key; QString expected; } keys[] = {
        {"General", "Quillarn Baudrate", "19200"}, {"Echo Control", "Trace 3 Interval", "20"},
        {"General", "ExportPath", data + "/ExportLog"}, {"General", "ReportAuthor", "tester"},
        {"Print Header", "Use Header", "False"}};
    // clang-format on
    for (const auto& k : keys)
        EXPECT_EQ(value(k.section, k.key), k.expected) << k.section << " / " << k.key;
    for (const char* folder : {"Parameters", "Traces", "DataLog", "ExportLog"})
        EXPECT_TRUE(QFileInfo(data + "/" + folder).isDir()) << folder;
    EXPECT_EQ(shell().parameter_path, data + "/Parameters");
}

TEST_F(SettingsTest, BadOrOverflowingValueKeepsItsGlobalAndLoadingGoesOn) {
    shell().language_index = 3; // as the start window set it
    shell().com_port = 5;
    shell().echo_light_on = false;
    write_bytes(ini(),
                "[General]\nLanguage=abc\nPort=40000\nBaudrate=9600\nQuillarn Baudrate=38400\n"
                "Mode Operation=zero\nTelephone=0123 456\nBackColor=&HFF\nPlayback=lots\n"
                "CalDailyMethod=99999\nCompanyName=Water Board\n"
                "[Echo Control]\nGet Trace 2=1\nTrace 2 Interval=x\nLight On=yes\n"
                "[Print Header]\nSite=North\nUse Header=True\n");
    load_settings(nullptr);
    const ShellState& s = shell();
    // The overflowing port neither replaced the port in use nor stopped the loading; a Boolean
    // that is no word or number keeps its value.
    EXPECT_EQ(fields(s.language_index, s.com_port, s.baud_rate, s.comm_settings, s.operation_mode,
                     s.telephone_number, s.chart_back_color, s.playback_interval,
                     s.cal_daily_method, s.company_name, s.trace_enabled[1], s.trace_interval[1],
                     s.header_site, s.use_header, s.echo_light_on),
              fields(3, 5, 9600, "38400,N,8,1", 1, "0123 456", 255, 1, 0, "Water Board", 1, 20,
                     "North", true, false));
    EXPECT_EQ(value("General", "Port"), "40000") << "a stored value was overwritten";
}

TEST_F(SettingsTest, MainWindowGetsMenuStatesOfTheModeAndThePlaybackBox) {
    set_locale("German", ",", ".");
    platform::number_separators() = {",", "."};
    const std::pair<const char*, QStringList> cases[] = {
        {"0", {"enable_othermenus", "printmenu 0", "loggingmenu 1", "csomenu 0", "Text15 2,5"}},
        {"1", {"enable_othermenus", "printmenu 1", "loggingmenu 0", "csomenu 1", "Text15 2,5"}},
    };
    for (const auto& [mode, calls] : cases) {
        write_bytes(ini(), QByteArray("[General]\nMode Operation=") + mode + "\nPlayback=2,5\n");
        RecordingView view;
        load_settings(&view);
        EXPECT_EQ(view.calls, calls) << mode;
    }
}

TEST_F(SettingsTest, DeletedFolderIsMadeAgainButOnlyOneLevelDeep) {
    const QString datalog = tmp.filePath("logs");
    const QString deep = tmp.filePath("missing/parent/export");
    write_bytes(ini(),
                ("[General]\nDataLogPath=" + datalog + "\nExportPath=" + deep + "\n").toUtf8());
    load_settings(nullptr);
    EXPECT_TRUE(QFileInfo(datalog).isDir());
    EXPECT_FALSE(QFileInfo(deep).exists());
    EXPECT_EQ(shell().export_path, deep);
}

TEST_F(SettingsTest, AFailedWriteIsToldOnceARunAndReadsStillGiveTheDefault) {
    reset_settings_failure_reports();
    const QString nowhere = tmp.filePath("no-such-folder/general.ini");
    for (int key = 0; key < 5; ++key) // the playback box writes on every key press
        EXPECT_EQ(write_ini(nowhere, "General", "Playback", QString::number(key)), 0);
    EXPECT_EQ(read_ini(nowhere, "General", "Port", "1"), "1") << "an unwritable file gave no value";
    ASSERT_EQ(dialogs.messages().size(), 1) << "the failure was told per key, or not at all";
    EXPECT_TRUE(dialogs.messages()[0].contains("cannot be written"));
    EXPECT_TRUE(dialogs.messages()[0].contains("general.ini"));
    reset_settings_failure_reports();
}
