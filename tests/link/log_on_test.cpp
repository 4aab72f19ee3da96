// Log-on and identification against each kind of simulated unit: the commands it sends, in
// order, and the identity it concludes.
#include "link_fixture.h"

#include "link/link_commands.h"
#include "link/log_on.h"
#include "shell/definitions_table.h"

using unitsim::Misbehaviour;
using unitsim::UnitKind;

namespace {

const QString ACCESS = "/access:318406";

struct Identity {
    bool quorvantix = false, hesvarin = false, radar = false, lite = false, cso = false,
         flow = false, volume = false, p61_1 = false, p61_2 = false;
};

Identity identity() {
    const LinkState& L = link();
    return {L.quorvantix_unit, L.hesvarin_unit, L.radar_unit, L.lite_unit, L.cso_unit,
            L.flow_mode,       L.volume_mode,   L.p61_is_1,   L.p61_is_2};
}

std::string describe(const Identity& i) {
    std::string s;
    auto add = [&](bool on, const char* name) {
        if (on)
            s += std::string(s.empty() ? "" : " ") + name;
    };
    add(i.quorvantix, "quorvantix");
    add(i.hesvarin, "hesvarin");
    add(i.radar, "radar");
    add(i.lite, "lite");
    add(i.cso, "cso");
    add(i.flow, "flow");
    add(i.volume, "volume");
    add(i.p61_1, "p61=1");
    add(i.p61_2, "p61=2");
    return s.empty() ? "plain" : s;
}

class LogOnTest : public LinkTest {
protected:
    // Real time, for tests that tell a skipped 2 s pause from a few exchanges.
    void real_time() {
        platform::set_time_scale(1);
        sim->set_time_scale(1);
    }
};

TEST_F(LogOnTest, EachKindOfUnitIsAskedItsOwnQuestionsAndIdentified) {
    const QStringList capability = {"/LOADQUICK", "/ISCSO", "/access:460927",
                                    "/p61",       "/p87",   "/p99"};
    const QStringList capability_tail = {"/ISFLOW", "/ISVOLUME", ACCESS, "/LOADNORM"};
    struct Case {
        UnitKind kind;
        QStringList commands;
        Identity expected;
    } cases[] = {
        {UnitKind::Level, QStringList{ACCESS, "/WHO"} + capability + capability_tail, {}},
        {UnitKind::VeltoLite,
         QStringList{ACCESS, "/WHO"} + capability + capability_tail,
         {.lite = true}},
        {UnitKind::Cso, QStringList{ACCESS, "/WHO"} + capability + capability_tail, {.cso = true}},
        {UnitKind::Flow,
         QStringList{ACCESS, "/WHO"} + capability + capability_tail,
         {.flow = true, .p61_1 = true}},
        {UnitKind::Volume,
         QStringList{ACCESS, "/WHO"} + capability + capability_tail,
         {.volume = true, .p61_2 = true}},
        {UnitKind::Krestel, {ACCESS, "/WHO", ACCESS, "/LOADNORM"}, {.radar = true, .p61_2 = true}},
        {UnitKind::Quorvantix, {ACCESS, "/WHO", ACCESS}, {.quorvantix = true}},
        {UnitKind::Hesvarin, {ACCESS, "/WHO", ACCESS, "/LOADNORM"}, {.hesvarin = true}},
    };
    for (const Case& c : cases) {
        reset_link_state();
        make_unit(c.kind);
        view.calls.clear();
        EXPECT_TRUE(connect_to_unit(true)) << unitsim::kind_name(c.kind).toStdString();
        EXPECT_EQ(received(), c.commands) << unitsim::kind_name(c.kind).toStdString();
        EXPECT_EQ(describe(identity()), describe(c.expected))
            << unitsim::kind_name(c.kind).toStdString();
        EXPECT_EQ(view.flow_option, c.kind == UnitKind::Quorvantix);
        EXPECT_EQ(view.volume_option, c.kind == UnitKind::Krestel);
        EXPECT_FALSE(view.flow_average_option);
        EXPECT_EQ(link().modbus_mode, c.kind == UnitKind::Krestel);
        EXPECT_NE(std::find(view.calls.begin(), view.calls.end(), "set_param_screen_captions"),
                  view.calls.end());
        EXPECT_TRUE(dialogs.prompts.empty());
    }
}

TEST_F(LogOnTest, APlainUnitInLoggingIdentityGetsOnlyAccessAndWhoAndNoPause) {
    real_time();
    shell().software_mode = 0;
    const double start = platform::seconds();
    EXPECT_TRUE(connect_to_unit(true));
    EXPECT_LT(platform::seconds() - start, 1.5) << "the 2 s pause ran";
    EXPECT_EQ(received(), QStringList({ACCESS, "/WHO"}));
}

TEST_F(LogOnTest, TheLoginPasscodeIsSentWhenTheStoredCodeIsNotUsed) {
    shell().login_passcode = "905173";
    EXPECT_TRUE(connect_to_unit(false));
    EXPECT_EQ(received().value(0), "/access:905173");
    EXPECT_EQ(received().value(received().size() - 2), "/access:905173");
}

TEST_F(LogOnTest, ARefusedAccessIsReportedAndIdentifiesNothing) {
    shell().login_passcode = "111111";
    const double start = platform::seconds();
    EXPECT_FALSE(connect_to_unit(false));
    EXPECT_EQ(received(), QStringList({"/access:111111"}));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text,
              "     " + ui_text(1271, "Access denied. The passcode is not valid for this unit.") +
                  "      ");
    EXPECT_EQ(dialogs.prompts[0].title, ui_text(1272, "Access Denied"));
    EXPECT_EQ(dialogs.prompts[0].style, platform::mb::Critical | platform::mb::DefaultButton2);
    EXPECT_GE(platform::seconds() - start, 2.0);
}

TEST_F(LogOnTest, NoReplyToTheAccessCommandFailsTheLogOn) {
    sim->misbehave_on("/access:*", Misbehaviour::silence());
    EXPECT_FALSE(connect_to_unit(true));
    EXPECT_TRUE(link().comms_abort);
    EXPECT_EQ(received().size(), 3);
}

TEST_F(LogOnTest, WithLiveEchoTheLogOnStopsAfterTheAccess) {
    real_time();
    link().echo_online = true;
    const double start = platform::seconds();
    EXPECT_TRUE(connect_to_unit(true));
    EXPECT_EQ(received(), QStringList({ACCESS}));
    EXPECT_LT(platform::seconds() - start, 1.5) << "the 2 s pause ran";
}

TEST_F(LogOnTest, IdentityWordsAreTestedInOrderAndCommsLeavesLiteAlone) {
    struct Case {
        QString who;
        bool lite_before;
        bool quorvantix, radar, lite;
    } cases[] = {
        {"@Quorvantix Krestel V2.0", false, true, false, false},
        {"@Comms Logging Board V1.92", true, false, false, true},
        {"@Comms Logging Board V1.92", false, false, false, false},
        {"@Velto Level V2.05", true, false, false, false},
    };
    shell().software_mode = 0;
    for (const Case& c : cases) {
        reset_link_state();
        link().lite_unit = c.lite_before;
        sim->unit().profile().who_reply = c.who;
        connect_to_unit(true);
        EXPECT_EQ(link().quorvantix_unit, c.quorvantix) << c.who.toStdString();
        EXPECT_EQ(link().radar_unit, c.radar) << c.who.toStdString();
        EXPECT_EQ(link().lite_unit, c.lite) << c.who.toStdString();
    }
}

TEST_F(LogOnTest, AFieldbusIsFoundFromTheSystemTypeAndItsKindAsked) {
    sim->unit().set_value(87, 0);
    sim->unit().set_value(99, 3);
    sim->unit().set_value(96, 2);
    ASSERT_TRUE(connect_to_unit(true));
    EXPECT_TRUE(link().fieldbus_available);
    EXPECT_TRUE(received().contains("/p96"));
    EXPECT_TRUE(link().profibus_mode);
    EXPECT_FALSE(link().modbus_mode);
}

TEST_F(LogOnTest, TheLoggingBoardIsReachedPerKindAndItsVersionRead) {
    struct Case {
        UnitKind kind;
        int software_mode;
        QStringList after_log_on;
        int version;
    } cases[] = {
        {UnitKind::Level, 0, {"/p141:1", "/who"}, 192},
        {UnitKind::VeltoLite, 0, {"/p141:1", "/who"}, 192},
        {UnitKind::Quorvantix, 0, {"/who"}, 205},
        {UnitKind::Hesvarin, 0, {"/comtalk", "/who"}, 192},
        {UnitKind::Cso, 2, {"/loadquick", "/who"}, 192},
    };
    for (const Case& c : cases) {
        reset_link_state();
        shell().software_mode = static_cast<int16_t>(c.software_mode);
        shell().login_passcode = "318406";
        make_unit(c.kind);
        EXPECT_TRUE(coms_connected()) << unitsim::kind_name(c.kind).toStdString();
        const QStringList all = received();
        EXPECT_EQ(all.mid(all.size() - c.after_log_on.size()), c.after_log_on)
            << unitsim::kind_name(c.kind).toStdString() << ": " << all.join(" ").toStdString();
        EXPECT_EQ(link().board_software_version, c.version)
            << unitsim::kind_name(c.kind).toStdString();
        EXPECT_EQ(link().logging_board_connected, c.kind != UnitKind::Hesvarin);
        EXPECT_TRUE(link().quiet_commands);
        EXPECT_FALSE(all.contains("/LOADNORM") && c.kind == UnitKind::Quorvantix);
    }
}

TEST_F(LogOnTest, ABoardThatNeverAnswersGetsFourAsksAndOneMessage) {
    shell().software_mode = 1;
    shell().login_passcode = "318406";
    EXPECT_FALSE(coms_connected());
    EXPECT_EQ(received().count("/who"), 4);
    EXPECT_EQ(dialogs.messages().value(dialogs.messages().size() - 1),
              "Device not found or logging not available.");
    EXPECT_GE(received().count(ACCESS.left(8) + "318406"), 2)
        << "the unit answered itself: log on again";
}

TEST_F(LogOnTest, TheBridgeIsLeftWithTheExitByteAndLoggedOff) {
    make_unit(UnitKind::VeltoLite);
    shell().software_mode = 0;
    ASSERT_TRUE(coms_connected());
    sim->clear_received();
    exit_comms_bridging(true);
    EXPECT_EQ(received(), QStringList({QString(QChar(20)), "/WHO", "/ACCESS:OFF"}));
    EXPECT_EQ(dialogs.messages().value(0), ui_text(1116, "The unit has been set up successfully."));
}

TEST_F(LogOnTest, ABridgeThatCannotBeLeftIsReportedAndNotLoggedOff) {
    open_port();
    sim->unit().profile().who_reply = "@Velto Level V2.05";
    exit_comms_bridging(false);
    EXPECT_EQ(received().count("/WHO"), 3);
    EXPECT_FALSE(received().contains("/ACCESS:OFF"));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, "Failed to exit comms bridging mode");
    EXPECT_EQ(dialogs.prompts[0].title, "Error in log setup");
}

TEST_F(LogOnTest, TheServiceLabelsWriteStraightToThePort) {
    send_manual_link_command(4);
    send_manual_link_command(5);
    platform::wait_ms(100);
    EXPECT_EQ(received(), QStringList({QString(QChar(20)), "/ACCESS:OFF"}));
    EXPECT_TRUE(traffic().modem().text().isEmpty()) << "nothing is echoed";
}

TEST(SoftwareVersion, ComesFromTheFirstCapitalVFollowedByADigit) {
    struct Case {
        const char* reply;
        int version;
    } cases[] = {
        {"@Comms Logging Board V1.92", 192},
        {"@Velto Level V2.01a", 201},
        {"Unit V1.80 x", 180},
        {"Velto Level", 999},
        {"level v2.05", 999},
        {"Vx V", 999},
        {"ABC V1.9", 19},
    };
    for (const Case& c : cases)
        EXPECT_EQ(convert_who_to_software_version(c.reply), c.version) << c.reply;
}

} // namespace
