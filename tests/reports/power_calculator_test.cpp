#include "fields.h"
#include "qt_print.h"

#include <gtest/gtest.h>

#include "logging/up_down.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "reports/power_calculator.h"
#include "reports/power_calculator_window.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <qcustomplot.h>

namespace {

const power::LifeWords ENGLISH{"year", "years", "month", "months", "day", "days"};

power::CalculatorInputs start_values() {
    return {}; // KV3, 12 V, output hold, wake 1 min, 0.2 s, 40 Ah, 95 %
}

// The start values give the worked result; a unit that never sleeps draws the full current.
TEST(PowerCalculator, StartValuesAndAUnitThatNeverSleeps) {
    const struct {
        double wake;
        const char* milliamps;
        int days;
        const char* life;
    } cases[] = {{1, "15.66", 101, "3 months \n11 days "},
                 {0, "199.01", 7, "7 days "},
                 {-1, "199.01", 7, "7 days "}};
    for (const auto& c : cases) {
        auto in = start_values();
        in.wake_minutes = c.wake;
        const auto r = power::calculate(in);
        ASSERT_TRUE(r);
        EXPECT_EQ(fields(platform::format_number_c(r->average_ma, "####0.00"),
                         static_cast<int>(r->days), power::life_text(*r, ENGLISH)),
                  fields(c.milliamps, c.days, c.life))
            << c.wake;
    }
}

TEST(PowerCalculator, NothingChosenLeavesTheResultsAndNoCapacityGivesNoLife) {
    auto in = start_values();
    in.transducer = -1;
    EXPECT_FALSE(power::calculate(in));
    in = start_values();
    in.voltage_index = 2;
    EXPECT_FALSE(power::calculate(in));
    in = start_values();
    in.capacity_ah = 0;
    const auto r = power::calculate(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->days, 0);
    EXPECT_EQ(power::life_text(*r, ENGLISH), QString());
}

// 365-day years and 30-day months, singular for one; the capacity lasts `days` for a unit that
// never sleeps.
TEST(PowerCalculator, YearsAndMonthsCountWholePeriods) {
    struct Case {
        double days;
        int years, months, rest_days;
        const char* text;
    };
    const Case cases[] = {{59.999, 0, 1, 29, "1 month \n29 days "},
                          {395.5, 1, 1, 0, "1 year \n1 month \n"},
                          {31.5, 0, 1, 1, "1 month \n1 day "},
                          {732.5, 2, 0, 2, "2 years \n2 days "}};
    for (const Case& c : cases) {
        auto in = start_values();
        in.wake_minutes = 0;
        in.usable_percent = 100;
        in.capacity_ah = c.days * 24 * 199.01 / 1000;
        const auto r = power::calculate(in);
        ASSERT_TRUE(r);
        EXPECT_EQ(fields(r->years, r->months, r->rest_days, power::life_text(*r, ENGLISH)),
                  fields(c.years, c.months, c.rest_days, c.text))
            << c.days;
    }
    // Exactly 60 days (24 V, never sleeping) are two whole months, not one month and 30 days.
    auto in = start_values();
    in.voltage_index = 1;
    in.wake_minutes = 0;
    in.usable_percent = 100;
    in.capacity_ah = 115.9632;
    const auto r = power::calculate(in);
    ASSERT_TRUE(r && r->days == 60);
    EXPECT_EQ(power::life_text(*r, ENGLISH), QStringLiteral("2 months \n"));
}

using Points = std::vector<std::pair<double, double>>;
Points xy(const std::vector<power::ProfilePoint>& points) {
    Points out;
    for (const auto& p : points)
        out.emplace_back(p.seconds, p.volts);
    return out;
}

TEST(PowerCalculator, ProfileHoldsTheLastOutputUntilTheCycleTime) {
    const auto p = power::voltage_profile(0, true, 0.2);
    EXPECT_EQ(xy(p.output),
              (Points{{0, 0}, {0.6, 0}, {0.6, 2.5}, {4.5, 2.5}, {4.5, 3.5}, {4.7, 3.5},
                      {4.7, 0}, {4.8, 0}}));
    EXPECT_EQ(xy(p.ready), (Points{{0, 0}, {4.5, 0}, {4.5, 5}, {4.7, 5}, {4.7, 0}, {4.8, 0}}));
    EXPECT_DOUBLE_EQ(p.end_seconds, 4.8);
    EXPECT_EQ(p.output[2].label, power::PointLabel::LastOutput);
    EXPECT_EQ(p.output[4].label, power::PointLabel::NewOutput);
    EXPECT_EQ(p.output[0].label, power::PointLabel::None);
}

TEST(PowerCalculator, ProfileWithoutHoldOrDurationStaysLow) {
    const auto p = power::voltage_profile(4, false, 0);
    EXPECT_EQ(xy(p.output),
              (Points{{0, 0}, {0.6, 0}, {6.5, 0}, {6.5, 3.5}, {6.5, 3.5}, {6.5, 0}, {6.6, 0}}));
    for (const auto& pt : p.ready)
        EXPECT_EQ(pt.volts, 0) << "the ready signal rose without an output duration";
    EXPECT_DOUBLE_EQ(p.end_seconds, 6.6);
}

class CalculatorWindow : public ::testing::Test {
protected:
    void SetUp() override { platform::number_separators() = {}; }
    void TearDown() override { platform::number_separators() = {}; }
};

TEST_F(CalculatorWindow, OpensWithTheStartResultsAndFollowsItsBoxesAndLists) {
    PowerCalculatorWindow w;
    EXPECT_EQ(w.Text1[3]->text(), QStringLiteral("15.66"));
    EXPECT_EQ(w.Label3->text().count(QLatin1Char('\n')), 1);
    EXPECT_DOUBLE_EQ(w.output_series->keyAxis()->range().upper, 4.8);
    w.Text1[5]->setText(QStringLiteral("50"));
    EXPECT_EQ(w.Text1[3]->text(), QStringLiteral("15.66")) << "the leakage box is only shown";
    QTest::keyClicks(w.Text1[5], "9");
    EXPECT_EQ(w.Text1[5]->text(), QStringLiteral("50")) << "the leakage box took typing";
    w.Text1[2]->setText(QString());
    EXPECT_EQ(w.Text1[3]->text(), QStringLiteral("199.01")) << "an empty wake box never sleeps";
    EXPECT_EQ(w.Text1[4]->text(), QStringLiteral("7"));
    w.Text1[2]->setText(QStringLiteral("abc"));
    EXPECT_EQ(w.Text1[4]->text(), QStringLiteral("7"));
    w.Text1[2]->setText(QStringLiteral("1"));
    w.Combo1[1]->setCurrentIndex(1); // 24 V
    EXPECT_EQ(w.Text1[3]->text(), platform::format_number_c(0.08 + 80.45 * 4.7 / 60, "####0.00"));
    w.Combo1[2]->setCurrentIndex(0); // no hold
    EXPECT_EQ(w.output_series->dataCount(), 7);
    w.UpDown1->step(1);
    EXPECT_EQ(w.Text1[2]->text(), QStringLiteral("2"));
    w.UpDown1->step(-1);
    w.UpDown1->step(-1);
    EXPECT_EQ(w.Text1[2]->text(), QStringLiteral("1")) << "the wake arrows stop at 1 minute";
}

// A box the user empties counts as empty at once, not as the value removed; left empty, it
// still counts so when another input changes.
TEST_F(CalculatorWindow, ABoxEmptiedByTypingCountsAsEmptiedAtOnceAndOnceLeft) {
    PowerCalculatorWindow w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QLineEdit* wake = w.Text1[2];
    wake->setFocus();
    wake->selectAll();
    QTest::keyClick(wake, Qt::Key_Backspace);
    EXPECT_EQ(fields(w.Text1[3]->text(), w.Text1[4]->text()), fields("199.01", "7"))
        << "the emptied wake box was read as the minute it held";
    QTest::keyClick(wake, Qt::Key_Tab);
    ASSERT_FALSE(wake->hasFocus()) << "the wake box was not left";
    w.Combo1[1]->setCurrentIndex(1); // 24 V
    EXPECT_EQ(fields(wake->text(), w.Text1[3]->text()),
              fields("", platform::format_number_c(0.08 + 80.45, "####0.00")))
        << "after the voltage changed, the wake box left empty counted as a minute again";
}

// The wake interval takes 0 (a unit that never sleeps, below its arrows) to 99 minutes and the
// usable share 0 to 100 %: a number typed beyond them is refused with their limits, the box and
// the battery life stay with the last value taken, and the Escape that left the box does not
// close the window; a number within them is taken.
TEST_F(CalculatorWindow, ANumberTypedBeyondTheArrowsIsRefusedWithTheirLimits) {
    platform::ScopedScriptedDialogs dialogs;
    // clang-format off
    const struct { size_t box; const char *typed, *shown, *says, *results = ""; } cases[] = {
        {6, "150", "95", "from 0 to 100"}, {2, "-1", "1", "from 0 to 99"},
        {2, "100", "1", "from 0 to 99"}, {2, "0", "0", "", "199.01 mA, 7 days"},
        {6, "-1", "95", "from 0 to 100"}, {6, "100", "100", ""}, {2, "99", "99", ""}};
    // clang-format on
    PowerCalculatorWindow w;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    for (const auto& c : cases) {
        if (!w.isVisible()) { // an Escape from a box that took its number closed the window
            w.show();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
        }
        QLineEdit* box = w.Text1[c.box];
        const QString days = w.Text1[4]->text();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, c.typed);
        const bool followed = w.Text1[4]->text() != days;
        QTest::keyClick(box, Qt::Key_Escape);
        QApplication::processEvents();
        const bool refused = *c.says;
        EXPECT_EQ(fields(box->text(), dialogs.messages().join(' ').contains(c.says),
                         dialogs.messages().size(), followed, w.Text1[4]->text() == days,
                         w.isVisible()),
                  fields(c.shown, true, refused ? 1 : 0, !refused, refused, refused))
            << c.typed << " was taken, the battery life followed it, or Escape went on";
        if (*c.results) {
            EXPECT_EQ(w.Text1[3]->text() + " mA, " + w.Text1[4]->text() + " days", c.results);
        }
        dialogs.prompts.clear();
    }
}

TEST_F(CalculatorWindow, ANumberTypedInTheOtherNotationIsRefusedNotReadAsAnother) {
    platform::ScopedScriptedDialogs dialogs;
    // clang-format off
    const struct { const char *locale, *decimal, *thousands, *typed; double value; const char* shown; } cases[] = {
        {"de_DE", ",", ".", "0.35", 0.2, "0,2"}, {"de_DE", ",", ".", "0,35", 0.35, "0,35"},
        {"de_DE", ",", ".", "1.234,5", 1234.5, "1234,5"}, {"de_DE", ",", ".", "1,234.5", 0.2, "0,2"},
        {"en_GB", ".", ",", "0.35", 0.35, "0.35"}, {"en_GB", ".", ",", "0,35", 0.2, "0.2"},
        {"en_GB", ".", ",", "1.234,5", 0.2, "0.2"}, {"en_GB", ".", ",", "1,234.5", 1234.5, "1234.5"},
        {"de_DE", ",", ".", "\b0.35", 0, ""}}; // emptied, then refused: empty again
    // clang-format on
    for (const auto& c : cases) {
        platform::number_separators() = {c.decimal, c.thousands, c.locale};
        PowerCalculatorWindow w;
        QLineEdit* duration = w.Text1[0];
        const std::string where = std::string(c.locale) + " typed " + c.typed;
        duration->selectAll();
        QTest::keyClicks(duration, c.typed);
        const double half_typed = w.inputs().output_duration_s;
        EXPECT_TRUE(half_typed == 0.2 || half_typed == c.value) << where << " read " << half_typed;
        QTest::keyClick(duration, Qt::Key_Return);
        QApplication::processEvents(); // the message comes once the leaving event has finished
        power::CalculatorInputs in;
        in.output_duration_s = c.value;
        EXPECT_EQ(
            fields(duration->text(), w.Text1[3]->text()),
            fields(c.shown, platform::format_number(power::calculate(in)->average_ma, "####0.00")))
            << where << ": the box and the result must agree";
        const bool refused = c.value == 0.2 || !*c.shown; // back to the start value, or empty
        ASSERT_EQ(dialogs.messages().size(), refused ? 1 : 0) << where;
        if (refused) {
            EXPECT_TRUE(dialogs.messages().first().contains(QString("\"%1\"").arg(c.decimal)))
                << dialogs.messages().first().toStdString();
            QApplication::processEvents();
            EXPECT_EQ(duration->selectedText(), c.shown) << where << ": the correction would not "
                                                         << "replace the refused value";
        }
        dialogs.prompts.clear();
    }
}

TEST_F(CalculatorWindow, PointerReadOutShowsTimeAndVoltsInsideTheProfileOnly) {
    PowerCalculatorWindow w;
    w.resize(640, 560);
    w.show();
    QApplication::processEvents();
    w.TChart2->replot();
    const auto move_to = [&](QCPGraph* series, double x, double y) {
        const QPointF at(series->keyAxis()->coordToPixel(x), series->valueAxis()->coordToPixel(y));
        QMouseEvent move(QEvent::MouseMove, at, w.TChart2->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w.TChart2, &move);
    };
    struct Case {
        QCPGraph* series;
        double x, y;
        const char* text;
    };
    const Case cases[] = {{w.output_series, 2.0, 2.5, "X=2.0s, Y=2.5V"},
                          {w.ready_series, 4.6, 4.0, "X=4.6s, Y=4.0V"},
                          {w.output_series, -0.2, 1.0, ""},
                          {w.output_series, 2.0, -0.2, ""}};
    for (const Case& c : cases) {
        move_to(c.series, c.x, c.y);
        EXPECT_EQ(w.annotation->text(), QLatin1String(c.text)) << c.x << "," << c.y;
        EXPECT_EQ(w.cursor->visible(), *c.text != 0);
    }
}

} // namespace
