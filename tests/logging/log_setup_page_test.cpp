#include "logging_test.h"

namespace {

class LogSetupPageTest : public LoggingTest {
protected:
    void SetUp() override {
        reset_shell_state();
        shell().software_mode = 0;
        LoggingTest::SetUp();
        reset_link_state();
        page = start_up_log_page();
    }

    QString text1(int i) { return page->setup_boxes[i]->text(); }
    QString masks() { return text1(3) + "/" + text1(4) + "/" + text1(5); }
    static bool own(QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }
    bool enabled(int box) { return own(page->channel_boxes[static_cast<size_t>(box)]); }
    bool frame_enabled(int f) { return own(page->channel_frames[f]); }
    // The boxes ticked, and those the user can tick.
    std::set<int> boxes(bool offered) {
        std::set<int> s;
        for (int c = 0; c < 48; ++c)
            if (offered ? enabled(c) && !page->channel_boxes[size_t(c)]->isHidden()
                        : page->channel_boxes[size_t(c)]->isChecked())
                s.insert(c);
        return s;
    }
    std::set<int> ticked() { return boxes(false); }
    std::set<int> offered() { return boxes(true); }
    void tick(std::initializer_list<int> boxes) {
        for (int c : boxes)
            page->channel_boxes[static_cast<size_t>(c)]->setChecked(true);
    }

    std::unique_ptr<LogSetupPage> page;
    const std::set<int> basics = {0, 1, 2, 3, 4, 5, 6, 7, 17, 19, 21, 31};
};

} // namespace

TEST_F(LogSetupPageTest, TickingBoxesByCodeComputesTheRecord) {
    EXPECT_EQ(ticked(), std::set<int>{31});
    EXPECT_TRUE(page->channel_boxes[32]->isHidden() && page->channel_boxes[33]->isHidden());
    const struct {
        int box;
        bool on;
        const char *bytes, *masks;
    } steps[] = {
        {31, true, "3", "0/32768/0"},   {0, true, "5", "1/32768/0"},
        {7, true, "6", "129/32768/0"},  {19, true, "7", "129/32776/0"},
        {0, false, "5", "128/32776/0"}, {31, false, "5", "128/32776/0"}, // the time stamp stays
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(testing::Message() << "box " << s.box << (s.on ? " ticked" : " unticked"));
        page->channel_boxes[static_cast<size_t>(s.box)]->setChecked(s.on);
        EXPECT_EQ(text1(0), s.bytes) << "the page showed another record size than the unit logs";
        EXPECT_EQ(masks(), s.masks);
        EXPECT_TRUE(page->channel_boxes[31]->isChecked());
    }
}

TEST_F(LogSetupPageTest, SelectAllTicksWhatTheModelOffersAndClearLeavesTheTimeStamp) {
    for (QCheckBox* b : page->channel_boxes)
        b->setEnabled(true);
    page->Command1_Click();
    EXPECT_EQ(text1(0) + " " + masks(), "93 65535/65535/65532")
        << "never-logged channels 32 and 33 were selected";
    EXPECT_FALSE(page->channel_boxes[32]->isChecked());
    page->deselect_all();
    EXPECT_EQ(std::tuple(ticked(), text1(0)), std::tuple(std::set<int>{31}, QString("3")));

    page->select_model_option(5);
    page->Command1_Click();
    EXPECT_EQ(ticked(),
              (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 17, 19, 21, 24, 25, 26, 29, 30, 31}));
    EXPECT_EQ(text1(0), "32");
}

TEST_F(LogSetupPageTest, IntervalAndWrappingGiveTheDuration) {
    // The spinner steps the interval within 0..1440, the whole minutes the unit keeps; from a
    // number the box does not take it steps to the next one it takes, never back the other way.
    page->UpDown1->up_button()->click();
    EXPECT_EQ(text1(2) + " " + text1(1), "1 45.7");
    page->UpDown1->down_button()->click();
    page->UpDown1->down_button()->click();
    EXPECT_EQ(text1(2), "0");
    const struct {
        const char* from;
        int direction;
        const char* to;
    } steps[] = {{"1440", 1, "1440"}, {"1439", 1, "1440"}, {"7.5", 1, "8"},
                 {"7.5", -1, "7"},    {"-1", -1, "-1"},    {"-1", 1, "0"},
                 {"2000", 1, "2000"}, {"2000", -1, "1440"}};
    for (const auto& c : steps) {
        page->setup_boxes[2]->setText(c.from);
        page->UpDown1->step(c.direction);
        EXPECT_EQ(text1(2), c.to) << c.from << (c.direction > 0 ? " up" : " down");
    }

    const struct {
        const char* interval;
        bool wrapping;
        const char* duration;
        bool wrap_line;
    } cases[] = {
        {"1", false, "45.7", false},   {"30", true, "1370.0", true},
        {"0.1", true, "", false}, // no duration for what the box would not take
        {"0.04", true, "", false},     {"0", true, "0.0", false},
        {"10", false, "456.7", false}, {"abc", true, "", false},
        {"-1", true, "", false},       {"1440", false, "65760.0", false},
        {"1441", true, "", false},
    };
    page->setup_boxes[2]->setText("10");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "interval " << c.interval << " wrapping " << c.wrapping);
        page->wrap_box->setChecked(c.wrapping);
        page->setup_boxes[2]->setText(c.interval);
        EXPECT_EQ(text1(1), c.duration);
        EXPECT_EQ(!page->Label1[6]->isHidden(), c.wrap_line)
            << "the latest-log line showed without days to keep, or hid with them";
    }
    tick({0});
    EXPECT_EQ(text1(1), "") << "a box click showed a negative number of days";
    page->channel_boxes[0]->setChecked(false);
    page->setup_boxes[2]->setText("1");
    page->wrap_box->setChecked(true);
    EXPECT_TRUE(page->Label1[6]->text().contains(" 36 "));

    platform::number_separators() = {QStringLiteral(","), QStringLiteral("."), "de_DE"};
    page->deselect_all();
    // Typed key by key, the read-out follows only what the box would take: "2." and "2.5" are
    // no numbers in German, "2,5" no whole number of minutes; none shows the figure for 2.
    for (const auto& [typed, duration] :
         {std::pair{"2", "91,3"}, {"2.", ""}, {"2.5", ""}, {"2,", "91,3"}, {"2,5", ""}}) {
        page->setup_boxes[2]->setText(typed);
        EXPECT_EQ(fields(text1(1), log_setup().log_interval), fields(duration, 2)) << typed;
    }
    // An arrow steps from the number typed; from the other notation it does not step at all.
    page->UpDown1->step(1);
    page->setup_boxes[2]->setText("0.5");
    page->UpDown1->step(1);
    EXPECT_EQ(fields(text1(2), log_setup().log_interval), fields("0.5", 3))
        << "0.5 in a German locale was stepped from as another number";
    platform::number_separators() = {};
}

TEST_F(LogSetupPageTest, ChoosingAModelClearsTheSelectionAndRebuildsItsFlags) {
    page->select_model_option(4);
    tick({0, 8, 22, 24});
    EXPECT_EQ(text1(0), "13");
    page->model_options[1]->click(); // the user's click runs the same handler
    EXPECT_EQ(std::tuple(ticked(), text1(0), log_setup().unit_type),
              std::tuple(std::set<int>{31}, QString("3"), int16_t{1}));

    page->select_model_option(13);
    log_setup().capabilities.negative_totalisers_option = true; // e.g. left by a log header
    log_setup().relay_count = 0;
    page->select_model_option(13);
    EXPECT_EQ(std::tuple(log_setup().capabilities.negative_totalisers_option,
                         log_setup().relay_count, enabled(34)),
              std::tuple(false, int16_t{6}, true));

    EXPECT_FALSE(page->select_model_option(25));
    for (auto& [i, o] : page->model_options)
        EXPECT_FALSE(o->isChecked()) << "option " << i;
    EXPECT_EQ(log_setup().unit_type, 25);
}

TEST_F(LogSetupPageTest, MilliampBoxOffersTheInputChannel) {
    page->select_model_option(4);
    EXPECT_TRUE(page->ma_input_box->isEnabled() && !enabled(16));
    page->ma_input_box->setChecked(true);
    EXPECT_TRUE(log_setup().capabilities.ma_input_available && enabled(16));
    tick({16});
    EXPECT_EQ(text1(0), "4");

    page->select_model_option(1);
    EXPECT_FALSE(page->ma_input_box->isChecked() || page->ma_input_box->isEnabled() ||
                 log_setup().capabilities.ma_input_available || enabled(16));
}

TEST_F(LogSetupPageTest, LiteFormWithdrawsPointTwoAndItsChannelsLeaveTheRecordAtOnce) {
    const struct {
        int model;
        std::set<int> withdrawn;
        const char* bytes; // with boxes 8 and 22 ticked
    } cases[] = {
        {8, {8, 9, 10, 11, 12, 13, 14, 15}, "5"},
        {3, {8, 9, 10, 11, 12, 13, 14, 15, 22, 23}, "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model " << c.model);
        page->select_model_option(c.model);
        tick({8, 22});
        EXPECT_EQ(text1(0), c.bytes);
        ASSERT_FALSE(page->lite_unit_box->isHidden());
        page->lite_unit_box->setChecked(true);
        EXPECT_TRUE(link().lite_unit);
        for (int b : c.withdrawn)
            EXPECT_FALSE(enabled(b)) << "box " << b;
        EXPECT_FALSE(frame_enabled(1));
        EXPECT_EQ(text1(0) + " " + masks(), "3 0/32768/0")
            << "the unit would be told to log channels the page withdrew";
        page->lite_unit_box->setChecked(false);
        for (int b : c.withdrawn)
            EXPECT_TRUE(enabled(b)) << "box " << b;
        EXPECT_TRUE(frame_enabled(1));
        EXPECT_EQ(text1(0), c.bytes);
    }
    // A model without a Lite form drops the box.
    page->lite_unit_box->setChecked(true);
    page->select_model_option(7);
    EXPECT_TRUE(page->lite_unit_box->isHidden() && !page->lite_unit_box->isChecked());
    EXPECT_FALSE(link().lite_unit);
}

TEST_F(LogSetupPageTest, SpecialModelsRelabelOrFlagThePageUntilAnotherModel) {
    page->select_model_option(43);
    EXPECT_TRUE(link().quorvantix_unit && !enabled(0));
    page->select_model_option(40);
    EXPECT_TRUE(!link().quorvantix_unit && link().radar_unit && enabled(0));

    page->select_model_option(15);
    EXPECT_EQ(page->channel_frames[0]->title() + "|" + page->channel_boxes[5]->text(),
              "Hesvarin Channels|Input B");
    EXPECT_TRUE(!frame_enabled(2) && frame_enabled(5));

    page->select_model_option(5);
    EXPECT_EQ(page->channel_frames[0]->title() + "|" + page->channel_boxes[5]->text() + "|" +
                  page->channel_frames[5]->title(),
              "Point 1|Avg Noise|Totalisers 1");
}

TEST_F(LogSetupPageTest, CsoLockKeepsOnlyTheCsoModelAndChannelsWhileTheUnitIsOne) {
    page->select_model_option(1);
    page->disable_controls_for_cso();
    EXPECT_EQ(offered(), basics) << "without a CSO unit, channels the model cannot log came back";

    link().cso_unit = true;
    link().flow_mode = true;
    link().p61_is_1 = true;
    page->select_model_option(14);
    page->disable_controls_for_cso();
    EXPECT_TRUE(own(page->model_options[14]) && own(page->model_options[0]));
    for (int i = 1; i <= 13; ++i)
        EXPECT_FALSE(own(page->model_options[i])) << "option " << i;
    EXPECT_TRUE(!own(page->ma_input_box) && page->channel_boxes[28]->isHidden());
    EXPECT_EQ(offered(), (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 17, 19, 21, 29, 30, 31}));

    page->update_log_setup();
    EXPECT_TRUE(!page->channel_boxes[28]->isHidden() && frame_enabled(9));
    EXPECT_FALSE(own(page->model_options[3])) << "a refresh unlocked the models of a CSO unit";

    // Another unit that is not a CSO unit: its models can be chosen again.
    link().cso_unit = false;
    page->select_model_option(4);
    for (int i = 1; i <= 13; ++i)
        EXPECT_TRUE(own(page->model_options[i])) << "option " << i << " stayed locked after the CSO unit";
}

TEST_F(LogSetupPageTest, LoadedLogTicksItsChannels) {
    auto& s = log_setup();
    page->select_model_option(13);
    s.channel_mask_1 = 129;   // level and temperature of point 1
    s.channel_mask_2 = 32768; // time stamp
    s.channel_mask_3 = 64;    // flow 2
    s.log_interval = 15;
    s.log_wrapping = 1;
    s.log_start_date_text = "05/12/2026";
    page->getlogbytes();
    EXPECT_EQ(ticked(), (std::set<int>{0, 7, 31, 40}));
    EXPECT_EQ(std::tuple(s.record_bytes, masks(), text1(2), text1(7), page->wrap_box->isChecked()),
              std::tuple(int16_t{8}, QString("129/32768/64"), QString("15"), QString("05/12/2026"),
                         true));
    EXPECT_TRUE(s.log_channel_table.enabled[40] && !s.log_channel_table.enabled[41]);

    // The same log on a model without flow 2: the box is ticked but not counted.
    page->select_model_option(0);
    s.log_wrapping = 0;
    page->getlogbytes();
    EXPECT_EQ(std::tuple(page->channel_boxes[40]->isChecked(), s.record_bytes, page->wrap_box->isChecked()),
              std::tuple(true, int16_t{6}, false));
}

TEST_F(LogSetupPageTest, WithdrawnScreenChannelsStayWithdrawn) {
    page->select_model_option(13);
    tick({18, 34});
    page->withdraw_for_cso_screen({16, 18, 19, 20, 34}, {1, 12});
    EXPECT_TRUE(!page->channel_boxes[18]->isChecked() && text1(0) == "3");
    page->select_model_option(13);
    for (int b : {16, 18, 19, 20, 34})
        EXPECT_TRUE(page->channel_boxes[static_cast<size_t>(b)]->isHidden()) << "box " << b;
    EXPECT_TRUE(page->channel_frames[1]->isHidden() && page->channel_frames[12]->isHidden() &&
                !page->channel_frames[14]->isHidden());
}

TEST_F(LogSetupPageTest, ButtonsOfLaterWorkStayDisabledUntilTheirActionExists) {
    for (auto a :
         {LogSetupAction::GetUnitInfo, LogSetupAction::SetupUnit, LogSetupAction::GetLogInfo,
          LogSetupAction::GetLogData, LogSetupAction::GetLogDataFromFile, LogSetupAction::ClearLog,
          LogSetupAction::SimulateLog})
        EXPECT_FALSE(page->action_button(a)->isEnabled())
            << page->action_button(a)->objectName().toStdString()
            << " looked usable but does nothing";
    EXPECT_TRUE(page->simulate_log_button->isHidden());
    page->get_unit_info(); // start-up presses it by code: nothing may break

    int runs = 0;
    page->set_action(LogSetupAction::GetUnitInfo, [&] { ++runs; });
    EXPECT_TRUE(page->get_unit_info_button->isEnabled());
    page->get_unit_info_button->click();
    page->get_unit_info();
    EXPECT_EQ(runs, 2);
    page->set_action(LogSetupAction::GetUnitInfo, {});
    EXPECT_FALSE(page->get_unit_info_button->isEnabled());
}
