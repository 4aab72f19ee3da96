// The link's receive rules in every mode (one line, "/LOGINFO", the log stream): the reply an
// exchange gets and the log written do not depend on where the received bytes are cut into
// batches; a reply gives a value only when it is a finite number and nothing else.
#include "fuzz_support.h"

#include "link/command_link.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/traffic_log.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <algorithm>

namespace {

enum Mode { OneLine, LogInfo, Download, EchoOnline, Modes };

struct Outcome {
    bool received = false;
    QString reply;
    QByteArray log;
    bool operator==(const Outcome&) const = default;
};

Outcome run(Mode mode, const std::vector<QByteArray>& batches) {
    RecordingLinkView view;
    set_link_view(&view);
    reset_link_state();
    reset_command_link();
    traffic().clear_all();
    LinkState& L = link();
    QByteArray log;
    L.loginfo_reply_mode = mode == LogInfo;
    L.echo_online = mode == EchoOnline;
    if (mode == Download) {
        L.download_file = std::make_unique<QBuffer>(&log);
        L.download_file->open(QIODevice::WriteOnly);
        L.log_download_active = true;
    }
    Outcome out;
    for (const QByteArray& b : batches) {
        receive_text(b);
        if (mode != Download && L.reply_received) {
            out.received = true;
            out.reply = L.reply_buffer;
            break;
        }
    }
    if (mode == Download) {
        L.download_file.reset();
        // The stream ends at its first line end: whether the LF of a CR LF is written depends on
        // whether it came in the same batch, which the file's readers do not mind.
        while (log.endsWith('\r') || log.endsWith('\n'))
            log.chop(1);
        out.log = log;
        out.received = !L.log_download_active;
    }
    L.log_download_active = false;
    set_link_view(nullptr);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::application();
    static platform::ScriptedDialogs dialogs;
    platform::set_dialogs(&dialogs);
    dialogs.prompts.clear();
    definitions_table()[92].unit_value = 4711;

    fuzz::Input in(data, size);
    const Mode mode = static_cast<Mode>(in.byte() % Modes);
    const int cut1 = in.byte(), cut2 = in.byte();
    const QByteArray bytes = in.rest();
    if (bytes.isEmpty())
        return 0;
    const int a = cut1 % (bytes.size() + 1);
    const int b = a + cut2 % (bytes.size() - a + 1);

    const Outcome whole = run(mode, {bytes});
    const Outcome cut = run(mode, {bytes.left(a), bytes.mid(a, b - a), bytes.mid(b)});
    FUZZ_CHECK(whole == cut, "the outcome depends on where the batches are cut");
    std::vector<QByteArray> single;
    for (char c : bytes)
        single.push_back(QByteArray(1, c));
    FUZZ_CHECK(run(mode, single) == whole, "byte by byte gives another outcome");
    if (whole.received) {
        const auto v = platform::read_number_c(whole.reply);
        const QString t = whole.reply.trimmed();
        const bool number_only = std::all_of(t.begin(), t.end(), [](QChar c) {
            return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                   QStringLiteral("+-.eE").contains(c);
        });
        FUZZ_CHECK(!v || (std::isfinite(*v) && number_only),
                   "a reply that is no plain number gave a value");
    }
    return 0;
}
