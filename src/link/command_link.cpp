#include "link/command_link.h"

#include "link/link_commands.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/log_on.h"
#include "link/port_failure_text.h"
#include "link/serial_texts.h"
#include "link/traffic_log.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/port_table.h"
#include "platform/serial_port.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <QCoreApplication>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <tuple>
#include <vector>

using platform::CommError;

// wait_for_reply for the reply to `cmd` (empty when the caller wrote it itself). A put-back's
// wait takes the first line that comes, whichever send it answers.
void wait_for_reply_to(const QString& cmd, const QString& status_text, bool put_back = false);

namespace {

// A wait for one reply. Waits nest when a handler sends during another command's wait; the
// receive side hands each completed reply to the oldest wait still open.
struct PendingReply {
    double sent_at = 0;
    double deadline = 0;
    bool answered = false;
    bool owed = false; // its time ran out (or it took an earlier send's answer): an answer is owed
    bool given_up = false; // the program is ending: the wait ends, its answer stays owed
    bool put_back = false; // any line proves the unit is there: it takes an owed answer too
    QString command;
    QString reply;
};

// An answer the unit still owes for a send whose wait ran out. The unit answers in order, so
// the next line that comes is the answer to the oldest of them, whoever waits then.
struct OwedAnswer {
    QString command;
    double sent_at = 0;
    double expect_by = 0; // past this without the answer, it is taken never to come
};

struct ReceiveState {
    std::vector<PendingReply*> pending;
    bool line_done = false;        // reply_buffer holds a delivered reply
    bool device_lost_told = false; // the user has been told that the device went away
    std::vector<OwedAnswer> owed;  // oldest first
    // The last exchange got no answer to any of its sends, or could not be written: a put-back
    // then goes out once. Any line received clears it.
    bool line_dead = false;
    int waits_running = 0; // the link's waits and pauses in progress: a sequence is under way
    // A late answer has come: the unit's lateness is known, and each owed answer is expected
    // that long after its send. A unit that then misses one was not late but deaf to some sends
    // (it answers the third send only), and the rest never come.
    bool lateness_known = false;
};

ReceiveState& rx() {
    static ReceiveState s;
    return s;
}

bool is_line_end(QChar c) {
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

int first_line_end(const QString& s, int from = 0) {
    for (int i = from; i < s.size(); ++i)
        if (is_line_end(s[i]))
            return i;
    return -1;
}

bool pending_open(const PendingReply* p) {
    return !p->answered && !p->given_up && platform::seconds() <= p->deadline;
}

// The user's Cancel of a transfer that lets it end the link's waits.
bool cancelled() {
    const LinkState& L = link();
    return L.cancel_ends_waits && L.cancel_requested;
}

// ---- Answers told apart by their form
//
// Most answers (an acknowledgement, a refusal, a number) could answer any command. Two have a
// form of their own: "/who" and "/WHO" are answered with the unit's name, "/sendall" with the
// list of parameters. Such a command need not wait for the answers the unit still owes to
// commands whose answers never take that form: it goes out at once, a line of its form is its
// own answer, and any other line is taken as one of the owed answers and dropped.
enum class AnswerForm { None, UnitName, ParameterList };

// Items between the first and the last, one of them "<P>:<value>" with P a parameter number.
bool is_parameter_list(const QString& line) {
    const QStringList items = line.split(QLatin1Char(','));
    for (qsizetype i = 1; i + 1 < items.size(); ++i) {
        const qsizetype colon = items[i].indexOf(QLatin1Char(':'));
        bool ok = false;
        const int number = colon > 0 ? items[i].left(colon).trimmed().toInt(&ok) : 0;
        if (ok && number >= 20 && number <= 999)
            return true;
    }
    return false;
}

// The unit's name and the version after "V": "@Velto Level V2.05". A unit of a kind the program
// does not know by name answers with its version all the same.
bool names_the_unit(const QString& line) {
    static const char* const names[] = {"Velto",   "Comms",      "Hesvarin",
                                        "Krestel", "Quorvantix", "Sludge"};
    return convert_who_to_software_version(line) != 999 ||
           std::any_of(std::begin(names), std::end(names),
                       [&](const char* name) { return line.contains(QLatin1String(name)); });
}

AnswerForm form_of_line(const QString& line) {
    if (!reply_understood(line))
        return AnswerForm::None;
    if (is_parameter_list(line))
        return AnswerForm::ParameterList;
    return names_the_unit(line) ? AnswerForm::UnitName : AnswerForm::None;
}

// The form of its own that the answer to `cmd` has, if any.
AnswerForm own_form(const QString& cmd) {
    if (cmd.compare(link_commands::WHO, Qt::CaseInsensitive) == 0)
        return AnswerForm::UnitName;
    if (cmd.compare(QLatin1String("/sendall"), Qt::CaseInsensitive) == 0)
        return AnswerForm::ParameterList;
    return AnswerForm::None;
}

// Commands the unit answers with "OK", "NO" or a number: the access, its mode switches and
// questions, and the reading or writing of a parameter whose value is a number.
bool answered_by_word_or_number(const QString& cmd) {
    static const QRegularExpression parameter(QStringLiteral("^/[pP](\\d{1,4})(:.*)?$"));
    if (const QRegularExpressionMatch m = parameter.match(cmd); m.hasMatch())
        return !holds_text_value(m.captured(1).toInt());
    if (cmd.startsWith(link_commands::ACCESS, Qt::CaseInsensitive))
        return true;
    for (const QString& c : {link_commands::LOADQUICK, link_commands::LOADNORM,
                             link_commands::ISCSO, link_commands::ISFLOW, link_commands::ISVOLUME})
        if (cmd.compare(c, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// Whether the answer to `cmd` may take `form`. The unit's name never answers "/sendall", nor a
// list "/who"; an answer of words or numbers takes neither. Anything else (a trace, a text) may.
bool answer_may_take(const QString& cmd, AnswerForm form) {
    const AnswerForm own = own_form(cmd);
    if (own != AnswerForm::None)
        return own == form;
    return !answered_by_word_or_number(cmd);
}

// `cmd` is answered in a form no answer the unit still owes can take.
bool told_apart_from_owed(const QString& cmd) {
    const AnswerForm form = own_form(cmd);
    return form != AnswerForm::None &&
           std::none_of(rx().owed.begin(), rx().owed.end(), [&](const OwedAnswer& o) {
               return o.command == cmd || answer_may_take(o.command, form);
           });
}

// Counts a wait or pause of the link while it runs.
struct LinkWait {
    LinkWait() { ++rx().waits_running; }
    ~LinkWait() { --rx().waits_running; }
    LinkWait(const LinkWait&) = delete;
    LinkWait& operator=(const LinkWait&) = delete;
};

// Before any answer has come, an owed answer is waited for as long again as its own wait was.
void owe_answer(PendingReply* p) {
    if (p->answered || p->owed)
        return;
    p->owed = true;
    const double timeout = p->deadline - p->sent_at;
    rx().owed.push_back({p->command, p->sent_at, p->sent_at + 2 * timeout});
}

// A wait whose time ran out while a handler ran inside it still expects its answer.
void owe_answers_of_expired_waits() {
    for (PendingReply* p : rx().pending)
        if (!p->answered && platform::seconds() > p->deadline)
            owe_answer(p);
}

// The unit answered `lateness` seconds after a send: the answers still owed come as late after
// their own sends, give or take a tenth and three seconds. Giving up too early would let a late
// answer that still comes pass for the next command's reply, so the margin errs on the long side.
void learn_lateness(double lateness) {
    rx().lateness_known = true;
    for (OwedAnswer& o : rx().owed)
        o.expect_by = o.sent_at + lateness * 1.1 + 3.0;
}

// When the owed answers are given up: at the first one missed once the lateness is known, else
// when the last one is overdue.
double owed_give_up_time() {
    const auto& owed = rx().owed;
    double t = rx().lateness_known ? owed.front().expect_by : 0;
    for (const OwedAnswer& o : owed)
        t = rx().lateness_known ? std::min(t, o.expect_by) : std::max(t, o.expect_by);
    return t;
}

void forgive_owed_answers(bool note = true) {
    if (note && !rx().owed.empty())
        traffic().note(ui_text(2001, QStringLiteral("(no late reply came; going on)")));
    rx().owed.clear();
    rx().lateness_known = false;
}

// The open wait that asked the same as the oldest owed send, or a put-back, which may take that
// answer.
PendingReply* wait_taking_owed_answer() {
    if (rx().owed.empty())
        return nullptr;
    const QString& command = rx().owed.front().command;
    for (PendingReply* p : rx().pending)
        if (pending_open(p) && (p->put_back || (!command.isEmpty() && p->command == command)))
            return p;
    return nullptr;
}

// Progress bars grow by `step` and start again from 0 when they would reach their maximum.
void step_progress(int bar, int step) {
    LinkView& v = link_view();
    const int value = v.progress_value(bar);
    v.set_progress_value(bar, value + step < v.progress_max(bar) ? value + step : 0);
}

void step_progress_by_one(int bar) {
    LinkView& v = link_view();
    const int value = v.progress_value(bar);
    v.set_progress_value(bar, value < v.progress_max(bar) ? value + 1 : 0);
}

int transfer_bar() {
    return shell().debug_enabled ? 1 : 4;
}

// ---- The put-back that runs on after the stopped work has returned
//
// put_back_after_stop writes the command at once; its wait, the pause before a resend and the
// resends then run on the event loop (a timer and the receive event), so that the stopped work
// tells the user at once and the program is free. Work with the unit waits for it to end.
struct BackgroundPutBack {
    bool running = false;
    QString command;
    double timeout = 40;
    int resends_left = 0;  // sends still allowed after the one in flight or due after the pause
    bool waiting = false;  // `wait` is among the link's pending waits
    bool in_pause = false; // the pause before a resend
    double pause_end = 0;
    bool tell_failure = true; // no failure of the line has been told already
    PendingReply wait;
    QPointer<QTimer> ticker;
};

BackgroundPutBack& background() {
    static BackgroundPutBack b;
    return b;
}

constexpr double RESEND_PAUSE = 0.5; // seconds before a resend

void stop_waiting_for_put_back() {
    BackgroundPutBack& b = background();
    if (!b.waiting)
        return;
    auto& v = rx().pending;
    v.erase(std::remove(v.begin(), v.end(), &b.wait), v.end());
    b.waiting = false;
}

// The put-back stops where it stands: no more waiting, pausing or ticking.
void halt_put_back() {
    BackgroundPutBack& b = background();
    stop_waiting_for_put_back();
    b.running = false;
    b.in_pause = false;
    if (b.ticker)
        b.ticker->stop();
}

// How long the put-back may still take at most: the rest of its wait or pause, and the full
// wait of every resend it may still make.
double put_back_time_left() {
    const BackgroundPutBack& b = background();
    if (!b.running)
        return 0;
    const double now = platform::seconds();
    const double per_resend = RESEND_PAUSE + b.timeout;
    if (b.in_pause)
        return std::max(0.0, b.pause_end - now) + b.timeout + (b.resends_left - 1) * per_resend;
    return std::max(0.0, b.wait.deadline - now) + b.resends_left * per_resend;
}

void show_put_back_countdown() {
    link_view().set_status_text(
        2, ui_text(1419, QStringLiteral("Returning the unit to normal mode...")) +
               QLatin1Char(' ') +
               platform::format_number(put_back_time_left(), QStringLiteral("#0.0")) +
               QLatin1Char('s'));
}

void end_put_back(bool answered) {
    BackgroundPutBack& b = background();
    LinkState& L = link();
    halt_put_back();
    link_view().set_status_text(2, QString());
    if (answered) {
        if (b.command.compare(link_commands::LOADNORM, Qt::CaseInsensitive) == 0)
            L.unit_quick_mode = false;
        return;
    }
    // No answer to any send: the line is dead, and nothing more is waited for.
    rx().line_dead = true;
    forgive_owed_answers(false);
    if (b.tell_failure && !rx().device_lost_told && !platform::all_waits_ended())
        platform::msg_box(
            ui_text(2921, QStringLiteral("The unit did not answer when it was put back into its "
                                         "normal mode and may still be in its quick mode. Check "
                                         "the cable and the port settings.")),
            platform::mb::Critical, ui_text(1411, QStringLiteral("Communication Error")));
}

// Writes the put-back's command and starts its wait; false when it could not be written.
bool write_put_back() {
    BackgroundPutBack& b = background();
    LinkState& L = link();
    platform::SerialPort& port = MSComm1();
    port.clear_input();
    L.reply_buffer.clear();
    L.reply_received = false;
    rx().line_done = false;
    traffic().command_sent(b.command);
    if (shell().operation_mode == 0 || L.point_transfer_active)
        step_progress(transfer_bar(), static_cast<int>(b.command.size()));
    if (port.output(b.command.toLatin1() + '\r') != CommError::None)
        return false;
    if (!L.quiet_commands)
        traffic().command_to_term(b.command);
    b.wait = PendingReply{};
    b.wait.sent_at = platform::seconds();
    b.wait.deadline = b.wait.sent_at + b.timeout;
    b.wait.command = b.command;
    b.wait.put_back = true;
    rx().pending.push_back(&b.wait);
    b.waiting = true;
    return true;
}

void step_put_back();
double timeout_for(const QString& cmd, bool sweep);

// The next step comes at the put-back's next deadline, or sooner for the countdown.
void arm_put_back_ticker(double seconds_ahead = 0.1) {
    BackgroundPutBack& b = background();
    if (!b.ticker) {
        b.ticker = new QTimer(QCoreApplication::instance());
        b.ticker->setSingleShot(true);
        b.ticker->setTimerType(Qt::PreciseTimer);
        QObject::connect(b.ticker, &QTimer::timeout, [] { step_put_back(); });
    }
    const double real_ms = std::max(0.0, seconds_ahead) * 1000.0 / platform::time_scale();
    b.ticker->start(static_cast<int>(std::clamp(std::ceil(real_ms), 0.0, 100.0)));
}

// One step of the put-back: its answer came, its wait ran out, or the pause before a resend is
// over.
void step_put_back() {
    BackgroundPutBack& b = background();
    if (!b.running)
        return;
    if (platform::all_waits_ended()) {
        end_put_back(false);
        return;
    }
    const double now = platform::seconds();
    if (b.waiting) {
        if (b.wait.answered) {
            end_put_back(true);
            return;
        }
        if (now <= b.wait.deadline) {
            show_put_back_countdown();
            arm_put_back_ticker(b.wait.deadline - now);
            return;
        }
        stop_waiting_for_put_back();
        owe_answer(&b.wait);
        if (b.resends_left <= 0) {
            end_put_back(false);
            return;
        }
        b.in_pause = true;
        b.pause_end = now + RESEND_PAUSE;
    }
    if (b.in_pause && now >= b.pause_end) {
        b.in_pause = false;
        --b.resends_left;
        if (!write_put_back()) {
            end_put_back(false);
            return;
        }
    }
    show_put_back_countdown();
    arm_put_back_ticker((b.waiting ? b.wait.deadline : b.pause_end) - now);
}

// Waits with events running until the put-back under way has ended or the program ends, or,
// for a command of a transfer the user may cancel, until the user's Cancel.
void wait_for_put_back(bool cancellable) {
    BackgroundPutBack& b = background();
    if (!b.running)
        return;
    LinkWait counted;
    const auto stopped = [cancellable] { return cancellable && cancelled(); };
    while (b.running && !platform::all_waits_ended() && !stopped()) {
        step_put_back();
        if (!b.running)
            break;
        const double next = b.waiting ? b.wait.deadline : b.pause_end;
        platform::wait_until(
            [&] { return !b.running || (b.waiting && b.wait.answered) || stopped(); },
            std::max(0.0, next - platform::seconds()) + 0.001, show_put_back_countdown, 0.1);
    }
    step_put_back();
}

// The open wait for a command told apart from the owed answers whose own form `reply` has.
PendingReply* wait_recognising(const QString& reply) {
    for (PendingReply* p : rx().pending)
        if (pending_open(p) && !p->put_back && has_own_answer_form(p->command, reply) &&
            told_apart_from_owed(p->command))
            return p;
    return nullptr;
}

void deliver(const QString& reply) {
    LinkState& L = link();
    rx().line_dead = false;
    owe_answers_of_expired_waits();
    PendingReply* taker = nullptr;
    if (!rx().owed.empty() && (taker = wait_recognising(reply))) {
        // Its own answer: the unit answers in order, so what it owed before it will not come.
        forgive_owed_answers();
    } else if (!rx().owed.empty()) {
        const OwedAnswer first = rx().owed.front();
        taker = wait_taking_owed_answer();
        rx().owed.erase(rx().owed.begin());
        if (taker) {
            // The same command sent again takes its earlier answer: it is the answer it asks for
            // (a put-back asks only that the unit is there). Its own answer is now the one owed.
            taker->owed = true;
            rx().owed.push_back({taker->command, taker->sent_at, 0});
        }
        learn_lateness(platform::seconds() - first.sent_at);
        if (!taker) {
            // A late answer to an earlier send: nobody's reply; the traffic log says so.
            traffic().note(ui_text(2000, QStringLiteral("(late reply dropped)")) +
                           QLatin1Char(' ') + reply);
            L.reply_buffer.clear();
            return;
        }
    }
    L.reply_buffer = reply;
    L.reply_received = true;
    rx().line_done = true;
    if (!taker)
        for (PendingReply* p : rx().pending)
            if (pending_open(p)) {
                taker = p;
                break;
            }
    if (taker) {
        taker->answered = true;
        taker->reply = reply;
        if (taker == &background().wait)
            arm_put_back_ticker(0);
    }
    // Whatever follows the reply on the line belongs to no exchange.
    MSComm1().clear_input();
}

// A command sent from a handler that runs inside another command's wait goes out only when the
// outer reply has come (or its time is up), so that the unit answers one command at a time and
// the outer reply is not lost.
void wait_for_earlier_replies() {
    LinkWait counted;
    // A put-back under way goes first.
    wait_for_put_back(true);
    auto open = [] { return std::any_of(rx().pending.begin(), rx().pending.end(), pending_open); };
    while (open() && !cancelled() && !platform::all_waits_ended()) {
        double until = 0;
        for (const PendingReply* p : rx().pending)
            if (pending_open(p))
                until = std::max(until, p->deadline);
        platform::wait_until([&] { return !open() || cancelled(); },
                             until - platform::seconds() + 0.01);
    }
    owe_answers_of_expired_waits();
}

// Time-out of a command sent by send_command; `sweep`: the parameter sweep's shorter wait.
double timeout_for(const QString& cmd, bool sweep) {
    const LinkState& L = link();
    if (L.echo_online)
        return 20;
    if (cmd.contains(QLatin1String("/who")) || cmd.contains(QLatin1String("access")))
        return 10;
    if (sweep)
        return 5;
    return 40;
}

double timeout_for(const QString& cmd) {
    return timeout_for(cmd, link().parameter_sweep);
}

// Clears what the link itself put in the status panels for an exchange that has ended.
struct ExchangeStatus {
    QString shown; // what panel 1 shows from this exchange
    void show(const QString& text) {
        if (text.isEmpty())
            return;
        shown = text;
        link_view().set_status_text(1, text);
    }
    ~ExchangeStatus() {
        LinkView& v = link_view();
        if (!v.status_text(2).isEmpty())
            v.set_status_text(2, QString());
        if (!shown.isEmpty() && v.status_text(1) == shown)
            v.set_status_text(1, QString());
    }
};

// The exchange failed: the unit did not answer, or the command could not be written.
void command_failed(bool tell_user, const QString& title) {
    LinkState& L = link();
    // A countdown standing behind the message would read as a wait still going on.
    link_view().set_status_text(2, QString());
    const bool already_told = L.failure_message == LinkState::FailureMessage::AlreadyTold;
    if (tell_user && !already_told)
        tell_link_failure(
            ui_text(1299, QStringLiteral(
                              "No reply from the unit. Check the cable and the port settings.")),
            platform::mb::Critical, title);
    L.failure_told = L.failure_told || tell_user || already_told || rx().device_lost_told;
    link_view().set_status_text(1, QString());
    if (L.echo_online) {
        link_view().set_live_timer_enabled(false);
        L.echo_online = false;
        link_view().select_offline_option();
    }
    L.parameter_sweep = false;
    L.comms_abort = true;
    rx().line_dead = true;
    // A unit that answered none of the sends is not waited for again before the next command.
    forgive_owed_answers(false);
}

// Writing failed (the port is not open or the device has gone). Never a success: comms_abort is
// set; the user is told unless an abort is already under way or the lost device was reported.
void sending_failed() {
    const bool tell = !link().comms_abort && !rx().device_lost_told;
    command_failed(tell, QString());
}

void end_download();

void on_device_lost() {
    LinkState& L = link();
    L.comms_abort = true;
    // A download waits for the end of its stream, which will not come now.
    if (L.log_download_active)
        end_download();
    if (rx().device_lost_told)
        return;
    rx().device_lost_told = true;
    L.failure_told = true;
    tell_link_failure(serial_text(95) + QLatin1Char(' ') +
                          platform::port_name(MSComm1().comm_port()) + QLatin1Char(' ') +
                          serial_text(96),
                      platform::mb::Critical);
}

void show_countdown() {
    LinkState& L = link();
    L.reply_seconds_left =
        std::max(0.0, L.wait_timeout - (platform::seconds() - L.wait_start_time));
    link_view().set_status_text(
        2, ui_text(1362, QStringLiteral("Waiting for reply")) + QLatin1Char(' ') +
               platform::format_number(L.reply_seconds_left, QStringLiteral("#0.0")) +
               QLatin1Char('s'));
}

void receive_download(const QString& s);

} // namespace

void tell_link_failure(const QString& text, int style, const QString& title) {
    LinkState& L = link();
    if (L.failure_message != LinkState::FailureMessage::Held) {
        platform::msg_box(text, style, title);
        return;
    }
    if (L.held_failure_message.isEmpty())
        L.held_failure_message = text;
}

platform::SerialPort& MSComm1() {
    static QPointer<platform::SerialPort> port;
    if (!port) {
        port = new platform::SerialPort(QCoreApplication::instance());
        QObject::connect(port, &platform::SerialPort::on_comm, [] { MSComm1_OnComm(); });
        QObject::connect(port, &platform::SerialPort::device_lost, [] { on_device_lost(); });
        // A port opened anew may lead to another unit, or to one started again: a put-back after
        // a later failure answers only for a "/LOADQUICK" sent since.
        QObject::connect(port, &platform::SerialPort::opened,
                         [] { link().unit_quick_mode = false; });
    }
    return *port;
}

void reset_command_link() {
    halt_put_back();
    rx().line_done = false;
    rx().line_dead = false;
    rx().device_lost_told = false;
    rx().owed.clear();
    rx().lateness_known = false;
}

void open_com_port() {
    LinkState& L = link();
    platform::SerialPort& port = MSComm1();
    L.port_open_failed = false;
    // Opening the port anew would cut off the put-back under way: the work that wants the port
    // fails, and the user is told why and for how long.
    if (tell_if_putting_back()) {
        L.port_open_failed = true;
        L.comms_abort = true;
        L.failure_told = true;
        return;
    }
    if (!shell().ini_path.isEmpty())
        platform::port_table_config().map_file = shell().ini_path;
    if (port.port_open())
        port.set_port_open(false);
    CommError error = port.set_comm_port(shell().com_port);
    if (error == CommError::None)
        error = port.set_settings(shell().comm_settings);
    if (error == CommError::None)
        error = port.set_port_open(true);
    if (error != CommError::None) {
        L.port_open_failed = true;
        port.set_port_open(false);
        platform::msg_box(port_failure_text(shell().com_port), platform::mb::Critical);
        L.comms_abort = true;
        L.failure_told = true;
        return;
    }
    rx().device_lost_told = false;
    rx().line_dead = false;
    settle_pause();
    L.reply_received = false;
    port.set_rthreshold(1);
    port.set_input_len(0);
    port.clear_input();
}

bool wait_for_owed_replies(const QString& cmd, double) {
    owe_answers_of_expired_waits();
    ReceiveState& r = rx();
    auto due = [&] { return !r.owed.empty() && platform::seconds() <= owed_give_up_time(); };
    if (!due()) {
        forgive_owed_answers();
        return true;
    }
    // The same command sent again may take its earlier answer: it is the answer it asks for.
    // A command whose answer has a form none of the owed answers can take tells its own answer
    // from them when it comes.
    if (std::all_of(r.owed.begin(), r.owed.end(),
                    [&](const OwedAnswer& o) { return !cmd.isEmpty() && o.command == cmd; }) ||
        told_apart_from_owed(cmd))
        return true;
    // The user sees what holds the link up, and for how long.
    LinkView& v = link_view();
    const QString before = v.status_text(1);
    // A trace's wait has no command of its own (its late answer is nobody else's to take).
    const QString& owed = r.owed.front().command;
    const QString text =
        owed.isEmpty() ? ui_text(2430, QStringLiteral("Waiting for a late reply from the unit"))
                       : ui_text(2040, QStringLiteral("Waiting for the late reply to")) +
                             QLatin1Char(' ') + term_line(owed);
    v.set_status_text(1, text);
    auto countdown = [&] {
        if (r.owed.empty())
            return;
        v.set_status_text(
            2, ui_text(1362, QStringLiteral("Waiting for reply")) + QLatin1Char(' ') +
                   platform::format_number(std::max(0.0, owed_give_up_time() - platform::seconds()),
                                           QStringLiteral("#0.0")) +
                   QLatin1Char('s'));
    };
    countdown();
    LinkWait counted;
    while (due() && !platform::all_waits_ended() && !cancelled())
        platform::wait_until([&] { return !due() || cancelled(); },
                             owed_give_up_time() - platform::seconds() + 0.01, countdown, 0.1);
    // Answers still owed when the user cancels stay owed: whatever goes out next waits for them.
    const bool stopped = due() && cancelled();
    if (!stopped)
        forgive_owed_answers();
    if (v.status_text(1) == text)
        v.set_status_text(1, before);
    v.set_status_text(2, QString());
    return !stopped;
}

namespace {

// send_command, or for a put-back (send_put_back) one that goes out without waiting for the
// answers still owed and takes the first line that comes.
void send_exchange(const QString& cmd, const QString& status_text, int sends, bool put_back) {
    LinkState& L = link();
    platform::SerialPort& port = MSComm1();
    L.command_went_out = false;
    if (platform::all_waits_ended()) {
        L.comms_abort = true;
        return;
    }
    L.failure_told = false;
    ExchangeStatus status;
    int tries = 0;
    int sweep_resends = 0;
    for (;;) {
        wait_for_earlier_replies();
        if (put_back)
            owe_answers_of_expired_waits();
        // Cancelled while a command before it or the unit's owed answers held it up: nothing is
        // sent. Nor once the program is ending.
        if (cancelled() || (!put_back && !wait_for_owed_replies(cmd)) ||
            platform::all_waits_ended()) {
            L.comms_abort = true;
            return;
        }
        L.comms_abort = false;
        port.clear_input();
        L.reply_timeout = timeout_for(cmd);
        L.reply_buffer.clear();
        L.reply_received = false;
        rx().line_done = false;

        traffic().command_sent(cmd);
        if (shell().operation_mode == 0 || L.point_transfer_active)
            step_progress(transfer_bar(), static_cast<int>(cmd.size()));
        if (port.output(cmd.toLatin1() + '\r') != CommError::None) {
            sending_failed();
            return;
        }
        L.command_went_out = true;
        if (cmd.compare(link_commands::LOADQUICK, Qt::CaseInsensitive) == 0)
            L.unit_quick_mode = true;
        if (!L.quiet_commands)
            traffic().command_to_term(cmd);

        status.show(status_text);
        wait_for_reply_to(cmd, QString(), put_back);
        if (!L.comms_abort && cmd.compare(link_commands::LOADNORM, Qt::CaseInsensitive) == 0)
            L.unit_quick_mode = false;

        if (L.parameter_sweep && !L.reply_timed_out) {
            if (L.comms_abort)
                return; // stopped by another handler or the user's Cancel
            // The unit acknowledges instead of answering now and then; ask again, a few times.
            const bool no_value = L.reply_buffer.isEmpty() || L.reply_buffer == QLatin1String("OK");
            if (no_value && sweep_resends < 3 && !cancelled()) {
                ++sweep_resends;
                continue;
            }
            return;
        }
        if (!L.reply_timed_out)
            return;
        if (tries + 1 >= sends) {
            command_failed(true, ui_text(1411, QStringLiteral("Communication Error")));
            return;
        }
        // Another handler may stop the exchange during the pause as it may during a wait.
        L.comms_abort = false;
        // A put-back follows a stop the caller has told in the status bar; that stays on show.
        if (!put_back)
            status.show(ui_text(1416, QStringLiteral("No reply - retry")) + QLatin1Char(' ') +
                        QString::number(tries + 1));
        delay_ms(500);
        if (L.comms_abort || cancelled()) {
            L.comms_abort = true;
            return;
        }
        ++tries;
    }
}

} // namespace

void send_command(const QString& cmd, const QString& status_text, int sends) {
    send_exchange(cmd, status_text, sends, false);
}

void send_put_back(const QString& cmd) {
    LinkState& L = link();
    // A plain exchange, whatever the stopped work was collecting (a sweep would take the unit's
    // "OK" for a missing value and ask again).
    auto modes =
        std::tie(L.cancel_ends_waits, L.parameter_sweep, L.chunk_progress, L.loginfo_reply_mode);
    const auto kept =
        std::tuple(L.cancel_ends_waits, L.parameter_sweep, L.chunk_progress, L.loginfo_reply_mode);
    modes = std::tuple(false, false, false, false);
    send_exchange(cmd, QString(), rx().line_dead ? 1 : 3, true);
    modes = kept;
}

void put_back_after_stop(const QString& cmd) {
    LinkState& L = link();
    BackgroundPutBack& b = background();
    if (b.running || platform::all_waits_ended())
        return; // the unit is being put back already, or the program is ending
    const bool told = L.failure_told;
    if (!QCoreApplication::instance() ||
        std::any_of(rx().pending.begin(), rx().pending.end(), pending_open)) {
        // Stopped in a handler inside another command's wait: it goes out after that reply, and
        // is waited for here.
        const LinkState::FailureMessage failure_message = L.failure_message;
        if (told)
            L.failure_message = LinkState::FailureMessage::AlreadyTold;
        send_put_back(cmd);
        L.failure_message = failure_message;
        L.failure_told = told || L.failure_told;
        return;
    }
    owe_answers_of_expired_waits();
    b.running = true;
    b.command = cmd;
    b.timeout = timeout_for(cmd, false);
    b.resends_left = rx().line_dead ? 0 : 2;
    b.tell_failure = !told;
    b.in_pause = false;
    if (!write_put_back()) {
        end_put_back(false);
        return;
    }
    show_put_back_countdown();
    arm_put_back_ticker();
}

bool putting_back() {
    return background().running;
}

bool tell_if_putting_back() {
    if (!putting_back())
        return false;
    platform::msg_box(
        ui_text(2920, QStringLiteral("The program is still putting the unit back into its normal "
                                     "mode. Try again when that is done: in at most %1 s."))
            .arg(static_cast<int>(std::ceil(put_back_time_left()))),
        platform::mb::Information);
    return true;
}

void finish_put_back() {
    wait_for_put_back(false);
}

bool send_command_once(const QString& cmd) {
    LinkState& L = link();
    platform::SerialPort& port = MSComm1();
    if (platform::all_waits_ended()) {
        L.comms_abort = true;
        return false;
    }
    wait_for_earlier_replies();
    wait_for_owed_replies(cmd);
    L.comms_abort = false;
    port.clear_input();
    L.reply_buffer.clear();
    L.reply_received = false;
    rx().line_done = false;
    traffic().command_sent(cmd);
    if (port.output(cmd.toLatin1() + '\r') != CommError::None) {
        sending_failed();
        return false;
    }
    if (!L.quiet_commands)
        traffic().command_to_term(cmd);
    return true;
}

bool has_own_answer_form(const QString& cmd, const QString& line) {
    const AnswerForm form = own_form(cmd);
    return form != AnswerForm::None && form_of_line(line) == form;
}

bool write_refused(const QString& reply) {
    return reply.contains(QLatin1String("NO"));
}

void end_link_for_exit() {
    LinkState& L = link();
    ReceiveState& r = rx();
    static bool ending = false; // a second way out while the unit is put back ends it at once
    if (!ending && !platform::all_waits_ended()) {
        ending = true;
        // The work under way stops where it stands, as the user's Cancel stops it: its waits
        // end, and the answers they waited for stay owed.
        const bool working = r.waits_running > 0;
        BackgroundPutBack& b = background();
        for (PendingReply* p : r.pending)
            if (!p->answered && p != &b.wait) {
                owe_answer(p);
                p->given_up = true;
            }
        // A unit that work may have left in its quick-load mode goes back to its normal mode
        // first, as after any other stop; a log still streaming is cut off by the closing port,
        // as the download's own abort does. A put-back under way is waited for. Nothing more is
        // told: the program is ending.
        if (b.running) {
            b.tell_failure = false;
            wait_for_put_back(false);
        } else if (working && L.unit_quick_mode && !L.log_download_active &&
                   MSComm1().port_open()) {
            const LinkState::FailureMessage failure_message = L.failure_message;
            L.failure_message = LinkState::FailureMessage::Held;
            send_put_back(link_commands::LOADNORM);
            L.failure_message = failure_message;
        }
        ending = false;
    }
    platform::end_all_waits();
    L.comms_abort = true;
    L.log_download_active = false;
    if (MSComm1().port_open())
        MSComm1().set_port_open(false);
}

void send_command_plain(const QString& cmd) {
    send_command(cmd, QString());
}

void send_command_to_comms_card(const QString& cmd) {
    LinkState& L = link();
    platform::SerialPort& port = MSComm1();
    if (platform::all_waits_ended()) {
        L.comms_abort = true;
        return;
    }
    ExchangeStatus status;
    for (int tries = 0;; ++tries) {
        wait_for_earlier_replies();
        wait_for_owed_replies(cmd);
        L.comms_abort = false;
        port.clear_input();
        L.reply_timeout = 10;
        L.reply_buffer.clear();
        L.reply_received = false;
        rx().line_done = false;
        if (port.output(cmd.toLatin1() + '\r') != CommError::None) {
            const bool tell = !L.comms_abort && !rx().device_lost_told;
            if (tell)
                platform::msg_box(
                    ui_text(1299,
                            QStringLiteral(
                                "No reply from the unit. Check the cable and the port settings.")),
                    platform::mb::Critical);
            L.parameter_sweep = false;
            L.comms_abort = true;
            return;
        }
        if (!L.quiet_commands)
            traffic().command_to_term(cmd);
        wait_for_reply_to(cmd, QString());
        if (!L.reply_timed_out)
            return;
        if (tries == 1) {
            platform::msg_box(
                QStringLiteral("Communication card not found.\r\nPlease reboot your Velto unit."),
                platform::mb::Critical, ui_text(1411, QStringLiteral("Communication Error")));
            L.parameter_sweep = false;
            L.comms_abort = true;
            forgive_owed_answers(false);
            return;
        }
        status.show(QStringLiteral("Connection failed, retrying... "));
    }
}

void wait_for_reply(const QString& status_text) {
    wait_for_reply_to(QString(), status_text);
}

void wait_for_reply_to(const QString& cmd, const QString& status_text, bool put_back) {
    LinkState& L = link();
    L.wait_timeout = L.reply_timeout;
    L.reply_timed_out = false;
    L.wait_start_time = platform::seconds();
    if (!status_text.isEmpty())
        link_view().set_status_text(1, status_text);
    if (L.log_download_active)
        return;

    LinkWait counted;
    PendingReply me;
    me.sent_at = L.wait_start_time;
    me.deadline = L.wait_start_time + L.wait_timeout;
    me.command = cmd;
    me.put_back = put_back;
    rx().pending.push_back(&me);
    struct Remove {
        PendingReply* p;
        ~Remove() {
            auto& v = rx().pending;
            v.erase(std::remove(v.begin(), v.end(), p), v.end());
        }
    } remove{&me};

    auto stopped = [&] { return L.comms_abort || cancelled() || me.given_up; };
    show_countdown();
    platform::wait_until(
        [&] { return me.answered || stopped() || platform::seconds() > me.deadline; },
        L.wait_timeout + 0.001, show_countdown, 0.1);

    if (me.answered) {
        L.reply_buffer = me.reply;
        L.reply_received = true;
        // A countdown left standing after the answer would read as a wait still going on.
        link_view().set_status_text(2, QString());
        return;
    }
    if (platform::seconds() > me.deadline) {
        owe_answer(&me);
        L.trace_valid = false;
        L.reply_timed_out = true;
        L.comms_abort = true;
        return;
    }
    // Stopped from outside: another handler set comms_abort (a window closed during its wait, an
    // aborted download), the user cancelled, or the program is ending. The unit still answers the
    // command whose wait was stopped.
    if (!cmd.isEmpty())
        owe_answer(&me);
    L.comms_abort = true;
    L.reply_buffer.clear();
}

void delay_ms(int ms) {
    LinkWait counted;
    link().delay_elapsed = false;
    if (ms <= 0)
        platform::pump_events();
    else
        platform::wait_until([] { return cancelled(); }, ms / 1000.0);
    link().delay_elapsed = true;
}

void Delay(int seconds) {
    LinkWait counted;
    link().wait_start_time = platform::seconds();
    platform::wait_ms(seconds * 1000);
}

void settle_pause() {
    LinkWait counted;
    platform::wait_ms(100);
}

void MSComm1_OnComm() {
    const QByteArray bytes = MSComm1().input();
    if (!bytes.isEmpty())
        receive_text(bytes);
}

void receive_text(const QByteArray& bytes) {
    LinkState& L = link();
    const QString s = QString::fromLatin1(bytes);
    if (s.isEmpty())
        return;
    if (rx().line_done && !L.log_download_active) {
        // A delivered reply stays with its exchange; received text starts the next line.
        L.reply_buffer.clear();
        rx().line_done = false;
    }
    // A lone line end before any text is the tail of an earlier line.
    if (L.reply_buffer.isEmpty() && s.size() == 1 && is_line_end(s[0]))
        return;

    if (L.chunk_progress)
        step_progress_by_one(3);

    if (L.echo_online) {
        step_progress_by_one(1);
    } else {
        traffic().received(s);
        if (shell().operation_mode == 0)
            step_progress(transfer_bar(), static_cast<int>(s.size()));
        else if (L.point_transfer_active)
            step_progress_by_one(5);
        if (L.log_download_active) {
            receive_download(s);
            return;
        }
    }

    // Answers owed by earlier sends are single lines whatever the mode of the exchange to come.
    const bool owed_line = !rx().owed.empty() && !wait_taking_owed_answer();
    if (L.loginfo_reply_mode && !L.echo_online && !owed_line) {
        // Several "key=value" lines; complete at the line end that follows the value of
        // "LogRecords". Line ends stay in the reply for the caller to split.
        QString text = s;
        if (L.reply_buffer.isEmpty()) {
            int i = 0;
            while (i < text.size() && is_line_end(text[i]))
                ++i;
            text = text.mid(i);
        }
        L.reply_buffer += text;
        const int key = static_cast<int>(L.reply_buffer.indexOf(QLatin1String("LogRecords")));
        if (key < 0)
            return;
        int i = key + 10;
        auto separator = [](QChar c) {
            return c == QLatin1Char('=') || c == QLatin1Char(':') || c == QLatin1Char(' ') ||
                   c == QLatin1Char('\t') || is_line_end(c);
        };
        while (i < L.reply_buffer.size() && separator(L.reply_buffer[i]))
            ++i;
        const int end = first_line_end(L.reply_buffer, i);
        if (i >= L.reply_buffer.size() || end < 0)
            return;
        deliver(L.reply_buffer.left(end + 1));
        return;
    }

    // One line: leading line ends are dropped, the first line end after text completes it.
    int from = 0;
    if (L.reply_buffer.isEmpty())
        while (from < s.size() && is_line_end(s[from]))
            ++from;
    while (from < s.size()) {
        const int end = first_line_end(s, from);
        if (end < 0) {
            L.reply_buffer += QStringView(s).mid(from);
            return;
        }
        L.reply_buffer += QStringView(s).mid(from, end - from);
        from = end + 1;
        if (!L.reply_buffer.isEmpty()) {
            if (L.echo_online)
                link_view().set_progress_value(1, 0);
            deliver(L.reply_buffer);
            // Whole lines after it in the same batch may be answers still owed.
            while (!rx().owed.empty() && from < s.size()) {
                const int next = first_line_end(s, from);
                if (next < 0)
                    break;
                if (next > from)
                    deliver(s.mid(from, next - from));
                from = next + 1;
            }
            return;
        }
    }
}

namespace {

void end_download() {
    LinkState& L = link();
    MSComm1().clear_input();
    if (L.download_file)
        L.download_file->close();
    L.download_file.reset();
    L.log_download_active = false;
    link_view().set_progress_value(1, 0);
    link_view().set_status_text(1, QString());
}

void show_download_progress() {
    const LinkState& L = link();
    double fraction = 0;
    if (L.download_expected > 0)
        fraction = std::min(1.0, L.download_received / L.download_expected);
    const double minutes = (platform::seconds() - L.download_start_time) / 60.0;
    const QString text =
        ui_text(1112, QStringLiteral("Downloaded")) + QLatin1Char(' ') +
        platform::number_text_c(L.download_received) + QLatin1Char(' ') +
        ui_text(1144, QStringLiteral("bytes")) + QStringLiteral(" (") +
        platform::format_number(fraction * 100, QStringLiteral("###")) + QStringLiteral("%) in ") +
        platform::format_number(minutes, QStringLiteral("##0.0")) + QStringLiteral(" min");
    if (shell().debug_enabled)
        link_view().set_status_text(1, text);
    else
        link_view().set_download_label(text);
}

// The log stream: one data line, written to the download file as it arrives. It ends at its
// first line end, wherever the batches are cut; line ends before any data are not part of it.
void receive_download(const QString& s) {
    LinkState& L = link();
    L.reply_buffer += s;
    if (L.reply_buffer.size() > 16000)
        L.reply_buffer = L.reply_buffer.right(20);

    int from = 0;
    if (L.download_received <= 0)
        while (from < s.size() && is_line_end(s[from]))
            ++from;
    const int end = first_line_end(s, from);
    int stop = static_cast<int>(s.size());
    if (end >= 0) {
        stop = end;
        while (stop < s.size() && is_line_end(s[stop]))
            ++stop;
    }
    QString part = s.mid(from, stop - from);
    if (part.isEmpty())
        return;
    const int raw_length = static_cast<int>(part.size());
    if (!L.download_marker_seen) {
        const int dollar = static_cast<int>(part.indexOf(QLatin1Char('$')));
        if (dollar >= 0) {
            part.insert(dollar, QLatin1Char(',') +
                                    platform::number_text_c(definitions_table()[92].unit_value));
            L.download_marker_seen = true;
        }
    }
    if (!L.download_file || !L.download_file->isOpen() || !L.download_file->isWritable() ||
        L.download_file->write(part.toLatin1()) < 0) {
        // The log cannot be written: say so and end the download, so that the downloader's wait
        // ends with what the file holds.
        const bool open = L.download_file && L.download_file->isOpen();
        platform::msg_box(ui_text(1291, QStringLiteral("Error receiving data - code ")) +
                              (open ? QStringLiteral("57  : Device I/O error")
                                    : QStringLiteral("52  : Bad file name or number")),
                          platform::mb::Critical);
        end_download();
        return;
    }
    L.download_received += raw_length;
    show_download_progress();
    if (end >= 0)
        end_download();
}

} // namespace
