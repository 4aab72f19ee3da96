#include "echo/echo_page.h"

#include "shell/definitions_table.h"
#include "shell/number_box.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {

QString element(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QCustomPlot* chart(QWidget* parent, const QString& name, int series) {
    auto* c = new QCustomPlot(parent);
    c->setObjectName(name);
    for (int i = 0; i < series; ++i)
        c->addGraph();
    c->setMinimumSize(200, 150);
    return c;
}

QTabWidget* tab_set(QWidget* parent, const QString& name, int tabs) {
    auto* t = new QTabWidget(parent);
    t->setObjectName(name);
    for (int i = 0; i < tabs; ++i)
        t->addTab(new QWidget(t), QString());
    return t;
}

template <class T> T* named(QWidget* parent, const QString& name) {
    auto* w = new T(parent);
    w->setObjectName(name);
    return w;
}

void add_title(QCustomPlot* c, double point_size) {
    c->plotLayout()->insertRow(0);
    auto* title = new QCPTextElement(c, QString(), QFont(c->font().family(), 0));
    QFont f = c->font();
    f.setItalic(true);
    f.setPointSizeF(point_size);
    title->setFont(f);
    c->plotLayout()->addElement(0, 0, title);
}

void set_title(QCustomPlot* c, const QString& text) {
    if (auto* title = qobject_cast<QCPTextElement*>(c->plotLayout()->element(0, 0)))
        title->setText(text);
}

void fixed_ticks(QCPAxis* axis, double step) {
    QSharedPointer<QCPAxisTickerFixed> ticker(new QCPAxisTickerFixed);
    ticker->setTickStep(step);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    axis->setTicker(ticker);
}

// A small read-out chart laid over the echo chart: one line, no legend, fixed axes.
QCustomPlot* readout_chart(QWidget* parent, const QString& name, const QColor& line, double y_max,
                           double y_step) {
    QCustomPlot* c = chart(parent, name, 1);
    c->setMinimumSize(120, 80);
    QFont small = c->font();
    small.setPointSizeF(7);
    for (QCPAxis* a : {c->xAxis, c->yAxis})
        a->setTickLabelFont(small);
    add_title(c, 7.5);
    c->graph(0)->setPen(QPen(line, 1.5));
    c->xAxis->setRange(0, 25);
    fixed_ticks(c->xAxis, 5);
    c->yAxis->setRange(0, y_max);
    fixed_ticks(c->yAxis, y_step);
    c->axisRect()->setAutoMargins(QCP::msLeft | QCP::msBottom | QCP::msTop);
    c->axisRect()->setMargins(QMargins(0, 0, 6, 0));
    c->hide();
    return c;
}

QCPItemRect* rect_item(QCustomPlot* c, const QColor& fill, const QPen& pen) {
    auto* r = new QCPItemRect(c);
    r->topLeft->setTypeX(QCPItemPosition::ptPlotCoords);
    r->bottomRight->setTypeX(QCPItemPosition::ptPlotCoords);
    r->setBrush(fill);
    r->setPen(pen);
    r->setClipToAxisRect(true);
    r->setLayer(QStringLiteral("background"));
    return r;
}

} // namespace

EchoPage::EchoPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EchoPage"));

    // The echo chart: distance along the bottom, amplitude up the left; right and top hidden.
    echo_chart = chart(this, element("TChart2", 0), 4);
    add_title(echo_chart, 10);
    echo_chart->legend->setVisible(false);
    echo_chart->xAxis->setRange(0, 10);
    echo_chart->yAxis->setRange(0, 999);
    fixed_ticks(echo_chart->yAxis, 200);
    echo_chart->xAxis->grid()->setSubGridVisible(true);
    echo_chart->xAxis->grid()->setSubGridPen(QPen(QColor(160, 160, 160), 0, Qt::DotLine));
    echo_chart->yAxis->grid()->setSubGridVisible(true);
    echo_chart->yAxis->grid()->setSubGridPen(QPen(Qt::gray, 0, Qt::DashDotLine));
    const QColor trace_colours[4] = {Qt::red, QColor(0, 160, 0), Qt::blue, Qt::yellow};
    // Thin pens draw a 6401-sample trace in about a millisecond; wider ones take tens.
    for (int i = 0; i < 4; ++i)
        echo_chart->graph(i)->setPen(QPen(trace_colours[i], 1));
    echo_chart->setPlottingHint(QCP::phFastPolylines, true);
    // The span bands: near blanking and far blanking light red, beyond the far end red, all
    // mostly transparent so that the trace shows through.
    const QColor band_colours[4] = {{}, QColor(0xFF, 0x80, 0x80), QColor(0xFF, 0x80, 0x80), Qt::red};
    for (int i = 1; i <= 3; ++i) {
        QColor c = band_colours[i];
        c.setAlpha(51);
        QCPItemRect* band = rect_item(echo_chart, c, Qt::NoPen);
        band->topLeft->setTypeY(QCPItemPosition::ptAxisRectRatio);
        band->bottomRight->setTypeY(QCPItemPosition::ptAxisRectRatio);
        band->topLeft->setCoords(0, 0);
        band->bottomRight->setCoords(0, 1);
        span_band[static_cast<size_t>(i)] = band;
    }
    for (auto& bar : gate_bars) {
        bar = rect_item(echo_chart, Qt::white, QPen(Qt::black));
        bar->topLeft->setTypeY(QCPItemPosition::ptPlotCoords);
        bar->bottomRight->setTypeY(QCPItemPosition::ptPlotCoords);
        // Behind the traces, so that the echo inside the gate stays visible.
        bar->setLayer(QStringLiteral("background"));
        bar->setVisible(false);
    }
    cursor_x = new QCPItemStraightLine(echo_chart);
    cursor_y = new QCPItemStraightLine(echo_chart);
    for (auto* line : {cursor_x, cursor_y}) {
        line->setPen(QPen(Qt::white, 1));
        line->setVisible(false);
        line->setSelectable(false);
    }
    echo_chart->setInteractions(QCP::iRangeZoom);
    echo_chart->setSelectionRectMode(QCP::srmZoom);
    echo_chart->installEventFilter(this);

    status_box = named<QLabel>(echo_chart, element("Text67", 0));
    status_box->setFrameShape(QFrame::Panel);
    status_box->setFrameShadow(QFrame::Sunken);
    status_box->setAutoFillBackground(true);
    status_box->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    status_box->setTextFormat(Qt::PlainText);
    status_box->setMargin(3);
    status_box->hide();
    temperature_readout = readout_chart(echo_chart, element("TChart2", 1), Qt::red, 100, 5);
    level_readout =
        readout_chart(echo_chart, element("TChart2", 2), QColor(0x00, 0x80, 0xFF), 6, 1);

    volume_flow_chart = chart(this, QStringLiteral("TChart3"), 3);
    kovex_chart = chart(this, QStringLiteral("TChart4"), 1);
    kovex_readout = new QCPItemText(kovex_chart);
    kovex_readout->setPositionAlignment(Qt::AlignTop | Qt::AlignLeft);
    kovex_readout->position->setType(QCPItemPosition::ptAxisRectRatio);
    kovex_readout->position->setCoords(0.02, 0.02);

    regular_echo_frame = new QGroupBox(this);
    regular_echo_frame->setObjectName(QStringLiteral("scrframe"));
    regular_echo_frame->setProperty("index", 1026);
    regular_echo_frame->setTitle(QStringLiteral("Regular Echo"));
    live_option = named<QRadioButton>(regular_echo_frame, QStringLiteral("Option2"));
    live_option->setText(QStringLiteral("&Yes"));
    offline_option = named<QRadioButton>(regular_echo_frame, QStringLiteral("Option3"));
    offline_option->setText(QStringLiteral("&No"));
    auto* echo_row = new QHBoxLayout(regular_echo_frame);
    echo_row->addWidget(live_option);
    echo_row->addWidget(offline_option);
    echo_row->addStretch(1);
    live_option->setEnabled(false);
    connect(live_option, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(offline_option, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option3_Click();
    });

    auto* traces = new QGroupBox(this);
    traces->setObjectName(QStringLiteral("trace_boxes"));
    auto* trace_grid = new QGridLayout(traces);
    trace_grid->setVerticalSpacing(2);
    interval_label = named<QLabel>(traces, QStringLiteral("interval_label"));
    interval_label->setWordWrap(true);
    trace_grid->addWidget(interval_label, 0, 1);
    const char* captions[4] = {"&Raw Echo", "N&ormal", "&Average", "&KOVEX"};
    for (int i = 0; i < 4; ++i) {
        auto* box = named<QCheckBox>(traces, element("Check6", i));
        box->setText(QLatin1String(captions[i]));
        box->setEnabled(false);
        box->setAutoFillBackground(i == 3);
        connect(box, &QCheckBox::toggled, this, [this, i] {
            if (trace_box_handler_)
                trace_box_handler_(i);
        });
        trace_boxes[static_cast<size_t>(i)] = box;
        auto* interval = named<WholeNumberSpinBox>(traces, element("Text10", i));
        interval->setRange(0, 3600);
        interval->setAlignment(Qt::AlignRight);
        interval->setKeyboardTracking(false);
        trace_intervals[static_cast<size_t>(i)] = interval;
        trace_grid->addWidget(box, i + 1, 0);
        trace_grid->addWidget(interval, i + 1, 1);
    }

    auto* view = new QGroupBox(this);
    view->setObjectName(QStringLiteral("view_boxes"));
    auto* view_grid = new QGridLayout(view);
    view_grid->setVerticalSpacing(2);
    gate_box = named<QCheckBox>(view, QStringLiteral("Check8"));
    gate_box->setText(QStringLiteral("Gate"));
    range_box = named<QCheckBox>(view, QStringLiteral("Check10"));
    range_box->setText(QStringLiteral("Range"));
    gradient_box = named<QCheckBox>(view, QStringLiteral("Check9"));
    gradient_box->setText(QStringLiteral("Gradient"));
    light_button = named<QToolButton>(view, QStringLiteral("Image1"));
    light_button->setCheckable(true);
    light_button->setAutoRaise(true);
    light_button->setIconSize(QSize(28, 28));
    colour_button = named<QToolButton>(view, QStringLiteral("Image4"));
    colour_button->setAutoRaise(true);
    colour_button->setIconSize(QSize(28, 28));
    view_grid->addWidget(gate_box, 0, 0);
    view_grid->addWidget(range_box, 1, 0);
    view_grid->addWidget(gradient_box, 2, 0);
    view_grid->addWidget(light_button, 0, 1, 2, 1, Qt::AlignCenter);
    view_grid->addWidget(colour_button, 2, 1, Qt::AlignCenter);

    auto* cursor = new QWidget(this);
    auto* cursor_row = new QHBoxLayout(cursor);
    cursor_row->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 2; ++i) {
        auto* box = named<QLineEdit>(cursor, element("Text5", i));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignRight);
        box->setFocusPolicy(Qt::NoFocus);
        cursor_readout[static_cast<size_t>(i)] = box;
        cursor_row->addWidget(box);
    }

    playback_interval_label = named<QLabel>(this, QStringLiteral("Label9"));
    playback_interval_label->setText(QStringLiteral("Playback (s)"));
    playback_interval_box = named<QLineEdit>(this, QStringLiteral("Text15"));
    playback_interval_box->setFixedWidth(60);
    playback_interval_box->setAlignment(Qt::AlignRight);
    watch_typed_number(playback_interval_box);
    playback_interval_arrows = named<QToolButton>(this, QStringLiteral("UpDown6"));
    playback_interval_arrows->setArrowType(Qt::UpArrow);
    playback_interval_arrows->setEnabled(false);
    playback_interval_label->setBuddy(playback_interval_box);
    // The playback interval belongs to the player: the main window shows it in the recorder
    // frame, with the recorder's keys.

    // The read-out and KOVEX tab sets are filled by the KOVEX points.
    SSTab2 = tab_set(this, element("SSTab2", 0), 4);
    SSTab3 = tab_set(this, element("SSTab3", 0), 4);
    SSTab5 = tab_set(this, element("SSTab5", 0), 1);
    kovex_chart_tabs = tab_set(this, QStringLiteral("SSTab7"), 1);
    kovex_chart_tabs->widget(0)->setLayout(new QVBoxLayout);
    kovex_chart_tabs->widget(0)->layout()->addWidget(kovex_chart);
    send_points_button = named<QPushButton>(this, QStringLiteral("Command14"));
    default_kovex_button = named<QPushButton>(this, QStringLiteral("Command15"));
    set_kovex_button = named<QPushButton>(this, QStringLiteral("Command16"));
    get_traces_button = named<QPushButton>(this, QStringLiteral("Command17"));
    view_points_box = named<QCheckBox>(this, QStringLiteral("Check7"));
    for (QWidget* later : std::initializer_list<QWidget*>{
             SSTab2, SSTab3, SSTab5, kovex_chart_tabs, volume_flow_chart, send_points_button,
             default_kovex_button, set_kovex_button, get_traces_button, view_points_box})
        later->hide();

    // The side column keeps its natural width so that the chart gets the rest of a small screen.
    auto* side_widget = new QWidget(this);
    side_widget->setObjectName(QStringLiteral("echo_side"));
    auto* side = new QVBoxLayout(side_widget);
    side->setContentsMargins(0, 0, 0, 0);
    side->addWidget(regular_echo_frame);
    side->addWidget(traces);
    side->addWidget(view);
    side->addWidget(cursor);
    side->addWidget(SSTab2);
    side->addWidget(SSTab3);
    side->addStretch(1);
    side_widget->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    row->addWidget(echo_chart, 1);
    row->addWidget(side_widget);
}

void EchoPage::set_page_texts() {
    set_title(echo_chart, ui_text(2400, QStringLiteral("Transducer Echo")));
    set_title(temperature_readout, ui_text(1392, QStringLiteral("Measured Temperature")));
    set_title(level_readout, ui_text(1393, QStringLiteral("Measured Level")));
    echo_chart->yAxis->setLabel(ui_text(2401, QStringLiteral("Amplitude (mV)")));
    set_distance_unit(QStringLiteral("m"));
    echo_chart->setToolTip(
        ui_text(2402, QStringLiteral("Drag a frame to zoom - double-click to undo the zoom.")));
    interval_label->setText(ui_text(1367, QStringLiteral("Time Interval (sec)")));
    light_button->setToolTip(ui_text(2403, QStringLiteral("Chart light on or off")));
    colour_button->setToolTip(ui_text(2404, QStringLiteral("Chart colour...")));
    cursor_readout[0]->setToolTip(ui_text(1171, QStringLiteral("Distance")));
    cursor_readout[1]->setToolTip(ui_text(2405, QStringLiteral("Amplitude")));
    const int names[4] = {1220, 1221, 1222, 1223};
    for (int i = 0; i < 4; ++i) {
        echo_chart->graph(i)->setName(QString(ui_text(names[i])).remove(QLatin1Char('&')));
        trace_intervals[static_cast<size_t>(i)]->setToolTip(ui_text(1367));
    }
    echo_chart->replot(QCustomPlot::rpQueuedReplot);
    if (more_texts)
        more_texts();
}

void EchoPage::set_distance_unit(const QString& unit) {
    echo_chart->xAxis->setLabel(ui_text(1171, QStringLiteral("Distance")) + QStringLiteral(" (") +
                                unit + QLatin1Char(')'));
}

bool EchoPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == echo_chart && event->type() == QEvent::Resize)
        emit echo_chart_resized();
    return QWidget::eventFilter(watched, event);
}

void EchoPage::Option3_Click() {
    if (offline_handler)
        offline_handler();
    if (offline_chosen)
        offline_chosen();
}

void EchoPage::set_live_handler(std::function<void()> handler) {
    live_handler_ = std::move(handler);
    live_option->setEnabled(static_cast<bool>(live_handler_));
}

void EchoPage::Option2_Click() {
    if (live_handler_)
        live_handler_();
}

void EchoPage::set_trace_box_handler(std::function<void(int)> handler) {
    trace_box_handler_ = std::move(handler);
    for (QCheckBox* box : trace_boxes)
        box->setEnabled(static_cast<bool>(trace_box_handler_));
}
