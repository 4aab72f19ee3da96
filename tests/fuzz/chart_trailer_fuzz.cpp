// The chart settings trailer of a log file: any log bytes and any settings. A written trailer
// parses back to the same settings, the data before it is kept, and writing it again changes
// nothing.
#include "fuzz_support.h"

#include "logging/chart_units.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    ChartUnitSettings s;
    s.distance_unit_index = static_cast<int16_t>(in.byte() % 5);
    s.flow_volume_unit_index = static_cast<int16_t>(in.byte() % 7);
    s.flow_time_unit_index = static_cast<int16_t>(in.byte() % 5);
    s.volume_unit_index = static_cast<int16_t>(in.byte() % 10);
    s.totaliser_unit_index = static_cast<int16_t>(in.byte() % 7);
    s.totaliser_multiplier_index = static_cast<int16_t>(in.byte() % 10);
    const QByteArray offset_bytes = in.take(8);
    double offset = 0;
    if (offset_bytes.size() == 8)
        std::memcpy(&offset, offset_bytes.constData(), 8);
    s.level_offset = std::isfinite(offset) ? offset : 0;
    const QByteArray log = in.rest();

    (void)logsetup::chart_settings_in_log(log);
    (void)logsetup::parse_chart_settings_trailer(QString::fromLatin1(log));

    const QString trailer = logsetup::chart_settings_trailer(s);
    const auto parsed = logsetup::parse_chart_settings_trailer(trailer);
    FUZZ_CHECK(parsed == s, "a written trailer does not parse back");

    const auto out = logsetup::log_with_trailer(log, trailer);
    FUZZ_CHECK(out.has_value(), "a written trailer was refused");
    const auto back = logsetup::chart_settings_in_log(*out);
    FUZZ_CHECK(back == s, "the saved file reads other settings");
    // The data line is the log: it is never cut, whatever noise it holds.
    qsizetype first_end = 0;
    while (first_end < log.size() && log[first_end] != '\r' && log[first_end] != '\n')
        ++first_end;
    if (!log.startsWith('~'))
        FUZZ_CHECK(out->startsWith(log.left(first_end)), "the data line was cut");
    FUZZ_CHECK(logsetup::log_with_trailer(*out, trailer) == out, "saving again changed the file");
    return 0;
}
