#include "parameters/parameter_transfer.h"

#include "link/command_link.h"
#include "link/link_commands.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/log_on.h"
#include "parameters/parameter_file.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_record.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_screen.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_values.h"
#include "parameters/screen_to_table.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <tuple>

// ---- Views

void RecordingTransferView::show_message(const QString& text) {
    message = text;
    message_shown = true;
    messages.push_back(text);
}
void RecordingTransferView::hide_message() {
    message_shown = false;
}
void RecordingTransferView::show_progress(int maximum) {
    progress_shown = true;
    progress_maximum = maximum;
}
void RecordingTransferView::hide_progress() {
    progress_shown = false;
}
void RecordingTransferView::set_cso_tab_enabled(int tab, bool enabled) {
    if (enabled)
        enabled_tabs.push_back(tab);
}

namespace {

ParameterTransferView*& installed_view() {
    static ParameterTransferView* view = nullptr;
    return view;
}

DefinitionRecord& record(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}

const QString CRLF = QStringLiteral("\r\n");
const QString SENDALL = QStringLiteral("/sendall");
const QString PAR_FILTER =
    QStringLiteral("Parameters File (*.par)|*.par|Text File (*.txt)|*.txt|All Files (*.*)|*.*");
constexpr int FIRST = 20;
constexpr int LAST = 999;
constexpr int SWEEP_PROGRESS_MAX = 1000;

void hide_transfer_display() {
    ParameterTransferView& V = transfer_view();
    V.hide_message();
    V.hide_progress();
    V.show_cancel(false);
}

void step_progress_to(int value) {
    link_view().set_progress_value(3, value);
}

// The unit's value of a length record, given in P104's unit, formatted to its decimals with
// `pattern` and read back, so that the table holds what the screen will show.
QString length_text(double value, const QString& pattern) {
    return platform::format_number_c(value, pattern);
}

QString sendall_pattern(int decimals) {
    static const char* const patterns[] = {"0",      "0.0",     "0.00",    "0.000",
                                           "0.000#", "0.000##", "0.000###"};
    return decimals >= 0 && decimals <= 6 ? QLatin1String(patterns[decimals]) : QString();
}

bool to_send(int P);

// The compare read counts what the upload would send.
void count_difference(int P, int& counter) {
    if (to_send(P))
        ++counter;
}

// The set in memory and on the screen before a download reads over it: the parameter records,
// the rows the read's own rules touch on the way (the flow rows at P710) and the unit flags that
// follow from the set. A read that does not finish puts every part back, so the screen, the
// table and the next save still hold the set the user had.
class SetBeforeRead {
public:
    // The copies take the room of the last read's: made anew each time, the few hundred
    // kilobytes would come back from the system page by page on the line's time.
    SetBeforeRead() : c_(std::move(spare())) {
        c_.records.assign(definitions_table().begin() + FIRST,
                          definitions_table().begin() + LAST + 1);
        parameter_rows().snapshot(c_.rows);
        const LinkState& L = link();
        c_.flags = {L.p61_is_1,      L.p61_is_2,  L.fieldbus_available, L.modbus_mode,
                    L.profibus_mode, L.flow_mode, L.volume_mode};
    }
    ~SetBeforeRead() { spare() = std::move(c_); }
    SetBeforeRead(const SetBeforeRead&) = delete;
    SetBeforeRead& operator=(const SetBeforeRead&) = delete;

    void restore() const {
        std::copy(c_.records.begin(), c_.records.end(), definitions_table().begin() + FIRST);
        parameter_rows().restore(c_.rows);
        LinkState& L = link();
        std::tie(L.p61_is_1, L.p61_is_2, L.fieldbus_available, L.modbus_mode, L.profibus_mode,
                 L.flow_mode, L.volume_mode) = c_.flags;
    }

private:
    struct Copies {
        std::vector<DefinitionRecord> records;
        ParameterRows::Snapshot rows;
        std::tuple<bool, bool, bool, bool, bool, bool, bool> flags;
    };
    // Empty while a read holds it: a read started inside another's wait makes its own.
    static Copies& spare() {
        static Copies c;
        return c;
    }
    Copies c_;
};

// A reply that held no parameter at all (line noise, an empty list) is no set.
void report_unreadable_answer() {
    hide_transfer_display();
    tell_reply_not_understood();
    link().comms_abort = true;
}

// The unit's own "NO" to a command of the read; noise that happens to hold the letters is none.
bool refused(const QString& reply) {
    return reply_understood(reply) && write_refused(reply);
}

// A refusal is told as one, as the log-on tells a refused access: the line and the port are fine.
void report_refusal(const QString& cmd) {
    hide_transfer_display();
    platform::msg_box(ui_text(2050, QStringLiteral("The unit refused the command %1.")).arg(cmd),
                      platform::mb::Critical | platform::mb::DefaultButton2,
                      ui_text(1272, QStringLiteral("Access Denied")));
    link().failure_told = true;
    link().comms_abort = true;
}

// The "/sendall" method; false when the read failed.
bool read_by_sendall(bool compare) {
    LinkState& L = link();
    ParameterState& S = parameter_state();
    for (int P = FIRST; P <= LAST; ++P) {
        record(P).unit_value = NO_VALUE;
        record(P).value_text.clear();
    }
    auto keep_default = [](int P) {
        DefinitionRecord& r = record(P);
        r.unit_value = r.default_value;
        r.value_text = platform::number_text_c(r.default_value);
    };
    for (int P = 601; P <= 603; ++P)
        keep_default(P);
    for (int P = 710; P <= 719; ++P)
        keep_default(P);

    L.chunk_progress = true;
    send_command(SENDALL);
    L.chunk_progress = false;
    if (L.comms_abort || L.cancel_requested)
        return false;
    if (L.reply_buffer.isEmpty()) {
        platform::msg_box(ui_text(1299, QStringLiteral("No reply from the unit.")),
                          platform::mb::Ok, ui_text(1411, QStringLiteral("Communication Error")));
        L.comms_abort = true;
        return false;
    }
    const SendallReply reply = parse_sendall_reply(L.reply_buffer);
    S.skipped_items = reply.skipped;
    if (reply.items.empty()) {
        if (refused(L.reply_buffer))
            report_refusal(SENDALL);
        else
            report_unreadable_answer();
        return false;
    }
    transfer_view().show_progress(std::max(1, reply.last_index));

    double factor = length_unit_factor(3, 3);
    for (const SendallItem& item : reply.items)
        if (item.number == 104)
            factor = length_unit_factor(3, static_cast<int>(platform::val(item.value)));

    int differences = 0;
    int index = 0;
    for (const SendallItem& item : reply.items) {
        ++index;
        const int P = item.number;
        if (P == 710)
            call_hook(parameter_screen_hooks().check_flow_parms);
        DefinitionRecord& r = record(P);
        const UnitAnswer answer = unit_answer(P, item.value);
        // The compare read sets the unit's values beside the set's own; which parameters the
        // set holds is the set's business.
        if (!compare)
            r.present = answer.holds_value;
        r.unit_value = answer.value;
        r.value_text = answer.text;
        if (is_length_record(P) && is_plain_number(answer.text)) {
            const QString text = length_text(factor * r.unit_value, sendall_pattern(r.decimals));
            r.unit_value = platform::val(text);
            r.value_text = text;
        }
        if (compare)
            count_difference(P, differences);
        step_progress_to(index);
    }
    for (int P = FIRST; P <= LAST; ++P) {
        DefinitionRecord& r = record(P);
        if (((P >= 601 && P <= 603) || (P >= 610 && P <= 673)) && r.unit_value == NO_VALUE)
            r.unit_value = r.default_value;
        // A parameter the reply did not name holds no value, as one it answered without, and so
        // does one left at the table's no-value number.
        if (!unit_answer(P, r.value_text).holds_value)
            r.value_text = QStringLiteral("NO");
    }
    S.compare_differences = differences;
    return true;
}

// The status bar says that the user's Cancel stopped the read.
void tell_read_cancelled() {
    if (link().cancel_requested)
        link_view().set_status_text(
            1, ui_text(2278, QStringLiteral("The parameter read was cancelled.")));
}

// The one-by-one method; false when the read failed or was cancelled.
bool read_by_sweep(bool compare) {
    LinkState& L = link();
    ParameterState& S = parameter_state();
    ParameterTransferView& V = transfer_view();
    if (!compare) {
        if (!connect_to_unit(false)) {
            // The user's Cancel stopped the log-on: told, the unit goes back to its normal mode.
            if (L.cancel_requested) {
                tell_read_cancelled();
                return_to_normal_mode();
            }
            L.comms_abort = true;
            return false;
        }
    } else if (shell().access_level == 3 &&
               platform::val(shell().login_passcode) != record(922).unit_value) {
        hide_transfer_display();
        L.comms_abort = true;
        platform::msg_box(QStringLiteral("     ") +
                              ui_text(1271, QStringLiteral("Access denied.")) +
                              QStringLiteral("      "),
                          platform::mb::Critical | platform::mb::DefaultButton2,
                          ui_text(1272, QStringLiteral("Access Denied")));
        send_command(link_commands::LOADNORM);
        L.comms_abort = true;
        return false;
    }
    link_view().set_live_timer_enabled(false);
    for (int P = FIRST; P <= LAST; ++P) {
        record(P).unit_value = 0;
        record(P).value_text.clear();
    }
    for (const QString& cmd :
         {link_commands::ACCESS + QStringLiteral("off"),
          link_commands::ACCESS + link_commands::ACCESS_CODE, link_commands::LOADQUICK}) {
        send_command(cmd);
        if (L.comms_abort) {
            // A "/LOADQUICK" that went out unanswered may have been taken all the same.
            tell_read_cancelled();
            return_to_normal_mode();
            return false;
        }
    }
    const QString base = CRLF + ui_text(1184, QStringLiteral("Reading parameter P"));
    int differences = 0;
    int values = 0;
    L.parameter_sweep = true;
    const auto sweep_off = qScopeGuard([&] { L.parameter_sweep = false; });
    V.show_progress(SWEEP_PROGRESS_MAX);
    // The user's Cancel, told at once, or a read the unit left unanswered (the link has told it):
    // either way the sweep ends and the unit goes back to its normal mode.
    const auto stopped = [&] {
        if (!L.comms_abort && !L.cancel_requested)
            return false;
        L.parameter_sweep = false;
        tell_read_cancelled();
        return_to_normal_mode();
        L.comms_abort = true;
        return true;
    };
    for (int P = FIRST; P <= LAST; ++P) {
        if (stopped())
            return false;
        QString progress = base + QString::number(P);
        if (compare)
            progress += QStringLiteral(" - Diff=") + QString::number(differences);
        V.show_message(progress);
        const QString cmd = QStringLiteral("/p") + QString::number(P);
        send_command(cmd, cmd);
        if (stopped())
            return false;
        const QString reply = L.reply_buffer;
        // A text of the unit's may be empty or read "OK" (a site named so): after the link asked
        // again, that is its answer, as "/sendall" gives it.
        if (!holds_text_value(P) &&
            (reply.trimmed().isEmpty() || reply.trimmed() == QLatin1String("OK"))) {
            // Still only an acknowledgement after the link asked again: no value came, as if the
            // unit had been silent, and an "OK" must never stand as the parameter's value.
            L.parameter_sweep = false;
            send_command(link_commands::LOADNORM);
            hide_transfer_display();
            platform::msg_box(
                ui_text(2279, QStringLiteral("The unit answered %1 without a value.")).arg(cmd),
                platform::mb::Critical, ui_text(1411, QStringLiteral("Communication Error")));
            L.failure_told = true;
            L.comms_abort = true;
            return false;
        }
        DefinitionRecord& r = record(P);
        if (is_plain_number(reply))
            ++values;
        // Kept as the block read keeps the same answer. The unit's "NO" (and an answer without a
        // value) is no value to compare with: an upload never sends the parameter.
        const UnitAnswer answer = unit_answer(P, reply);
        if (!compare)
            r.present = answer.holds_value;
        r.unit_value = answer.value;
        if (is_length_record(P) && r.unit_value != NO_VALUE)
            r.unit_value = platform::val(length_text(r.unit_value, decimals_pattern(r.decimals)));
        if (compare)
            count_difference(P, differences);
        r.value_text = answer.text;
        step_progress_to(P);
    }
    L.parameter_sweep = false;
    if (values == 0) {
        send_command(link_commands::LOADNORM);
        report_unreadable_answer();
        return false;
    }
    record(61).present = false;
    // The log-on of this read asked the unit for P61, P87 and P96 under its second access code,
    // or took them from the unit's identity (a radar unit); that stands over what the sweep read.
    // A question it left unanswered leaves the sweep's value: its flags say 0 then, and a flag an
    // opened file or an earlier log-on set is no word of this unit's. A compare read has no
    // log-on of its own.
    if (!compare)
        for (const auto& [P, text] : L.log_on_values) {
            record(P).unit_value = platform::val(text);
            record(P).value_text = text;
        }
    send_command(link_commands::LOADNORM);
    if (L.comms_abort)
        return false;
    if (S.link_software_version < P72_LIMIT_VERSION) {
        set_param_limits(72, 0, 999.9, QStringLiteral("U_SE"));
        record(72).text = ui_text(1460, QStringLiteral("Delay Time (P72)"));
        parameter_rows().set_caption(72, record(72).text);
    }
    S.compare_differences = differences;
    return true;
}

// A value of P as messages show it, as its row does (a clock time with its four digits): a value
// the unit lacks is "NO", never the table's marker.
QString value_list_text(int P, double v) {
    return v == NO_VALUE ? QStringLiteral("NO") : box_text(P, v);
}

} // namespace

ParameterTransferView& transfer_view() {
    static RecordingTransferView stand_in;
    return installed_view() ? *installed_view() : stand_in;
}

void set_transfer_view(ParameterTransferView* view) {
    installed_view() = view;
}

SendallReply parse_sendall_reply(const QString& reply) {
    SendallReply out;
    const QStringList items = reply.split(QLatin1Char(','));
    out.last_index = static_cast<int>(items.size()) - 1;
    for (int i = 1; i < out.last_index; ++i) {
        const QString& item = items[i];
        const qsizetype colon = item.indexOf(QLatin1Char(':'));
        bool ok = false;
        const int number = colon > 0 ? item.left(colon).trimmed().toInt(&ok) : 0;
        if (!ok || number < FIRST || number > LAST) {
            ++out.skipped;
            continue;
        }
        QString value = item.mid(colon + 1);
        const qsizetype bar = value.indexOf(QLatin1Char('|'));
        if (bar >= 0)
            value.truncate(bar);
        out.items.push_back({number, value.trimmed()});
    }
    return out;
}

void getparameters_all(bool compare) {
    LinkState& L = link();
    ParameterState& S = parameter_state();
    ParameterTransferView& V = transfer_view();
    L.echo_online = false;
    link_view().select_offline_option();
    L.comms_abort = false;
    V.show_message(CRLF + ui_text(1183, QStringLiteral("Reading parameters from the unit.")));
    L.cancel_requested = false;
    V.show_progress(SWEEP_PROGRESS_MAX);
    step_progress_to(0);
    V.show_cancel(true);
    L.cancel_ends_waits = true;
    const auto cancellable = qScopeGuard([&] { L.cancel_ends_waits = false; });
    // Cancel stops the read with nothing taken over, and the status bar says so.
    auto stopped = [&] {
        tell_read_cancelled();
        L.comms_abort = true;
    };

    // A port already open on the chosen line needs no reopening and no settle pause; what it
    // holds from before is thrown away all the same.
    platform::SerialPort& port = MSComm1();
    if (port.port_open() && port.comm_port() == shell().com_port &&
        port.settings() == shell().comm_settings) {
        L.port_open_failed = false;
        port.clear_input();
    } else {
        open_com_port();
    }
    if (L.port_open_failed) {
        hide_transfer_display();
        return;
    }
    send_command(link_commands::WHO);
    if (!L.comms_abort && !L.cancel_requested && refused(L.reply_buffer) &&
        convert_who_to_software_version(L.reply_buffer) == 999)
        report_refusal(link_commands::WHO);
    if (L.comms_abort || L.cancel_requested) {
        hide_transfer_display();
        stopped();
        return;
    }
    S.link_software_version = convert_who_to_software_version(L.reply_buffer);
    // A download reads over the table; the set before it comes back unless the read completes.
    // (The compare read of an upload restores the program's set itself.)
    std::optional<SetBeforeRead> before;
    if (!compare)
        before.emplace();
    const bool read = S.link_software_version >= SENDALL_FIRST_VERSION ? read_by_sendall(compare)
                                                                       : read_by_sweep(compare);
    hide_transfer_display();
    if (!read) {
        if (before)
            before->restore();
        stopped();
        return;
    }
    // The set on show is the unit's now, no longer that of the file last opened or saved.
    S.parameter_file_name.clear();
    S.software_version = version_to_number(record(926).value_text);
    if (!compare)
        save_downloaded_parameters();
}

void save_downloaded_parameters() {
    ParameterState& S = parameter_state();
    ShellState& sh = shell();
    platform::FileDialogRequest request;
    request.title =
        ui_text(1003, QStringLiteral("&Save Parameters to File")).remove(QLatin1Char('&'));
    request.filter = PAR_FILTER;
    request.folder =
        read_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_PARAM_DIR, sh.data_folder);
    const QString path = platform::dialogs().save_file(request);
    if (path.isEmpty())
        return; // the user keeps the set on the screen without a file
    write_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_PARAM_DIR,
              QFileInfo(path).absolutePath());
    // The read went well; only the file failed, and the set stays on the screen to be saved again.
    if (!write_par_file(path)) {
        platform::msg_box(
            ui_text(2298, QStringLiteral(
                              "The parameters were read but could not be saved to the file:")) +
                CRLF + QDir::toNativeSeparators(path),
            platform::mb::Critical);
        return;
    }
    S.parameter_file_name = path; // the print header names it
}

namespace {

// The question before a whole set goes either way. A "no" ends the transfer as failed; a "yes"
// keeps the reply on show for afterwards and starts with a clean outcome.
bool confirm_whole_set(const QString& question, int icon, const QString& title) {
    LinkState& L = link();
    transfer_view().select_cso_tab(0);
    if (platform::msg_box(question, platform::mb::OkCancel | icon | platform::mb::DefaultButton2,
                          title) != platform::Answer::Ok) {
        L.comms_abort = true;
        return false;
    }
    parameter_state().saved_reply = L.reply_buffer;
    L.comms_abort = false;
    return true;
}

} // namespace

void download_parameters() {
    LinkState& L = link();
    ParameterState& S = parameter_state();
    ParameterTransferView& V = transfer_view();
    if (tell_if_putting_back()) {
        L.comms_abort = true;
        return;
    }
    if (!confirm_whole_set(QStringLiteral("     ") +
                               ui_text(1179, QStringLiteral("Read all parameters from the unit?")) +
                               QStringLiteral("      "),
                           platform::mb::Information,
                           ui_text(1180, QStringLiteral("Read Parameters"))))
        return;
    getparameters_all(false);
    if (L.comms_abort || L.cancel_requested) {
        hide_transfer_display();
        return;
    }
    L.reply_buffer = S.saved_reply;
    link_view().set_status_text(1, ui_text(1358, QStringLiteral("Parameters read from the unit")) +
                                       QStringLiteral(" @ ") +
                                       QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    V.show_message(CRLF + CRLF + CRLF + ui_text(1207, QStringLiteral("Loading parameters.")));
    L.cancel_requested = false;
    L.p61_is_1 = record(61).unit_value == 1;
    L.p61_is_2 = record(61).unit_value == 2;
    L.fieldbus_available = record(87).unit_value == 1;
    L.modbus_mode = record(96).unit_value == 1;
    L.profibus_mode = record(96).unit_value == 2;
    S.parameter_set_loading = true;
    {
        const auto loaded = qScopeGuard([&] { S.parameter_set_loading = false; });
        update_parameter_screen(true);
    }
    V.hide_message();
    V.set_cso_tab_enabled(1, true);
    V.select_cso_tab(1);
    L.comms_abort = false;
    call_hook(parameter_screen_hooks().enable_controls);
    send_command(link_commands::ACCESS + QStringLiteral("off"));
}

void correct_version() {
    LinkState& L = link();
    ParameterState& S = parameter_state();
    transfer_view().show_message(QStringLiteral(" ") + CRLF + CRLF + CRLF +
                                 ui_text(1260, QStringLiteral("Comparing the unit's parameters.")));
    L.cancel_requested = false;
    S.same_system_type = false;
    if (connect_to_unit(true)) {
        send_command(link_commands::LOADQUICK, link_commands::LOADQUICK);
        if (!L.comms_abort)
            send_command(link_commands::P99, link_commands::P99);
        if (!L.comms_abort) {
            S.unit_p99 = platform::val(L.reply_buffer);
            S.program_p99 = record(99).unit_value;
            S.same_system_type = S.unit_p99 == S.program_p99;
        }
        // The unit is left in its normal mode, as the log-on left it.
        if (!L.comms_abort)
            send_command(link_commands::LOADNORM);
        else
            return_to_normal_mode();
    }
    transfer_view().hide_message();
}

// ---- Upload

namespace {

const std::array<int, 6> MODE_PARAMETERS = {100, 101, 104, 600, 700, 701};

// Commands the unit takes through a parameter number (the echo command, the hard and the factory
// default) hold no setting: sending a set never sends them.
bool is_command_parameter(int P) {
    return P == 20 || P == 88 || P == 930;
}

// A setting of the set that an upload may write: the set holds a value for it, neither the
// no-value marker (the flow view of the breakpoints) nor a default that a rule put into a row the
// set lacks.
bool set_setting(int P) {
    const DefinitionRecord& r = record(P);
    return !r.read_only && r.present && !is_command_parameter(P) && r.program_value != NO_VALUE &&
           !parameter_state().lacked_by_set[static_cast<size_t>(P)];
}

// The unit answered "NO" to the compare read: it lacks the parameter, and a write would be
// refused.
bool unit_lacks(int P) {
    return record(P).unit_value == NO_VALUE;
}

bool to_send(int P) {
    const DefinitionRecord& r = record(P);
    return set_setting(P) && !unit_lacks(P) && r.program_value != r.unit_value;
}

// The unit converts the lengths it holds when its P104 changes, and the upload writes P104 before
// them: where the set's P104 differs, the unit's lengths are compared in the set's unit, as the
// unit will hold them after the switch, so that every length that then differs is sent.
void compare_lengths_in_the_sets_unit() {
    const DefinitionRecord& p104 = record(104);
    const auto unit_code = [](double v) { return v >= 1 && v <= 5 && v == std::floor(v); };
    if (!to_send(104) || !unit_code(p104.unit_value) || !unit_code(p104.program_value))
        return;
    const double f =
        length_unit_factor(static_cast<int>(p104.unit_value), static_cast<int>(p104.program_value));
    for (int P = FIRST; P <= LAST; ++P) {
        DefinitionRecord& r = record(P);
        if (P == 104 || !is_length_record(P) || !is_plain_number(r.value_text))
            continue;
        r.unit_value = platform::val(length_text(r.unit_value * f, decimals_pattern(r.decimals)));
    }
}

// The unit's value as the upload's lists show it: what the unit answered when that was no number
// ("NO" for a parameter it lacks), never a number the table made of it.
QString unit_answer_text(int P) {
    const DefinitionRecord& r = record(P);
    const QString answer = r.value_text.trimmed();
    return answer.isEmpty() || is_plain_number(answer) ? value_list_text(P, r.unit_value) : answer;
}

// What became of a planned write when an upload stops. A write whose command went out but whose
// answer never came may well have been taken by the unit; a refused one was not.
enum class WriteOutcome { NotSent, Unconfirmed, Written };

QString upload_stopped_text() {
    return ui_text(2274, QStringLiteral("The upload stopped before it was complete."));
}

// An upload that stopped: why (the user's Cancel, and the link's failure when it said one), the
// parameters of `planned` that reached the unit, those sent without an answer (to be read back)
// and those that did not.
void tell_upload_stopped(bool cancelled, const QString& reason, const std::vector<int>& planned,
                         const std::vector<WriteOutcome>& outcomes) {
    QStringList done, unconfirmed, not_done;
    for (int P : planned) {
        const WriteOutcome o = outcomes[static_cast<size_t>(P)];
        QStringList& list = o == WriteOutcome::Written       ? done
                            : o == WriteOutcome::Unconfirmed ? unconfirmed
                                                             : not_done;
        list << (list.isEmpty() ? QStringLiteral("P") : QStringLiteral(", P")) + QString::number(P);
    }
    QString text = upload_stopped_text();
    if (cancelled)
        text += CRLF + ui_text(2277, QStringLiteral("Cancelled by the user."));
    if (!reason.isEmpty())
        text += CRLF + reason;
    if (!planned.empty())
        text += CRLF;
    if (!done.isEmpty())
        text += CRLF + ui_text(2275, QStringLiteral("Written to the unit:")) + QLatin1Char(' ') +
                named_entries(done);
    if (!unconfirmed.isEmpty())
        text += CRLF +
                ui_text(2297,
                        QStringLiteral("Sent but not confirmed (read these back from the unit):")) +
                QLatin1Char(' ') + named_entries(unconfirmed);
    if (!not_done.isEmpty())
        text += CRLF + ui_text(2276, QStringLiteral("Not written:")) + QLatin1Char(' ') +
                named_entries(not_done);
    platform::msg_box(text, cancelled ? platform::mb::Exclamation : platform::mb::Critical,
                      ui_text(1276, QStringLiteral("Send Parameters")));
}

// What the program's set held before the compare read put the unit's values in the table.
struct ProgramSnapshot {
    std::vector<QString> value_text;
    std::vector<bool> present;
};

} // namespace

void send_parameter(int P) {
    if (P < FIRST || P > LAST)
        return;
    if (!to_send(P))
        return;
    DefinitionRecord& r = record(P);
    LinkState& L = link();
    transfer_view().show_message(CRLF + ui_text(1244, QStringLiteral("Sending parameter")) +
                                 QLatin1Char(' ') + QString::number(P));
    const QString value = unit_value_text(P, r.program_value);
    const QString cmd = QStringLiteral("/p") + QString::number(P) + QLatin1Char(':') + value;
    send_command(cmd, cmd);
    if (!L.comms_abort && !reply_understood(L.reply_buffer)) {
        // Line noise in place of the answer, even noise holding the letters "NO", is no refusal:
        // whether the unit took the value is not known, so the write is one sent without an
        // answer and the upload stops with the reason told once.
        L.comms_abort = true;
        tell_reply_not_understood();
    } else if (!L.comms_abort && write_refused(L.reply_buffer)) {
        r.send_failed = true;
        ++parameter_state().upload_refusals;
    }
    LinkView& view = link_view();
    const int v = view.progress_value(3);
    view.set_progress_value(3, v < view.progress_max(3) ? v + 1 : 0);
}

void write_all_parameters() {
    LinkState& L = link();
    ParameterState& S = parameter_state();
    ParameterTransferView& V = transfer_view();
    // Cancel ends the link's waits at once; a failure of the link is told in the upload's own
    // message, which says what reached the unit, so that a stop gives one message.
    L.cancel_ends_waits = true;
    L.failure_message = LinkState::FailureMessage::Held;
    const auto link_modes = qScopeGuard([&] {
        L.cancel_ends_waits = false;
        L.failure_message = LinkState::FailureMessage::Shown;
        L.held_failure_message.clear();
    });
    for (;;) {
        S.saved_reply = L.reply_buffer;
        L.echo_online = false;
        link_view().select_offline_option();
        L.comms_abort = false;
        L.held_failure_message.clear();
        V.show_message(QString());
        L.cancel_requested = false;
        std::vector<int> planned;
        for (int P = FIRST; P <= LAST; ++P) {
            record(P).send_failed = false;
            if (to_send(P))
                planned.push_back(P);
        }
        std::vector<WriteOutcome> outcomes(LAST + 1, WriteOutcome::NotSent);
        V.show_progress(std::max(1, static_cast<int>(planned.size()) + 3));
        step_progress_to(0);
        V.show_cancel(true);
        link_view().set_live_timer_enabled(false);
        S.upload_refusals = 0;

        std::array<bool, MODE_PARAMETERS.size()> mode_present{};
        for (size_t i = 0; i < MODE_PARAMETERS.size(); ++i)
            mode_present[i] = record(MODE_PARAMETERS[i]).present;
        // The mode parameters are taken out of the main pass; they come back however it ends.
        auto restore_modes = [&] {
            for (size_t i = 0; i < MODE_PARAMETERS.size(); ++i)
                record(MODE_PARAMETERS[i]).present = mode_present[i];
        };
        const auto restore_guard = qScopeGuard(restore_modes);
        const auto display_guard = qScopeGuard([&] {
            L.reply_buffer = S.saved_reply;
            hide_transfer_display();
        });
        auto send = [&](int P) {
            const bool due = to_send(P);
            send_parameter(P);
            WriteOutcome& outcome = outcomes[static_cast<size_t>(P)];
            if (due && outcome != WriteOutcome::Written) {
                if (!L.comms_abort && !record(P).send_failed)
                    outcome = WriteOutcome::Written;
                else if (L.comms_abort && L.command_went_out)
                    outcome = WriteOutcome::Unconfirmed;
            }
            return !L.comms_abort && !L.cancel_requested;
        };
        auto send_command_ok = [&](const QString& cmd) {
            send_command(cmd);
            return !L.comms_abort && !L.cancel_requested;
        };
        // However it stops, the upload says so once, with what reached the unit and what did not,
        // and a unit left in its quick-load mode goes back to its normal mode first, so that a
        // message nobody answers never keeps it in quick-load mode; the status bar tells meanwhile.
        // A line found dead on the way back is told in the same message.
        auto stop = [&] {
            const bool cancelled = L.cancel_requested;
            restore_modes();
            hide_transfer_display();
            link_view().set_status_text(1, upload_stopped_text());
            return_to_normal_mode();
            if (!platform::all_waits_ended())
                tell_upload_stopped(cancelled, L.held_failure_message, planned, outcomes);
            L.comms_abort = true;
            L.reply_buffer = S.saved_reply;
            L.failure_told = true;
        };

        bool going = send_command_ok(link_commands::ACCESS + link_commands::ACCESS_CODE) &&
                     send_command_ok(link_commands::LOADNORM);
        for (int P : MODE_PARAMETERS)
            going = going && send(P);
        if (!going)
            return stop();
        for (int P : MODE_PARAMETERS)
            record(P).present = false;
        for (const QString& cmd :
             {link_commands::ACCESS + QStringLiteral("off"),
              link_commands::ACCESS + link_commands::ACCESS_CODE, link_commands::LOADQUICK})
            going = going && send_command_ok(cmd);
        for (int P = FIRST; P <= LAST && going; ++P)
            going = send(P);
        if (!going)
            return stop();
        restore_modes();
        going = send_command_ok(link_commands::LOADNORM) && send(100) &&
                (!L.profibus_mode || send(132)) && (!L.flow_mode || send(704));
        if (!going)
            return stop();
        L.reply_buffer = S.saved_reply;
        hide_transfer_display();

        if (S.upload_refusals > 0) {
            QString list = QLatin1Char(' ') + (S.upload_refusals == 1
                                                   ? ui_text(1290, QStringLiteral("Error"))
                                                   : ui_text(1297, QStringLiteral("Errors")));
            for (int P = FIRST; P <= LAST; ++P) {
                const DefinitionRecord& r = record(P);
                if (r.send_failed)
                    list += QStringLiteral(", P") + QString::number(P) + QLatin1Char('(') +
                            value_list_text(P, r.program_value) + QLatin1Char(',') +
                            unit_answer_text(P) + QLatin1Char(')');
            }
            const platform::Answer a =
                platform::msg_box(ui_text(1298, QStringLiteral("Upload failed: ")) +
                                      QString::number(S.upload_refusals) + list,
                                  platform::mb::Critical | platform::mb::RetryCancel);
            if (a == platform::Answer::Retry) {
                L.comms_abort = false;
                continue;
            }
            return;
        }
        platform::msg_box(ui_text(1275, QStringLiteral("All changed parameters have been sent.")),
                          platform::mb::Information);
        L.comms_abort = false;
        return;
    }
}

void upload_parameters() {
    LinkState& L = link();
    ParameterState& S = parameter_state();
    ParameterTransferView& V = transfer_view();
    // A value still being typed that its check refuses is corrected before anything is asked or
    // sent; the upload ends as a cancelled one.
    if (!parameter_rows().commit_pending() || tell_if_putting_back()) {
        L.comms_abort = true;
        return;
    }
    if (!confirm_whole_set(
            QStringLiteral("      ") +
                ui_text(1178, QStringLiteral("Send all changed parameters to the unit?")) +
                QStringLiteral("      "),
            platform::mb::Critical, ui_text(1276, QStringLiteral("Send Parameters"))))
        return;
    update_parameters_from_screen();
    V.show_message(ui_text(1260, QStringLiteral("Comparing the unit's parameters.")));

    ProgramSnapshot program;
    program.value_text.resize(LAST + 1);
    program.present.resize(LAST + 1);
    for (int P = FIRST; P <= LAST; ++P) {
        DefinitionRecord& r = record(P);
        r.program_value = r.unit_value;
        r.send_failed = false;
        program.value_text[static_cast<size_t>(P)] = r.value_text;
        program.present[static_cast<size_t>(P)] = r.present;
    }
    // However the upload ends, the table goes back to the program's set for the screen.
    const auto restore = qScopeGuard([&] {
        for (int P = FIRST; P <= LAST; ++P) {
            DefinitionRecord& r = record(P);
            r.unit_value = r.program_value;
            r.value_text = program.value_text[static_cast<size_t>(P)];
            r.present = program.present[static_cast<size_t>(P)];
        }
        if (L.flow_mode) {
            call_hook(parameter_screen_hooks().update_flow_parm_visibility, 710, 713);
            call_hook(parameter_screen_hooks().update_flow_parm_visibility, 717, 719);
            for (int i = 0; i < 64; ++i) {
                DefinitionRecord& from = record(610 + i);
                DefinitionRecord& to = record(730 + i);
                to.unit_value = from.unit_value;
                to.value_text = from.value_text;
                to.max_text = from.max_text;
                to.min_text = from.min_text;
                to.read_only = from.read_only;
                to.present = from.present;
                to.text = from.text;
                from.program_value = NO_VALUE;
                from.unit_value = NO_VALUE;
            }
        }
        hide_transfer_display();
    });

    getparameters_all(true);
    if (L.comms_abort)
        return;
    compare_lengths_in_the_sets_unit();
    if (S.system_type != 4) {
        // The rows follow the relay types without resetting anything the user set.
        S.parameter_set_loading = true;
        if (record(210).program_value == 0)
            for (int P = 210; P <= 214; ++P)
                update_relay_params(P);
        if (record(220).program_value == 0)
            for (int P = 220; P <= 224; ++P)
                update_relay_params(P);
        S.parameter_set_loading = false;
    }
    if (record(100).program_value == 4 && record(100).unit_value != 4) {
        for (int i = 0; i <= 62; i += 2) {
            record(610 + i).unit_value = -0.001;
            record(611 + i).unit_value = -1;
        }
    }
    S.program_p99 = record(99).program_value;
    S.unit_p99 = record(99).unit_value;
    S.same_system_type = S.program_p99 == S.unit_p99;
    V.hide_message();
    if (!S.same_system_type) {
        platform::msg_box(ui_text(1262, QStringLiteral("System type mismatch")) +
                              QStringLiteral(" - Program=") + value_list_text(99, S.program_p99) +
                              QStringLiteral(" & Unit=") + value_list_text(99, S.unit_p99) + CRLF +
                              CRLF +
                              ui_text(1263, QStringLiteral("Parameters can only be sent to a "
                                                           "unit of the same system type.")),
                          platform::mb::Critical | platform::mb::DefaultButton2,
                          ui_text(1264, QStringLiteral("Upload Refused")));
        L.comms_abort = true;
        return;
    }
    QString list;
    int count = 0;
    for (int P = FIRST; P <= LAST; ++P) {
        const DefinitionRecord& r = record(P);
        if (P == 838 || P == 839 || !to_send(P))
            continue;
        list += (count == 0 ? QStringLiteral(" P") : QStringLiteral(", P")) + QString::number(P) +
                QLatin1Char('(') + value_list_text(P, r.program_value) + QLatin1Char(';') +
                unit_answer_text(P) + QLatin1Char(')');
        ++count;
    }
    QStringList extra;
    for (int P : {838, 839}) {
        if (to_send(P))
            extra << QStringLiteral("P") + QString::number(P);
        record(P).present = false;
    }
    // A value of the set for a parameter the unit lacks is named apart: it is not sent.
    QStringList lacking;
    for (int P = FIRST; P <= LAST; ++P) {
        const DefinitionRecord& r = record(P);
        if (set_setting(P) && unit_lacks(P))
            lacking << QStringLiteral("P") + QString::number(P) + QLatin1Char('(') +
                           value_list_text(P, r.program_value) + QLatin1Char(';') +
                           unit_answer_text(P) + QLatin1Char(')');
    }
    QString extra_part;
    if (!extra.isEmpty())
        extra_part += ui_text(1458, QStringLiteral("These parameters are never sent:")) + CRLF +
                      extra.join(QStringLiteral(", ")) + CRLF;
    if (!lacking.isEmpty())
        extra_part += ui_text(2370, QStringLiteral("The unit does not have these parameters; "
                                                   "their values are not sent:")) +
                      CRLF + lacking.join(QStringLiteral(", ")) + CRLF;
    if (extra_part.isEmpty())
        extra_part = CRLF;
    if (count == 0 && extra.isEmpty() && lacking.isEmpty()) {
        platform::msg_box(ui_text(1282, QStringLiteral("No parameter differs from the unit.")),
                          platform::mb::Information);
        return;
    }
    const platform::Answer yes = platform::msg_box(
        QString::number(count) + ui_text(1277, QStringLiteral(" parameter(s) differ:")) + list +
            QStringLiteral("\r\r") + extra_part +
            ui_text(1278, QStringLiteral("Send them to the unit?")),
        platform::mb::YesNo | platform::mb::Information | platform::mb::DefaultButton2,
        ui_text(1425, QStringLiteral("Send Changed Parameters")));
    if (yes == platform::Answer::Yes && !L.comms_abort)
        write_all_parameters();
}

namespace {

bool answered() {
    return !link().comms_abort && !link().reply_buffer.isEmpty();
}

} // namespace

bool send_parameters_to_com(int first, int last) {
    const ParameterRows& rows = parameter_rows();
    for (int P = first; P <= last; ++P) {
        const QString& t = rows.text(P);
        if (!rows.has_row(P) || !platform::is_numeric(t))
            continue;
        const double v = platform::locale_val(t);
        if (v <= 0)
            continue;
        send_command(QStringLiteral("/p") + QString::number(P) + QLatin1Char(':') +
                     platform::number_text_c(v).trimmed());
        if (!answered())
            return false;
    }
    return true;
}

bool get_parameters_from_com(int first, int last) {
    for (int P = first; P <= last; ++P) {
        send_command(QStringLiteral("/p") + QString::number(P));
        if (!answered())
            return false;
        const QString reply = link().reply_buffer.trimmed();
        if (is_plain_number(reply))
            parameter_rows().set_text(P, value_as_box_text(platform::val(reply)));
    }
    return true;
}
