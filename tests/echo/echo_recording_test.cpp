// The recording line and the player's reading of it: the span example, a comma-decimal locale,
// the interval rule across midnight, bare replies and the lines the player cannot read.
#include "echo/echo_recording.h"

#include "platform/vb.h"

#include <gtest/gtest.h>

namespace {

class EchoRecordingLine : public ::testing::Test {
protected:
    void SetUp() override {
        platform::number_separators() = {};
        platform::date_formats() = {};
    }
    void TearDown() override {
        platform::number_separators() = {};
        platform::date_formats() = {};
    }
    static RecordLineValues span_example() {
        RecordLineValues v;
        v.when = QDateTime(QDate(2026, 12, 5), QTime(18, 40, 12));
        v.status = 3;
        v.empty_distance = 5.5;
        v.level = 1.234;
        v.confidence = 2;
        v.strength = 125;
        v.temperature = 21.4;
        v.trace_text = "T1$R5.5,0.3,0.25,10";
        return v;
    }
};

TEST_F(EchoRecordingLine, SpanLineAsTheUnitsNumbersAreWrittenWhateverTheLocale) {
    const QString expected = "05/12/2026,18:40:12,3,5.5,1.234,2,125,0,0,21.4,T1$R5.5,0.3,0.25,10";
    EXPECT_EQ(record_line(span_example()), expected);
    platform::number_separators() = {",", "."};
    EXPECT_EQ(record_line(span_example()), expected) << "a comma-decimal locale broke the fields";
    RecordLineValues tiny = span_example();
    tiny.level = 0.00001;
    EXPECT_TRUE(record_line(tiny).contains(",1E-05,"));
}

TEST_F(EchoRecordingLine, DatesKeepFourDigitYearsAndNeverHoldACommaOrAT) {
    const struct {
        const char* pattern;
        const char* text;
    } cases[] = {{"dd/mm/yyyy", "05/12/2026"},
                 {"d.m.yy", "5.12.2026"},
                 {"mm/dd/yy", "12/05/2026"},
                 {"dd, mm yyyy", "2026-12-05"},
                 {"d \"T\"mm yyyy", "2026-12-05"}};
    for (const auto& c : cases) {
        platform::date_formats().short_date = c.pattern;
        EXPECT_EQ(record_date_text(QDate(2026, 12, 5)), c.text) << c.pattern;
    }
    EXPECT_EQ(record_time_text(QTime(7, 5, 9)), "07:05:09");
}

TEST(EchoRecordingPace, ALineIsDueOnlyOnceMoreThanTheIntervalHasPassed) {
    const struct {
        double last, now, interval;
        bool due;
        double last_after;
    } cases[] = {
        {100, 101, 1, false, 100},      // exactly the interval: not yet
        {100, 101.01, 1, true, 101.01}, // just past it
        {86399.5, 0.2, 1, false, 0.2},  // past midnight: the interval restarts from now
        {100, 100, 0, false, 100},
    };
    for (const auto& c : cases) {
        double last = c.last;
        EXPECT_EQ(interval_due(last, c.now, c.interval), c.due) << c.last << " " << c.now;
        EXPECT_DOUBLE_EQ(last, c.last_after);
    }
}

// The program's time of day wrapping at midnight runs in
// EchoRecorderTest.PlaybackKeepsItsPaceAcrossMidnight.
TEST(EchoPlayedLine, EachKindOfLineIsRecognisedAndItsLeadingFieldsKept) {
    const PlayedLine span =
        read_played_line("05/12/2026,18:40:12,3,5.5,1.234,2,125,0,0,21.4,T1$R5.5,0.3,0.25,10");
    EXPECT_EQ(span.kind, PlayedLine::Kind::Span);
    ASSERT_TRUE(span.span.has_value());
    EXPECT_EQ(*span.span, (std::array<double, 4>{5.5, 0.3, 0.25, 10}));
    EXPECT_EQ(span.fields[0] + "|" + span.fields[3] + "|" + span.fields[9], "05/12/2026|5.5|21.4");

    const struct {
        const char* line;
        PlayedLine::Kind kind;
        int trace;
        bool fields;
    } cases[] = {
        {"d,t,0,6,2,78,45,1.2,3.4,21.4,T1$B10.00", PlayedLine::Kind::Trace, 2, true},
        {"d,t,0,6,2,78,45,1.2,3.4,21.4,T1$F10.00", PlayedLine::Kind::Trace, 3, true},
        {"d,t,0,6,2,78,45,1.2,3.4,21.4,T1$R5,5", PlayedLine::Kind::Span, 0, true},
        {"d,t,0,6,2,78,45,1.2,3.4,21.4,", PlayedLine::Kind::Ignored, 0, false},
        {"", PlayedLine::Kind::Ignored, 0, false},
    };
    for (const auto& c : cases) {
        const PlayedLine p = read_played_line(c.line);
        EXPECT_EQ(std::tuple(p.kind, p.trace, p.has_fields, p.unreadable),
                  std::tuple(c.kind, c.trace, c.fields, false))
            << c.line;
    }
    EXPECT_FALSE(read_played_line("d,t,0,6,2,78,45,1.2,3.4,21.4,T1$R5,5").span.has_value())
        << "a span line without four values must be ignored";
    EXPECT_EQ(read_played_line("x,y,T1$A1").reply, "$A1");
}

TEST(EchoPlayedLine, ShortLeadsRepeatTheirLastFieldAndATFirstCannotBeRead) {
    const PlayedLine shortline = read_played_line("a,b,c,T1$A10.00");
    EXPECT_EQ(shortline.fields[1] + shortline.fields[2] + shortline.fields[9], "bcc");
    const PlayedLine second = read_played_line("xT1$A10.00");
    EXPECT_TRUE(second.has_fields);
    for (const QString& f : second.fields)
        EXPECT_TRUE(f.isEmpty());
    EXPECT_TRUE(read_played_line("T1$A10.00").unreadable);
    EXPECT_EQ(playback_progress_maximum(14120), 13);
}

} // namespace
