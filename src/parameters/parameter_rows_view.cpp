#include "parameters/parameter_rows_view.h"

#include "parameters/parameter_pages.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_values.h"
#include "parameters/row_box_typing.h"
#include "parameters/setup_tabs.h"
#include "shell/definitions_table.h"

#include <QPainter>
#include <QSvgRenderer>
#include <qcustomplot.h>

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>
#include <set>
#include <utility>
#include <vector>

// A label of no height in the last row of a form, as wide as the widest caption of the rows the
// loaded set holds, shown or not. A rule that hides or brings back rows of the form (a relay
// type of 0, a device mode) then leaves the caption column, and so every box of the form, where
// the user saw it. Its width follows the captions' fonts, as the page's fitting changes them.
class LabelColumnKeeper : public QWidget {
public:
    explicit LabelColumnKeeper(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("label_column_keeper"));
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }
    void add(int P, QLabel* label) { rows_.emplace_back(P, label); }
    QSize sizeHint() const override {
        int width = 0;
        for (const auto& [P, label] : rows_)
            if (!label->isHidden() || set_holds(P))
                width = std::max(width, label->sizeHint().width());
        return {width, 0};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    // A row the set has a value for, which a rule may bring back; not one the unit lacks.
    static bool set_holds(int P) {
        const DefinitionRecord& r = definitions_table()[static_cast<size_t>(P)];
        return r.unit_value != NO_VALUE && is_plain_number(r.value_text);
    }
    std::vector<std::pair<int, QLabel*>> rows_;
};

namespace {

constexpr int BOX_WIDTH = 110;
constexpr int LOSS_POINTS_FIRST = 170; // limit and loss of eight points, in pairs
constexpr int LOSS_POINTS_LAST = 185;

struct Placement {
    int first;
    int last;
    const char* frame;
};

// Where the rows live: the frames of the set-up tabs by what the parameters are about.
const Placement PLACEMENTS[] = {
    {20, 20, "Frame14"},          {41, 41, "Frame8"},           {61, 61, "Frame28"},
    {70, 71, "Frame24"},          {72, 72, "Frame15"},          {81, 84, "Frame8"},
    {87, 87, "Frame28"},          {88, 88, "Frame14"},          {90, 93, "Frame28"},
    {96, 96, "Frame1(13)"},       {99, 99, "Frame28"},          {100, 108, "scrframe(1037)"},
    {109, 112, "Frame2"},         {130, 140, "Frame1(13)"},     {141, 141, "Frame11"},
    {150, 156, "scrframe(1041)"}, {160, 165, "Frame9"},         {170, 185, "SSTab2(1):1"},
    {210, 219, "scrframe(1116)"}, {220, 229, "scrframe(1117)"}, {580, 585, "scrframe(1071)"},
    {823, 823, "scrframe(1051)"}, {830, 830, "Frame16"},        {831, 831, "Frame17"},
    {834, 835, "Frame18"},        {836, 837, "Frame19"},        {838, 839, "Frame20"},
    {840, 858, "Frame3"},         {900, 906, "Frame14"},        {922, 922, "Frame14"},
    {926, 929, "Frame28"},        {930, 930, "Frame14"},        {931, 933, "Frame29"},
    {971, 976, "Frame29"},        {980, 980, "Frame23"},        {993, 997, "Frame11"},
    {999, 999, "Frame15"},
};

QColor colour_of(uint32_t c, const QWidget& w) {
    if (c & 0x80000000u)
        return w.palette().color(QPalette::Disabled, QPalette::Window);
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

QFormLayout* new_form(QWidget* container) {
    auto* form = new QFormLayout(container);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->setContentsMargins(6, 4, 6, 4);
    form->setVerticalSpacing(2);
    return form;
}

// The picture drawn from its file at the size the layout gives (smaller beside a chart), with
// its name under it; the notice instead when there is no picture.
void show_picture(QLabel& image, QLabel& name, QLabel& notice, const SetupPicture& pic) {
    const bool shown = !pic.path.isEmpty();
    image.setVisible(shown);
    name.setVisible(shown && !pic.name.isEmpty());
    notice.setVisible(!shown);
    name.setText(pic.name);
    if (!shown)
        return;
    QSvgRenderer renderer(pic.path);
    if (!renderer.isValid()) {
        image.clear();
        return;
    }
    const QSize size = renderer.defaultSize().scaled(
        pic.reduced ? QSize(200, 150) : QSize(SETUP_PICTURE_WIDTH, SETUP_PICTURE_HEIGHT),
        Qt::KeepAspectRatio);
    QPixmap pixmap(size * image.devicePixelRatioF());
    pixmap.setDevicePixelRatio(image.devicePixelRatioF());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    image.setPixmap(pixmap);
    image.setFixedSize(SETUP_PICTURE_WIDTH, size.height());
}

// The points with room round them, so that no marker sits half outside the plot; without
// points the chart stays empty on a plain range.
void show_points(QCustomPlot& chart, const QVector<double>& x, const QVector<double>& y) {
    chart.graph(0)->setData(x, y);
    if (x.isEmpty()) {
        chart.xAxis->setRange(0, 1);
        chart.yAxis->setRange(0, 1);
    } else {
        chart.rescaleAxes();
        for (QCPAxis* axis : {chart.xAxis, chart.yAxis}) {
            const QCPRange r = axis->range();
            const double margin = r.size() * 0.05;
            axis->setRange(r.lower - margin, r.upper + margin);
        }
    }
    chart.replot(QCustomPlot::rpQueuedReplot);
}

void draw_profile(QCustomPlot& chart, const std::array<double, 32>& levels,
                  const std::array<double, 32>& values) {
    // Rows not in use hold a placeholder below zero; they are no points of the profile. The
    // entered ones come in the order of their rows, not of their levels: the graph sorts them.
    QVector<double> x, y;
    for (size_t k = 0; k < levels.size(); ++k) {
        if (levels[k] < 0 || values[k] < 0)
            continue;
        x << levels[k];
        y << values[k];
    }
    show_points(chart, x, y);
}

// The loss curve: the loss of each point present against its limit. A point of zeros is one
// the unit has not been given.
void draw_loss_curve(QCustomPlot& chart) {
    QVector<double> x, y;
    for (int P = LOSS_POINTS_FIRST; P < LOSS_POINTS_LAST; P += 2) {
        const DefinitionRecord& limit = definitions_table()[static_cast<size_t>(P)];
        const DefinitionRecord& loss = definitions_table()[static_cast<size_t>(P + 1)];
        if (!limit.present || !loss.present || limit.unit_value == NO_VALUE ||
            loss.unit_value == NO_VALUE || (limit.unit_value == 0 && loss.unit_value == 0))
            continue;
        x << limit.unit_value;
        y << loss.unit_value;
    }
    show_points(chart, x, y);
}

} // namespace

ParameterRowsView::ParameterRowsView(ParameterPage& page, VesselPage& vessel, FlowPage& flow,
                                     QObject* parent)
    : QObject(parent), page_(page), vessel_(vessel), flow_(flow) {
    ParameterRows& rows = parameter_rows();
    rows.row_changed = [this](int P) { show_row(P); };
    rows.switch_changed = [this](const QString& name, bool on) { show_switch(name, on); };
    rows.rows_created = [this] { build_rows(); };
    typing_ = new RowBoxTyping(this);
    rows.batch = [this](bool starting) {
        for (QWidget* w : {static_cast<QWidget*>(&page_), static_cast<QWidget*>(&vessel_),
                           static_cast<QWidget*>(&flow_)})
            w->setUpdatesEnabled(!starting);
    };
    // Frames that hold no rows would stand empty; they show once a row arrives.
    for (auto& [row, frame] : page_.scrframe)
        if (frame->children().isEmpty())
            frame->hide();
    for (auto& [name, frame] : page_.frames)
        if (frame->children().isEmpty())
            frame->hide();
    // A page of the system tab's own tab set that holds no rows is not offered.
    page_.loss_tabs->setTabVisible(2, !page_.frames.at(QStringLiteral("Frame27"))->isHidden());
    // Nor is a set-up tab whose frames no parameter goes to (the temperature compensation of
    // units that have none); the enabling rules leave it alone, as they only switch tabs that
    // hold rows.
    std::set<QString> used;
    for (int P = ParameterRows::FIRST; P <= ParameterRows::LAST; ++P)
        used.insert(frame_of(P));
    for (int t = 0; t < page_.parameter_tabs->count(); ++t) {
        bool holds_rows = false;
        for (QGroupBox* frame : page_.parameter_tabs->widget(t)->findChildren<QGroupBox*>()) {
            const QVariant index = frame->property("index");
            holds_rows =
                holds_rows ||
                used.contains(index.isValid() ? QStringLiteral("scrframe(%1)").arg(index.toInt())
                                              : frame->objectName());
        }
        if (!holds_rows)
            page_.parameter_tabs->setTabEnabled(t, false);
    }
    vessel_.breakpoint_tabs->hide();
    vessel_.volume_chart->hide();
    flow_.breakpoint_tabs->hide();
    flow_.flow_chart->hide();
    setup_tabs().changed = [this] { show_setup_tabs(); };
    set_setup_tab_texts(vessel_, flow_);
    show_setup_tabs();
    build_rows();
}

void ParameterRowsView::show_setup_tabs() {
    // The language may have changed since the pages were built.
    set_setup_tab_texts(vessel_, flow_);
    set_loss_curve_texts(*page_.loss_curve);
    const SetupTabs& t = setup_tabs();
    show_picture(*vessel_.vessel_picture, *vessel_.scrlabel19, *vessel_.scrlabel1, t.vessel);
    show_picture(*flow_.flow_picture, *flow_.scrlabel18, *flow_.scrlabel0, t.flow);
    flow_.Txt713->setText(QString(t.flow.note).remove(QLatin1Char('\r')));
    flow_.Txt713->setVisible(!t.flow.note.isEmpty() && !t.flow.path.isEmpty());
    draw_profile(*vessel_.volume_chart, t.volume_breakpoint_levels, t.volume_breakpoint_volumes);
    draw_profile(*flow_.flow_chart, t.flow_breakpoint_levels, t.flow_breakpoint_flows);
}

ParameterRowsView::~ParameterRowsView() {
    setup_tabs().changed = nullptr;
    ParameterRows& rows = parameter_rows();
    rows.row_changed = nullptr;
    rows.switch_changed = nullptr;
    rows.rows_created = nullptr;
    rows.batch = nullptr;
}

QString ParameterRowsView::frame_of(int P) {
    // The set-up tabs: vessel rows and their breakpoint pages, flow element pages.
    if (P >= 600 && P <= 607)
        return QStringLiteral("vessel");
    if (P >= 610 && P <= 673)
        return QStringLiteral("vessel:%1:%2").arg((P - 610) / 16).arg(P % 2);
    if (P >= 170 && P <= 185)
        return QStringLiteral("SSTab2(1):1:%1").arg(P % 2);
    if ((P >= 700 && P <= 709) || P == 798 || P == 863 || P == 864)
        return QStringLiteral("flow:0");
    if (P >= 710 && P <= 720)
        return QStringLiteral("flow:1");
    if (P >= 721 && P <= 729)
        return QStringLiteral("flow:2");
    if (P >= 730 && P <= 793)
        return QStringLiteral("flowpoints:%1:%2").arg((P - 730) / 16).arg(P % 2);
    for (const Placement& p : PLACEMENTS)
        if (P >= p.first && P <= p.last)
            return QLatin1String(p.frame);
    return QStringLiteral("Frame14");
}

QFormLayout* ParameterRowsView::form_of(int P) {
    const QString name = frame_of(P);
    if (auto it = forms_.find(name); it != forms_.end())
        return it->second;
    QWidget* container = nullptr;
    const auto page_of = [&](QTabWidget* tabs) -> QWidget* {
        QWidget* page = tabs->widget(name.section(QLatin1Char(':'), 1, 1).toInt());
        const QString column = name.section(QLatin1Char(':'), 2, 2);
        if (!page || column.isEmpty())
            return page;
        return page->findChild<QWidget*>(QStringLiteral("column") + column);
    };
    if (name == QLatin1String("vessel")) {
        container = vessel_.rows;
    } else if (name.startsWith(QLatin1String("vessel:"))) {
        container = page_of(vessel_.breakpoint_tabs);
    } else if (name.startsWith(QLatin1String("flow:"))) {
        container = page_of(flow_.row_tabs);
    } else if (name.startsWith(QLatin1String("flowpoints:"))) {
        container = page_of(flow_.breakpoint_tabs);
    } else if (name.startsWith(QLatin1String("SSTab2(1):"))) {
        container = page_of(page_.loss_tabs);
    } else if (name.startsWith(QLatin1String("scrframe("))) {
        const int row = name.mid(9, name.size() - 10).toInt();
        container = page_.scrframe.count(row) ? page_.scrframe.at(row) : nullptr;
    } else if (page_.frames.count(name)) {
        container = page_.frames.at(name);
    }
    if (!container)
        container = page_.frames.at(QStringLiteral("Frame14"));
    if (container->parentWidget() == &page_ || qobject_cast<QGroupBox*>(container))
        container->show();
    if (name == QLatin1String("Frame27"))
        page_.loss_tabs->setTabVisible(2, true);
    QFormLayout* form = new_form(container);
    forms_[name] = form;
    return form;
}

void ParameterRowsView::build_rows() {
    ParameterRows& rows = parameter_rows();
    std::set<QFormLayout*> grown;
    for (int P : rows.numbers()) {
        if (boxes_[static_cast<size_t>(P)])
            continue;
        QFormLayout* form = form_of(P);
        grown.insert(form);
        QWidget* parent = form->parentWidget();
        auto* label = new QLabel(parent);
        label->setObjectName(QStringLiteral("scrlabel"));
        label->setProperty("index", P);
        auto* field = new QWidget(parent);
        auto* line = new QHBoxLayout(field);
        line->setContentsMargins(0, 0, 0, 0);
        auto* box = new QLineEdit(field);
        box->setObjectName(QStringLiteral("scrpar"));
        box->setProperty("index", P);
        box->setFixedWidth(BOX_WIDTH);
        box->setAutoFillBackground(true);
        // What the number means without hovering: the chosen code's label or the unit.
        auto* hint = new QLabel(field);
        hint->setObjectName(QStringLiteral("scrhint"));
        hint->setProperty("index", P);
        hint->setForegroundRole(QPalette::Dark);
        line->addWidget(box);
        line->addWidget(hint, 1);
        label->setBuddy(box);
        form->addRow(label, field);
        auto*& keeper = keepers_[form];
        if (!keeper)
            keeper = new LabelColumnKeeper(parent);
        keeper->add(P, label);
        label->hide();
        field->hide();
        hints_[static_cast<size_t>(P)] = hint;
        boxes_[static_cast<size_t>(P)] = box;
        labels_[static_cast<size_t>(P)] = label;
        typing_->follow(P, box);
        show_row(P);
    }
    // The keeper's row goes last, where a row of no height leaves the others where they are.
    for (QFormLayout* form : grown) {
        LabelColumnKeeper* keeper = keepers_.at(form);
        int at = -1;
        QFormLayout::ItemRole role{};
        form->getWidgetPosition(keeper, &at, &role);
        if (at >= 0 && at == form->rowCount() - 1)
            continue;
        if (at >= 0) {
            const QFormLayout::TakeRowResult taken = form->takeRow(at);
            delete taken.labelItem;
            delete taken.fieldItem;
        }
        form->setWidget(form->rowCount(), QFormLayout::LabelRole, keeper);
    }
}

QLineEdit* ParameterRowsView::box(int P) const {
    return P >= 0 && P <= 1000 ? boxes_[static_cast<size_t>(P)] : nullptr;
}

QLabel* ParameterRowsView::label(int P) const {
    return P >= 0 && P <= 1000 ? labels_[static_cast<size_t>(P)] : nullptr;
}

void ParameterRowsView::show_row(int P) {
    QLineEdit* b = box(P);
    QLabel* l = label(P);
    if (!b || !l)
        return;
    const ParameterRow& r = parameter_rows().row(P);
    if (b->text() != r.text) {
        const QSignalBlocker block(b);
        b->setText(r.text);
        b->setCursorPosition(0);
    }
    b->setReadOnly(r.locked);
    b->setFocusPolicy(r.locked ? Qt::NoFocus : Qt::StrongFocus);
    QPalette pal = b->palette();
    pal.setColor(QPalette::Base, colour_of(r.back_colour, *b));
    pal.setColor(QPalette::Text, colour_of(r.fore_colour, *b));
    b->setPalette(pal);
    if (b->font().bold() != r.bold) {
        QFont f = b->font();
        f.setBold(r.bold);
        b->setFont(f);
    }
    if (b->toolTip() != r.tooltip.trimmed())
        b->setToolTip(r.tooltip.trimmed());
    if (l->text() != r.caption)
        l->setText(r.caption);
    QLabel* hint = hints_[static_cast<size_t>(P)];
    const QString hint_text = row_hint(r.tooltip, r.text);
    if (hint->text() != hint_text)
        hint->setText(hint_text);
    l->setVisible(r.label_visible);
    b->parentWidget()->setVisible(r.visible);
    if (const auto keeper = keepers_.find(qobject_cast<QFormLayout*>(l->parentWidget()->layout()));
        keeper != keepers_.end())
        keeper->second->updateGeometry(); // what the set holds may have changed with the row
    if (P >= LOSS_POINTS_FIRST && P <= LOSS_POINTS_LAST)
        draw_loss_curve(*page_.loss_curve);
}

void ParameterRowsView::show_switch(const QString& name, bool on) {
    static const std::map<QString, int> setup_widgets = {{QStringLiteral("SSTab2(0)"), 0},
                                                         {QStringLiteral("TChart3(0)"), 1},
                                                         {QStringLiteral("SSTab3(0)"), 2},
                                                         {QStringLiteral("TChart3(2)"), 3}};
    if (const auto it = setup_widgets.find(name); it != setup_widgets.end()) {
        QWidget* const widgets[] = {vessel_.breakpoint_tabs, vessel_.volume_chart,
                                    flow_.breakpoint_tabs, flow_.flow_chart};
        widgets[it->second]->setVisible(on);
        return;
    }
    if (name.startsWith(QLatin1String("SSTab5(0):"))) {
        flow_.row_tabs->setTabVisible(name.mid(10).toInt(), on);
        return;
    }
    if (name.startsWith(QLatin1String("SSTab1(2):"))) {
        page_.parameter_tabs->setTabEnabled(name.mid(10).toInt(), on);
        return;
    }
    if (auto it = page_.frames.find(name); it != page_.frames.end()) {
        // A frame without rows stays hidden whatever the rules say.
        it->second->setVisible(on && forms_.count(name) > 0);
        return;
    }
}
