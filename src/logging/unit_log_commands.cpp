#include "logging/unit_log_commands.h"

#include "link/command_link.h"
#include "link/link_commands.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/log_on.h"
#include "link/traffic_log.h"
#include "logging/chart_units.h"
#include "logging/log_channels.h"
#include "logging/log_setup_page.h"
#include "logging/log_setup_state.h"
#include "logging/log_unit_view.h"
#include "logging/logging_constants.h"
#include "logging/model_capabilities.h"
#include "logging/unit_log_rules.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

namespace lc = logging_commands;
using platform::Answer;
namespace mb = platform::mb;

namespace {

const QString CR = QStringLiteral("\r");
const QString CRLF = QStringLiteral("\r\n");
// The progress text shows its message below three empty lines.
const QString BUSY_LINES = CRLF + CRLF + CRLF;

// The last command handed to the link by these exchanges, for the report of a failure.
QString& last_command() {
    static QString command;
    return command;
}

void send(const QString& cmd) {
    last_command() = cmd;
    send_command(cmd);
}

void send_plain(const QString& cmd) {
    last_command() = cmd;
    send_command_plain(cmd);
}

bool link_failed() {
    return link().comms_abort;
}

bool reply_accepted() {
    return link().reply_buffer.contains(QLatin1String("OK"), Qt::CaseInsensitive);
}

// The whole part of a numeric reply; 0 when the reply is no number.
int reply_integer(const QString& reply) {
    const auto v = platform::read_number_c(reply);
    if (!v || std::fabs(*v) > 1e9)
        return 0;
    return static_cast<int>(std::trunc(*v));
}

bool clock_unit() {
    const LinkState& L = link();
    return L.cso_unit || L.radar_unit || L.quorvantix_unit;
}

QString access_command() {
    return lc::ACCESS + link_commands::ACCESS_CODE;
}

// One ask for the unit type with `cmd`: `value` takes a numeric reply (else it keeps what it
// held), and a type still 0 is followed by the access command, as the unit may have logged off.
// False on a link failure.
bool ask_unit_type(const QString& cmd, int& value) {
    send(cmd);
    if (link_failed())
        return false;
    if (platform::read_number_c(link().reply_buffer))
        value = reply_integer(link().reply_buffer);
    if (value == 0) {
        send(access_command());
        if (link_failed())
            return false;
    }
    return true;
}

// A command as the user may read it: the access code is not shown.
QString shown_command(const QString& cmd) {
    QString shown = cmd;
    shown.replace(link_commands::ACCESS_CODE, QString(link_commands::ACCESS_CODE.size(), '*'));
    return shown;
}

// The set-up stops at the write the unit refused and says which value it refused: the line is
// sound, but the unit's log is gone and its logger not set up.
void report_refused_setup_write(const QString& cmd) {
    log_unit_view().hide_busy_message();
    platform::msg_box(logsetup::refused_setup_write_message(cmd), mb::Critical,
                      ui_text(1146, QStringLiteral("Unit Setup")));
}

// Runs set-up exchanges whose link failure the set-up tells itself, saying where it stopped
// (stop_setup_at_lost_link): the link keeps its own message back, so that one failure is told
// once.
bool told_by_setup(const std::function<bool()>& exchange) {
    LinkState& L = link();
    const LinkState::FailureMessage failure_message = L.failure_message;
    L.failure_message = LinkState::FailureMessage::Held;
    const bool done = exchange();
    L.failure_message = failure_message;
    L.held_failure_message.clear();
    return done;
}

void send_told_by_setup(const QString& cmd) {
    told_by_setup([&] {
        send(cmd);
        return !link_failed();
    });
}

// The link gave up at `cmd`: the unit is not to blame, and may be half set up. A unit left in
// quick-load mode is put back into its normal mode first (it may have missed only that command),
// so that a message nobody answers does not keep it there.
void stop_setup_at_lost_link(const QString& cmd) {
    return_to_normal_mode();
    log_unit_view().hide_busy_message();
    platform::msg_box(
        ui_text(2004,
                QStringLiteral("The connection to the unit was lost during the set-up at the "
                               "command")) +
            CRLF + shown_command(cmd) + CRLF + CRLF +
            ui_text(2005, QStringLiteral("The unit may be set up only in part. Check the cable "
                                         "and run Setup Unit again.")),
        mb::Critical, ui_text(1146, QStringLiteral("Unit Setup")));
}

// Normal mode and logged off, so that a refused set-up does not leave the unit in quick mode with
// its access open. Nothing is sent over a dead link.
void leave_unit() {
    if (link_failed())
        return;
    send(lc::LOADNORM);
    if (!link_failed())
        send(lc::ACCESS_OFF);
}

// One command of the set-up: the link must carry it and, for a write, the unit must not refuse it
// (a write is refused only by "NO", as everywhere else; an echo of the value is no refusal, and
// line noise, even noise holding "NO", is an answer that could not be read). A refusal or an
// unreadable answer leaves the unit as leave_unit() does; every failure is reported once.
bool setup_step(const QString& cmd, bool must_accept) {
    send_told_by_setup(cmd);
    if (link_failed()) {
        stop_setup_at_lost_link(cmd);
        return false;
    }
    if (must_accept && !reply_understood(link().reply_buffer)) {
        leave_unit();
        log_unit_view().hide_busy_message();
        tell_reply_not_understood();
        return false;
    }
    if (must_accept && write_refused(link().reply_buffer)) {
        leave_unit();
        report_refused_setup_write(cmd);
        return false;
    }
    return true;
}

std::function<QDateTime()>& pc_clock() {
    static std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
    return clock;
}

QString caption_of(const LogSetupPage& page, int model) {
    const auto it = page.model_options.find(model);
    if (it == page.model_options.end())
        return QString::number(model);
    QString caption = it->second->text();
    caption.replace(QLatin1String("&&"), QString(QChar(1)));
    caption.remove(QLatin1Char('&'));
    caption.replace(QChar(1), QLatin1Char('&'));
    return caption;
}

} // namespace

namespace logsetup {

void set_pc_clock_source(std::function<QDateTime()> now) {
    pc_clock() = now ? std::move(now) : [] { return QDateTime::currentDateTime(); };
}

} // namespace logsetup

// ---- The unit's clock and chart units ----

bool getdatetime() {
    LogSetupState& s = log_setup();
    send(lc::LOADNORM);
    if (link_failed())
        return false;
    send(lc::UNIT_DATE);
    if (link_failed())
        return false;
    s.unit_date_text = link().reply_buffer;
    send(lc::UNIT_TIME);
    if (link_failed())
        return false;
    s.unit_time_text = link().reply_buffer;
    send(lc::DATE_ORDER);
    if (link_failed())
        return false;
    if (const auto format = logsetup::date_format_from_reply(link().reply_buffer))
        s.unit_date_format = *format;
    send(lc::LOADQUICK);
    return !link_failed();
}

bool query_chart_units(bool already_connected) {
    using namespace logsetup;
    ChartUnitSettings& u = log_setup().chart_units;
    if (!already_connected)
        connect_to_unit(true);
    // A unit without one of these settings answers "NO": that unit takes its default (the
    // readers below) and the read goes on to the next.
    auto ask = [](const QString& cmd) {
        send(cmd);
        return !link_failed();
    };
    if (!ask(lc::LENGTH_UNIT))
        return false;
    u.distance_unit_index = distance_unit_from_reply(link().reply_buffer);
    if (!ask(lc::VOLUME_UNIT))
        return false;
    u.volume_unit_index = volume_unit_from_reply(link().reply_buffer);
    if (log_setup().capabilities.pumped_volume_option) {
        u.totaliser_unit_index = pumped_totaliser_unit_from_reply(link().reply_buffer);
        return true;
    }
    if (!ask(lc::FLOW_VOLUME_UNIT))
        return false;
    u.flow_volume_unit_index = flow_volume_unit_from_reply(link().reply_buffer);
    u.totaliser_unit_index = u.flow_volume_unit_index;
    if (!ask(lc::FLOW_TIME_UNIT))
        return false;
    // The flow time unit is the one reply taken as a number before it is made whole: one without
    // a number ends the read, the flow time unit and the multiplier keeping what they had.
    if (!platform::read_number_c(link().reply_buffer))
        return false;
    u.flow_time_unit_index = flow_time_unit_from_reply(link().reply_buffer);
    if (!ask(lc::TOTALISER_MULTIPLIER))
        return false;
    u.totaliser_multiplier_index = totaliser_multiplier_from_reply(link().reply_buffer);
    return true;
}

// ---- The page's buttons ----

void UnitLogCommands::install() {
    page_.set_action(LogSetupAction::SetupUnit, [this] { Command5_Click(); });
    page_.set_action(LogSetupAction::GetLogInfo, [this] { Command6_Click(); });
    page_.set_action(LogSetupAction::ClearLog, [this] { Command7_Click(); });
    page_.set_action(LogSetupAction::SimulateLog, [this] { Command10_Click(); });
    page_.set_action(LogSetupAction::GetUnitInfo, [this] { Command11_Click(); });
}

void install_unit_log_commands(LogSetupPage& page) {
    (new UnitLogCommands(page, &page))->install();
}

void UnitLogCommands::set_setup_buttons_enabled(bool enabled) {
    for (QPushButton* b : {page_.select_all_button, page_.deselect_all_button,
                           page_.setup_unit_button, page_.get_unit_info_button})
        b->setEnabled(enabled);
}

logsetup::SetupCheck UnitLogCommands::check_page() const {
    return logsetup::check_setup_entries(
        page_.setup_boxes.at(3)->text(), page_.setup_boxes.at(4)->text(),
        page_.setup_boxes.at(5)->text(), page_.setup_boxes.at(2)->text());
}

bool UnitLogCommands::setup_data_valid(QString& message) const {
    const logsetup::SetupCheck check = check_page();
    message = check.message;
    return check.valid;
}

// ---- Setup Unit ----

void UnitLogCommands::Command5_Click() {
    LogUnitView& view = log_unit_view();
    const QString title = ui_text(1146, QStringLiteral("Unit Setup"));
    set_setup_buttons_enabled(false);
    [&] {
        // What the unit is given is judged, and taken, before anything is sent: the page's boxes
        // stay open to the user while the set-up waits for the unit.
        SetupWrites writes{check_page(), page_.wrap_box->checkState() != Qt::Unchecked};
        if (!writes.entries.valid) {
            platform::msg_box(writes.entries.message, mb::Critical, title);
            return;
        }
        if (writes.entries.interval_minutes == 0 &&
            platform::msg_box(logsetup::zero_interval_warning(), mb::OkCancel | mb::Exclamation,
                              title) != Answer::Ok)
            return;
        // Going ahead erases the unit's log: Enter must not do that.
        if (platform::msg_box(logsetup::setup_confirmation(),
                              mb::OkCancel | mb::Critical | mb::DefaultButton2,
                              title) != Answer::Ok)
            return;
        view.show_busy_message(BUSY_LINES + QStringLiteral("Setting up unit. Please wait..."));
        link().cancel_requested = false;
        if (!coms_connected()) {
            // A failure the link or the log-on has told is not told again.
            if (!link().failure_told)
                platform::msg_box(QStringLiteral("Unable to connect to unit. Check connection"),
                                  mb::Critical);
            return;
        }
        traffic().term().clear();
        if (!setup_step(access_command(), false))
            return;
        if (clock_unit())
            setup_clock_branch(writes);
        else
            setup_model_branch(writes);
    }();
    close_setup();
}

bool UnitLogCommands::clear_unit_log_for_setup() {
    send_told_by_setup(lc::CLEARLOG);
    if (!link_failed() && reply_accepted())
        return true;
    if (link_failed()) {
        stop_setup_at_lost_link(lc::CLEARLOG);
        return false;
    }
    leave_unit();
    log_unit_view().hide_busy_message();
    platform::msg_box(ui_text(1126, QStringLiteral("The unit did not accept the command.")) + CR +
                          CR + ui_text(1127, QStringLiteral("Check the connection and try again.")),
                      mb::Information, ui_text(1122, QStringLiteral("Clear Log Data")));
    return false;
}

bool UnitLogCommands::setup_clock_branch(const SetupWrites& writes) {
    LogUnitView& view = log_unit_view();
    const LogSetupState& s = log_setup();
    if (!clear_unit_log_for_setup())
        return false;
    if (!told_by_setup(getdatetime)) {
        stop_setup_at_lost_link(last_command());
        return false;
    }
    // Without the unit's date order the PC's date cannot be put in the unit's terms: the clock is
    // neither shown for comparison nor set.
    if (!s.unit_date_format.isEmpty()) {
        view.hide_busy_message();
        const Answer answer =
            platform::msg_box(logsetup::clock_question(s.unit_date_format, s.unit_date_text,
                                                       s.unit_time_text, pc_clock()()),
                              mb::YesNo | mb::Information | mb::SystemModal);
        if (answer == Answer::Yes) {
            const QDateTime now = pc_clock()();
            if (!setup_step(lc::UNIT_DATE + QLatin1Char(':') +
                                logsetup::unit_date_digits(now, s.unit_date_format),
                            true) ||
                !setup_step(lc::UNIT_TIME + QLatin1Char(':') + logsetup::unit_time_digits(now),
                            true))
                return false;
        }
        view.show_busy_message(BUSY_LINES + QStringLiteral("Setting up unit. Please wait..."));
        link().cancel_requested = false;
    }
    if (!send_setup_writes(writes, true))
        return false;
    view.hide_busy_message();
    platform::msg_box(ui_text(1116, QStringLiteral("The unit has been set up successfully.")),
                      mb::Information);
    link_view().set_status_text(1, QString());
    return true;
}

bool UnitLogCommands::setup_model_branch(const SetupWrites& writes) {
    LogUnitView& view = log_unit_view();
    const LogSetupState& s = log_setup();
    // The model is checked before the log is cleared: a unit that is refused keeps its log.
    if (!setup_step(lc::LOADQUICK, false))
        return false;
    delay_ms(1000);
    if (!setup_step(lc::UNIT_TYPE, false))
        return false;
    const int reported = reply_integer(link().reply_buffer);
    if (!setup_step(lc::MA_INPUT, false))
        return false;
    const bool unit_has_ma =
        reported == 17 || platform::read_number_c(link().reply_buffer).value_or(0) == 1;
    const bool model_differs = reported != s.unit_type;
    const bool ma_differs = unit_has_ma != s.capabilities.ma_input_available;
    if (model_differs || ma_differs) {
        leave_unit();
        view.hide_busy_message();
        platform::msg_box(logsetup::model_mismatch_message(
                              model_differs, caption_of(page_, reported), ma_differs, unit_has_ma),
                          mb::Critical);
        return false;
    }
    if (!clear_unit_log_for_setup() || !send_setup_writes(writes, false))
        return false;
    view.hide_busy_message();
    if (link().lite_unit) {
        exit_comms_bridging(true);
    } else {
        platform::msg_box(ui_text(1116, QStringLiteral("The unit has been set up successfully.")),
                          mb::Information);
        platform::msg_box(
            ui_text(1210,
                    QStringLiteral("Important: disconnect the serial cable from the unit now.")) +
                CRLF +
                ui_text(1451, QStringLiteral("Logging starts once the cable has been removed.")),
            mb::Critical);
    }
    return true;
}

bool UnitLogCommands::send_setup_writes(const SetupWrites& writes, bool clock_unit) {
    const logsetup::SetupCheck& e = writes.entries;
    const QString interval = lc::INTERVAL + e.interval;
    const QString wrapping =
        lc::WRAPPING + (writes.wrapping ? QStringLiteral("1") : QStringLiteral("0"));
    // A clock unit in the CSO identity takes its interval after the return to normal mode; in
    // the other identities it takes it with the other set-up writes, as every other unit does.
    const bool interval_last = clock_unit && shell().software_mode == 2;
    if (!setup_step(lc::MASK_1 + e.masks[0], true) || !setup_step(lc::MASK_2 + e.masks[1], true) ||
        !setup_step(lc::MASK_3 + e.masks[2], true))
        return false;
    if (!interval_last && !setup_step(interval, true))
        return false;
    if (!setup_step(wrapping, true))
        return false;
    if (!setup_step(clock_unit ? lc::LOADNORM_LOWER : lc::LOADNORM, false))
        return false;
    if (interval_last && !setup_step(interval, true))
        return false;
    return setup_step(lc::ACCESS_OFF, false);
}

void UnitLogCommands::close_setup() {
    log_unit_view().hide_busy_message();
    for (QPushButton* b : {page_.setup_unit_button, page_.get_unit_info_button,
                           page_.select_all_button, page_.deselect_all_button})
        b->setEnabled(true);
    link().comms_abort = true;
    link_view().set_progress_value(1, 0);
}

// ---- Get Log Info from Unit ----

void UnitLogCommands::clear_read_outs() {
    for (QLineEdit* box : page_.unit_log_boxes)
        box->clear();
    for (QLabel* label : page_.unit_clock_labels)
        label->clear();
}

void UnitLogCommands::Command6_Click() {
    LogSetupState& s = log_setup();
    LinkState& L = link();
    LogUnitView& view = log_unit_view();
    const LinkState& id = L;
    auto& P92 = definitions_table()[92];
    L.quiet_commands = true;
    if (view.logging_tab_showing())
        view.show_busy_panel(true);
    page_.clear_model_options(1, 22);
    view.set_progress_max(4, 120);
    link_view().set_progress_value(4, 0);
    link_view().set_download_label(QStringLiteral("Getting log info from unit. Please wait..."));
    L.log_download_active = false;
    // What the page showed of another unit, or of this one before, is not left standing when
    // this read fails.
    clear_read_outs();

    // Each read stops at the first link failure; the link has told the user.
    const bool completed = [&] {
        if (!coms_connected())
            return true;
        const auto use_setting = platform::to_bool(read_ini(
            shell().ini_path, ini::SECTION_DEBUG, ini::KEY_USELOGINFO, ini::DEF_USELOGINFO));
        bool use_loginfo = use_setting.value_or(true);
        link_view().set_download_label(QStringLiteral("Talking to comm. card. Please wait..."));
        traffic().term().clear();
        L.log_download_active = false;
        if (id.cso_unit)
            page_.disable_controls_for_cso();
        send(access_command());
        if (link_failed())
            return false;

        int tries = 0;
        if (use_loginfo) {
            L.loginfo_reply_mode = true;
            send(lc::LOGINFO);
            L.loginfo_reply_mode = false;
            if (link_failed())
                return false;
            const auto values = logsetup::parse_loginfo_reply(L.reply_buffer);
            if (!values) {
                platform::msg_box(
                    ui_text(1126, QStringLiteral("The unit did not accept the command.")) + CRLF +
                        lc::LOGINFO + CRLF + CRLF +
                        ui_text(1127, QStringLiteral("Check the connection and try again.")),
                    mb::Critical);
                return true;
            }
            s.unit_type = id.cso_unit ? static_cast<int16_t>(logsetup::CSO_MODEL)
                                      : static_cast<int16_t>(reply_integer((*values)[0]));
            if (s.unit_type == 0) {
                use_loginfo = false;
                send(lc::LOADQUICK);
                if (link_failed())
                    return false;
            } else {
                page_.select_model_option(s.unit_type);
                s.capabilities.ma_input_available =
                    platform::read_number_c((*values)[1]).value_or(0) == 1 || s.unit_type == 17;
                for (int i = 0; i <= 6; ++i) {
                    const QString& v = (*values)[static_cast<size_t>(i) + 2];
                    if (i == 5)
                        s.log_wrapping = logsetup::wrapping_value(v);
                    page_.unit_log_boxes[static_cast<size_t>(i)]->setText(
                        logsetup::text4_value(i, v, true));
                }
            }
        } else {
            send(lc::LOADQUICK);
            if (link_failed())
                return false;
            s.unit_type = 0;
        }

        if (!id.cso_unit && !id.radar_unit && !id.quorvantix_unit) {
            if (!use_loginfo) {
                int value = 0;
                while (s.unit_type == 0 && tries < 3) {
                    L.reply_buffer.clear();
                    if (!ask_unit_type(lc::UNIT_TYPE, value))
                        return false;
                    ++tries;
                    s.unit_type = static_cast<int16_t>(value);
                }
                if (s.unit_type == 0 && shell().software_mode == 0) {
                    platform::msg_box(
                        QStringLiteral("Unable to get system information") + CRLF +
                            QStringLiteral("Please remove the serial cable, wait for system "
                                           "UPDATING message") +
                            CRLF +
                            QStringLiteral("then reconnect RS232 serial cable and try again"),
                        mb::Critical, QStringLiteral("Get Log Information Error"));
                    return true;
                }
                page_.select_model_option(s.unit_type);
                s.capabilities.ma_input_available = false;
                if (!id.hesvarin_unit) {
                    send(lc::MA_INPUT);
                    if (link_failed())
                        return false;
                    if (const auto v = platform::read_number_c(L.reply_buffer))
                        s.capabilities.ma_input_available = *v == 1;
                    if (s.unit_type == 17)
                        s.capabilities.ma_input_available = true;
                }
            }
            const bool ma = s.capabilities.ma_input_available;
            page_.ma_input_box->setChecked(ma);
            s.capabilities.ma_input_available = ma;
            send(lc::SERIAL_NUMBER);
            if (link_failed())
                return false;
            if (const auto v = platform::read_number_c(L.reply_buffer))
                P92.unit_value = std::trunc(*v);
        } else {
            if (!use_loginfo) {
                int value = 0;
                for (int i = 0; i < 3; ++i) {
                    if (!ask_unit_type(lc::UNIT_TYPE_OWN_LOGGER, value))
                        return false;
                    s.unit_type = static_cast<int16_t>(value);
                }
                if (s.unit_type == 0) {
                    platform::msg_box(
                        QStringLiteral("Unable to get system information") + CRLF +
                            QStringLiteral("Please cycle the power and try again") + CRLF +
                            QStringLiteral("then reconnect RS232 serial cable and try again"),
                        mb::Critical, QStringLiteral("Get Log Information Error"));
                    return true;
                }
            }
            if (!getdatetime())
                return false;
            page_.unit_clock_labels[0]->setText(QStringLiteral("Unit Date (") + s.unit_date_format +
                                                QStringLiteral(") : ") + s.unit_date_text);
            page_.unit_clock_labels[1]->setText(QStringLiteral("Unit Time (HHMM) : ") +
                                                s.unit_time_text);
            page_.select_model_option(id.radar_unit || id.quorvantix_unit ? s.unit_type
                                                                          : logsetup::CSO_MODEL);
            send(lc::SERIAL_NUMBER_OWN_LOGGER);
            if (link_failed())
                return false;
            if (const auto v = platform::read_number_c(L.reply_buffer))
                P92.unit_value = *v;
        }

        if (!id.quorvantix_unit) {
            query_chart_units(true);
            if (link_failed())
                return false;
        }

        if (id.radar_unit || id.quorvantix_unit) {
            s.log_memory_bytes = 262144;
            s.duration_multiplier = 262144.0 / 1440;
        } else {
            s.duration_multiplier = getDurationMult(L.board_software_version);
        }

        if (!use_loginfo) {
            for (int i = 0; i <= 6; ++i) {
                send_plain(lc::LOG_PARAMETER + QString::number(150 + i));
                if (link_failed())
                    return false;
                const QString v = L.reply_buffer.trimmed();
                if (i == 5)
                    s.log_wrapping = logsetup::wrapping_value(v);
                page_.unit_log_boxes[static_cast<size_t>(i)]->setText(
                    logsetup::text4_value(i, v, false));
            }
        }

        std::array<QString, 7> boxes;
        for (int i = 0; i <= 6; ++i)
            boxes[static_cast<size_t>(i)] = page_.unit_log_boxes[static_cast<size_t>(i)]->text();
        const logsetup::LogInfoFigures f = logsetup::log_info_figures(boxes);
        s.log_start_date = f.log_start_date;
        s.channel_mask_1 = f.channel_mask_1;
        s.channel_mask_2 = f.channel_mask_2;
        s.channel_mask_3 = f.channel_mask_3;
        s.log_interval = f.log_interval;
        s.log_records = f.log_records;
        page_.getlogbytes();
        page_.unit_log_boxes[8]->setText(QString::number(s.record_bytes));
        page_.unit_log_boxes[7]->setText(
            platform::format_number(logsetup::remaining_log_days(s.log_memory_bytes, s.record_bytes,
                                                                 s.log_records, s.log_interval),
                                    QStringLiteral("##0.0")));
        // The download needs its own work installed; without it the button stays off.
        if (s.log_records > 0 && page_.has_action(LogSetupAction::GetLogData))
            page_.get_log_data_button->setEnabled(true);
        return true;
    }();
    close_log_info(completed && !link_failed());
}

void UnitLogCommands::close_log_info(bool send_loadnorm) {
    if (send_loadnorm)
        send(lc::LOADNORM);
    log_unit_view().show_busy_panel(false);
    link().quiet_commands = false;
    link_view().set_progress_value(1, 0);
}

// ---- Get Unit Info ----

void UnitLogCommands::Command11_Click() {
    LogUnitView& view = log_unit_view();
    set_setup_buttons_enabled(false);
    view.show_busy_message(BUSY_LINES + ui_text(1100, QStringLiteral("Please wait...")));
    link().cancel_requested = false;
    page_.clear_model_options(1, 40);
    page_.deselect_all();
    page_.setup_boxes.at(2)->setText(QStringLiteral("0"));
    page_.wrap_box->setChecked(false);
    Command6_Click();
    view.hide_busy_message();
    set_setup_buttons_enabled(true);
}

// ---- Clear and simulate ----

void UnitLogCommands::Command7_Click() {
    const QString title = ui_text(1122, QStringLiteral("Clear Log Data"));
    const QString refused = ui_text(1126, QStringLiteral("The unit did not accept the command.")) +
                            CR + CR +
                            ui_text(1127, QStringLiteral("Check the connection and try again."));
    // Going ahead erases the unit's log: Enter at either question must not do that.
    if (platform::msg_box(
            ui_text(1120, QStringLiteral("All log data in the unit will be erased.")) + CR + CR +
                ui_text(1121, QStringLiteral("Do you want to continue?")),
            mb::YesNo | mb::Critical | mb::DefaultButton2, title) != Answer::Yes)
        return;
    if (platform::msg_box(ui_text(1123, QStringLiteral("Erased log data cannot be recovered.")) +
                              CR + CR + ui_text(1124, QStringLiteral("Are you sure?")),
                          mb::YesNo | mb::Critical | mb::DefaultButton2, title) != Answer::Yes)
        return;
    LinkState& L = link();
    L.quiet_commands = true;
    // A failure the link or the log-on has told is not told again as the unit's refusal.
    if (!coms_connected()) {
        if (!L.failure_told)
            platform::msg_box(refused, mb::Information, title);
    } else {
        traffic().term().clear();
        send_plain(lc::CLEARLOG);
        // The exchange is over once the unit answered or the link gave up.
        if (link_failed() || !reply_accepted()) {
            if (!L.failure_told)
                platform::msg_box(refused, mb::Information, title);
            L.quiet_commands = false;
            return;
        }
        platform::msg_box(
            ui_text(1125, QStringLiteral("The log data in the unit has been cleared.")),
            mb::Information, title);
    }
    Command6_Click();
    L.quiet_commands = false;
}

void UnitLogCommands::Command10_Click() {
    if (!coms_connected())
        return;
    link().quiet_commands = false;
    traffic().term().clear();
    send_plain(lc::SIMLOG);
}
