#include "logging/log_chart_page.h"

#include "logging/drawn_icon.h"
#include "logging/log_chart_model.h"
#include "logging/log_chart_view.h"
#include "shell/definitions_table.h"

#include <QFrame>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {
// Design sizes in pixels (twips / 15): the square button and the report button.
constexpr int BUTTON_SIZE = 40;
constexpr int REPORT_HEIGHT = 28;

QIcon legend_icon() {
    return drawn_icon(32, [](QPainter& p) {
        p.setPen(QPen(Qt::darkGray, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 5.5, 25, 21));
        const QColor colours[3] = {Qt::red, QColor(0, 128, 0), Qt::blue};
        for (int i = 0; i < 3; ++i) {
            p.setPen(QPen(colours[i], 3));
            p.drawLine(QPointF(7, 11 + 5 * i), QPointF(13, 11 + 5 * i));
            p.setPen(QPen(Qt::darkGray, 1.5));
            p.drawLine(QPointF(16, 11 + 5 * i), QPointF(25, 11 + 5 * i));
        }
    });
}

QIcon report_icon() {
    return drawn_icon(32, [](QPainter& p) {
        p.setPen(QPen(Qt::darkGray, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7.5, 3.5, 18, 25));
        for (int i = 0; i < 5; ++i)
            p.drawLine(QPointF(11, 9 + 4 * i), QPointF(i % 2 ? 18 : 22, 9 + 4 * i));
    });
}
} // namespace

LogChartPage::LogChartPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LogChartPage"));
    auto button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        b->setEnabled(false);
        return b;
    };
    legend_button = button("Command4");
    legend_button->resize(BUTTON_SIZE, BUTTON_SIZE);
    legend_button->setIcon(legend_icon());
    legend_button->setIconSize(QSize(28, 28));
    legend_button->setEnabled(true);
    connect(legend_button, &QPushButton::clicked, this, [this] { Command4_Click(); });
    reset_zoom_button = button("Command9");
    reset_zoom_button->hide();
    report_button = button("Command13");
    report_button->resize(BUTTON_SIZE, REPORT_HEIGHT);
    report_button->setIcon(report_icon());
    report_button->setIconSize(QSize(22, 22));
    // The chart tab opens only with a log on it, so the report always has data to work on.
    report_button->setEnabled(true);
    TeeCommander1 = new QFrame(this);
    TeeCommander1->setObjectName(QStringLiteral("TeeCommander1"));
    TeeCommander1->setFrameShape(QFrame::NoFrame);
    TeeCommander1->setLayout(new QVBoxLayout);
    log_chart = new QCustomPlot(this);
    log_chart->setObjectName(QStringLiteral("TChart1"));
    chart_view = new LogChartView(log_chart, log_chart_model(), this);
    set_page_texts();
}

void LogChartPage::Command4_Click() {
    if (legend_button_action) {
        legend_button_action();
        return;
    }
    LogChartModel& model = log_chart_model();
    model.display.legend = !model.display.legend;
    model.changed();
}

void LogChartPage::set_page_texts() {
    legend_button->setToolTip(ui_text(1161, QStringLiteral("Show or hide the legend window")));
    report_button->setToolTip(ui_text(1321, QStringLiteral("Report Generator")));
    chart_view->set_texts();
}
