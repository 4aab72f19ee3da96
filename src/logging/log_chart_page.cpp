#include "logging/log_chart_page.h"

#include <QFrame>
#include <QPushButton>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {
// Design sizes in pixels (twips / 15): the square button and the report button.
constexpr int BUTTON_SIZE = 40;
constexpr int REPORT_HEIGHT = 28;
} // namespace

LogChartPage::LogChartPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LogChartPage"));
    auto button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setEnabled(false);
        return b;
    };
    Command4 = button("Command4");
    Command4->resize(BUTTON_SIZE, BUTTON_SIZE);
    Command9 = button("Command9");
    Command9->hide();
    Command13 = button("Command13");
    Command13->resize(BUTTON_SIZE, REPORT_HEIGHT);
    TeeCommander1 = new QFrame(this);
    TeeCommander1->setObjectName(QStringLiteral("TeeCommander1"));
    TeeCommander1->setFrameShape(QFrame::StyledPanel);
    TeeCommander1->setLayout(new QVBoxLayout);
    TChart1 = new QCustomPlot(this);
    TChart1->setObjectName(QStringLiteral("TChart1"));
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("ddMMMyy hh:mm"));
    TChart1->xAxis->setTicker(ticker);
}
