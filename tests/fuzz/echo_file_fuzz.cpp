// The echo file reader on any line a user's file may hold. Properties:
//  - any line reads without failing, and a trace line's reply starts at a "$";
//  - a line the recorder writes reads back: its ten leading fields are the values written, and
//    the kind follows the trace or span text, whatever that text holds.
#include "fuzz_support.h"

#include "echo/echo_recording.h"
#include "platform/vb.h"

#include <cstring>

namespace {

double number_from(const uint8_t* data, size_t size, size_t at) {
    int64_t raw = 0;
    for (size_t i = 0; i < 8 && at + i < size; ++i)
        raw = (raw << 8) | data[at + i];
    return static_cast<double>(raw % 2000000) / 1000.0 - 1000.0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = fuzz::latin1(data, size);
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const PlayedLine p = read_played_line(line);
        if (p.kind == PlayedLine::Kind::Trace)
            FUZZ_REQUIRE(p.reply.startsWith(QLatin1Char('$')) && p.trace >= 1 && p.trace <= 4);
        if (p.unreadable)
            FUZZ_REQUIRE(line.startsWith(QLatin1Char('T')));
    }

    // A line as the recorder writes it, with the input as its trace text.
    RecordLineValues v;
    v.when = QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59));
    double* numbers[] = {&v.status,   &v.empty_distance, &v.level,      &v.confidence,
                         &v.strength, &v.average_noise,  &v.peak_noise, &v.temperature};
    for (size_t i = 0; i < 8; ++i)
        *numbers[i] = number_from(data, size, i * 8);
    QString tail = text;
    tail.remove(QLatin1Char('\r'));
    tail.remove(QLatin1Char('\n'));
    v.trace_text = QStringLiteral("T1") + tail;
    const PlayedLine p = read_played_line(record_line(v));
    FUZZ_REQUIRE(p.has_fields && !p.unreadable);
    FUZZ_REQUIRE(p.fields[0] == record_date_text(v.when.date()));
    FUZZ_REQUIRE(p.fields[1] == QStringLiteral("23:59:59"));
    for (size_t i = 0; i < 8; ++i)
        FUZZ_REQUIRE(p.fields[i + 2] == platform::number_text_c(*numbers[i]));
    const bool trace = tail.contains(QLatin1String("$A")) || tail.contains(QLatin1String("$B")) ||
                       tail.contains(QLatin1String("$C")) || tail.contains(QLatin1String("$D")) ||
                       tail.contains(QLatin1String("$E")) || tail.contains(QLatin1String("$F"));
    FUZZ_REQUIRE((p.kind == PlayedLine::Kind::Trace) == trace);
    return 0;
}
