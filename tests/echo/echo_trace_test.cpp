// The trace reply: the worked example, every malformed form the unit or the line can produce,
// and the field readers the player shares.
#include "echo/echo_trace.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

struct Parsed {
    EchoTraceHeader header;
    std::array<int16_t, TRACE_SAMPLES> column{};
    TraceParseResult result;
};

// Parses into a column whose samples all start at -1, so that untouched samples show.
Parsed parse(const QString& reply) {
    Parsed p;
    p.column.fill(-1);
    p.result = parse_trace_reply(reply, p.header, p.column);
    return p;
}

QString samples(const std::vector<int>& values) {
    QString s;
    for (int v : values)
        s += QString::number(v).rightJustified(3, ' ');
    return s;
}

const QString HEADER = QStringLiteral("$A10.50 120 150 180");

TEST(EchoTraceReply, WorkedExampleGivesHeaderAndTwoSamples) {
    const Parsed p = parse(HEADER + " 12 3499");
    ASSERT_EQ((HEADER + " 12 3499").size(), 27);
    EXPECT_TRUE(p.result.is_trace && !p.result.overflow);
    EXPECT_EQ(std::tuple(p.header.points_per_unit, p.header.window_1, p.header.window_2,
                         p.header.window_3, p.header.sample_count),
              std::tuple(10.5, 120, 150, 180, 2));
    EXPECT_EQ(std::tuple(p.column[0], p.column[1], p.column[2]), std::tuple(12, 34, -1))
        << "the two characters after the last whole sample were stored";
}

TEST(EchoTraceReply, MalformedFormsReadWhatFitsAndNeverMore) {
    struct Case {
        const char* what;
        QString reply;
        double ppu;
        int count;
        std::vector<int> first; // expected leading samples; the next one must be untouched
    };
    const Case cases[] = {
        {"header only", HEADER, 10.5, 0, {}},
        {"shorter than a header", "$A10.5", 10.5, 0, {}},
        {"empty", "", 0, 0, {}},
        {"no dollar: header read from the second character", "x10.50 120 150 180" + samples({7}),
         10.5, 0, {}},
        {"text before the dollar adds no samples", "junk>" + HEADER + samples({5, 6}), 10.5, 2,
         {5, 6}},
        {"blanks inside a field are skipped", HEADER + "1 2 34", 10.5, 2, {12, 34}},
        {"a field that is no number reads 0", HEADER + "ab   7", 10.5, 2, {0, 7}},
        {"negative samples", HEADER + "-12 -5", 10.5, 2, {-12, -5}},
        {"a comma decimal point ends the number", "$A10,50 120 150 180" + samples({1}), 10, 1,
         {1}},
        {"line ends left in the reply are blanks", HEADER + " 9\r\n 8", 10.5, 2, {9, 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Parsed p = parse(c.reply);
        EXPECT_TRUE(p.result.is_trace);
        EXPECT_DOUBLE_EQ(p.header.points_per_unit, c.ppu);
        EXPECT_EQ(p.header.sample_count, c.count);
        for (size_t i = 0; i < c.first.size(); ++i)
            EXPECT_EQ(p.column[i], c.first[i]) << "sample " << i;
        EXPECT_EQ(p.column[c.first.size()], -1) << "a sample beyond the reply was written";
    }
}

TEST(EchoTraceReply, MoreSamplesThanTheTableHoldsAreCutAtItsEnd) {
    QString reply = HEADER;
    for (int i = 0; i < TRACE_SAMPLES + 99; ++i)
        reply += QString::number(i % 1000).rightJustified(3, ' ');
    const Parsed p = parse(reply);
    EXPECT_EQ(std::tuple(p.result.cut, p.result.dropped_samples, p.header.sample_count,
                         p.column[TRACE_SAMPLES - 1]),
              std::tuple(true, 99, TRACE_SAMPLES, (TRACE_SAMPLES - 1) % 1000));
}

TEST(EchoTraceReply, FieldsTooLargeForSixteenBitsReadZeroAndTheRestStillReads) {
    const Parsed p = parse("$A10.00 1E9 150 180" + QString("9E9") + samples({4}) + "1E8" +
                           samples({5}));
    EXPECT_TRUE(p.result.overflow);
    EXPECT_EQ(std::tuple(p.header.window_1, p.header.window_2, p.header.sample_count),
              std::tuple(0, 150, 4));
    EXPECT_EQ(std::tuple(p.column[0], p.column[1], p.column[2], p.column[3]),
              std::tuple(0, 4, 0, 5));
}

TEST(EchoTraceReply, TheKindLetterFollowsTheDollar) {
    EXPECT_EQ(trace_letter(u"xx$D 1.0"), QLatin1Char('D'));
    EXPECT_TRUE(trace_letter(u"no dollar").isNull());
    EXPECT_TRUE(trace_letter(u"ends in $").isNull());
}

TEST(EchoTraceFields, WholeNumbersRoundHalfToEvenAndTheCursorMovesByTheWidth) {
    const struct {
        const char* field;
        int value;
    } cases[] = {{"2.5", 2}, {"3.5", 4}, {"-2.5", -2}, {"  7", 7}, {"", 0}, {"&H10", 16}};
    for (const auto& c : cases) {
        int cursor = 1;
        bool overflow = false;
        EXPECT_EQ(reply_field_int(QString::fromLatin1(c.field), 4, cursor, overflow), c.value)
            << c.field;
        EXPECT_TRUE(cursor == 5 && !overflow) << c.field;
    }
    int cursor = 3;
    EXPECT_DOUBLE_EQ(reply_field_real(u"ab12.25cd", 5, cursor), 12.25);
    EXPECT_EQ(cursor, 8);
    EXPECT_DOUBLE_EQ(reply_field_real(u"ab", 5, cursor), 0) << "past the end";
}

TEST(EchoTraceFields, PopCsvFieldTakesTheFirstField) {
    const struct {
        QString text, field, rest;
    } cases[] = {
        {"12,34,56", "12", "34,56"},
        {" 56 ", "56", " 56 "},
        {",a,b", "", "a,b"},
        {" 1 ,2", " 1 ", "2"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        QString text = c.text;
        EXPECT_EQ(pop_csv_field(text), c.field) << c.text.toStdString();
        EXPECT_EQ(text, c.rest) << c.text.toStdString();
    }
}

} // namespace
