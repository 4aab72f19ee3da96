// The echo file reader on any line a user's file may hold. Properties:
//  - any line reads without failing, and a trace line's reply starts at a "$";
//  - the player cuts a file into lines at CR, LF and CR LF alike;
//  - a played line changes in memory only what its kind owns (an unreadable line nothing, a span
//    line the span, a trace line its header and its own column up to its sample count);
//  - a line the recorder writes reads back: its ten leading fields are the values written, and
//    the kind follows the trace or span text, whatever that text holds;
//  - a saved recording reopens to the same lines, and saving it again changes nothing.
#include "fuzz_support.h"

#include "echo/echo_recording.h"
#include "echo/echo_state.h"
#include "platform/text_file.h"
#include "platform/vb.h"

#include <QRegularExpression>

namespace {

double number_from(const uint8_t* data, size_t size, size_t at) {
    int64_t raw = 0;
    for (size_t i = 0; i < 8 && at + i < size; ++i)
        raw = (raw << 8) | data[at + i];
    return static_cast<double>(raw % 2000000) / 1000.0 - 1000.0;
}

// The lines the player reads from `bytes`.
std::vector<QByteArray> played_lines(const QByteArray& bytes) {
    QByteArray copy(bytes);
    QBuffer file(&copy);
    file.open(QIODevice::ReadOnly);
    std::vector<QByteArray> lines;
    while (!file.atEnd())
        lines.push_back(next_played_line(file));
    return lines;
}

// The same cut made the plain way: every CR LF, CR and LF ends a line.
std::vector<QByteArray> lines_by_hand(QByteArray bytes) {
    QList<QByteArray> lines = bytes.replace("\r\n", "\n").replace('\r', '\n').split('\n');
    if (lines.last().isEmpty()) // nothing after the last line end
        lines.removeLast();
    return {lines.begin(), lines.end()};
}

bool same_header(const EchoTraceHeader& a, const EchoTraceHeader& b) {
    return a.points_per_unit == b.points_per_unit && a.window_1 == b.window_1 &&
           a.window_2 == b.window_2 && a.window_3 == b.window_3 && a.sample_count == b.sample_count;
}

// What a played line may change, by its kind.
void check_memory(const QString& line) {
    EchoState before;
    for (size_t k = 0; k < before.traces.column.size(); ++k)
        before.traces.column[k].fill(static_cast<int16_t>(100 + k));
    before.header = {2.5, 10, 20, 30, 77};
    before.span_values = {6, 5, 0.3, 20};
    before.playback_fields.fill(QStringLiteral("kept"));
    EchoState after = before;
    const PlayedLine p = read_played_line(line);
    apply_played_line(p, after);
    FUZZ_REQUIRE((p.has_fields && !p.unreadable) ||
                 after.playback_fields == before.playback_fields);
    if (p.kind != PlayedLine::Kind::Span || !p.span || p.unreadable)
        FUZZ_REQUIRE(after.span_values == before.span_values);
    if (p.kind != PlayedLine::Kind::Trace || p.unreadable) {
        FUZZ_REQUIRE(same_header(after.header, before.header) &&
                     after.traces.column == before.traces.column);
        return;
    }
    const size_t own = static_cast<size_t>(p.trace - 1);
    for (size_t k = 0; k < before.traces.column.size(); ++k) {
        const size_t from =
            k == own ? static_cast<size_t>(std::max<int>(0, after.header.sample_count)) : 0;
        for (size_t i = from; i < before.traces.column[k].size(); ++i)
            FUZZ_REQUIRE(after.traces.column[k][i] == before.traces.column[k][i]);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = QString::fromLatin1(bytes);

    // The file as the player reads it, and as it reads once saved.
    const std::vector<QByteArray> lines = played_lines(bytes);
    FUZZ_REQUIRE(lines == lines_by_hand(bytes));
    const QByteArray saved = saved_recording(bytes);
    FUZZ_REQUIRE(played_lines(saved) == lines);
    FUZZ_REQUIRE(saved_recording(saved) == saved);
    for (const QByteArray& raw : lines)
        check_memory(platform::decode_line(raw));
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
    const QString tail = QString(text).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    v.trace_text = QStringLiteral("T1") + tail;
    const QString written = record_line(v);
    const PlayedLine p = read_played_line(written);
    FUZZ_REQUIRE(p.has_fields && !p.unreadable);
    // Recorded, saved and reopened, the line is the one written.
    const QByteArray recording = (written + QStringLiteral("\r\n")).toLatin1().repeated(2);
    FUZZ_REQUIRE(played_lines(saved_recording(recording)) ==
                 std::vector<QByteArray>(2, written.toLatin1()));
    FUZZ_REQUIRE(p.fields[0] == record_date_text(v.when.date()) && p.fields[1] == "23:59:59");
    for (size_t i = 0; i < 8; ++i)
        FUZZ_REQUIRE(p.fields[i + 2] == platform::number_text_c(*numbers[i]));
    const bool trace = tail.contains(QRegularExpression(QStringLiteral("\\$[A-F]")));
    FUZZ_REQUIRE((p.kind == PlayedLine::Kind::Trace) == trace);
    return 0;
}
