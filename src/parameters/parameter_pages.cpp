#include "parameters/parameter_pages.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include "shell/definitions_table.h"

namespace {

constexpr int PARAMETER_TABS = 10;
constexpr int INNER_TABS = 3;

QGroupBox* group(QWidget* parent, const QString& name) {
    auto* g = new QGroupBox(parent);
    g->setObjectName(name);
    // No fixed least height: one below what the frame's rows need lets the layout squeeze the
    // frame and lay its rows over each other.
    return g;
}

QCustomPlot* profile_chart(QWidget* parent, const QString& name) {
    auto* chart = new QCustomPlot(parent);
    chart->setObjectName(name);
    chart->addGraph();
    chart->graph(0)->setPen(QPen(QColor(0x1f, 0x5f, 0xa8), 2));
    chart->graph(0)->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, 5));
    chart->plotLayout()->insertRow(0);
    chart->plotLayout()->addElement(0, 0, new QCPTextElement(chart, QString()));
    chart->setMinimumSize(260, 200);
    return chart;
}

} // namespace

ParameterPage::ParameterPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ParameterPage"));
    parameter_tabs = new QTabWidget(this);
    parameter_tabs->setObjectName(QStringLiteral("SSTab1(2)"));
    for (int i = 0; i < PARAMETER_TABS; ++i)
        parameter_tabs->addTab(new QWidget(parameter_tabs), QString());

    // Each tab's frames, in two columns. Frames named by a row number are the scrframe array.
    struct Placement {
        int tab;
        const char* name; // nullptr for a scrframe
        int row;          // scrframe index
    };
    const Placement placements[] = {
        {0, nullptr, 1037}, {0, "Frame1(13)", 0}, {0, "Frame11", 0}, {0, "Frame9", 0},
        {1, nullptr, 1116}, {1, nullptr, 1117},   {7, "Frame8", 0},  {2, nullptr, 1041},
        {2, "Frame23", 0},  {3, nullptr, 1051},   {4, "Frame16", 0}, {4, "Frame17", 0},
        {4, "Frame18", 0},  {4, "Frame19", 0},    {4, "Frame20", 0}, {4, "Frame3", 0},
        {5, "Frame21", 0},  {5, "Frame22", 0},    {6, "Frame2", 0},  {6, "Frame15", 0},
        {7, nullptr, 1071}, {7, "Frame24", 0},    {8, "Frame14", 0}, {8, "Frame26", 0},
        {9, "Frame28", 0},  {9, "Frame29", 0},
    };
    std::map<int, int> placed;
    std::map<int, QGridLayout*> grids;
    for (int t = 0; t < PARAMETER_TABS; ++t) {
        auto* grid = new QGridLayout(parameter_tabs->widget(t));
        grid->setRowStretch(20, 1);
        grids[t] = grid;
    }
    for (const Placement& p : placements) {
        QWidget* page = parameter_tabs->widget(p.tab);
        QGroupBox* g = nullptr;
        if (p.name) {
            g = group(page, QLatin1String(p.name));
            frames[QLatin1String(p.name)] = g;
        } else {
            g = group(page, QStringLiteral("scrframe"));
            g->setProperty("index", p.row);
            scrframe[p.row] = g;
        }
        const int n = placed[p.tab]++;
        grids[p.tab]->addWidget(g, n / 2, n % 2);
    }

    loss_tabs = new QTabWidget(parameter_tabs->widget(9));
    loss_tabs->setObjectName(QStringLiteral("SSTab2(1)"));
    for (int i = 0; i < INNER_TABS; ++i)
        loss_tabs->addTab(new QWidget(loss_tabs), QString());
    loss_curve = profile_chart(loss_tabs->widget(0), QStringLiteral("loss_curve"));
    (new QVBoxLayout(loss_tabs->widget(0)))->addWidget(loss_curve);
    // The points as pairs, the limits in one column and their losses in the other.
    auto* columns = new QHBoxLayout(loss_tabs->widget(1));
    for (int c = 0; c < 2; ++c) {
        auto* column = new QWidget(loss_tabs->widget(1));
        column->setObjectName(QStringLiteral("column%1").arg(c));
        columns->addWidget(column);
    }
    QGroupBox* frame27 = group(loss_tabs->widget(2), QStringLiteral("Frame27"));
    frames[QStringLiteral("Frame27")] = frame27;
    (new QVBoxLayout(loss_tabs->widget(2)))->addWidget(frame27);
    // The unit's information takes the whole height of the page, the clock and the loss points
    // share the other half: one above the other the three would not fit a laptop screen.
    QGroupBox* unit_information = frames.at(QStringLiteral("Frame28"));
    grids[9]->removeWidget(unit_information);
    grids[9]->addWidget(unit_information, 0, 0, 2, 1, Qt::AlignTop);
    grids[9]->addWidget(loss_tabs, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(parameter_tabs);
}

namespace {

QTabWidget* point_pages(QWidget* parent, const QString& name) {
    auto* tabs = new QTabWidget(parent);
    tabs->setObjectName(name);
    // Each page: the levels in one column, what they map to in the other.
    for (int page = 0; page < 4; ++page) {
        auto* w = new QWidget(tabs);
        auto* columns = new QHBoxLayout(w);
        for (int c = 0; c < 2; ++c) {
            auto* column = new QWidget(w);
            column->setObjectName(QStringLiteral("column%1").arg(c));
            columns->addWidget(column);
        }
        tabs->addTab(w, QString());
    }
    return tabs;
}

QLabel* notice(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    label->setMinimumWidth(SETUP_PICTURE_WIDTH);
    return label;
}

// The name under a picture: one line, so that the frame's height is known before the frame's
// width is (a wrapped line may need more height than the layout gave it and run over the
// picture).
QLabel* caption(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel* picture(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumSize(160, 120);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    return label;
}

void set_chart_texts(QCustomPlot* chart, int title, const char* title_text, int value_axis,
                     const char* value_name) {
    if (auto* t = qobject_cast<QCPTextElement*>(chart->plotLayout()->element(0, 0)))
        t->setText(ui_text(title, QLatin1String(title_text)));
    chart->xAxis->setLabel(ui_text(2204, QStringLiteral("Level")));
    chart->yAxis->setLabel(ui_text(value_axis, QLatin1String(value_name)));
}

void set_point_page_texts(QTabWidget* tabs) {
    for (int page = 0; page < tabs->count(); ++page)
        tabs->setTabText(page, ui_text(2207, QStringLiteral("Points")) +
                                   QStringLiteral(" %1-%2").arg(page * 8 + 1).arg(page * 8 + 8));
}

// The vessel and flow pages share one plan: the picture with the profile chart beside it, the
// points under the two, and the rows in a column of their own on the right. Picture and chart
// are no taller than the rows, so the page is only as high as the rows or the points need.
void setup_page_plan(QWidget* content, QWidget* picture, QWidget* chart, QWidget* rows,
                     QWidget* points) {
    auto* grid = new QGridLayout(content);
    grid->addWidget(picture, 0, 0);
    grid->addWidget(chart, 0, 1);
    grid->addWidget(points, 1, 0, 1, 2);
    grid->addWidget(rows, 0, 2, 2, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(2, 1);
}

} // namespace

// The page's content scrolls when the window is smaller than it.
QWidget* scrolled_content(QWidget* page) {
    auto* area = new QScrollArea(page);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(area);
    area->setWidget(content);
    auto* outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
    return content;
}

VesselPage::VesselPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("VesselPage"));
    QWidget* content = scrolled_content(this);
    picture_frame = group(content, QStringLiteral("Frame5(0)"));
    vessel_picture = picture(picture_frame, QStringLiteral("Image2"));
    scrlabel19 = caption(picture_frame, QStringLiteral("scrlabel(19)"));
    scrlabel1 = notice(picture_frame, QStringLiteral("scrlabel(1)"));
    auto* pic = new QVBoxLayout(picture_frame);
    pic->addWidget(vessel_picture, 1, Qt::AlignCenter);
    pic->addWidget(scrlabel19);
    pic->addWidget(scrlabel1);
    Frame5_1 = group(content, QStringLiteral("Frame5(1)"));
    rows = new QWidget(Frame5_1);
    rows->setObjectName(QStringLiteral("VesselRows"));
    (new QVBoxLayout(Frame5_1))->addWidget(rows);
    breakpoint_tabs = point_pages(content, QStringLiteral("SSTab2(0)"));
    volume_chart = profile_chart(content, QStringLiteral("TChart3(0)"));
    setup_page_plan(content, picture_frame, volume_chart, Frame5_1, breakpoint_tabs);
}

FlowPage::FlowPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FlowPage"));
    QWidget* content = scrolled_content(this);
    picture_frame = group(content, QStringLiteral("Frame6(0)"));
    flow_picture = picture(picture_frame, QStringLiteral("Image3"));
    scrlabel18 = caption(picture_frame, QStringLiteral("scrlabel(18)"));
    scrlabel0 = notice(picture_frame, QStringLiteral("scrlabel(0)"));
    Txt713 = notice(picture_frame, QStringLiteral("Txt713"));
    Txt713->setFrameShape(QFrame::StyledPanel);
    auto* pic = new QVBoxLayout(picture_frame);
    pic->addWidget(flow_picture, 1, Qt::AlignCenter);
    pic->addWidget(scrlabel18);
    pic->addWidget(Txt713);
    pic->addWidget(scrlabel0);
    row_tabs = new QTabWidget(content);
    row_tabs->setObjectName(QStringLiteral("SSTab5(0)"));
    for (int page = 0; page < 3; ++page)
        row_tabs->addTab(new QWidget(row_tabs), QString());
    breakpoint_tabs = point_pages(content, QStringLiteral("SSTab3(0)"));
    flow_chart = profile_chart(content, QStringLiteral("TChart3(2)"));
    setup_page_plan(content, picture_frame, flow_chart, row_tabs, breakpoint_tabs);
}

void set_setup_tab_texts(VesselPage& vessel, FlowPage& flow) {
    const QString none = ui_text(2201, QStringLiteral("Image information not available"));
    vessel.scrlabel1->setText(none);
    flow.scrlabel0->setText(none);
    set_point_page_texts(vessel.breakpoint_tabs);
    set_point_page_texts(flow.breakpoint_tabs);
    set_chart_texts(vessel.volume_chart, 2202, "Level to Volume Mapping Profile", 2205, "Volume");
    set_chart_texts(flow.flow_chart, 2203, "Level to Flow Mapping Profile", 2206, "Flow");
    flow.row_tabs->setTabText(0, ui_text(2208, QStringLiteral("Setup")));
    flow.row_tabs->setTabText(1, ui_text(2209, QStringLiteral("Dimensions")));
    flow.row_tabs->setTabText(2, ui_text(2210, QStringLiteral("Coefficients")));
}

void set_loss_curve_texts(QCustomPlot& chart) {
    chart.xAxis->setLabel(ui_text(2211, QStringLiteral("Limit")));
    chart.yAxis->setLabel(ui_text(2212, QStringLiteral("Loss (dB)")));
}
