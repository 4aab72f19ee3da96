#include "echo/kovex_points.h"

#include "echo/echo_exchange.h"
#include "echo/echo_rules.h"
#include "echo/echo_state.h"
#include "echo/kovex_page.h"
#include "link/command_link.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/log_on.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_screen.h"
#include "parameters/parameter_values.h"
#include "parameters/row_box_typing.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"
#include "shell/shell_state.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <qcustomplot.h>
#include <utility>

namespace {

constexpr double PICK_RADIUS = 6; // pixels

// The question before the unit's curve is replaced: Enter leaves it as it is.
constexpr int CHANGES_THE_CURVE =
    platform::mb::OkCancel | platform::mb::Information | platform::mb::DefaultButton2;

bool replied(const QString& reply) {
    return !link().comms_abort && !reply.isEmpty();
}

} // namespace

KovexPoints::KovexPoints(KovexPage& page, KovexHooks hooks, QObject* parent)
    : QObject(parent), page_(page), hooks_(std::move(hooks)) {
    QCustomPlot* c = page_.kovex_chart;
    connect(page_.get_traces_button, &QPushButton::clicked, this, [this] { Command17_Click(); });
    connect(page_.send_points_button, &QPushButton::clicked, this, [this] { Command14_Click(); });
    connect(page_.set_kovex_button, &QPushButton::clicked, this, [this] { Command16_Click(); });
    connect(page_.default_kovex_button, &QPushButton::clicked, this, [this] { Command15_Click(); });
    connect(page_.view_points_box, &QCheckBox::toggled, this, [this] { Check7_Click(); });
    connect(c, &QCustomPlot::mousePress, this,
            [this](QMouseEvent* e) { kovex_chart_click(e->button(), e->position()); });
    connect(c, &QCustomPlot::mouseMove, this,
            [this](QMouseEvent* e) { kovex_chart_hover(e->position()); });
    connect(c, &QCustomPlot::mouseRelease, this, [this] { kovex_cursor_reset(); });

    // Typing goes into the row and is checked when the user leaves the box, as on the parameter
    // pages; the row's changes, wherever they come from, show here.
    row_follower_ = parameter_rows().add_row_follower([this](int P) { show_row(P); });
    auto* typing = new RowBoxTyping(this);
    for (const auto& [P, box] : page_.parameter_boxes) {
        show_row(P);
        typing->follow(P, box);
    }
}

KovexPoints::~KovexPoints() {
    parameter_rows().remove_row_follower(row_follower_);
}

void KovexPoints::show_row(int P) {
    const auto it = page_.parameter_boxes.find(P);
    if (it == page_.parameter_boxes.end())
        return;
    const ParameterRow& row = parameter_rows().row(P);
    QLineEdit* box = it->second;
    if (box->text() != row.text)
        box->setText(row.text);
    box->setReadOnly(row.locked);
}

void KovexPoints::show_wait(int text) {
    if (hooks_.show_wait)
        hooks_.show_wait(QStringLiteral("\r\n\r\n\r\n") + ui_text(text));
}

bool KovexPoints::connect_with_wait() {
    show_wait(1182);
    if (!connect_to_unit(false)) {
        if (hooks_.hide_wait)
            hooks_.hide_wait();
        return false;
    }
    return true;
}

// The sequence is over: the link leaves its transfer mode, and leaves echo mode too unless live
// monitoring needs it. A unit that a failed command left in quick-load mode goes back to its
// normal mode.
void KovexPoints::end_sequence() {
    LinkState& L = link();
    L.point_transfer_active = false;
    if (!hooks_.live_monitoring || !hooks_.live_monitoring())
        L.echo_online = false;
    link_view().set_progress_value(5, 0);
    if (hooks_.hide_wait)
        hooks_.hide_wait();
    return_to_normal_mode();
}

// A failure nobody expected is told, and the sequence ends as after a dead line.
void KovexPoints::fail(const std::exception& ex) {
    platform::msg_box(echo_error_text(1287, "Error ", ex), platform::mb::Critical);
    end_sequence();
}

// ---- Get Traces

void KovexPoints::Command17_Click() {
    try {
        if (!connect_with_wait())
            return;
        get_traces();
    } catch (const std::exception& ex) {
        fail(ex);
    }
}

void KovexPoints::get_traces() {
    LinkState& L = link();
    EchoState& e = echo_state();
    QCustomPlot* c = page_.kovex_chart;
    show_wait(1238);
    L.cancel_requested = false;
    link_view().set_progress_value(5, 0);
    L.point_transfer_active = true;
    e.echo_unit_text = length_unit_abbrev(definitions_table()[104].value_text);

    L.comms_abort = false;
    TraceFetch fetched = get_echo_trace(QStringLiteral("/ECHORAW1\r"), 1);
    link_view().set_progress_value(5, 0);
    if (fetched == TraceFetch::Trace && e.header.points_per_unit == 0)
        fetched = TraceFetch::NotATrace; // no distance scale: nothing can be drawn
    if (fetched != TraceFetch::Trace) {
        traces_failed(fetched);
        return;
    }
    c->graph(0)->data()->clear();
    c->graph(1)->data()->clear();
    points_.clear();
    grabbed_ = -1;
    c->xAxis->setRange(0, (e.header.sample_count - 1) / e.header.points_per_unit);
    c->xAxis->setLabel(ui_text(1240, QStringLiteral("Distance")) + QStringLiteral(" (") +
                       e.echo_unit_text + QLatin1Char(')'));
    auto fill = [&](int graph, int column) {
        const EchoTraceHeader& h = e.header;
        QVector<QCPGraphData> data(h.sample_count);
        const auto& samples = e.traces.column[static_cast<size_t>(column)];
        for (int i = 0; i < h.sample_count; ++i)
            data[i] = QCPGraphData(i / h.points_per_unit, samples[static_cast<size_t>(i)]);
        c->graph(graph)->data()->set(data, true);
    };
    fill(0, 0);
    fetched = get_echo_trace(QStringLiteral("/ECHOKOVEX1\r"), 4);
    link_view().set_progress_value(5, 0);
    if (fetched != TraceFetch::Trace) {
        // The RAW echo stays on show; without the unit's curve there are no points to move.
        c->replot(QCustomPlot::rpQueuedReplot);
        traces_failed(fetched);
        return;
    }
    fill(1, 3);
    const EchoTraceHeader& h = e.header;
    for (int i = 0; i < h.sample_count; ++i) {
        const double v = e.traces.column[3][static_cast<size_t>(i)];
        points_.push_back({i, v, v});
    }
    // The keys follow the unit only once its curve is here.
    const bool cso = L.cso_unit;
    page_.send_points_button->setEnabled(!cso);
    if (cso)
        page_.view_points_box->setChecked(false);
    page_.view_points_box->setVisible(!cso);
    page_.default_kovex_button->setEnabled(true);
    page_.set_kovex_button->setEnabled(true);
    page_.view_points_box->setEnabled(!cso);
    Check7_Click();
    c->replot(QCustomPlot::rpQueuedReplot);
    end_sequence();
}

// Get Traces without the unit's traces: the user is told why (a stop is not a failure), and the
// keys stay as they were, so "Send Points" never offers a curve that did not come.
void KovexPoints::traces_failed(TraceFetch fetched) {
    end_sequence();
    if (fetched == TraceFetch::NoReply)
        platform::msg_box(
            ui_text(1299, QStringLiteral(
                              "No reply from the unit. Check the cable and the port settings.")),
            platform::mb::Critical, ui_text(1411, QStringLiteral("Communication Error")));
    else if (fetched == TraceFetch::NotATrace)
        platform::msg_box(ui_text(2424, QStringLiteral("The unit's answer could not be read as an "
                                                       "echo trace.")),
                          platform::mb::Critical,
                          ui_text(1411, QStringLiteral("Communication Error")));
}

// ---- Sequences that change the unit's curve

void KovexPoints::Command14_Click() {
    LinkState& L = link();
    if (!connect_with_wait())
        return;
    show_wait(L.connect_model_flag ? 1306 : 1239);
    L.cancel_requested = false;
    L.echo_online = false;
    L.point_transfer_active = true;
    QStringList commands = kovex_point_commands(points_);
    commands.prepend(QStringLiteral("/LOADQUICK"));
    for (const QString& cmd : commands) {
        send_command(cmd);
        if (!replied(L.reply_buffer)) {
            end_sequence(); // a dead line: no more commands, no more messages
            return;
        }
    }
    page_.view_points_box->setChecked(false);
    end_sequence();
    send_command(QStringLiteral("/LOADNORM"));
    if (L.comms_abort)
        return;
    get_traces();
}

void KovexPoints::Command16_Click() {
    LinkState& L = link();
    try {
        // A value still being typed that its check refuses is corrected before the unit's curve
        // is asked about, or anything goes to the unit.
        if (!parameter_rows().commit_pending())
            return;
        const bool model = L.connect_model_flag;
        if (platform::msg_box(ui_text(model ? 1302 : 1234), CHANGES_THE_CURVE,
                              ui_text(model ? 1303 : 1235)) != platform::Answer::Ok)
            return;
        if (!connect_with_wait())
            return;
        show_wait(model ? 1304 : 1236);
        L.cancel_requested = false;
        link_view().set_progress_value(1, 0);
        L.point_transfer_active = true;
        L.echo_online = false;
        send_command(QStringLiteral("/LOADQUICK"));
        bool ok = replied(L.reply_buffer);
        for (const ParameterRange& r : KOVEX_SET_ORDER)
            ok = ok && send_parameters_to_com(r.first, r.last);
        if (ok) {
            send_command(QStringLiteral("/LOADNORM"));
            ok = replied(L.reply_buffer);
        }
        if (ok) {
            send_command(QStringLiteral("/p20:2"));
            ok = replied(L.reply_buffer);
        }
        end_sequence();
        link_view().set_progress_value(1, 0);
        if (ok)
            get_traces();
    } catch (const std::exception& ex) {
        fail(ex);
    }
}

void KovexPoints::Command15_Click() {
    LinkState& L = link();
    if (platform::msg_box(ui_text(1234), CHANGES_THE_CURVE, ui_text(1235)) != platform::Answer::Ok)
        return;
    if (!connect_with_wait())
        return;
    show_wait(L.connect_model_flag ? 1305 : 1237);
    L.cancel_requested = false;
    link_view().set_progress_value(1, 0);
    L.echo_online = false;
    L.point_transfer_active = true;
    page_.point_options[0]->setChecked(true);
    bool ok = true;
    for (const char* cmd : {"/p20:3", "/LOADQUICK"}) {
        send_command(QLatin1String(cmd));
        ok = ok && replied(L.reply_buffer);
        if (!ok)
            break;
    }
    // The unit's values go into the set, also before one is loaded.
    ensure_parameter_rows();
    for (const ParameterRange& r : KOVEX_DEFAULT_ORDER)
        ok = ok && get_parameters_from_com(r.first, r.last);
    if (ok) {
        send_command(QStringLiteral("/LOADNORM"));
        ok = replied(L.reply_buffer);
    }
    page_.default_kovex_button->setEnabled(true);
    page_.set_kovex_button->setEnabled(true);
    page_.view_points_box->setEnabled(!L.cso_unit);
    Check7_Click();
    link_view().set_progress_value(1, 0);
    end_sequence();
    if (ok)
        get_traces();
}

// ---- View Points and the mouse

void KovexPoints::Check7_Click() {
    const bool on = page_.view_points_box->isChecked();
    QCustomPlot* c = page_.kovex_chart;
    c->setCursor(on ? Qt::OpenHandCursor : Qt::ArrowCursor);
    c->graph(1)->setScatterStyle(on ? QCPScatterStyle(QCPScatterStyle::ssCircle, 5)
                                    : QCPScatterStyle(QCPScatterStyle::ssNone));
    page_.send_points_button->setEnabled(on);
    page_.default_kovex_button->setEnabled(!on);
    page_.set_kovex_button->setEnabled(!on);
    c->replot(QCustomPlot::rpQueuedReplot);
}

void KovexPoints::kovex_chart_click(Qt::MouseButton button, QPointF pixel) {
    QCustomPlot* c = page_.kovex_chart;
    if (page_.view_points_box->isChecked()) {
        std::vector<QPointF> at;
        at.reserve(points_.size());
        const auto data = c->graph(1)->data();
        for (auto it = data->constBegin(); it != data->constEnd(); ++it)
            at.emplace_back(c->xAxis->coordToPixel(it->key), c->yAxis->coordToPixel(it->value));
        grabbed_ = pick_point(at, pixel, PICK_RADIUS);
        if (grabbed_ >= 0)
            c->setCursor(Qt::ClosedHandCursor);
        return;
    }
    if (button != Qt::RightButton)
        return;
    const double x = c->xAxis->pixelToCoord(pixel.x());
    const double y = c->yAxis->pixelToCoord(pixel.y());
    int k = 0;
    for (int i = 0; i < 8; ++i)
        if (page_.point_options[static_cast<size_t>(i)]->isChecked())
            k = i;
    // Into the rows as any change by the program, in the form the boxes show.
    ensure_parameter_rows();
    ParameterRows& rows = parameter_rows();
    rows.set_text(170 + 2 * k,
                  value_as_box_text(platform::val(kovex_limit_text(y, c->yAxis->range().upper))));
    rows.set_text(171 + 2 * k,
                  value_as_box_text(platform::val(kovex_loss_text(x, c->xAxis->range().upper))));
    page_.point_options[static_cast<size_t>((k + 1) % 8)]->setChecked(true);
}

void KovexPoints::kovex_chart_hover(QPointF pixel) {
    QCustomPlot* c = page_.kovex_chart;
    if (page_.view_points_box->isChecked() && grabbed_ >= 0 &&
        grabbed_ < static_cast<int>(points_.size())) {
        const double v = dragged_value(c->yAxis->pixelToCoord(pixel.y()), c->yAxis->range().upper);
        points_[static_cast<size_t>(grabbed_)].value = v;
        auto data = c->graph(1)->data();
        (data->begin() + grabbed_)->value = v;
    }
    const double left_max = c->yAxis->range().upper, bottom_max = c->xAxis->range().upper;
    if (left_max == 0 || bottom_max == 0)
        return;
    link_view().set_progress_value(1, 0);
    const double x = c->xAxis->pixelToCoord(pixel.x());
    const double y = c->yAxis->pixelToCoord(pixel.y());
    const bool outside = x > bottom_max || y > left_max || x < 0 || y < 0;
    for (auto* line : page_.cursor)
        line->setVisible(!outside);
    if (!outside) {
        page_.cursor[0]->point1->setCoords(x, 0);
        page_.cursor[0]->point2->setCoords(x, 1);
        page_.cursor[1]->point1->setCoords(0, y);
        page_.cursor[1]->point2->setCoords(1, y);
        page_.kovex_readout->setText(kovex_annotation(shell().language_index, x, y));
    }
    c->replot(QCustomPlot::rpQueuedReplot);
}

void KovexPoints::kovex_cursor_reset() {
    if (!page_.view_points_box->isChecked())
        return;
    grabbed_ = -1;
    page_.kovex_chart->setCursor(Qt::OpenHandCursor);
    page_.kovex_chart->replot(QCustomPlot::rpQueuedReplot);
}
