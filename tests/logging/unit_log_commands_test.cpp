// The log set-up page's work with the unit, against the simulated unit: set-up and clock, log
// information by "/LOGINFO" and by single reads, clear and simulate, and the chart units.
#include "log_page_on_unit.h"

using logsetup::chart_settings_trailer;
using platform::Answer;
using unitsim::Misbehaviour;
using unitsim::UnitKind;

namespace {

const QDateTime pc_now(QDate(2026, 12, 5), QTime(14, 7, 30));

// The PC's clock fixed too.
class UnitLogCommandsTest : public LogPageOnUnitTest {
protected:
    void SetUp() override {
        LogPageOnUnitTest::SetUp();
        definitions_table()[92].unit_value = NO_VALUE;
        logsetup::set_pc_clock_source([] { return pc_now; });
        // The download is other work; a stand-in makes the button available as it will be.
        page->set_action(LogSetupAction::GetLogData, [] {});
    }
    void TearDown() override {
        logsetup::set_pc_clock_source({});
        LogPageOnUnitTest::TearDown();
    }

    // A fresh unit of `kind` on COM1, its clock at unit_now and its log empty.
    void make_unit(UnitKind kind) {
        SimulatedUnitTest::make_unit(kind);
        fix_unit_clock();
        reset_link_state();
    }

    // The link gives up on commands matching `pattern`; the unit answers `reply` to them.
    void dead_on(const QString& pattern) { sim->misbehave_on(pattern, Misbehaviour::silence()); }
    void refuse_on(const QString& pattern) { sim->misbehave_on(pattern, Misbehaviour::refusal()); }
    void reply_on(const QString& pattern, const QByteArray& reply) {
        sim->misbehave_on(pattern, Misbehaviour::garbage(reply + "\r\n"));
    }

    // What the page sent once the log-on had reached the logging board.
    QStringList after_logon() const {
        const QStringList all = sim->received();
        return all.mid(all.lastIndexOf("/who") + 1);
    }

    // The user's choice on the page: channels, interval, wrapping; then "Setup Unit".
    void choose(std::initializer_list<int> channels, const QString& interval, bool wrap = false) {
        page->deselect_all();
        for (int c : channels)
            page->channel_boxes[static_cast<size_t>(c)]->setChecked(true);
        page->setup_boxes[2]->setText(interval);
        page->wrap_box->setChecked(wrap);
    }
    void setup_unit(std::initializer_list<int> channels, const QString& interval,
                    bool wrap = false) {
        choose(channels, interval, wrap);
        page->setup_unit_button->click();
    }
    // The same, the user agreeing to lose the unit's log.
    void agree_setup_unit(std::initializer_list<int> channels, const QString& interval,
                          bool wrap = false) {
        dialogs.answers.push_back(Answer::Ok);
        setup_unit(channels, interval, wrap);
    }
    // Forget what the unit received and the messages shown so far.
    void restart() {
        sim->clear_received();
        dialogs.prompts.clear();
    }

    QString text4(int i) const { return page->unit_log_boxes[static_cast<size_t>(i)]->text(); }
    QStringList read_outs() const {
        QStringList t;
        for (int i = 0; i < 9; ++i)
            t << text4(i);
        return t;
    }
};

} // namespace

// ---- Setup Unit ----

TEST_F(UnitLogCommandsTest, SetupWritesTheSelectionAndLeavesTheUnitLoggingOnItsOwn) {
    // What is written is what was judged before the log was cleared: boxes changed while the
    // set-up waits for the unit (by the user or the program) change nothing it sends.
    QObject::connect(sim.get(), &unitsim::Simulator::command_received, [&](const QString& c) {
        if (c != "/clearlog")
            return;
        page->setup_boxes[2]->setText("7,5");
        page->channel_boxes[7]->setChecked(true);
        page->wrap_box->setChecked(false);
    });
    agree_setup_unit({0, 1}, "10", true);
    EXPECT_EQ(after_logon(), QStringList({"/access:318406", "/LOADQUICK", "/m99", "/m94",
                                          "/clearlog", "/p151:3", "/p152:32768", "/p153:0",
                                          "/p154:10", "/p155:1", "/LOADNORM", "/access:off"}));
    const QStringList m = dialogs.messages();
    ASSERT_EQ(m.size(), 3) << m.join("\n").toStdString();
    EXPECT_EQ(fields(m[0].left(39), m[1], m[2].left(38)),
              fields("Setting up the unit clears all log data",
                     "The unit has been set up successfully.",
                     "Important: disconnect the serial cable"));
    EXPECT_FALSE(unit().quick_mode() || unit().logged_on())
        << "the unit was left in quick mode or logged on";
    EXPECT_FALSE(log_view.busy_message_shown);
    EXPECT_EQ(log_view.busy_messages.front(), "\r\n\r\n\r\nSetting up unit. Please wait...");
    for (QPushButton* b : {page->select_all_button, page->deselect_all_button, page->setup_unit_button, page->get_unit_info_button})
        EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString() << " left disabled";
}

// The interval box takes whole minutes up to a day, as the unit keeps them, read as the locale
// writes numbers: anything else is refused where it is typed, never read as another number
// ("0.5" in German as 5), and never reaches the unit, whether the box was left, not left yet, or
// given the text by the program: nothing is sent and the unit keeps its log. What the box takes
// goes out as the unit takes it.
TEST_F(UnitLogCommandsTest, TheIntervalTypedGoesToTheUnitAsTypedOrNotAtAll) {
    platform::number_separators() = {",", ".", "de_DE"};
    unit().log().simulate(20, unit_now);
    QLineEdit* box = page->setup_boxes[2];
    choose({0, 1}, "10");
    const QString duration = page->setup_boxes[1]->text();
    // clang-format off
    const struct { const char *typed, *says; } refused[] = {
        {"0.5", "decimal separator"}, {"2.5", "decimal separator"}, {"7,5", "not a whole number"},
        {"-1", "out of range"}, {"1441", "out of range"}};
    // clang-format on
    for (const auto& r : refused) {
        SCOPED_TRACE(r.typed);
        box->selectAll();
        box->insert(r.typed);
        restart();
        emit box->editingFinished();
        QApplication::processEvents(); // the message comes once the leaving event has finished
        EXPECT_EQ(fields(box->text(), log_setup().log_interval, page->setup_boxes[1]->text(),
                         dialogs.messages().size()),
                  fields("10", 10, duration, 1))
            << "a refused interval was read as another number";
        EXPECT_TRUE(dialogs.messages().value(0).contains(r.says))
            << dialogs.messages().join(" | ").toStdString();
        for (const bool typed : {true, false}) { // the box not left yet, or filled by the program
            if (typed) {
                box->selectAll();
                box->insert(r.typed);
            } else {
                box->setText(r.typed);
            }
            restart();
            page->setup_unit_button->click();
            EXPECT_EQ(fields(sim->received().join(' '), dialogs.messages().size(),
                             dialogs.messages().value(0).endsWith("Log Interval (mins)" +
                                                                  QString(12, ' ') + "\r")),
                      fields("", 1, true))
                << (typed ? "typed" : "set by the program");
        }
        box->setText("10");
    }
    EXPECT_EQ(unit().log().records().size(), 20u) << "the unit lost its log";
    // 0 stops the unit's logging: asked about first, then sent as the unit keeps it.
    for (const auto& [typed, sent] :
         {std::pair{"1.440", "/p154:1440"}, {"15", "/p154:15"}, {"0", "/p154:0"}}) {
        restart();
        dialogs.answers.push_back(Answer::Ok);
        if (QString(typed) == "0")
            dialogs.answers.push_back(Answer::Ok);
        box->selectAll();
        box->insert(typed);
        page->setup_unit_button->click();
        EXPECT_TRUE(after_logon().contains(sent)) << after_logon().join(' ').toStdString();
        EXPECT_TRUE(dialogs.messages().contains("The unit has been set up successfully."));
    }
    platform::number_separators() = {};
}

TEST_F(UnitLogCommandsTest, SetupRefusesBadEntriesAndStopsOnCancelBeforeTouchingTheUnit) {
    const struct {
        const char* interval;
        std::vector<Answer> answers;
        QString first_message_start;
        size_t messages;
    } table[] = {
        {"", {}, "The unit cannot be set up.", 1},
        {"0", {Answer::Cancel}, "The log interval is 0 minutes.", 1},
        {"5", {Answer::Cancel}, "Setting up the unit clears", 1},
        {"5", {}, "Setting up the unit clears", 1}, // Enter keeps the log: Cancel is the default
        {"0", {Answer::Ok, Answer::Cancel}, "The log interval is 0 minutes.", 2},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << "interval '" << row.interval << "'");
        restart();
        dialogs.answers.assign(row.answers.begin(), row.answers.end());
        setup_unit({0}, row.interval);
        EXPECT_TRUE(sim->received().isEmpty());
        ASSERT_EQ(dialogs.prompts.size(), row.messages);
        EXPECT_TRUE(dialogs.prompts[0].text.startsWith(row.first_message_start));
        EXPECT_TRUE(dialogs.prompts[0].title == "Unit Setup" && page->setup_unit_button->isEnabled());
    }
}

TEST_F(UnitLogCommandsTest, AUnitOfAnotherModelIsRefusedBeforeItsLogIsErased) {
    unit().log().simulate(20, unit_now);
    const struct {
        int page_model;
        bool page_ma, unit_ma;
        QString detail;
    } table[] = {
        {5, false, false, "   Unit type: Velto Level\r"},
        {2, true, false, "   - The unit has no mA input"},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.detail.toStdString());
        restart();
        unit().set_ma_input(row.unit_ma);
        page->select_model_option(row.page_model);
        choose({0}, "15");
        log_setup().capabilities.ma_input_available = row.page_ma;
        dialogs.answers = {Answer::Ok};
        page->setup_unit_button->click();
        EXPECT_EQ(after_logon(), QStringList({"/access:318406", "/LOADQUICK", "/m99", "/m94",
                                              "/LOADNORM", "/access:off"}));
        EXPECT_EQ(unit().log().records().size(), 20u) << "the refused unit lost its log";
        EXPECT_FALSE(unit().quick_mode());
        ASSERT_EQ(dialogs.messages().size(), 2);
        EXPECT_EQ(dialogs.messages()[1],
                  "The unit does not match the settings on this page:\r" + row.detail);
    }
}

TEST_F(UnitLogCommandsTest, SetupStopsAtTheFirstFailedCommandAndNeverReportsSuccess) {
    const struct {
        const char* pattern;
        QString command;     // as sent
        bool dead_link;      // else the unit answers "NO"
        bool log_on = false; // the log-on's access: the link alone tells it
        bool quick = true;   // the unit is in quick-load mode when it stops
        UnitKind kind = UnitKind::Level;
        size_t asked = 1; // the questions before the stop: the set-up's, the clock's
    } table[] = {
        {"/access:*", "/access:318406", true, true, false},
        {"/p152:*", "/p152:32768", true},
        {"/p154:*", "/p154:15", false},
        {"/p154:*", "/p154:15", false, false, true, UnitKind::Krestel, 2}, // a clock unit
        {"/m99", "/m99", true},
        {"/access:off", "/access:off", true, false, false},
        {"/clearlog", "/clearlog", false},
        {"/p932", "/p932", true, false, false, UnitKind::Krestel}, // reading a clock unit's clock
    };
    for (const auto& row : table) {
        SCOPED_TRACE(testing::Message() << row.command.toStdString() << " dead " << row.dead_link);
        make_unit(row.kind);
        dialogs.prompts.clear();
        if (row.dead_link)
            dead_on(row.pattern);
        else
            refuse_on(row.pattern);
        // The messages shown when the unit was put back after the stop (when "/LOADNORM" went out).
        qsizetype told_at_loadnorm = -1;
        bool stopped = false;
        QObject::connect(sim.get(), &unitsim::Simulator::command_received,
                         [&](const QString& c) { stopped = stopped || c == row.command; });
        const QMetaObject::Connection put_back = QObject::connect(
            &traffic().modem(), &TrafficView::appended, [&](const QString& text, bool sent) {
                if (sent && stopped && text.startsWith("/LOADNORM") && told_at_loadnorm < 0)
                    told_at_loadnorm = dialogs.prompts.size();
            });
        agree_setup_unit({0}, "15");
        finish_put_back();
        QObject::disconnect(put_back);
        // The link sends a command three times before it gives up; a unit it leaves in quick-load
        // mode still gets "/LOADNORM" (after "/access:off" it is in normal mode already). A
        // refusing unit is returned to normal mode and logged off.
        const QStringList expected =
            row.dead_link ? QStringList(3, row.command) +
                                (row.quick ? QStringList("/LOADNORM") : QStringList())
                          : QStringList({row.command, "/LOADNORM", "/access:off"});
        const QStringList sent = after_logon();
        const qsizetype at = sent.indexOf(row.command);
        ASSERT_GE(at, 0);
        EXPECT_EQ(sent.mid(at), expected) << "went on after a failure";
        EXPECT_FALSE(dialogs.messages().contains("The unit has been set up successfully."));
        ASSERT_FALSE(dialogs.prompts.empty());
        const bool clear = row.command == "/clearlog";
        // A dead link is not the unit's refusal: the user is told the set-up was cut off.
        const QString told = row.log_on      ? "No reply from the unit. Check the cable and the "
                                               "port settings."
                             : row.dead_link ? "The connection to the unit was lost during the "
                                               "set-up at the command\r\n%1\r\n\r\nThe unit may be "
                                               "set up only in part. Check the cable and run Setup "
                                               "Unit again."
                             : clear         ? "The unit did not accept the command.\r\rCheck the "
                                               "connection and try again."
                                     // The unit refused a value: the line is not to blame.
                                     : "The unit refused Log Interval (P154) = 15.\r\n\r\nThe "
                                       "unit's log has been cleared and logging is not set "
                                       "up.\r\nCheck the value and set up the unit again.";
        // Once: after the questions (the one that erases the log), one message.
        EXPECT_EQ(fields(dialogs.prompts.size(), dialogs.prompts.back().text,
                         dialogs.prompts.back().title),
                  fields(row.asked + 1, clear || row.log_on ? told : told.arg(row.command),
                         row.log_on ? "Communication Error"
                         : clear    ? "Clear Log Data"
                                    : "Unit Setup"));
        EXPECT_TRUE(page->setup_unit_button->isEnabled() && link().comms_abort);
        EXPECT_FALSE(unit().quick_mode()) << "a unit still on the line was left in quick-load mode";
        EXPECT_EQ(told_at_loadnorm,
                  expected.contains("/LOADNORM") ? static_cast<qsizetype>(row.asked) : -1)
            << "the unit was put back only once the stop's message was closed";
    }
}

TEST_F(UnitLogCommandsTest, SetupTakesAnyReplyButNoToAWriteAsAccepted) {
    // Units echo the value or answer with a code: only "NO" refuses. Taking "3" for a refusal
    // stopped the set-up after the log had already been erased.
    // Line noise that holds "NO" is an answer that could not be read, not the unit's refusal.
    const QString refusal = "The unit refused Log Channels 1 (P151) = 1.\r\n\r\nThe unit's log "
                            "has been cleared and logging is not set up.",
                  unreadable = "The unit's answer could not be read.";
    const struct {
        const char* reply;
        bool refused;
        QString told = {};
    } table[] = {{"3", false},
                 {"OK", false},
                 {"NO", true, refusal},
                 {"P151 NO", true, refusal},
                 {"\xfeNO\x01", true, unreadable}};
    for (const auto& row : table) {
        SCOPED_TRACE(row.reply);
        make_unit(UnitKind::Level);
        dialogs.prompts.clear();
        reply_on("/p151:*", row.reply);
        agree_setup_unit({0}, "15");
        const QStringList sent = after_logon();
        EXPECT_EQ(sent.contains("/p155:0"), !row.refused) << "the set-up stopped half way";
        EXPECT_EQ(dialogs.messages().contains("The unit has been set up successfully."),
                  !row.refused);
        if (!row.told.isEmpty()) {
            EXPECT_TRUE(dialogs.messages().last().startsWith(row.told))
                << dialogs.messages().join(" | ").toStdString();
        }
    }
}

TEST_F(UnitLogCommandsTest, AClockUnitIsOfferedThePcsClockInItsOwnDateOrder) {
    const QStringList set_clock = {"/p931:120526", "/p932:1407"};
    const QStringList writes = {"/p151:1", "/p152:32768", "/p153:0"};
    const struct {
        const char* name;
        int16_t software_mode;
        UnitKind kind;
        int model;
        Answer answer;
        QStringList writes;
    } table[] = {
        {"VeltoLog radar unit, clock set", 0, UnitKind::Krestel, 40, Answer::Yes,
         set_clock + writes + QStringList{"/p154:30", "/p155:1", "/loadnorm", "/access:off"}},
        {"QuillarnPC CSO unit, clock kept", 1, UnitKind::Cso, 14, Answer::No,
         writes + QStringList{"/p154:30", "/p155:1", "/loadnorm", "/access:off"}},
        {"Hartym CSO unit, interval after normal mode", 2, UnitKind::Cso, 14, Answer::Yes,
         set_clock + writes + QStringList{"/p155:1", "/loadnorm", "/p154:30", "/access:off"}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        make_unit(row.kind);
        unit().set_date_order(2);
        shell().software_mode = row.software_mode;
        dialogs.prompts.clear();
        dialogs.answers = {Answer::Ok, row.answer};
        page->select_model_option(row.model);
        setup_unit({0}, "30", true);
        EXPECT_EQ(after_logon(), QStringList({"/access:318406", "/clearlog", "/LOADNORM", "/p931",
                                              "/p932", "/p933", "/LOADQUICK"}) +
                                     row.writes);
        ASSERT_EQ(dialogs.prompts.size(), 3u);
        EXPECT_EQ(dialogs.prompts[1].text, "Please check if unit has correct date and time\r\n\r\n"
                                           "Unit Date (MMDDYY) = 120426\r\nUnit Time = 0930\r\n\r\n"
                                           "PC Date = 120526\r\nPC Time = 1407\r\n\r\n"
                                           "Do you want to set unit to PC Current Time & Date ?");
        EXPECT_EQ(dialogs.prompts[1].style,
                  platform::mb::YesNo | platform::mb::Information | platform::mb::SystemModal);
        EXPECT_EQ(fields(dialogs.prompts[2].text, unit().unit_clock().date().toString(),
                         unit().log().interval_minutes()),
                  fields("The unit has been set up successfully.",
                         (row.answer == Answer::Yes ? pc_now : unit_now).date().toString(), 30));
    }
}

TEST_F(UnitLogCommandsTest, AClockOfUnknownDateOrderIsNeitherOfferedNorSet) {
    make_unit(UnitKind::Krestel);
    refuse_on("/p933");
    page->select_model_option(40);
    agree_setup_unit({0}, "15");
    const QStringList sent = after_logon();
    EXPECT_FALSE(sent.filter("/p931:").size() + sent.filter("/p932:").size())
        << "the clock was set without knowing the unit's date order";
    EXPECT_TRUE(sent.contains("/p151:1"));
    EXPECT_EQ(dialogs.messages(),
              QStringList({dialogs.messages().front(), "The unit has been set up successfully."}));
    EXPECT_EQ(unit().unit_clock().date(), unit_now.date());

    // A reply that does not name an order exactly keeps the one known before.
    log_setup().unit_date_format = "YYMMDD";
    reply_on("/p933", "2 ");
    open_port();
    EXPECT_TRUE(getdatetime());
    EXPECT_EQ(log_setup().unit_date_format, "YYMMDD");
    EXPECT_EQ(log_setup().unit_date_text, "041226");
}

TEST_F(UnitLogCommandsTest, ALiteUnitIsSetUpThroughTheBoardAndLeftThroughTheBridge) {
    make_unit(UnitKind::VeltoLite);
    page->select_model_option(3);
    page->lite_unit_box->setChecked(true);
    agree_setup_unit({0}, "15");
    const QStringList sent = after_logon();
    EXPECT_EQ(sent.mid(sent.size() - 3), QStringList({QString(QChar(20)), "/WHO", "/ACCESS:OFF"}));
    EXPECT_FALSE(dialogs.messages().filter("disconnect the serial cable").size());
}

// ---- Get Log Info ----

TEST_F(UnitLogCommandsTest, LogInformationFillsThePageFromOneReplyOrFromSingleReads) {
    unit().handle("/access:318406");
    // Level, confidence, relays and the time stamp: 7 bytes a record.
    for (const char* write : {"/p151:5", "/p152:32776", "/p153:0", "/p154:10", "/p155:1"})
        unit().handle(write);
    unit().log().clear(QDate(2026, 12, 4));
    unit().log().simulate(1000, unit_now);
    unit().set_value(92, 40917);
    unit().set_value(104, 3);
    unit().set_value(823, 6);

    const QStringList one_reply = {"/access:318406", "/LOGINFO", "/m92",  "/P104",    "/M605",
                                   "/M706",          "/M707",    "/M823", "/LOADNORM"};
    const struct {
        const char* setting; // nullptr: general.ini has no such key
        QStringList sent;
    } table[] = {
        {nullptr, one_reply},
        {"False",
         {"/access:318406", "/LOADQUICK", "/m99", "/m94", "/m92", "/P104", "/M605", "/M706",
          "/M707", "/M823", "/p150", "/p151", "/p152", "/p153", "/p154", "/p155", "/p156",
          "/LOADNORM"}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.setting ? row.setting : "no Useloginfo");
        sim->clear_received();
        if (row.setting)
            platform::write_profile_string(shell().ini_path, "Debug", "Useloginfo", row.setting);
        definitions_table()[92].unit_value = NO_VALUE;
        reset_chart_settings();
        page->Command6->click();
        EXPECT_EQ(after_logon(), row.sent);
        EXPECT_EQ(platform::read_profile_string(shell().ini_path, "Debug", "Useloginfo"),
                  row.setting ? row.setting : "True");
        // The days left are those of the memory's unused part: (262144 - 7 * 1000) / 7 records
        // at 10 minutes.
        EXPECT_EQ(read_outs(),
                  QStringList({"271126", "5", "32776", "0", "10", "On", "1000", "253.1", "7"}));
        EXPECT_EQ(fields(log_setup().log_records, definitions_table()[92].unit_value,
                         chart_settings_trailer(log_setup().chart_units),
                         page->get_log_data_button->isEnabled()),
                  fields(1000.0, 40917.0, "~2|2|1|3|2|5|0", true));
        for (int c : {0, 2, 19, 31})
            EXPECT_TRUE(page->channel_boxes[static_cast<size_t>(c)]->isChecked()) << "channel " << c;
        EXPECT_FALSE(link().quiet_commands || log_view.busy_panel_shown);
        EXPECT_TRUE(dialogs.prompts.empty()) << dialogs.messages().join("|").toStdString();
    }
}

TEST_F(UnitLogCommandsTest, ALogInformationReplyIsTakenWholeOrClearsThePage) {
    unit().log().simulate(1234, unit_now);
    sim->misbehave_on("/LOGINFO", Misbehaviour::last_line_split(), 1);
    page->Command6->click();
    ASSERT_EQ(text4(6), "1234") << "a record count split across writes was not read whole";

    reply_on("/LOGINFO", "UnitType=2\r\nmAInput=0\r\nLogRecords=300");
    page->Command6->click();
    EXPECT_EQ(read_outs(), QStringList(9, QString()))
        << "the page still shows values of the earlier read";
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages()[0].contains("/LOGINFO"));
    EXPECT_FALSE(after_logon().contains("/m92")) << "the read went on after a failed reply";
}

TEST_F(UnitLogCommandsTest, ClicksOnAButtonWhoseWorkIsStillRunningAreIgnored) {
    // Three quick clicks: the later two arrive while the first read waits for the unit.
    unit().log().simulate(20, unit_now);
    for (int ms : {3, 6})
        QTimer::singleShot(ms, [this] { page->Command6->click(); });
    page->Command6->click();
    platform::wait_ms(500);
    EXPECT_EQ(sim->received().count("/LOGINFO"), 1) << "a click started a second read";
    EXPECT_TRUE(dialogs.prompts.empty()) << dialogs.messages().join("|").toStdString();
    EXPECT_EQ(text4(6), "20");
    page->Command6->click();
    EXPECT_EQ(sim->received().count("/LOGINFO"), 2) << "the button stayed dead after its work";
}

TEST_F(UnitLogCommandsTest, UnitTypeZeroFallsBackToSingleReadsAndGivesUpAfterThreeTries) {
    reply_on("/LOGINFO", "UnitType=0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\nLogRecords=8");
    reply_on("/m99", "0");
    page->Command6->click();
    EXPECT_EQ(after_logon(),
              QStringList({"/access:318406", "/LOGINFO", "/LOADQUICK", "/m99", "/access:318406",
                           "/m99", "/access:318406", "/m99", "/access:318406", "/LOADNORM"}));
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text,
              "Unable to get system information\r\nPlease remove the serial cable, wait for "
              "system UPDATING message\r\nthen reconnect RS232 serial cable and try again");
    EXPECT_EQ(dialogs.prompts[0].title, "Get Log Information Error");
}

TEST_F(UnitLogCommandsTest, ClockUnitsShowTheirClockAndTakeTheirOwnModel) {
    // A CSO unit is known as one where the program asks ("/ISCSO"), outside the VeltoLog identity.
    const struct {
        UnitKind kind;
        int16_t software_mode;
        int model;
        bool chart_units;
    } table[] = {
        {UnitKind::Cso, 1, 14, true},
        {UnitKind::Krestel, 0, 40, true},
        {UnitKind::Quorvantix, 0, 43, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(unitsim::kind_name(row.kind).toStdString());
        make_unit(row.kind);
        shell().software_mode = row.software_mode;
        page->Command6->click();
        const QStringList sent = after_logon();
        EXPECT_EQ(std::tuple(log_setup().unit_type, page->model_options[row.model]->isChecked(),
                             log_setup().log_memory_bytes),
                  std::tuple(int16_t(row.model), true, 262144.0));
        EXPECT_TRUE(sent.contains("/p92") && !sent.contains("/m92"));
        EXPECT_EQ(sent.contains("/P104"), row.chart_units);
        EXPECT_EQ(page->unit_clock_labels[0]->text() + "|" + page->unit_clock_labels[1]->text(),
                  "Unit Date (DDMMYY) : 041226|Unit Time (HHMM) : 0930");
    }
}

TEST_F(UnitLogCommandsTest, ALinkFailureEndsTheReadAtOnceAndLeavesNothingBusy) {
    dead_on("/P104");
    page->Command6->click();
    const QStringList sent = after_logon();
    EXPECT_TRUE(sent.last() == "/P104" && !sent.contains("/LOADNORM"));
    EXPECT_FALSE(link().quiet_commands || log_view.busy_panel_shown);
    EXPECT_EQ(text4(7), "") << "days left computed from a failed read";
}

TEST_F(UnitLogCommandsTest, GetUnitInfoResetsThePageThenReads) {
    for (const char* command : {"/access:318406", "/p154:20", "/p155:1"})
        unit().handle(command);
    choose({0, 1}, "7");
    page->get_unit_info_button->click();
    EXPECT_EQ(log_view.busy_messages.front(), "\r\n\r\n\r\nPlease wait...");
    EXPECT_FALSE(log_view.busy_message_shown);
    EXPECT_EQ(std::tuple(page->setup_boxes[2]->text(), page->wrap_box->isChecked(),
                         page->channel_boxes[1]->isChecked(), page->get_unit_info_button->isEnabled()),
              std::tuple(QString("20"), true, false, true));
}

// ---- Clear and simulate ----

TEST_F(UnitLogCommandsTest, ClearingAsksTwiceAndAFailedClearNeverLeavesCommandsQuiet) {
    unit().log().simulate(50, unit_now);
    // Enter (no answer left) keeps the log: No is the default of both questions.
    const struct {
        std::vector<Answer> answers;
        size_t questions;
    } refusals[] = {{{Answer::No}, 1}, {{Answer::Yes, Answer::No}, 2}, {{}, 1}, {{Answer::Yes}, 2}};
    for (const auto& row : refusals) {
        SCOPED_TRACE(testing::Message() << row.answers.size() << " answers");
        sim->clear_received();
        dialogs.prompts.clear();
        dialogs.answers.assign(row.answers.begin(), row.answers.end());
        page->Command7->click();
        EXPECT_TRUE(sim->received().isEmpty() && !link().quiet_commands)
            << "the unit was told to clear its log without two Yes answers";
        EXPECT_EQ(dialogs.prompts.size(), row.questions) << "the clear went on after a No";
    }
    const QString refused = "The unit did not accept the command.\r\rCheck the connection and "
                            "try again.";
    // A log-on on a dead link is told by the link, not as the unit's refusal (the log
    // information read after it tries again).
    make_unit(UnitKind::Level);
    dead_on("/access:*");
    dialogs.answers = {Answer::Yes, Answer::Yes};
    page->Command7->click();
    EXPECT_FALSE(dialogs.messages().contains(refused));
    for (bool dead : {false, true}) {
        SCOPED_TRACE(testing::Message() << "dead link " << dead);
        make_unit(UnitKind::Level);
        unit().log().simulate(50, unit_now);
        dialogs.prompts.clear();
        sim->misbehave_on("/clearlog", dead ? Misbehaviour::silence() : Misbehaviour::refusal());
        dialogs.answers = {Answer::Yes, Answer::Yes};
        page->Command7->click();
        EXPECT_EQ(after_logon(), QStringList(dead ? 3 : 1, "/clearlog"));
        // A dead link is told once, by the link, and not again as the unit's refusal.
        EXPECT_EQ(fields(dialogs.messages().mid(2).join('|'), link().quiet_commands,
                         unit().log().records().size()),
                  fields(dead ? "No reply from the unit. Check the cable and the port settings."
                              : refused,
                         false, 50u));
    }
    make_unit(UnitKind::Level);
    unit().log().simulate(50, unit_now);
    restart();
    dialogs.answers = {Answer::Yes, Answer::Yes};
    page->Command7->click();
    EXPECT_EQ(fields(unit().log().records().size(), dialogs.messages().mid(2).join("|"),
                     after_logon().contains("/LOGINFO"), text4(6), link().quiet_commands),
              fields(0u, "The log data in the unit has been cleared.", true, "", false));
}

TEST_F(UnitLogCommandsTest, SimulatedRecordsAreThereForTheNextRead) {
    unit().set_simulated_records(240);
    page->simulate_log_button->click();
    EXPECT_EQ(after_logon(), QStringList({"/simlog:1"}));
    page->Command6->click();
    EXPECT_TRUE(text4(6) == "240" && page->get_log_data_button->isEnabled());

    page->set_action(LogSetupAction::GetLogData, {});
    page->Command6->click();
    EXPECT_FALSE(page->get_log_data_button->isEnabled())
        << "the download button is offered although no download can run";
}

// ---- The unit's clock and chart units ----

TEST_F(UnitLogCommandsTest, ChartUnitsComeFromTheUnitsOwnSettings) {
    for (auto [parameter, value] : {std::pair{104, 1}, {605, 4}, {706, 3}, {707, 2}, {823, 5}})
        unit().set_value(parameter, value);
    open_port();
    query_chart_units(true);
    EXPECT_EQ(chart_settings_trailer(log_setup().chart_units), "~0|3|2|4|3|4|0");
    EXPECT_EQ(sim->received(), QStringList({"/P104", "/M605", "/M706", "/M707", "/M823"}));

    // A pumped-volume model's totaliser follows its volume unit; nothing more is asked.
    sim->clear_received();
    reset_chart_settings();
    page->select_model_option(4);
    query_chart_units(true);
    EXPECT_EQ(sim->received(), QStringList({"/P104", "/M605"}));
    EXPECT_EQ(chart_settings_trailer(log_setup().chart_units), "~0|0|0|4|4|3|0");

    // A length unit outside 1..5 gives millimetres; a link failure keeps what was read.
    sim->clear_received();
    reset_chart_settings();
    page->select_model_option(2);
    reply_on("/P104", "9");
    dead_on("/M707");
    query_chart_units(true);
    EXPECT_EQ(chart_settings_trailer(log_setup().chart_units), "~2|3|0|4|3|3|0");
    EXPECT_EQ(sim->received().last(), "/M707");
}

// A "NO" where a unit belongs gives that unit its default and the read goes on; only the flow
// time unit's ends it, the flow time unit and the multiplier keeping what they had.
TEST_F(UnitLogCommandsTest, AChartUnitThatIsNoNumberTakesItsDefaultAndOnlyTheFlowTimeEndsTheRead) {
    for (auto [parameter, value] : {std::pair{104, 1}, {605, 4}, {706, 3}, {707, 2}, {823, 5}})
        unit().set_value(parameter, value);
    open_port();
    const struct {
        const char* command;
        bool all_read;
        const char* trailer;
    } table[] = {
        {"/P104", true, "~2|3|2|4|3|4|0"}, {"/M605", true, "~0|3|2|0|3|4|0"},
        {"/M706", true, "~0|0|2|4|0|4|0"}, {"/M707", false, "~0|3|4|4|3|9|0"},
        {"/M823", true, "~0|3|2|4|3|3|0"},
    };
    for (const auto& row : table) {
        sim->clear_received();
        log_setup().chart_units = {4, 6, 4, 9, 6, 9, 0};
        sim->misbehave_on(row.command, Misbehaviour::refusal(), 1);
        const bool all_read = query_chart_units(true);
        EXPECT_EQ(fields(all_read, sim->received().last(),
                         chart_settings_trailer(log_setup().chart_units)),
                  fields(row.all_read, row.all_read ? "/M823" : row.command, row.trailer))
            << "a \"NO\" to " << row.command;
    }
}

TEST_F(UnitLogCommandsTest, AFlowTimeUnitThatIsNoNumberEndsTheChartUnitsReadWithoutChanges) {
    for (auto [parameter, value] : {std::pair{104, 1}, {605, 4}, {706, 3}, {823, 5}})
        unit().set_value(parameter, value);
    reply_on("/M707", "ERR");
    open_port();
    log_setup().chart_units.flow_time_unit_index = 2;
    log_setup().chart_units.totaliser_multiplier_index = 6;
    EXPECT_FALSE(query_chart_units(true));
    EXPECT_EQ(sim->received().last(), "/M707")
        << "the read went on after a reply that is no number";
    EXPECT_EQ(std::tuple(log_setup().chart_units.flow_time_unit_index,
                         log_setup().chart_units.totaliser_multiplier_index),
              std::tuple(int16_t{2}, int16_t{6}))
        << "the stored units were overwritten";
}
