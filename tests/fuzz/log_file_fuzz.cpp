// A log file opened from disk: decoding never fails on any bytes, every chart column has one
// value per drawn record, and what is drawn does not depend on how the lines end nor on a
// chart settings trailer after the data. Only records that are hex throughout are read, and the
// count of records read (what the loader tells against the header's count) never exceeds the
// records the file holds. The header alone tells every file the loader refuses (so a refused
// file is turned away before it changes anything), and a file saved with new chart settings
// reopens to the same points and those settings.
#include "fuzz_support.h"

#include "logging/chart_units.h"
#include "logging/log_channels.h"
#include "logging/log_records.h"

#include <algorithm>
#include <array>
#include <cctype>

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
           a.malformed_records == b.malformed_records &&
           a.duplicate_records == b.duplicate_records && a.records_read() == b.records_read();
}

bool all_hex(QByteArrayView digits) {
    return std::all_of(digits.begin(), digits.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// Every field of the file that the record check takes is "$" and hex throughout, of the layout's
// length, and gives the bytes its digits spell.
void check_record_fields(const QByteArray& file, int record_bytes) {
    if (record_bytes > logfile::MAX_RECORD_BYTES)
        return;
    QByteArray separated = file;
    separated.replace('\r', ',').replace('\n', ',');
    std::array<uint8_t, logfile::MAX_RECORD_BYTES> bytes{};
    for (const QByteArray& field : separated.split(',')) {
        const qsizetype dollar = field.indexOf('$');
        const QByteArray record = dollar >= 0 ? field.mid(dollar) : field;
        const bool sound = record.startsWith('$') && record.size() == 2 * record_bytes + 1 &&
                           all_hex(QByteArrayView(record).sliced(1));
        FUZZ_REQUIRE(logfile::hex_record_to_bytes(record, record_bytes, bytes) == sound);
        if (sound)
            FUZZ_REQUIRE(QByteArray(reinterpret_cast<const char*>(bytes.data()), record_bytes) ==
                         QByteArray::fromHex(record.mid(1)));
    }
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
    FUZZ_REQUIRE(d.records_read() <= file.count('$'));
    // A file that holds fewer records than its header counts was read to its end.
    FUZZ_REQUIRE(!(d.records_read() < d.header.log_records && d.stopped_at_count));
    check_record_fields(file, d.layout.record_bytes);

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
