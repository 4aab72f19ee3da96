#include "echo/echo_trace.h"

#include "platform/vb.h"

#include <cmath>

namespace {

bool is_blank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r');
}

// The value of a field. Plain unsigned digits among blanks (every sample the unit sends) are read
// here without building a text; anything else goes through val() with its full rules.
double field_value(QStringView field) {
    double value = 0;
    bool plain = true;
    // Blanks between digits are skipped, as val() skips them.
    for (QChar c : field) {
        if (is_blank(c))
            continue;
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            plain = false;
            break;
        }
        value = value * 10 + (c.unicode() - '0');
    }
    if (plain)
        return value;
    return platform::val(field.toString());
}

QStringView field_at(QStringView text, int width, int reply_cursor) {
    const qsizetype start = reply_cursor - 1;
    if (width <= 0 || start < 0 || start >= text.size())
        return {};
    return text.mid(start, std::min<qsizetype>(width, text.size() - start));
}

} // namespace

double reply_field_real(QStringView text, int width, int& reply_cursor) {
    const double v = field_value(field_at(text, width, reply_cursor));
    reply_cursor += width;
    return std::isfinite(v) ? v : 0;
}

int16_t reply_field_int(QStringView text, int width, int& reply_cursor, bool& overflow) {
    const double v = reply_field_real(text, width, reply_cursor);
    const auto whole = platform::to_int16(v);
    if (!whole) {
        overflow = true;
        return 0;
    }
    return *whole;
}

QString pop_csv_field(QString& text) {
    const qsizetype comma = text.indexOf(QLatin1Char(','));
    if (comma < 0)
        return text.trimmed();
    QString field = text.left(comma);
    text = text.mid(comma + 1);
    return field;
}

TraceParseResult parse_trace_reply(QStringView reply, EchoTraceHeader& header,
                                   std::array<int16_t, TRACE_SAMPLES>& column) {
    TraceParseResult result;
    if (reply.contains(QLatin1String("OK")))
        return result;
    result.is_trace = true;
    const qsizetype dollar = reply.indexOf(QLatin1Char('$'));
    const QStringView body = dollar >= 0 ? reply.mid(dollar) : reply;
    int cursor = dollar >= 0 ? 3 : 2; // past the "$" and the letter
    header.points_per_unit = reply_field_real(body, 5, cursor);
    header.window_1 = reply_field_int(body, 4, cursor, result.overflow);
    header.window_2 = reply_field_int(body, 4, cursor, result.overflow);
    header.window_3 = reply_field_int(body, 4, cursor, result.overflow);
    const qsizetype available = body.size() - TRACE_HEADER_LENGTH;
    qsizetype count = available > 0 ? available / 3 : 0;
    if (count > TRACE_SAMPLES) {
        result.cut = true;
        result.dropped_samples = static_cast<int>(count - TRACE_SAMPLES);
        count = TRACE_SAMPLES;
    }
    header.sample_count = static_cast<int16_t>(count);
    for (qsizetype i = 0; i < count; ++i)
        column[static_cast<size_t>(i)] = reply_field_int(body, 3, cursor, result.overflow);
    return result;
}

QChar trace_letter(QStringView reply) {
    const qsizetype dollar = reply.indexOf(QLatin1Char('$'));
    if (dollar < 0 || dollar + 1 >= reply.size())
        return {};
    return reply[dollar + 1];
}
