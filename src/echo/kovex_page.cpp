#include "echo/kovex_page.h"

#include "echo/echo_page.h"
#include "shell/definitions_table.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {

const int SETUP_PARAMETERS[] = {41, 81, 82, 83, 84, 109, 110, 111, 112, 905, 906};

QLineEdit* box(QWidget* parent, int p) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QStringLiteral("scrpar(%1)").arg(p));
    b->setAlignment(Qt::AlignRight);
    b->setMaximumWidth(80);
    return b;
}

} // namespace

std::vector<int> KovexPage::parameters() {
    std::vector<int> ps(std::begin(SETUP_PARAMETERS), std::end(SETUP_PARAMETERS));
    for (int p = 170; p <= 185; ++p)
        ps.push_back(p);
    return ps;
}

KovexPage::KovexPage(EchoPage& echo, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("KovexPage"));
    kovex_chart = echo.kovex_chart;
    kovex_readout = echo.kovex_readout;
    send_points_button = echo.send_points_button;
    default_kovex_button = echo.default_kovex_button;
    set_kovex_button = echo.set_kovex_button;
    get_traces_button = echo.get_traces_button;
    view_points_box = echo.view_points_box;
    QTabWidget* chart_tabs = echo.kovex_chart_tabs;
    chart_tabs->setParent(this);
    chart_tabs->show();

    kovex_chart->legend->setVisible(false);
    kovex_chart->addGraph(); // series 1, the KOVEX curve
    kovex_chart->graph(0)->setPen(QPen(Qt::red, 1));
    kovex_chart->graph(1)->setPen(QPen(QColor(0xC0, 0xA0, 0x00), 1.5));
    kovex_chart->setPlottingHint(QCP::phFastPolylines, true);
    kovex_chart->xAxis->setRange(0, 10);
    kovex_chart->yAxis->setRange(0, 999);
    kovex_chart->setBackground(QBrush(QColor(0xFF, 0xFF, 0xE8)));
    kovex_readout->setPositionAlignment(Qt::AlignTop | Qt::AlignRight);
    kovex_readout->position->setCoords(0.98, 0.02);
    kovex_readout->setColor(QColor(0, 128, 0));
    kovex_readout->setBrush(QColor(0xC0, 0xC0, 0xC0));
    kovex_readout->setPadding(QMargins(4, 2, 4, 2));
    for (auto& line : cursor) {
        line = new QCPItemStraightLine(kovex_chart);
        line->setPen(QPen(Qt::white, 1));
        line->setVisible(false);
    }
    kovex_chart->plotLayout()->insertRow(0);
    QFont title_font = kovex_chart->font();
    title_font.setItalic(true);
    kovex_chart->plotLayout()->addElement(0, 0,
                                          new QCPTextElement(kovex_chart, QString(), title_font));

    // Buttons two by two, then the set-up boxes and the point boxes on two tabs, so that the
    // column fits a small screen beside the chart.
    auto* buttons = new QGridLayout;
    const std::pair<QWidget*, std::pair<int, int>> places[] = {{get_traces_button, {0, 0}},
                                                               {send_points_button, {0, 1}},
                                                               {set_kovex_button, {1, 0}},
                                                               {default_kovex_button, {1, 1}},
                                                               {view_points_box, {2, 0}}};
    for (const auto& [w, at] : places) {
        w->setParent(this);
        w->show();
        buttons->addWidget(w, at.first, at.second);
    }
    // A CSO unit's curve takes "View Points" away; its room stays, so that the buttons and the
    // boxes under it do not move when the curve arrives.
    QSizePolicy keep_room = view_points_box->sizePolicy();
    keep_room.setRetainSizeWhenHidden(true);
    view_points_box->setSizePolicy(keep_room);
    send_points_button->setEnabled(false);
    default_kovex_button->setEnabled(false);
    set_kovex_button->setEnabled(false);
    view_points_box->setEnabled(false);

    boxes_ = new QTabWidget(this);
    boxes_->setObjectName(QStringLiteral("kovex_boxes"));
    auto* setup = new QWidget(boxes_);
    setup->setObjectName(QStringLiteral("kovex_setup"));
    auto* grid = new QGridLayout(setup);
    grid->setVerticalSpacing(1);
    int row = 0;
    for (int p : SETUP_PARAMETERS) {
        auto* label = new QLabel(setup);
        label->setObjectName(QStringLiteral("kovex_label(%1)").arg(p));
        QLineEdit* b = box(setup, p);
        label->setBuddy(b);
        parameter_boxes[p] = b;
        grid->addWidget(label, row, 0);
        grid->addWidget(b, row, 1);
        ++row;
    }
    grid->setRowStretch(row, 1);

    auto* points = new QWidget(boxes_);
    points->setObjectName(QStringLiteral("kovex_points"));
    auto* pgrid = new QGridLayout(points);
    pgrid->setVerticalSpacing(1);
    for (int k = 0; k < 8; ++k) {
        auto* option = new QRadioButton(QString::number(k + 1), points);
        option->setObjectName(QStringLiteral("Option4(%1)").arg(k));
        point_options[static_cast<size_t>(k)] = option;
        QLineEdit* limit = box(points, 170 + 2 * k);
        QLineEdit* loss = box(points, 171 + 2 * k);
        parameter_boxes[170 + 2 * k] = limit;
        parameter_boxes[171 + 2 * k] = loss;
        pgrid->addWidget(option, k + 1, 0);
        pgrid->addWidget(limit, k + 1, 1);
        pgrid->addWidget(loss, k + 1, 2);
    }
    pgrid->setRowStretch(9, 1);
    point_options[0]->setChecked(true);
    for (int c = 0; c < 2; ++c) {
        auto* head = new QLabel(points);
        head->setObjectName(QStringLiteral("kovex_head(%1)").arg(c));
        pgrid->addWidget(head, 0, c + 1);
    }
    boxes_->addTab(setup, QStringLiteral("Setup"));
    boxes_->addTab(points, QStringLiteral("Points 1-8"));

    auto* side_widget = new QWidget(this);
    auto* side = new QVBoxLayout(side_widget);
    side->setContentsMargins(0, 0, 0, 0);
    side->addLayout(buttons);
    side->addWidget(boxes_, 1);
    side_widget->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto* row_layout = new QHBoxLayout(this);
    row_layout->setContentsMargins(2, 2, 2, 2);
    row_layout->addWidget(chart_tabs, 1);
    row_layout->addWidget(side_widget);
}

void KovexPage::set_page_texts() {
    for (int p : SETUP_PARAMETERS)
        if (auto* label = findChild<QLabel*>(QStringLiteral("kovex_label(%1)").arg(p)))
            label->setText(ui_text(p, QStringLiteral("P%1").arg(p)));
    const int heads[2] = {2417, 2418};
    const char* fallback[2] = {"Limit (mV)", "Loss"};
    for (int c = 0; c < 2; ++c)
        if (auto* head = findChild<QLabel*>(QStringLiteral("kovex_head(%1)").arg(c)))
            head->setText(ui_text(heads[c], QLatin1String(fallback[c])));
    boxes_->setTabText(0, ui_text(1382, QStringLiteral("Setup")));
    boxes_->setTabText(1, ui_text(1403, QStringLiteral("Points 1-8")));
    set_kovex_button->setText(ui_text(2421, QStringLiteral("&Set KOVEX")));
    default_kovex_button->setText(ui_text(2422, QStringLiteral("&Default KOVEX")));
    for (int k = 0; k < 8; ++k) {
        parameter_boxes[170 + 2 * k]->setToolTip(ui_text(170 + 2 * k));
        parameter_boxes[171 + 2 * k]->setToolTip(ui_text(171 + 2 * k));
    }
    if (auto* title = qobject_cast<QCPTextElement*>(kovex_chart->plotLayout()->element(0, 0)))
        title->setText(ui_text(2419, QStringLiteral("Transducer 1 Echo")));
    kovex_chart->yAxis->setLabel(ui_text(2401, QStringLiteral("Amplitude (mV)")));
    kovex_chart->setToolTip(ui_text(
        2420, QStringLiteral("With View Points ticked drag a KOVEX point up or down - without it "
                             "a right click fills the chosen point's Limit and Loss.")));
    kovex_chart->replot(QCustomPlot::rpQueuedReplot);
}
