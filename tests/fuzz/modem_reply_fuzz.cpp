// What the modem and the unit send back to the dial-up and one-parameter windows: the dial result
// and connect line read from the modem's traffic, and a parameter reply read as a number.
// Properties: a CONNECT seen in part of the traffic stays the result however the rest arrives;
// the connect line carries no line end and starts at the CONNECT; a number read from a reply
// reads back the same from its own text; an answer to the access command is taken as a log-on
// only when it is readable text that says "OK" and not "NO", and noise is never a refusal; an
// acknowledgement, a refusal or a number is never taken for the answer of "/who" or "/sendall",
// which go out past the answers the unit still owes.
#include "fuzz_support.h"

#include "link/command_link.h"
#include "link/interactive_rules.h"
#include "link/log_on.h"
#include "link/modem_rules.h"
#include "platform/vb.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::latin1(data, size);
    const modem::DialResult whole = modem::dial_result(text);
    const QString line = modem::connect_line(text);
    const bool has_connect = text.contains(QLatin1String("CONNECT"), Qt::CaseInsensitive);
    FUZZ_REQUIRE((whole == modem::DialResult::Connect) == has_connect);
    FUZZ_REQUIRE(line.isEmpty() || line.startsWith(QLatin1String("CONNECT"), Qt::CaseInsensitive));
    FUZZ_REQUIRE(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
    FUZZ_REQUIRE(has_connect == !line.isEmpty());
    // The window reads the traffic as it grows: a result once seen is not taken back.
    for (qsizetype cut = 0; cut <= text.size(); cut += 1 + text.size() / 16) {
        const modem::DialResult part = modem::dial_result(text.left(cut));
        if (part == modem::DialResult::Connect)
            FUZZ_REQUIRE(whole == modem::DialResult::Connect);
    }
    FUZZ_REQUIRE(modem::result_word(whole).isEmpty() == (whole == modem::DialResult::None));

    if (const auto v = platform::read_number_c(text)) {
        if (std::isfinite(*v)) {
            const auto again = platform::read_number_c(QString::number(*v, 'g', 17));
            FUZZ_REQUIRE(again && *again == *v);
        }
    }
    const LogOnResult access = judge_access_reply(text);
    const bool readable = reply_understood(text);
    if (access == LogOnResult::Accepted)
        FUZZ_REQUIRE(readable && text.contains(QLatin1String("OK")) &&
                     !text.contains(QLatin1String("NO")));
    if (access == LogOnResult::Refused)
        FUZZ_REQUIRE(text.isEmpty() || (readable && text.contains(QLatin1String("NO"))));
    FUZZ_REQUIRE(readable || access == LogOnResult::Garbled);

    const bool who = has_own_answer_form(QStringLiteral("/who"), text);
    const bool list = has_own_answer_form(QStringLiteral("/sendall"), text);
    FUZZ_REQUIRE(!(who && list) && (readable || !(who || list)));
    const QString t = text.trimmed();
    if (t == QLatin1String("OK") || t == QLatin1String("NO") || platform::read_number_c(t))
        FUZZ_REQUIRE(!who && !list);
    FUZZ_REQUIRE(!has_own_answer_form(QStringLiteral("/p20"), text));

    const int n = interactive::typed_number(text);
    FUZZ_REQUIRE(!interactive::in_range(n) || (n >= 20 && n <= 999));
    return 0;
}
