// Reading log files: header fields and start dates, the layout the masks give, each channel's
// width and sign rule, the relays, and a whole file's records into chart columns.
#include "logging_test.h"

using namespace logfile;

namespace {

LogChannelTable channel_table() {
    fresh_log_setup();
    return log_setup().log_channel_table;
}

// Mask words that log exactly `channels` (and the time stamp).
logsetup::MaskWords masks_of(std::initializer_list<int> channels) {
    logsetup::ChannelSet set;
    set.set(TIME_STAMP_CHANNEL);
    for (int c : channels)
        set.set(static_cast<size_t>(c));
    return logsetup::mask_words(set);
}

// A record "$" + hex of: day count, HHMM, then the given raw bytes.
QByteArray record(int days, int hhmm, const QByteArray& raw) {
    QByteArray b;
    b.append(char((days >> 4) & 0xFF));
    b.append(char(((days & 0xF) << 4) | ((hhmm >> 8) & 0xF)));
    b.append(char(hhmm & 0xFF));
    return "$" + (b + raw).toHex().toUpper();
}

QByteArray header(std::initializer_list<int> channels, const QByteArray& date, int records,
                  const QByteArray& interval = "15", const QByteArray& serial = "4711") {
    const auto m = masks_of(channels);
    return "0,2,0," + date + "," + QByteArray::number(m.word1) + "," + QByteArray::number(m.word2) +
           "," + QByteArray::number(m.word3) + "," + interval + ",0," +
           QByteArray::number(records) + "," + serial;
}

// The values one record of a single channel decodes to.
std::vector<double> decode_one(int channel, const QByteArray& raw, DecodeSettings settings = {}) {
    const auto m = masks_of({channel});
    const RecordLayout layout = record_layout(m.word1, m.word2, m.word3, channel_table());
    std::array<uint8_t, MAX_RECORD_BYTES> bytes{};
    std::array<double, MAX_RECORD_VALUES> values{};
    const QByteArray rec = record(0, 0, raw);
    EXPECT_TRUE(hex_record_to_bytes(rec, layout.record_bytes, bytes)) << rec.toStdString();
    const int n = decode_record_values(bytes, layout, settings, values);
    return std::vector<double>(values.begin() + 2, values.begin() + n);
}

QByteArray be16(int v) {
    return QByteArray() + char((v >> 8) & 0xFF) + char(v & 0xFF);
}

} // namespace

TEST(LogRecords, StartDatesReadWithTheTwoDigitYearWindowAndRollOver) {
    struct Case {
        const char* text;
        std::optional<QDate> date;
    };
    const Case cases[] = {
        {"010130", QDate(1930, 1, 1)},  {"311229", QDate(2029, 12, 31)},
        {" 50126 ", QDate(2026, 1, 5)}, {"290226", QDate(2026, 3, 1)},   // 29 Feb rolls over
        {"011305", QDate(2006, 1, 1)},  {"000106", QDate(2005, 12, 31)}, // month 13, day 0
        {"1234", std::nullopt},         {"1234567", std::nullopt},
        {"12AB05", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(start_date_from_text(c.text), c.date) << c.text;
}

TEST(LogRecords, SerialNumberIsFieldElevenBeforeItsFirstDollar) {
    EXPECT_EQ(QStringList({serial_number_of("12345$0A0B$0C"), serial_number_of("-999999"),
                           serial_number_of("$0A0B")}),
              QStringList({"12345", "-999999", ""}));
}

TEST(LogRecords, EveryChannelReadsByItsWidthSignRuleAndDecimals) {
    struct Case {
        int channel;
        QByteArray raw;
        double value;
        int16_t unit_type = 0;
    };
    // clang-format off
    const Case cases[] = {
        {0, be16(50000), 50000},     {0, be16(50001), -15535},   {0, be16(65535), -1},
        {8, be16(50001), -15535},    {1, be16(50001), 50001},    {7, "\x7F", 127},
        {7, "\x80", -128},
        {15, "\xFF", -1},            {2, "\xFF", 255},           {17, "\x7B", 12.3},
        {38, be16(1234), 123.4},     {43, be16(1234), 123.4},    {41, be16(1234), 1234},
        {16, "\x7B", 12.3},          {18, "\x7B", 12.3},         {23, be16(40000), -25536},
        {22, be16(40000), 40000},    {44, be16(40000), -25.536}, {29, be16(40000), -2553.6, 17},
        {29, be16(40000), 4000.0, 2}, {30, be16(40000), -2553.6, 17},
        {24, QByteArray("\x00\x01\x00\x02", 4), 10002},
        {45, QByteArray("\x00\x02\x00\x03", 4), 20003},
    };
    // clang-format on
    for (const Case& c : cases) {
        DecodeSettings s;
        s.unit_type = c.unit_type;
        const auto v = decode_one(c.channel, c.raw, s);
        ASSERT_EQ(v.size(), 1u) << "channel " << c.channel;
        EXPECT_DOUBLE_EQ(v[0], c.value) << "channel " << c.channel << " unit " << c.unit_type;
    }
}

TEST(LogRecords, LengthsAreMillimetresConvertedToTheChartUnitThenOffset) {
    struct Case {
        int channel;
        int unit_index; // 0 m, 1 cm, 2 mm, 3 ft, 4 in
        double offset;
        double value;
    };
    const Case cases[] = {
        {0, 2, 0, 1524},   {0, 0, 0, 1.524},    {0, 1, 0, 152.4},         {0, 3, 0, 5},
        {0, 4, 0, 60},     {8, 0, 0.25, 1.774}, {1, 0, 0.25, 1.524},      {9, 0, 0, 1.524},
        {22, 0, 0, 1.524}, {23, 0, 0, 1.524},   {2, 0, 0.25, 1524 % 256}, {0, 2, -24, 1500},
    };
    for (const Case& c : cases) {
        DecodeSettings s;
        s.distance_unit_index = c.unit_index;
        s.level_offset = c.offset;
        const QByteArray raw = c.channel == 2 ? QByteArray(1, char(1524 % 256)) : be16(1524);
        const auto v = decode_one(c.channel, raw, s);
        ASSERT_EQ(v.size(), 1u);
        EXPECT_NEAR(v[0], c.value, 1e-9) << "channel " << c.channel << " unit " << c.unit_index;
    }
}

TEST(LogRecords, RelayWordGivesSixBitsAfterTheChannels) {
    const auto v = decode_one(19, "\x25"); // 37
    EXPECT_EQ(v, (std::vector<double>{37, 1, 0, 1, 0, 0, 1}));
}

// A digit that is not hex would chart a value the unit never logged: the record is refused.
TEST(LogRecords, RecordCheckTakesExactLengthEitherCaseAndRefusesStrayDigits) {
    std::array<uint8_t, MAX_RECORD_BYTES> upper{}, lower{};
    ASSERT_TRUE(hex_record_to_bytes("$0AFF10", 3, upper) &&
                hex_record_to_bytes("$0aff10", 3, lower));
    EXPECT_TRUE(upper == lower && upper[1] == 0xFF);
    for (const char* bad : {"$0AFF1", "$0AFF100", "0AFF100", "~2|0|0", "", "$", "$0AZZ10",
                            "$0AOK10", "$0A FF1", "$0AFF1G", "$0A+F10"})
        EXPECT_FALSE(hex_record_to_bytes(bad, 3, upper)) << bad;
    EXPECT_FALSE(hex_record_to_bytes("$" + QByteArray(2 * 94, '0'), 94, upper));
}

TEST(LogRecords, LayoutComesFromTheMasksAndAlwaysHoldsTheTimeStamp) {
    const LogChannelTable table = channel_table();
    const auto m = masks_of({0, 19, 24, 44});
    const RecordLayout with = record_layout(m.word1, m.word2, m.word3, table);
    ASSERT_EQ(with.fields.size(), 4u);
    EXPECT_EQ(std::tuple(with.record_bytes, with.relays, with.fields[2].channel),
              std::tuple(3 + 2 + 1 + 4 + 2, true, 24));
    // A mask without the time stamp bit still describes records that begin with it.
    EXPECT_EQ(record_layout(1, 0, 0, table).record_bytes, 5);
    EXPECT_EQ(record_layout(0xFFFF, 0xFFFF, 0xFFFF, table).record_bytes, MAX_RECORD_BYTES);
}

TEST(LogRecords, AFileDecodesIntoOneColumnPerChannelSharingTheRecordTimes) {
    const LogChannelTable table = channel_table();
    // Day 0 at 00:00 is the first record: it is drawn, not taken for a duplicate.
    QByteArray file = header({0}, "10100", 6) + record(0, 0, be16(100)) + "," +
                      record(0, 15, be16(110)) + "," + record(0, 15, be16(999)) + "," + // dup
                      record(0, 2400, be16(1)) + "," + record(0, 1260, be16(2)) + "," + // times
                      "$12," +                                                          // short
                      record(1, 2359, be16(120)) + ",\r\n~2|0|0|0|0|3|1,5\r\n";
    const DecodedLog d = decode_log(file, table, {}, 6);
    ASSERT_EQ(d.problem, LogProblem::None);
    EXPECT_EQ(std::tuple(d.header.serial_number, d.start_date),
              std::tuple(QString("4711"), QDate(2000, 1, 1)));
    const double day0 = QDate(2000, 1, 1).startOfDay(QTimeZone::utc()).toSecsSinceEpoch();
    EXPECT_EQ(d.x, (std::vector<double>{day0, day0 + 15 * 60, day0 + 86400 + 23 * 3600 + 59 * 60}));
    ASSERT_EQ(d.columns.size(), 1u);
    EXPECT_EQ(d.columns[0], (std::vector<double>{100, 110, 120}));
    EXPECT_EQ(
        std::tuple(d.duplicate_records, d.invalid_times, d.valid_date_count, d.malformed_records),
        std::tuple(1, 2, 6, 1))
        << "one malformed record: the short one; not the comma, nor the trailer";
}

TEST(LogRecords, RecordsBeyondTheHeaderCountAndOneMoreAreLeft) {
    QByteArray file = header({0}, "10126", 2);
    for (int i = 0; i < 5; ++i)
        file += (i ? "," : "") + record(0, 100 + i, be16(i));
    const DecodedLog d = decode_log(file, channel_table(), {}, 6);
    EXPECT_TRUE(d.x.size() == 3u && d.stopped_at_count);
}

TEST(LogRecords, RelaySeriesAreAtMostSixAndNoneWhenNotAsked) {
    const QByteArray file = header({19}, "10126", 1) + record(0, 100, "\x3F");
    for (auto [asked, relays] : {std::pair{10, 6u}, {2, 2u}, {0, 0u}})
        EXPECT_EQ(decode_log(file, channel_table(), {}, asked).columns.size(), 1u + relays)
            << asked;
}

TEST(LogRecords, AxisStepFollowsTheLogInterval) {
    const std::pair<double, double> cases[] = {
        {0, 300},    {4.9, 300},   {5, 600},     {10, 900},    {15, 1800},    {30, 7200},
        {60, 21600}, {120, 43200}, {719, 43200}, {720, 86400}, {780, 172800},
    };
    for (const auto& [minutes, seconds] : cases)
        EXPECT_EQ(axis_step_seconds(minutes), seconds) << minutes;
}
