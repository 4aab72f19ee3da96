#pragma once
// The log set-up page as the main window leaves it at start-up in software mode 0, with its work
// with the unit installed, on the link's simulated unit. The unit's clock stands at unit_now with
// its log empty, and a recording stand-in takes the main window's busy display.
#include "simulated_unit.h"

#include "logging_test.h"

inline const QDateTime unit_now(QDate(2026, 12, 4), QTime(9, 30, 10));

class LogPageOnUnitTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        shell().login_passcode = "318406";
        shell().software_mode = 0;
        fresh_log_setup();
        load_language_lists();
        set_log_unit_view(&log_view);
        fix_unit_clock();
        page = start_up_log_page();
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
