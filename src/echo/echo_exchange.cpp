#include "echo/echo_exchange.h"

#include "echo/echo_rules.h"
#include "echo/echo_state.h"
#include "link/command_link.h"
#include "link/link_state.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

TraceFetch get_echo_trace(const QString& cmd, int trace) {
    LinkState& L = link();
    if (L.comms_abort || trace < 1 || trace > TRACE_KINDS)
        return TraceFetch::Stopped;
    L.echo_online = true;
    L.reply_timeout = 20;
    // An answer still owed by a command that timed out would otherwise arrive during this wait.
    wait_for_owed_replies(cmd, L.reply_timeout);
    if (L.comms_abort)
        return TraceFetch::Stopped;
    L.reply_buffer.clear();
    L.reply_received = false;
    platform::SerialPort& port = MSComm1();
    port.set_rthreshold(1);
    port.set_input_len(0);
    // Whatever is still on the line (the unit's answers to commands written without a wait)
    // must not pass for the trace.
    port.clear_input();
    if (port.output(cmd.toLatin1()) != platform::CommError::None) {
        L.comms_abort = true;
        L.reply_timed_out = false; // not sent at all: no busy unit to wait for
        return TraceFetch::NoReply;
    }
    L.log_download_active = false;
    wait_for_reply(QString());
    if (!L.reply_received)
        return L.reply_timed_out ? TraceFetch::NoReply : TraceFetch::Stopped;
    const QString reply = L.reply_buffer;
    EchoState& e = echo_state();
    const TraceParseResult r = parse_trace_reply(
        reply, e.header, e.traces.column[static_cast<size_t>(trace - 1)]);
    if (!r.is_trace)
        return TraceFetch::NotATrace;
    if (r.overflow)
        platform::msg_box(ui_text(1300, QStringLiteral("Invalid number in the unit's reply - code ")) +
                              QStringLiteral("6  : ") + ui_text(2406, QStringLiteral("Overflow")),
                          platform::mb::Critical);
    if (e.echo_recording)
        e.recorded_trace_text = QStringLiteral("T1") + reply;
    L.reply_buffer.clear();
    // Line noise parses too (its header reads as zeros), but it holds no trace to show.
    const bool drawable = reply.contains(QLatin1Char('$')) && e.header.sample_count > 0;
    return drawable ? TraceFetch::Trace : TraceFetch::NotATrace;
}

QString span_record_text(const std::array<double, 4>& span) {
    QString text = QStringLiteral("T1$R");
    for (size_t i = 0; i < span.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += platform::number_text_c(span[i]);
    }
    return text;
}

void get_span() {
    EchoState& e = echo_state();
    for (int n = 105; n <= 108; ++n) {
        send_command(QStringLiteral("/p%1").arg(n));
        if (link().comms_abort)
            return;
        // An answer without a number ("NO", "OK", noise) is no span: the one read before stays.
        if (const auto v = platform::read_number_c(link().reply_buffer))
            e.span_values[static_cast<size_t>(n - 105)] = *v;
    }
    e.recorded_trace_text = span_record_text(e.span_values);
}

void get_range(const std::function<bool()>& offline) {
    auto& table = definitions_table();
    for (int n = 900; n <= 904; ++n) {
        if (offline())
            return;
        send_command(QStringLiteral("/p%1").arg(n));
        if (link().comms_abort)
            return;
        const QString reply = link().reply_buffer;
        const auto v = platform::read_number_c(reply);
        if (!v)
            continue; // no reading: the read-out keeps the last one the unit gave
        table[static_cast<size_t>(n)].unit_value = *v * (n == 902 ? 10 : 1);
        table[static_cast<size_t>(n)].value_text = reply;
    }
    if (offline())
        return;
    send_command(QStringLiteral("/m1032"));
    if (link().comms_abort)
        return;
    if (const auto code = status_code_from_m1032(link().reply_buffer)) {
        table[900].unit_value = *code;
        table[900].value_text = QString::number(*code);
    }
    if (offline())
        return;
    send_command(QStringLiteral("/LEVEL"));
    if (link().comms_abort)
        return;
    if (const auto v = platform::read_number_c(link().reply_buffer))
        echo_state().level_value = *v;
    if (offline())
        return;
    send_command(QStringLiteral("/TEMP"));
    if (link().comms_abort)
        return;
    if (const auto v = platform::read_number_c(link().reply_buffer))
        echo_state().temperature_value = *v;
}
