#pragma once
// The log set-up page's work with the unit: set up the logger and its clock ("Setup Unit"), read
// the log information ("Get Log Info from Unit", "Get Unit Info"), clear and simulate the log,
// and read the unit's chart units. Everything goes through the command link, one command at a
// time; every wait lets events run, which is why the page's buttons are disabled meanwhile.

#include "logging/unit_log_rules.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <functional>

class LogSetupPage;

namespace logsetup {
// Where the PC's date and time for the unit's clock come from (tests fix it); an empty function
// goes back to the system clock.
void set_pc_clock_source(std::function<QDateTime()> now);
} // namespace logsetup

// Reads the unit's clock and date order into log_setup() (unit_date_text, unit_time_text,
// unit_date_format). The caller has logged on; the unit is left in quick mode. False when the
// link failed (the link has told the user); the reads made so far are kept.
bool getdatetime();

// Reads the chart units from the unit's own settings into log_setup().chart_units, logging on
// first unless `already_connected`. A reply without a number gives that unit its default, except
// the flow time unit's, which ends the read like a link failure: nothing more is asked and the
// units not read yet keep their values. True when every unit was read.
bool query_chart_units(bool already_connected);

class UnitLogCommands : public QObject {
public:
    explicit UnitLogCommands(LogSetupPage& page, QObject* parent = nullptr)
        : QObject(parent), page_(page) {}

    // Installs the handlers below as the page's button actions.
    void install();

    // "Setup Unit": checks the page, refuses a unit of another model (before its log is
    // touched), clears the log, offers to set a clock unit's clock, and writes the channel
    // masks, interval and wrapping. Stops at the first failed command and says which.
    void Command5_Click();
    // "Get Log Info from Unit": fills the page and the log globals from the unit's logger.
    void Command6_Click();
    // "Clear Log Data in Unit", after two confirmations; then reads the log information.
    void Command7_Click();
    // "Simulate Log Data".
    void Command10_Click();
    // "Get Unit Info": resets the page, then reads the log information.
    void Command11_Click();

    // The check of the page's mask and interval boxes; `message` is what to show when it fails.
    bool setup_data_valid(QString& message) const;

private:
    // The set-up's writes as judged before the unit's log is cleared: the mask words and the
    // interval, and the wrapping (ticked or greyed writes 1).
    struct SetupWrites {
        logsetup::SetupCheck entries;
        bool wrapping = false;
    };
    logsetup::SetupCheck check_page() const;
    void set_setup_buttons_enabled(bool enabled);
    void close_setup();
    void close_log_info(bool send_loadnorm);
    bool setup_clock_branch(const SetupWrites& writes);
    bool setup_model_branch(const SetupWrites& writes);
    bool send_setup_writes(const SetupWrites& writes, bool clock_unit);
    bool clear_unit_log_for_setup();
    void clear_read_outs();

    LogSetupPage& page_;
};

// Gives the page its work with the unit, for as long as the page lives.
void install_unit_log_commands(LogSetupPage& page);
