#include "logging/log_records.h"

#include "logging/log_channels.h"
#include "shell/option_lists.h"

#include <algorithm>
#include <cmath>

namespace logfile {

namespace {

constexpr int HEADER_FIELDS = 11;
// Julian day of 1970-01-01: x values count seconds from there.
constexpr qint64 EPOCH_JULIAN_DAY = 2440588;

bool is_line_end(char c) {
    return c == '\r' || c == '\n';
}

// 0..15, or -1 for a character that is no hex digit.
int hex_value(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

int hex_digit(char c) {
    return std::max(0, hex_value(c));
}

// Walks the fields of a log file: a field ends at a comma or a line end; a run of line ends is
// one separator. `at_line_start` tells whether the field begins a line.
class FieldReader {
public:
    explicit FieldReader(QByteArrayView text) : text_(text) {}

    bool next(QByteArrayView& field, bool& at_line_start) {
        if (pos_ > text_.size() || (pos_ == text_.size() && ended_by_line_end_))
            return false;
        at_line_start = line_start_;
        const qsizetype start = pos_;
        qsizetype end = start;
        while (end < text_.size() && text_[end] != ',' && !is_line_end(text_[end]))
            ++end;
        field = text_.sliced(start, end - start);
        ends_line_ = end >= text_.size() || is_line_end(text_[end]);
        if (end >= text_.size()) {
            pos_ = text_.size() + 1;
            return true;
        }
        if (text_[end] == ',') {
            pos_ = end + 1;
            line_start_ = false;
            ended_by_line_end_ = false;
        } else {
            while (end < text_.size() && is_line_end(text_[end]))
                ++end;
            pos_ = end;
            line_start_ = true;
            ended_by_line_end_ = true;
        }
        return true;
    }

    // The field just read was the last of its line (or of the text).
    bool ends_line() const { return ends_line_; }

private:
    QByteArrayView text_;
    qsizetype pos_ = 0;
    bool ends_line_ = false;
    bool line_start_ = true;
    bool ended_by_line_end_ = false;
};

std::optional<double> field_number(QByteArrayView field) {
    const QByteArray t = field.trimmed().toByteArray();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

template <typename Int> std::optional<Int> field_integer(QByteArrayView field) {
    const auto v = field_number(field);
    if (!v)
        return std::nullopt;
    const double r = std::nearbyint(*v);
    if (r < double(std::numeric_limits<Int>::min()) || r > double(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

QString latin1(QByteArrayView v) {
    return QString::fromLatin1(v.data(), v.size()).trimmed();
}

// Reads the eleven header fields; false when the data line has fewer or a numeric one is no
// number.
// `first_record` takes what field 11 holds from its first "$" on.
bool read_header(FieldReader& reader, LogHeader& h, QByteArrayView& first_record) {
    QByteArrayView f[HEADER_FIELDS];
    bool line_start = false;
    // The header is the front of the data line: a line end before field 11 means no log.
    for (int i = 0; i < HEADER_FIELDS; ++i)
        if (!reader.next(f[i], line_start) || (i < HEADER_FIELDS - 1 && reader.ends_line()))
            return false;
    const auto unit_type = field_integer<int16_t>(f[1]);
    const auto ma = field_number(f[2]);
    const auto m1 = field_integer<int32_t>(f[4]);
    const auto m2 = field_integer<int32_t>(f[5]);
    const auto m3 = field_integer<int32_t>(f[6]);
    const auto interval = field_number(f[7]);
    const auto wrapping = field_number(f[8]);
    const auto records = field_number(f[9]);
    if (!unit_type || !ma || !m1 || !m2 || !m3 || !interval || !wrapping || !records)
        return false;
    h.log_type = latin1(f[0]);
    h.unit_type = *unit_type;
    h.ma_input = *ma;
    h.start_date = latin1(f[3]);
    h.channel_mask_1 = *m1;
    h.channel_mask_2 = *m2;
    h.channel_mask_3 = *m3;
    h.log_interval = *interval;
    h.log_wrapping = *wrapping;
    h.log_records = *records;
    const QString field11 = QString::fromLatin1(f[10].data(), f[10].size());
    h.serial_number = serial_number_of(field11);
    const qsizetype dollar = f[10].indexOf('$');
    first_record = dollar >= 0 ? f[10].sliced(dollar) : QByteArrayView();
    return true;
}

DecodedLog decode(QByteArrayView file, const LogChannelTable& table, const DecodeSettings* settings,
                  int relay_columns, const FieldObserver& observer) {
    DecodedLog d;
    FieldReader reader(file);
    QByteArrayView first;
    if (!read_header(reader, d.header, first)) {
        d.problem = LogProblem::NotALog;
        return d;
    }
    const bool first_ends_line = reader.ends_line();
    const LogHeader& h = d.header;
    d.start_date = start_date_from_text(h.start_date);
    d.layout = record_layout(h.channel_mask_1, h.channel_mask_2, h.channel_mask_3, table);
    if (!(h.log_records > 0)) {
        d.problem = LogProblem::NoRecords;
        return d;
    }
    // Known from the header alone, so that a file that cannot be charted is refused before it
    // changes anything.
    if (d.layout.record_bytes > MAX_RECORD_BYTES) {
        d.problem = LogProblem::RecordTooLong;
        return d;
    }
    if (!d.start_date) {
        d.problem = LogProblem::BadStartDate;
        return d;
    }
    if (!settings)
        return d;

    const int relays = d.layout.relays ? std::clamp(relay_columns, 0, RELAY_BITS) : 0;
    const size_t column_count = d.layout.fields.size() + static_cast<size_t>(relays);
    // One point per record at most: the count of separators bounds the records.
    const qsizetype bound = std::count(file.begin(), file.end(), ',') + 2;
    const size_t reserve = static_cast<size_t>(
        std::min<double>(double(bound), std::max(0.0, h.log_records) + 2));
    d.x.reserve(reserve);
    d.columns.assign(column_count, {});
    for (auto& c : d.columns)
        c.reserve(reserve);

    const qint64 start_day = d.start_date->toJulianDay() - EPOCH_JULIAN_DAY;
    std::array<uint8_t, MAX_RECORD_BYTES> bytes{};
    std::array<double, MAX_RECORD_VALUES> values{};
    bool have_previous = false;
    double previous_x = 0;
    bool in_trailer_line = false;

    const qsizetype record_chars = 2 * qsizetype(d.layout.record_bytes) + 1;
    auto take = [&](QByteArrayView field, bool ends_line) -> bool {
        if (!hex_record_to_bytes(field, d.layout.record_bytes, bytes)) {
            // A record cut short at the end of the data line is what an interrupted download
            // leaves: it is one of the records the file lacks, not a damaged one.
            const bool cut_short =
                ends_line && field.startsWith('$') && field.size() < record_chars;
            if (!field.trimmed().isEmpty() && !in_trailer_line && !cut_short)
                ++d.malformed_records;
            return true;
        }
        decode_record_values(bytes, d.layout, *settings, values);
        if (d.valid_date_count + d.invalid_date_count > h.log_records) {
            d.stopped_at_count = true;
            return false;
        }
        const int days = static_cast<int>(values[0]);
        const qint64 day = start_day + days;
        if (!QDate::fromJulianDay(day + EPOCH_JULIAN_DAY).isValid()) {
            ++d.invalid_date_count;
            return true;
        }
        ++d.valid_date_count;
        const int hhmm = static_cast<int>(values[1]);
        if (hhmm < 0 || hhmm >= 2400 || hhmm % 100 >= 60) {
            ++d.invalid_times;
            return true;
        }
        const double x = double(day) * 86400.0 + (hhmm / 100) * 3600.0 + (hhmm % 100) * 60.0;
        if (have_previous && x == previous_x) {
            ++d.duplicate_records;
            return true;
        }
        have_previous = true;
        previous_x = x;
        d.x.push_back(x);
        for (size_t c = 0; c < column_count; ++c)
            d.columns[c].push_back(values[c + 2]);
        return true;
    };

    if (!first.isEmpty() && !take(first, first_ends_line))
        return d;
    QByteArrayView field;
    bool line_start = false;
    while (reader.next(field, line_start)) {
        if (line_start)
            in_trailer_line = field.startsWith('~');
        if (observer)
            observer(field, d);
        if (!take(field, reader.ends_line()))
            break;
    }
    return d;
}

} // namespace

std::optional<QDate> start_date_from_text(const QString& text) {
    const QString t = text.trimmed();
    if (t.size() < 5 || t.size() > 6)
        return std::nullopt;
    for (QChar c : t)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    const int yy = t.right(2).toInt();
    const int month = t.mid(t.size() - 4, 2).toInt();
    const int day = t.left(t.size() - 4).toInt();
    const int year = yy < 30 ? 2000 + yy : 1900 + yy;
    // Calendar arithmetic: month 13 is January of the next year, day 0 the month's eve.
    return QDate(year, 1, 1).addMonths(month - 1).addDays(day - 1);
}

QString serial_number_of(const QString& field11) {
    const qsizetype dollar = field11.indexOf(QLatin1Char('$'));
    return (dollar >= 0 ? field11.left(dollar) : field11).trimmed();
}

RecordLayout record_layout(int32_t mask1, int32_t mask2, int32_t mask3,
                           const LogChannelTable& table) {
    RecordLayout layout;
    const logsetup::ChannelSet logged = logsetup::channels_from_masks(mask1, mask2, mask3);
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c) {
        if (c == TIME_STAMP_CHANNEL || !logged.test(static_cast<size_t>(c)))
            continue;
        const auto i = static_cast<size_t>(c);
        layout.fields.push_back({c, table.width[i], table.decimals[i]});
        layout.record_bytes += std::max<int>(0, table.width[i]);
        if (c == 19)
            layout.relays = true;
    }
    return layout;
}

int hex2int(char high, char low) {
    return hex_digit(high) * 16 + hex_digit(low);
}

bool hex_record_to_bytes(QByteArrayView record, int record_bytes,
                         std::array<uint8_t, MAX_RECORD_BYTES>& bytes) {
    if (record_bytes < 0 || record_bytes > MAX_RECORD_BYTES || record.isEmpty() ||
        record[0] != '$' || record.size() != 2 * qsizetype(record_bytes) + 1)
        return false;
    for (qsizetype i = 1; i < record.size(); ++i)
        if (hex_value(record[i]) < 0)
            return false;
    for (int i = 0; i < record_bytes; ++i)
        bytes[static_cast<size_t>(i)] =
            static_cast<uint8_t>(hex2int(record[1 + 2 * i], record[2 + 2 * i]));
    return true;
}

int decode_record_values(const std::array<uint8_t, MAX_RECORD_BYTES>& b, const RecordLayout& layout,
                         const DecodeSettings& s, std::array<double, MAX_RECORD_VALUES>& v) {
    v.fill(0);
    v[0] = b[0] * 16 + b[1] / 16;
    v[1] = (b[1] % 16) * 256 + b[2];
    // Raw lengths are millimetres; the chart shows them in its own unit.
    const double length_factor = length_unit_factor(3, s.distance_unit_index + 1);
    size_t out = 2;
    size_t p = 3;
    int relay_word = 0;
    auto byte = [&](size_t i) -> double { return i < b.size() ? b[i] : 0; };
    for (const RecordLayout::Field& f : layout.fields) {
        double raw = 0;
        switch (f.width) {
        case 2:
            raw = byte(p) * 256 + byte(p + 1);
            break;
        case 3:
            raw = byte(p) * 65536 + byte(p + 1) * 256 + byte(p + 2);
            break;
        case 4:
            // Two 16-bit words, the first counting ten-thousands.
            raw = (byte(p) * 256 + byte(p + 1)) * 10000 + byte(p + 2) * 256 + byte(p + 3);
            break;
        default:
            raw = byte(p);
            break;
        }
        const int c = f.channel;
        if ((c == 0 || c == 8) && raw > 50000)
            raw -= 65536;
        if ((c == 7 || c == 15) && raw > 127)
            raw -= 256;
        if (c == 19)
            relay_word = static_cast<int>(raw);
        if ((c == 23 || c == 44 || ((c == 29 || c == 30) && s.unit_type == 17)) && raw > 32767)
            raw -= 65536;
        double value = raw / std::pow(10.0, f.decimals);
        if (length_factor != 1 && (c == 0 || c == 1 || c == 8 || c == 9 || c == 22 || c == 23))
            value *= length_factor;
        if ((c == 0 || c == 8) && s.level_offset != 0)
            value += s.level_offset;
        if (c == 44)
            value /= 1000;
        v[out++] = value;
        p += static_cast<size_t>(std::max(0, f.width));
    }
    if (layout.relays)
        for (int bit = 0; bit < RELAY_BITS; ++bit)
            v[out++] = (relay_word >> bit) & 1;
    return static_cast<int>(out);
}

std::optional<QDate> AdjustDays(bool forward, int days, const std::optional<QDate>& base) {
    if (!base || !base->isValid())
        return std::nullopt;
    const QDate d = base->addDays(forward ? days : -qint64(days));
    if (!d.isValid())
        return std::nullopt;
    return d;
}

DecodedLog decode_log(QByteArrayView file, const LogChannelTable& table,
                      const DecodeSettings& settings, int relay_columns,
                      const FieldObserver& observer) {
    return decode(file, table, &settings, relay_columns, observer);
}

DecodedLog decode_log_header(QByteArrayView file, const LogChannelTable& table) {
    return decode(file, table, nullptr, 0, {});
}

double axis_step_seconds(double minutes) {
    constexpr double MIN = 60, HOUR = 3600, DAY = 86400;
    if (minutes < 5)
        return 5 * MIN;
    if (minutes < 10)
        return 10 * MIN;
    if (minutes < 15)
        return 15 * MIN;
    if (minutes < 30)
        return 30 * MIN;
    if (minutes < 60)
        return 2 * HOUR;
    if (minutes < 120)
        return 6 * HOUR;
    if (minutes < 720)
        return 12 * HOUR;
    if (minutes < 780)
        return DAY;
    return 2 * DAY;
}

int32_t series_colour(int n) {
    static constexpr int32_t cycle[18] = {255,      32768,   65535,    16711680, 16777215, 8421504,
                                          16711935, 8421376, 8388608,  128,      65280,    32896,
                                          8388736,  16776960, 0,       12639424, 15780518, 15793151};
    return cycle[((n % 18) + 18) % 18];
}

} // namespace logfile
