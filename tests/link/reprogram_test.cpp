// Boot-load and the hand-over to the firmware tool, against the simulated unit.
#include "simulated_unit.h"

#include "link/reprogram.h"
#include "platform/launcher.h"
#include "platform/program_folder.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"

namespace {

class ReprogramTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        shell().login_passcode = "318406";
        platform::set_application_title("QuillarnPC");
        platform::set_program_starter([this](const QString& path, const QStringList& args) {
            starts << path + " " + args.join(' ');
            return start_result;
        });
    }
    void TearDown() override {
        platform::set_program_starter({});
        SimulatedUnitTest::TearDown();
    }
    QStringList starts;
    platform::StartResult start_result{true, 0, {}};
    QString tool() const { return firmware_tool_path() + " /slave /QuillarnPC"; }
};

TEST_F(ReprogramTest, BootLoadAsksFirstAndPutsTheUnitIntoItsBootLoader) {
    dialogs.answers = {platform::Answer::No};
    bootload_Click();
    EXPECT_TRUE(received().isEmpty()) << "No still sent something";
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].style, platform::mb::YesNo | platform::mb::Critical |
                                            platform::mb::DefaultButton2 |
                                            platform::mb::SystemModal);

    dialogs.answers = {platform::Answer::Yes};
    bootload_Click();
    EXPECT_TRUE(received().contains("/BOOTLOAD") && sim->unit().in_bootloader());
    EXPECT_TRUE(dialogs.prompts.back().text.startsWith(
        ui_text(2535, "Successfully put the unit into BOOTLOADER mode")));
    EXPECT_EQ(dialogs.prompts.back().style, platform::mb::Information | platform::mb::SystemModal);
}

TEST_F(ReprogramTest, ABootLoadWithoutAnAnswerIsAFailure) {
    dialogs.answers = {platform::Answer::Yes};
    sim->misbehave_on("/BOOTLOAD", unitsim::Misbehaviour::silence());
    bootload_Click();
    EXPECT_EQ(dialogs.messages().mid(1),
              QStringList{ui_text(1299, "No reply from the unit. Check the cable and the port "
                                        "settings.")})
        << "the link's failure was not told, or told again as the boot-load's";
    EXPECT_FALSE(sim->unit().in_bootloader());
}

TEST_F(ReprogramTest, ABootLoadTheUnitRefusesIsAFailure) {
    dialogs.answers = {platform::Answer::Yes};
    sim->misbehave_on("/BOOTLOAD", unitsim::Misbehaviour::refusal());
    bootload_Click();
    EXPECT_TRUE(
        dialogs.prompts.back().text.startsWith(ui_text(2537, "Failed to BOOTLOAD the unit")))
        << "the unit said NO and the user was told it is in its boot-loader: "
        << dialogs.messages().join('|').toStdString();
}

TEST_F(ReprogramTest, AFailedLogOnTakesTheDisplayOfflineAndSendsNoBootLoad) {
    shell().login_passcode = "111111";
    dialogs.answers = {platform::Answer::Yes};
    bootload_Click();
    EXPECT_FALSE(received().contains("/BOOTLOAD"));
    EXPECT_TRUE(std::count(view.calls.begin(), view.calls.end(), QString("Option3")) > 0);
}

TEST_F(ReprogramTest, TheCardEntrySwitchesTheUnitThroughAndStartsTheTool) {
    ProgramComm_Click();
    EXPECT_EQ(fields(received().join(' '), starts.join('|'), MSComm1().port_open()),
              fields("/who /access:318406 /P141:1 /who", tool(), false))
        << "the tool needs the port";
}

TEST_F(ReprogramTest, TheCardEntryGivesUpAfterThreeAnswersFromTheUnit) {
    sim->unit().profile().board_route = unitsim::BoardRoute::None;
    ProgramComm_Click();
    EXPECT_EQ(fields(received().count("/who"), starts.size(), dialogs.messages().value(0)),
              fields(3, 0, ui_text(2539, "Communication card not found")));
}

TEST_F(ReprogramTest, TheUnitEntryStartsTheToolOnlyWhenTheUnitItselfAnswers) {
    ProgramVelto_Click();
    EXPECT_EQ(starts, QStringList({tool()}));

    starts.clear();
    sim->misbehave_next(unitsim::Misbehaviour::silence(), -1);
    ProgramVelto_Click();
    EXPECT_TRUE(starts.isEmpty()) << "the tool started after a time-out";
    sim->clear_misbehaviour();

    dialogs.prompts.clear();
    sim->unit().profile().who_reply = "@Comms Logging Board V1.92";
    ProgramVelto_Click();
    EXPECT_TRUE(starts.isEmpty());
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].title, ui_text(2543, "Connected to comm"));
}

// German and French users get the English texts; Italian and Spanish have their own.
TEST_F(ReprogramTest, BootLoadAndCardMessagesSpeakTheirLanguageOrEnglish) {
    const QString english_warning =
        "Unit firmware will no longer be operational if you are boot loading the system\r\n"
        "Are you sure you want to continue?";
    const QString english_card = "Currently connected to communication card.\r\n"
                                 "Please remove the serial cable, wait for system UPDATING "
                                 "message\r\nthen reconnect RS232 serial cable and try again";
    const struct {
        int language;
        QString warning, warning_title, card_title;
    } cases[] = {
        {1, english_warning, "Firmware BootLoading", "Connected to comm"},
        {3,
         "Il firmware dell'unit\u00E0 non sar\u00E0 pi\u00F9 operativo se viene caricato il boot "
         "del sistema\r\nSei sicuro di voler continuare ?",
         "Caricamento Boot Firmware", "Collegato alla scheda di comunicazione"},
        {4,
         "El firmware de la unidad ya no estar\u00E1 en funcionamiento si contin\u00FAa\r\n"
         "\u00BFQuieres continuar?",
         "Cambiando al modo de arranque", "Conectado a la tarjeta de comunicaci\u00F3n"},
    };
    std::vector<std::pair<QString*, QString>> kept;
    for (int n = 0; n <= ADDED_TEXTS_LAST; ++n)
        if (QString* slot = text_slot(n))
            kept.emplace_back(slot, *slot);
    platform::set_program_folder(QUILLARN_DATA_DIR);
    sim->unit().profile().who_reply = "@Comms Logging Board V1.92";
    for (const auto& c : cases) {
        shell().language_index = c.language;
        load_language_file();
        dialogs.prompts.clear();
        dialogs.answers = {platform::Answer::No};
        bootload_Click();
        ProgramVelto_Click();
        ASSERT_EQ(dialogs.prompts.size(), 2u) << c.language;
        EXPECT_EQ(dialogs.prompts[0].text, c.warning) << c.language;
        EXPECT_EQ(dialogs.prompts[0].title, c.warning_title) << c.language;
        if (c.language < 3) {
            EXPECT_EQ(dialogs.prompts[1].text, english_card) << c.language;
        }
        EXPECT_EQ(dialogs.prompts[1].title, c.card_title) << c.language;
    }
    shell().language_index = 0;
    load_language_file();
    platform::set_program_folder(QString());
    for (auto& [slot, text] : kept)
        *slot = text;
}

TEST_F(ReprogramTest, AMissingToolIsReportedWithItsError) {
    platform::set_program_starter({});
    platform::set_program_folder(dir.path());
    veltoprogram_Click();
    EXPECT_EQ(
        box_line(dialogs.prompts.at(0)),
        box_line("Error 53: File not found.", dialogs.prompts.at(0).title, platform::mb::Critical));
    platform::set_program_folder(QString());
}

} // namespace
