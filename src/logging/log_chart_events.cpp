#include "logging/log_chart_events.h"

#include "logging/drawn_icon.h"
#include "logging/legend_window.h"
#include "logging/log_chart_model.h"
#include "logging/log_chart_page.h"
#include "logging/log_chart_view.h"
#include "logging/log_setup_state.h"
#include "platform/chart_print.h"
#include "platform/dialogs.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {

constexpr int CHART_TAB = 2;

QIcon zoom_icon(bool in) {
    return drawn_icon(24, [&](QPainter& p) {
        p.setPen(QPen(Qt::darkGray, 2));
        p.drawEllipse(QRectF(3, 3, 13, 13));
        p.drawLine(QPointF(14, 14), QPointF(21, 21));
        p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
        if (in)
            p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
    });
}

QIcon printer_icon() {
    return drawn_icon(24, [](QPainter& p) {
        p.setPen(QPen(Qt::darkGray, 1.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 2.5, 11, 7));
        p.setBrush(QColor(200, 200, 200));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6.5, 14.5, 11, 7));
    });
}

} // namespace

namespace legend {
bool needs_relayout(bool multiple_axes, int active_series, int bands) {
    return multiple_axes && active_series > 0 && bands != active_series;
}
} // namespace legend

LogChartEvents::LogChartEvents(QTabWidget* tabs, LogChartPage* page, QTimer* timer,
                               QObject* parent)
    : QObject(parent), tabs_(tabs), page_(page), timer_(timer) {
    build_command_bar();
    QCustomPlot* chart = page_->log_chart;
    cursor_ = new QCPItemStraightLine(chart);
    cursor_->setPen(QPen(Qt::gray, 1, Qt::DotLine));
    cursor_->setVisible(false);
    if (tabs_) {
        current_tab_ = tabs_->currentIndex();
        connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
            const int previous = current_tab_;
            current_tab_ = index;
            SSTab1_Click(previous);
        });
    }
    if (timer_)
        connect(timer_, &QTimer::timeout, this, [this] { Timer4_Timer(); });
    connect(chart, &QCustomPlot::afterReplot, this, [this] { TChart1_AfterDraw(); });
    connect(chart, &QCustomPlot::mouseMove, this, [this, chart](QMouseEvent* e) {
        QCPAxisRect* rect = chart->axisRect();
        TChart1_MouseMove(rect->axis(QCPAxis::atBottom)->pixelToCoord(e->position().x()),
                          rect->axis(QCPAxis::atLeft)->pixelToCoord(e->position().y()));
    });
    page_->legend_button_action = [] {
        LogSetupState& s = log_setup();
        s.legend_window_shown = !s.legend_window_shown;
        if (s.legend_window_shown) {
            restore_legend_window();
            if (s.legend_refresh_pending) {
                legend_window().update_series();
                s.legend_refresh_pending = false;
            }
        } else {
            tuck_away_legend_window();
        }
    };
    log_chart_model();
}

void LogChartEvents::build_command_bar() {
    QFrame* bar = page_->TeeCommander1;
    auto* layout = qobject_cast<QVBoxLayout*>(bar->layout());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    QStyle* style = bar->style();
    auto tool = [&](const QIcon& icon, int tip, const char* english, auto action) {
        auto* b = new QToolButton(bar);
        b->setIcon(icon);
        b->setAutoRaise(true);
        b->setIconSize(QSize(22, 22));
        b->setProperty("tip", tip);
        b->setProperty("tip_en", QString::fromUtf8(english));
        b->setToolTip(ui_text(tip, QString::fromUtf8(english)));
        layout->addWidget(b, 0, Qt::AlignHCenter);
        connect(b, &QToolButton::clicked, this, [this, action] {
            TeeCommander1_Click();
            action();
            TeeCommander1_Changed();
        });
        return b;
    };
    zoom_in = tool(zoom_icon(true), 2320, "Zoom in", [this] { zoom(0.5); });
    zoom_out = tool(zoom_icon(false), 2321, "Zoom out", [this] { zoom(2); });
    page_->reset_zoom_button->setParent(bar);
    page_->reset_zoom_button->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    page_->reset_zoom_button->setFlat(true);
    page_->reset_zoom_button->setEnabled(true);
    page_->reset_zoom_button->show();
    layout->addWidget(page_->reset_zoom_button, 0, Qt::AlignHCenter);
    connect(page_->reset_zoom_button, &QPushButton::clicked, this, [this] { Command9_Click(); });
    copy = tool(style->standardIcon(QStyle::SP_FileDialogDetailedView), 2322,
                "Copy the chart to the clipboard",
                [this] { QApplication::clipboard()->setPixmap(page_->log_chart->toPixmap()); });
    save = tool(style->standardIcon(QStyle::SP_DialogSaveButton), 2323,
                "Save the chart as a picture (PNG) or document (PDF)", [this] { save_chart(); });
    print = tool(QIcon::fromTheme(QStringLiteral("document-print"), printer_icon()), 2324, "Print the chart", [this] { print_chart(); });
    layout->addSpacing(12);
    first_page = tool(style->standardIcon(QStyle::SP_MediaSkipBackward), 2325, "First page",
                      [this] { show_page(0); });
    previous_page = tool(style->standardIcon(QStyle::SP_MediaSeekBackward), 2326, "Previous page",
                         [this] { show_page(log_chart_model().display.page - 1); });
    page_counter = new QLabel(bar);
    page_counter->setAlignment(Qt::AlignCenter);
    page_counter->setWordWrap(true);
    layout->addWidget(page_counter);
    next_page = tool(style->standardIcon(QStyle::SP_MediaSeekForward), 2327, "Next page",
                     [this] { show_page(log_chart_model().display.page + 1); });
    last_page = tool(style->standardIcon(QStyle::SP_MediaSkipForward), 2328, "Last page",
                     [this] { show_page(log_chart_model().page_count() - 1); });
    layout->addStretch(1);
    update_navigator();
}

void LogChartEvents::SSTab1_Click(int) {
    LogSetupState& s = log_setup();
    if (tabs_ && tabs_->currentIndex() == CHART_TAB) {
        restore_legend_window();
        s.legend_window_shown = true;
        page_->TeeCommander1->setVisible(true);
        page_->TeeCommander1->raise();
        page_->log_chart->setVisible(true);
    } else {
        tuck_away_legend_window();
        s.legend_window_shown = false;
        page_->TeeCommander1->setVisible(false);
        page_->log_chart->setVisible(false);
    }
    s.legend_tuck_pending = true;
}

void LogChartEvents::Timer4_Timer() {
    if (tabs_ && tabs_->currentIndex() != CHART_TAB) {
        // The window is loaded from the first tick, so that its load has run.
        legend_window();
        tuck_away_legend_window();
    }
}

void LogChartEvents::TChart1_AfterDraw() {
    const LogChartModel& model = log_chart_model();
    int active = 0;
    for (int k = 0; k < model.series_count(); ++k)
        active += model.series(k).active ? 1 : 0;
    log_setup().active_series_count = static_cast<int16_t>(active);
    update_navigator();
    if (legend::needs_relayout(model.display.multiple_axes, active, page_->chart_view->bands()))
        QTimer::singleShot(1, this, [] {
            if (legend_window_loaded())
                legend_window().multiple_axes_changed();
        });
}

void LogChartEvents::TChart1_MouseMove(double x, double y) {
    QCustomPlot* chart = page_->log_chart;
    bool inside = false;
    if (chart->graphCount() > 0 && !chart->graph(0)->data()->isEmpty()) {
        const auto data = chart->graph(0)->data();
        const double first = data->constBegin()->key;
        const double last = (data->constEnd() - 1)->key;
        const QCPRange y_range = chart->axisRect()->axis(QCPAxis::atLeft)->range();
        inside = x >= first && x <= last && y_range.contains(y);
    }
    cursor_->setClipAxisRect(chart->axisRect());
    cursor_->point1->setAxes(chart->axisRect()->axis(QCPAxis::atBottom),
                             chart->axisRect()->axis(QCPAxis::atLeft));
    cursor_->point2->setAxes(chart->axisRect()->axis(QCPAxis::atBottom),
                             chart->axisRect()->axis(QCPAxis::atLeft));
    cursor_->point1->setCoords(x, 0);
    cursor_->point2->setCoords(x, 1);
    if (cursor_->visible() != inside || inside) {
        cursor_->setVisible(inside);
        chart->replot(QCustomPlot::rpQueuedReplot);
    }
}

void LogChartEvents::TeeCommander1_Click() {
    LogSetupState& s = log_setup();
    if (tabs_ && tabs_->currentIndex() == CHART_TAB && s.legend_tuck_pending) {
        restore_legend_window();
        s.legend_window_shown = true;
    } else {
        tuck_away_legend_window();
        s.legend_window_shown = false;
    }
    s.legend_tuck_pending = false;
}

void LogChartEvents::TeeCommander1_Changed() {
    log_setup().legend_refresh_pending = true;
    page_->log_chart->replot(QCustomPlot::rpQueuedReplot);
}

void LogChartEvents::Command9_Click() {
    tuck_away_legend_window();
    log_setup().legend_window_shown = false;
    page_->chart_view->reset_zoom();
}

void LogChartEvents::zoom(double factor) {
    QCustomPlot* chart = page_->log_chart;
    QCPAxis* x = chart->axisRect()->axis(QCPAxis::atBottom);
    x->scaleRange(factor, x->range().center());
    chart->replot(QCustomPlot::rpQueuedReplot);
}

void LogChartEvents::show_page(int page) {
    LogChartModel& model = log_chart_model();
    model.display.page = std::clamp(page, 0, model.page_count() - 1);
    page_->chart_view->reset_zoom();
    update_navigator();
}

void LogChartEvents::update_navigator() {
    const LogChartModel& model = log_chart_model();
    const int pages = model.page_count();
    const int page = std::clamp(model.display.page, 0, pages - 1);
    QString format = page_->log_chart->property("page_counter_format").toString();
    if (format.isEmpty())
        format = QStringLiteral("Page %d of %d");
    const int first = static_cast<int>(format.indexOf(QLatin1String("%d")));
    if (first >= 0) {
        const QString number = QString::number(page + 1);
        format.replace(first, 2, number);
        // The narrow column wraps the counter anyway: break it after the page, not inside "of 24".
        const qsizetype after = first + number.size();
        if (after < format.size() && format.at(after) == QLatin1Char(' '))
            format[after] = QLatin1Char('\n');
    }
    format.replace(QLatin1String("%d"), QString::number(pages));
    page_counter->setText(format.trimmed());
    first_page->setEnabled(page > 0);
    previous_page->setEnabled(page > 0);
    next_page->setEnabled(page + 1 < pages);
    last_page->setEnabled(page + 1 < pages);
    for (QToolButton* b : {zoom_in, zoom_out, copy, save, print, first_page, previous_page,
                           next_page, last_page}) {
        const QString tip = ui_text(b->property("tip").toInt(), b->property("tip_en").toString());
        if (b->toolTip() != tip)
            b->setToolTip(tip);
    }
}

void LogChartEvents::save_chart() {
    const ShellState& sh = shell();
    platform::FileDialogRequest request;
    request.title = ui_text(2323, QStringLiteral("Save the chart as a picture (PNG) or document "
                                                 "(PDF)"));
    request.filter = QStringLiteral("PNG (*.png)|*.png|PDF (*.pdf)|*.pdf");
    request.folder = read_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_EXPORT_PATH,
                              sh.export_path.isEmpty() ? sh.data_folder : sh.export_path);
    QString path = platform::dialogs().save_file(request);
    if (path.isEmpty())
        return;
    const bool pdf = platform::dialogs().last_filter_index() == 2 ||
                     path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    if (QFileInfo(path).suffix().isEmpty())
        path += pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
    QCustomPlot* chart = page_->log_chart;
    const bool ok = pdf ? chart->savePdf(path) : chart->savePng(path);
    if (!ok)
        platform::msg_box(ui_text(2329, QStringLiteral("The chart could not be saved as")) +
                              QLatin1Char(' ') + path,
                          platform::mb::Exclamation);
}

void LogChartEvents::print_chart() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintPreviewDialog preview(&printer, page_);
    // The preview's pages and the paper's are painted alike.
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
            [this](QPrinter* p) { print_page(*p); });
    preview.exec();
}

bool LogChartEvents::print_page(QPrinter& printer) {
    QString error;
    if (platform::print_chart_page(*page_->log_chart, printer, 0, &error))
        return true;
    platform::msg_box(ui_text(2910, QStringLiteral("The chart could not be printed:")) +
                          QLatin1Char(' ') + error,
                      platform::mb::Critical);
    return false;
}

LogChartEvents* install_log_chart_events(QTabWidget* tabs, LogChartPage* page, QTimer* timer,
                                         QWidget* owner) {
    set_legend_window_owner(owner);
    auto* events = new LogChartEvents(tabs, page, timer, page);
    if (timer)
        timer->start();
    return events;
}
