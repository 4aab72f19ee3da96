// The trace reply reader on any line the unit or the line may produce. Properties:
//  - the sample count stays within 0..6401 and no sample beyond it is written;
//  - text without "$" put before a reply changes nothing that is read (the count is taken from
//    the "$");
//  - samples written in the unit's form read back as written;
//  - pop_csv_field takes a text apart so that the pieces join back into it.
#include "fuzz_support.h"

#include "echo/echo_trace.h"

namespace {

constexpr int16_t UNTOUCHED = -32768;

struct Read {
    EchoTraceHeader header;
    std::array<int16_t, TRACE_SAMPLES> column;
    TraceParseResult result;
};

void read(const QString& reply, Read& r) {
    r.column.fill(UNTOUCHED);
    r.result = parse_trace_reply(reply, r.header, r.column);
}

Read a, b; // large; kept out of the stack

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::latin1(data, size);
    read(text, a);
    FUZZ_REQUIRE(a.header.sample_count >= 0 && a.header.sample_count <= TRACE_SAMPLES);
    if (a.result.is_trace && a.header.sample_count < TRACE_SAMPLES)
        FUZZ_REQUIRE(a.column[static_cast<size_t>(a.header.sample_count)] == UNTOUCHED);
    if (!a.result.is_trace)
        FUZZ_REQUIRE(a.column[0] == UNTOUCHED);

    // Text before the "$" that holds neither "$" nor "OK".
    if (text.contains(QLatin1Char('$')) && !text.contains(QLatin1String("OK"))) {
        read(QStringLiteral("E1 busy>") + text, b);
        const auto read_of = [](const Read& r) {
            const EchoTraceHeader& h = r.header;
            return std::tuple(r.result.is_trace, h.sample_count, h.points_per_unit, h.window_1,
                              h.window_2, h.window_3, r.column);
        };
        FUZZ_REQUIRE(read_of(b) == read_of(a));
    }

    // The bytes as samples 0..999 in the unit's three-character form.
    QString reply = QStringLiteral("$A10.00   1   2   3");
    const size_t n = std::min<size_t>(size, TRACE_SAMPLES);
    for (size_t i = 0; i < n; ++i)
        reply += QString::number(data[i] * 999 / 255).rightJustified(3, QLatin1Char(' '));
    read(reply, b);
    FUZZ_REQUIRE(b.result.is_trace && !b.result.overflow);
    FUZZ_REQUIRE(b.header.sample_count == static_cast<int16_t>(n));
    for (size_t i = 0; i < n; ++i)
        FUZZ_REQUIRE(b.column[i] == data[i] * 999 / 255);

    // pop_csv_field: each field and the rest join back into the text.
    QString rest = text;
    for (int guard = 0; guard < 64 && rest.contains(QLatin1Char(',')); ++guard) {
        const QString before = rest;
        const QString field = pop_csv_field(rest);
        FUZZ_REQUIRE(field + QLatin1Char(',') + rest == before);
    }
    if (!rest.contains(QLatin1Char(','))) {
        const QString last = rest;
        FUZZ_REQUIRE(pop_csv_field(rest) == last.trimmed() && rest == last);
    }
    return 0;
}
