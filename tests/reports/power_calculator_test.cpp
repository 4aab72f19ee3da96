#include "qt_print.h"

#include <gtest/gtest.h>

#include "logging/up_down.h"
#include "platform/vb.h"
#include "reports/form6.h"
#include "reports/power_calculator.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <qcustomplot.h>

namespace {

const power::LifeWords ENGLISH{"year", "years", "month", "months", "day", "days"};

power::CalculatorInputs start_values() {
    return {}; // KV3, 12 V, output hold, wake 1 min, 0.2 s, 40 Ah, 95 %
}

TEST(PowerCalculator, StartValuesGiveTheWorkedResult) {
    const auto r = power::calculate(start_values());
    ASSERT_TRUE(r);
    EXPECT_EQ(platform::format_number_c(r->average_ma, "####0.00"), QStringLiteral("15.66"));
    EXPECT_EQ(static_cast<int>(r->days), 101);
    EXPECT_EQ(power::life_text(*r, ENGLISH), QStringLiteral("3 months \n11 days "));
}

TEST(PowerCalculator, AUnitThatNeverSleepsDrawsTheFullCurrent) {
    for (double wake : {0.0, -1.0}) {
        auto in = start_values();
        in.wake_minutes = wake;
        const auto r = power::calculate(in);
        ASSERT_TRUE(r);
        EXPECT_EQ(platform::format_number_c(r->average_ma, "####0.00"), QStringLiteral("199.01"));
        EXPECT_EQ(static_cast<int>(r->days), 7);
        EXPECT_EQ(power::life_text(*r, ENGLISH), QStringLiteral("7 days ")) << wake;
    }
}

TEST(PowerCalculator, CurrentTableIsIndexedByVoltageThenTransducer) {
    struct Case {
        int transducer, voltage;
        double current, cycle;
    };
    const Case cases[] = {{0, 0, 198.93, 4.5},  {0, 1, 80.45, 4.5},  {1, 0, 189.09, 5.0},
                          {2, 1, 86.2, 5.9},    {3, 0, 193.43, 6.0}, {4, 1, 88.79, 6.5},
                          {5, 0, 0.0, 0.0},     {-1, 0, 0.0, 0.0}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(power::transducer_current(c.transducer, c.voltage), c.current)
            << c.transducer << "/" << c.voltage;
        EXPECT_NEAR(power::cycle_time(c.transducer), c.cycle, 1e-12) << c.transducer;
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

TEST(PowerCalculator, LifeWordsAreSingularForOneAndPluralAbove) {
    struct Case {
        int years, months, days;
        const char* text;
    };
    const Case cases[] = {{1, 1, 1, "1 year \n1 month \n1 day "},
                          {2, 0, 2, "2 years \n2 days "},
                          {0, 0, 0, ""},
                          {0, 11, 0, "11 months \n"}};
    for (const Case& c : cases) {
        power::CalculatorResult r;
        r.years = c.years;
        r.months = c.months;
        r.rest_days = c.days;
        EXPECT_EQ(power::life_text(r, ENGLISH), QString::fromLatin1(c.text));
    }
}

TEST(PowerCalculator, YearsAndMonthsCountWholePeriods) {
    auto in = start_values();
    in.capacity_ah = 400; // ten times the start: 1010.9 days
    const auto r = power::calculate(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->years, 2);
    EXPECT_EQ(r->months, 9);
    EXPECT_EQ(r->rest_days, 10);
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
    Form6 w;
    EXPECT_EQ(w.Text1[3]->text(), QStringLiteral("15.66"));
    EXPECT_EQ(w.Text1[4]->text(), QStringLiteral("101"));
    EXPECT_EQ(w.Label3->text().count(QLatin1Char('\n')), 1);
    EXPECT_EQ(w.output_series->dataCount(), 8);
    EXPECT_DOUBLE_EQ(w.output_series->keyAxis()->range().upper, 4.8);
    w.Text1[5]->setText(QStringLiteral("50"));
    EXPECT_EQ(w.Text1[3]->text(), QStringLiteral("15.66")) << "the leakage box is only shown";
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
}

TEST_F(CalculatorWindow, PointerReadOutShowsTimeAndVoltsInsideTheProfileOnly) {
    Form6 w;
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
