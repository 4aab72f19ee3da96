#include "parameters/parameter_rows_view.h"

#include "parameters/parameter_pages.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_tooltips.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

constexpr int BOX_WIDTH = 110;

struct Placement {
    int first;
    int last;
    const char* frame;
};

// Where the rows live: the frames of the set-up tabs by what the parameters are about.
const Placement PLACEMENTS[] = {
    {20, 20, "Frame14"},       {41, 41, "Frame8"},         {61, 61, "Frame28"},
    {70, 71, "Frame24"},       {72, 72, "Frame15"},        {81, 84, "Frame8"},
    {87, 87, "Frame28"},       {88, 88, "Frame14"},        {90, 93, "Frame28"},
    {96, 96, "Frame1(13)"},    {99, 99, "Frame28"},        {100, 108, "scrframe(1037)"},
    {109, 112, "Frame2"},      {130, 140, "Frame1(13)"},   {141, 141, "Frame11"},
    {150, 156, "scrframe(1041)"}, {160, 165, "Frame9"},    {170, 185, "SSTab2(1):1"},
    {210, 219, "scrframe(1116)"}, {220, 229, "scrframe(1117)"}, {580, 585, "scrframe(1071)"},
    {600, 673, "vessel"},      {700, 798, "flow"},         {823, 823, "scrframe(1051)"},
    {830, 830, "Frame16"},     {831, 831, "Frame17"},      {834, 835, "Frame18"},
    {836, 837, "Frame19"},     {838, 839, "Frame20"},      {840, 858, "Frame3"},
    {863, 864, "Frame23"},     {900, 906, "Frame14"},      {922, 922, "Frame14"},
    {926, 929, "Frame28"},     {930, 930, "Frame14"},      {931, 933, "Frame29"},
    {971, 976, "Frame29"},     {980, 980, "Frame23"},      {993, 997, "Frame11"},
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

} // namespace

ParameterRowsView::ParameterRowsView(ParameterPage& page, VesselPage& vessel, FlowPage& flow,
                                     QObject* parent)
    : QObject(parent), page_(page), vessel_(vessel), flow_(flow) {
    ParameterRows& rows = parameter_rows();
    rows.row_changed = [this](int P) { show_row(P); };
    rows.switch_changed = [this](const QString& name, bool on) { show_switch(name, on); };
    rows.rows_created = [this] { build_rows(); };
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
    build_rows();
}

ParameterRowsView::~ParameterRowsView() {
    ParameterRows& rows = parameter_rows();
    rows.row_changed = nullptr;
    rows.switch_changed = nullptr;
    rows.rows_created = nullptr;
    rows.batch = nullptr;
}

QString ParameterRowsView::frame_of(int P) {
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
    if (name == QLatin1String("vessel") || name == QLatin1String("flow")) {
        const bool vessel = name == QLatin1String("vessel");
        QGroupBox*& group = vessel ? vessel_rows_ : flow_rows_;
        QWidget* frame = vessel ? static_cast<QWidget*>(vessel_.Frame5_1)
                                : static_cast<QWidget*>(&flow_);
        auto* area = new QScrollArea(frame);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        group = new QGroupBox(area);
        group->setObjectName(vessel ? QStringLiteral("VesselRows") : QStringLiteral("FlowRows"));
        area->setWidget(group);
        if (vessel) {
            auto* l = vessel_.Frame5_1->layout() ? vessel_.Frame5_1->layout()
                                                 : new QVBoxLayout(vessel_.Frame5_1);
            l->addWidget(area);
        } else if (flow_.layout()) {
            flow_.layout()->addWidget(area);
        }
        container = group;
    } else if (name.startsWith(QLatin1String("SSTab2(1):"))) {
        container = page_.SSTab2->widget(name.mid(10).toInt());
    } else if (name.startsWith(QLatin1String("scrframe("))) {
        const int row = name.mid(9, name.size() - 10).toInt();
        container = page_.scrframe.count(row) ? page_.scrframe.at(row) : nullptr;
    } else if (page_.frames.count(name)) {
        container = page_.frames.at(name);
    }
    if (!container)
        container = page_.frames.at(QStringLiteral("Frame14"));
    container->show();
    QFormLayout* form = new_form(container);
    forms_[name] = form;
    return form;
}

void ParameterRowsView::build_rows() {
    ParameterRows& rows = parameter_rows();
    for (int P : rows.numbers()) {
        if (boxes_[static_cast<size_t>(P)])
            continue;
        QFormLayout* form = form_of(P);
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
        label->hide();
        field->hide();
        hints_[static_cast<size_t>(P)] = hint;
        boxes_[static_cast<size_t>(P)] = box;
        labels_[static_cast<size_t>(P)] = label;
        connect(box, &QLineEdit::textEdited, this, [this, P](const QString& text) {
            typed_[static_cast<size_t>(P)] = true;
            parameter_rows().set_typed_text(P, text);
        });
        connect(box, &QLineEdit::editingFinished, this, [this, P] {
            if (!typed_[static_cast<size_t>(P)])
                return;
            typed_[static_cast<size_t>(P)] = false;
            parameter_rows().commit(P);
        });
        show_row(P);
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
}

void ParameterRowsView::show_switch(const QString& name, bool on) {
    if (name.startsWith(QLatin1String("SSTab1(2):"))) {
        page_.SSTab1->setTabEnabled(name.mid(10).toInt(), on);
        return;
    }
    if (auto it = page_.frames.find(name); it != page_.frames.end()) {
        // A frame without rows stays hidden whatever the rules say.
        it->second->setVisible(on && forms_.count(name) > 0);
        return;
    }
}
