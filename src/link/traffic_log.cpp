#include "link/traffic_log.h"

#include "link/link_state.h"
#include "shell/shell_state.h"

namespace {
const QString CRLF = QStringLiteral("\r\n");
}

void TrafficView::append(const QString& s, bool sent) {
    if (text_.size() > LIMIT) {
        text_.clear();
        emit cleared();
    }
    text_ += s;
    emit appended(s, sent);
}

void TrafficView::clear() {
    text_.clear();
    emit cleared();
}

QString modem_box_line(const QString& cmd) {
    return cmd.contains(QLatin1String("access")) ? QStringLiteral("/access:******") : cmd;
}

QString debug_box_line(const QString& cmd) {
    return cmd.contains(QLatin1String("access")) ? QStringLiteral("/ACCESS:****") : cmd;
}

QString term_line(const QString& cmd) {
    return cmd.contains(QLatin1String("access"), Qt::CaseInsensitive)
               ? QStringLiteral("/access:*****")
               : cmd;
}

void TrafficLog::command_sent(const QString& cmd) {
    link().modem_window_open = true;
    modem_.append(modem_box_line(cmd) + CRLF, true);
    if (link().debug_window_open)
        debug_.append(debug_box_line(cmd) + CRLF, true);
    if (shell().debug_enabled)
        term_.append(term_line(cmd) + CRLF, true);
}

void TrafficLog::command_to_term(const QString& cmd) {
    term_.append(term_line(cmd) + CRLF, true);
}

void TrafficLog::received(const QString& s) {
    if (link().modem_window_open)
        modem_.append(s);
    if (link().debug_window_open)
        debug_.append(s);
}

void TrafficLog::note(const QString& text) {
    const QString& t = term_.text();
    const bool fresh_line =
        t.isEmpty() || t.endsWith(QLatin1Char('\r')) || t.endsWith(QLatin1Char('\n'));
    term_.append((fresh_line ? QString() : CRLF) + text + CRLF);
}

void TrafficLog::clear_all() {
    term_.clear();
    modem_.clear();
    debug_.clear();
}

TrafficLog& traffic() {
    static TrafficLog log;
    return log;
}
