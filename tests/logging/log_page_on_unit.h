#pragma once
// The log set-up page as the main window leaves it at start-up in software mode 0, with its work
// with the unit installed, on the link's simulated unit. The unit's clock stands at unit_now with
// its log empty, and a recording stand-in takes the main window's busy display.
#include "simulated_unit.h"

#include "logging/chart_units.h"
#include "logging/log_channels.h"
#include "logging/log_setup_page.h"
#include "logging/log_setup_state.h"
#include "logging/log_unit_view.h"
#include "logging/unit_log_commands.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

inline const QDateTime unit_now(QDate(2026, 12, 4), QTime(9, 30, 10));

class LogPageOnUnitTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        shell().login_passcode = "318406";
        shell().software_mode = 0;
        reset_log_setup_state();
        for (auto& r : definitions_table())
            r.text.clear();
        platform::number_separators() = {};
        load_language_lists();
        init_log_channel_bytes();
        init_log_channel_decimals();
        log_setup().duration_multiplier = getDurationMult(0);
        set_log_unit_view(&log_view);
        fix_unit_clock();
        page = std::make_unique<LogSetupPage>();
        page->setup_boxes[2]->setText("0");
        page->select_model_option(2);
        page->channel_boxes[31]->setChecked(true);
        commands = std::make_unique<UnitLogCommands>(*page);
        commands->install();
    }
    void TearDown() override {
        commands.reset();
        page.reset();
        set_log_unit_view(nullptr);
        SimulatedUnitTest::TearDown();
    }

    void fix_unit_clock() {
        unit().set_now_source([] { return unit_now; });
        unit().log().clear(unit_now.date());
    }
    unitsim::UnitCore& unit() { return sim->unit(); }

    RecordingLogUnitView log_view;
    std::unique_ptr<LogSetupPage> page;
    std::unique_ptr<UnitLogCommands> commands;
};
