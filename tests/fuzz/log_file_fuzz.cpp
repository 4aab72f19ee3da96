// A log file opened from disk: decoding never fails on any bytes, every chart column has one
// value per drawn record, and what is drawn does not depend on how the lines end nor on a
// chart settings trailer after the data. The header alone tells every file the loader refuses
// (so a refused file is turned away before it changes anything), and a file saved with new chart
// settings reopens to the same points and those settings.
#include "fuzz_support.h"

#include "logging/chart_units.h"
#include "logging/log_channels.h"
#include "logging/log_records.h"

namespace {

const LogChannelTable& table() {
    static const LogChannelTable t = [] {
        init_log_channel_bytes();
        init_log_channel_decimals();
        return log_setup().log_channel_table;
    }();
    return t;
}

bool same_drawing(const logfile::DecodedLog& a, const logfile::DecodedLog& b) {
    return a.problem == b.problem && a.x == b.x && a.columns == b.columns &&
           a.malformed_records == b.malformed_records && a.duplicate_records == b.duplicate_records;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    logfile::DecodeSettings settings;
    settings.distance_unit_index = size > 0 ? data[0] % 5 : 2;
    const logfile::DecodedLog d = logfile::decode_log(file, table(), settings, 6);
    for (const auto& column : d.columns)
        FUZZ_REQUIRE(column.size() == d.x.size());
    FUZZ_REQUIRE(d.x.size() <= static_cast<size_t>(d.valid_date_count));
    FUZZ_REQUIRE(d.layout.record_bytes >= 3);

    // What the loader reads before it applies anything names every refusal of the full decode.
    const logfile::DecodedLog head = logfile::decode_log_header(file, table());
    FUZZ_REQUIRE(head.problem == d.problem);
    FUZZ_REQUIRE(head.layout.record_bytes == d.layout.record_bytes);

    // Saved with the Setup dialog's settings, the file reopens to the same points.
    if (!file.contains('~')) {
        ChartUnitSettings units;
        units.distance_unit_index = settings.distance_unit_index;
        units.level_offset = size > 1 ? data[1] / 8.0 - 4 : 0;
        const auto saved =
            logsetup::log_with_trailer(file, logsetup::chart_settings_trailer(units));
        FUZZ_REQUIRE(saved.has_value());
        FUZZ_REQUIRE(logsetup::chart_settings_in_log(*saved) == units);
        FUZZ_REQUIRE(same_drawing(d, logfile::decode_log(*saved, table(), settings, 6)));
    }

    // Line ends are separators however they are written.
    QByteArray lf = file;
    lf.replace("\r\n", "\n");
    FUZZ_REQUIRE(same_drawing(d, logfile::decode_log(lf, table(), settings, 6)));

    // A trailer line after the data draws nothing and is no damaged record.
    if (!file.contains('~')) {
        const QByteArray with_trailer = file + "\r\n~2|0|0|0|0|3|0\r\n";
        FUZZ_REQUIRE(same_drawing(d, logfile::decode_log(with_trailer, table(), settings, 6)));
    }
    return 0;
}
