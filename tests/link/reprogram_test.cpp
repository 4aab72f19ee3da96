// Boot-load and the hand-over to the firmware tool, against the simulated unit.
#include "simulated_unit.h"

#include "link/reprogram.h"
#include "platform/launcher.h"
#include "platform/program_folder.h"
#include "shell/definitions_table.h"

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
    EXPECT_FALSE(MSComm1().port_open());
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].style, platform::mb::YesNo | platform::mb::Critical |
                                            platform::mb::DefaultButton2 |
                                            platform::mb::SystemModal);

    dialogs.answers = {platform::Answer::Yes};
    bootload_Click();
    EXPECT_TRUE(received().contains("/BOOTLOAD"));
    EXPECT_TRUE(sim->unit().in_bootloader());
    EXPECT_TRUE(dialogs.prompts.back().text.startsWith(
        ui_text(2535, "Successfully put the unit into BOOTLOADER mode")));
    EXPECT_EQ(dialogs.prompts.back().style, platform::mb::Information | platform::mb::SystemModal);
}

TEST_F(ReprogramTest, ABootLoadWithoutAnAnswerIsAFailure) {
    dialogs.answers = {platform::Answer::Yes};
    sim->misbehave_on("/BOOTLOAD", unitsim::Misbehaviour::silence());
    bootload_Click();
    EXPECT_TRUE(
        dialogs.prompts.back().text.startsWith(ui_text(2537, "Failed to BOOTLOAD the unit")))
        << dialogs.messages().join('|').toStdString();
    EXPECT_FALSE(sim->unit().in_bootloader());
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
    EXPECT_EQ(received(), QStringList({"/who", "/access:318406", "/P141:1", "/who"}));
    EXPECT_EQ(starts, QStringList({tool()}));
    EXPECT_FALSE(MSComm1().port_open()) << "the tool needs the port";
}

TEST_F(ReprogramTest, TheCardEntryGivesUpAfterThreeAnswersFromTheUnit) {
    sim->unit().profile().board_route = unitsim::BoardRoute::None;
    ProgramComm_Click();
    EXPECT_EQ(received().count("/who"), 3);
    EXPECT_TRUE(starts.isEmpty());
    ASSERT_FALSE(dialogs.prompts.empty());
    EXPECT_EQ(dialogs.prompts.back().text, ui_text(2539, "Communication card not found"));
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

TEST_F(ReprogramTest, AMissingToolIsReportedWithItsError) {
    platform::set_program_starter({});
    platform::set_program_folder(dir.path());
    veltoprogram_Click();
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, "Error 53: File not found.");
    EXPECT_EQ(dialogs.prompts[0].style, platform::mb::Critical);
    platform::set_program_folder(QString());
}

} // namespace
