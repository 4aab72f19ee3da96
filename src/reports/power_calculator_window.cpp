#include "reports/power_calculator_window.h"

#include "logging/up_down.h"
#include "platform/box_leaving.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "reports/reports_texts.h"
#include "shell/definitions_table.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QVBoxLayout>
#include <qcustomplot.h>

namespace {

constexpr double VOLT_MARGIN = 0.3;

const char* const TRANSDUCERS[] = {"KV3", "KV6", "KV10", "KV15", "KV25"};

QString point_label(power::PointLabel label) {
    switch (label) {
    case power::PointLabel::LastOutput:
        return rtext::text(rtext::LAST_OUTPUT);
    case power::PointLabel::NewOutput:
        return rtext::text(rtext::NEW_OUTPUT);
    case power::PointLabel::None:
        break;
    }
    return {};
}

} // namespace

PowerCalculatorWindow::PowerCalculatorWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form6"));
    build();
    Form_Load();
}

// The boxes outlive this part of the window while it is taken down: the focus leaving one then
// must not reach the edit check of a window that is no longer there.
PowerCalculatorWindow::~PowerCalculatorWindow() {
    for (QLineEdit* box : Text1)
        disconnect(box, nullptr, this, nullptr);
}

void PowerCalculatorWindow::build() {
    auto* layout = new QVBoxLayout(this);

    TChart2 = new QCustomPlot(this);
    TChart2->setObjectName(QStringLiteral("TChart2"));
    TChart2->setMinimumHeight(250);
    layout->addWidget(TChart2, 1);

    const auto row = [](QGridLayout* grid, int r, int label_text, QWidget* field,
                        QWidget* extra = nullptr) {
        auto* label = new QLabel(rtext::text(label_text));
        label->setBuddy(field);
        grid->addWidget(label, r, 0);
        grid->addWidget(field, r, 1);
        if (extra)
            grid->addWidget(extra, r, 2);
    };
    for (int i = 0; i < 3; ++i) {
        Combo1[static_cast<size_t>(i)] = new QComboBox(this);
        Combo1[static_cast<size_t>(i)]->setObjectName(QStringLiteral("Combo1(%1)").arg(i));
    }
    for (int i = 0; i < 7; ++i) {
        Text1[static_cast<size_t>(i)] = new QLineEdit(this);
        Text1[static_cast<size_t>(i)]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Text1[static_cast<size_t>(i)]->setAlignment(Qt::AlignRight);
    }
    UpDown1 = new logsetup::UpDown(this);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->set_buddy(Text1[2]);
    UpDown1->set_range(power::WAKE_ARROWS_LEAST, power::WAKE_MINUTES_MOST);
    UpDown2 = new logsetup::UpDown(this);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    UpDown2->set_buddy(Text1[6]);
    UpDown2->set_range(power::USABLE_PERCENT_LEAST, power::USABLE_PERCENT_MOST);

    const int frame_titles[] = {rtext::FRAME_APPLICATION, rtext::FRAME_BATTERY,
                                rtext::FRAME_ESTIMATED_POWER};
    std::array<QGridLayout*, 3> grids{};
    for (size_t i = 0; i < 3; ++i) {
        Frame[i] = new QGroupBox(rtext::text(frame_titles[i]), this);
        Frame[i]->setObjectName(QStringLiteral("Frame%1").arg(i + 1));
        grids[i] = new QGridLayout(Frame[i]);
        grids[i]->setColumnStretch(1, 1);
        grids[i]->setColumnMinimumWidth(2, 20);
    }
    row(grids[0], 0, rtext::TRANSDUCER_TYPE, Combo1[0]);
    row(grids[0], 1, rtext::WAKE_INTERVAL, Text1[2], UpDown1);
    row(grids[0], 2, rtext::OUTPUT_HOLD, Combo1[2]);
    row(grids[0], 3, rtext::OUTPUT_DURATION, Text1[0]);
    row(grids[1], 0, rtext::VOLTAGE, Combo1[1]);
    row(grids[1], 1, rtext::CAPACITY, Text1[1]);
    row(grids[1], 2, rtext::USABLE, Text1[6], UpDown2);
    row(grids[1], 3, rtext::LEAKAGE, Text1[5]);
    row(grids[2], 0, rtext::AVERAGE_CONSUMPTION, Text1[3]);
    row(grids[2], 1, rtext::BATTERY_LIFE, Text1[4]);
    // The leakage is the built-in constant: the box only shows it.
    for (size_t i : {3, 4, 5})
        Text1[i]->setReadOnly(true);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label3->setMinimumHeight(3 * fontMetrics().height());
    grids[2]->addWidget(Label3, 2, 1);

    auto* frames = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(Frame[0]);
    left->addWidget(Frame[2]);
    auto* right = new QVBoxLayout;
    right->addWidget(Frame[1]);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    right->addWidget(Label2, 1);
    Command1 = new QPushButton(rtext::text(rtext::CLOSE), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    right->addWidget(Command1, 0, Qt::AlignRight);
    frames->addLayout(left, 1);
    frames->addLayout(right, 1);
    layout->addLayout(frames);
    connect(Command1, &QPushButton::clicked, this, &PowerCalculatorWindow::Command1_Click);

    // The chart: a title, then the output voltage band above the ready signal band, with a gap
    // between them, sharing one time axis.
    TChart2->plotLayout()->clear();
    auto* title = new QCPTextElement(TChart2, rtext::text(rtext::PROFILE_TITLE),
                                     QFont(font().family(), font().pointSize(), QFont::Bold));
    TChart2->plotLayout()->addElement(0, 0, title);
    output_band_ = new QCPAxisRect(TChart2);
    ready_band_ = new QCPAxisRect(TChart2);
    TChart2->plotLayout()->addElement(1, 0, output_band_);
    TChart2->plotLayout()->addElement(2, 0, ready_band_);
    TChart2->plotLayout()->setRowSpacing(0);
    TChart2->plotLayout()->setRowStretchFactor(0, 0.01);
    auto* margins = new QCPMarginGroup(TChart2);
    for (QCPAxisRect* band : {output_band_, ready_band_}) {
        band->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        band->axis(QCPAxis::atRight)->setVisible(true);
        // A little room beyond 0 V and 5 V keeps the lines there clear of the band's edges.
        const QCPRange volts(-VOLT_MARGIN, power::READY_V + VOLT_MARGIN);
        band->axis(QCPAxis::atLeft)->setRange(volts);
        band->axis(QCPAxis::atRight)->setRange(volts);
        for (QCPAxis* a : band->axes())
            a->setBasePen(QPen(Qt::black, 1));
        band->setRangeDrag(Qt::Orientations());
        band->setRangeZoom(Qt::Orientations());
    }
    // Output voltage on the left of the upper band, ready signal on the right of the lower one.
    output_band_->axis(QCPAxis::atLeft)->setLabel(rtext::text(rtext::AXIS_OUTPUT_VOLTAGE));
    output_band_->axis(QCPAxis::atRight)->setTickLabels(false);
    output_band_->axis(QCPAxis::atBottom)->setTickLabels(false);
    ready_band_->axis(QCPAxis::atRight)->setLabel(rtext::text(rtext::AXIS_READY_SIGNAL));
    ready_band_->axis(QCPAxis::atLeft)->setTickLabels(false);
    ready_band_->axis(QCPAxis::atBottom)->setLabel(rtext::text(rtext::AXIS_TIME));
    output_band_->setMinimumMargins(QMargins(10, 5, 10, 12));
    ready_band_->setMinimumMargins(QMargins(10, 12, 10, 5));
    for (QCPAxis* a : {output_band_->axis(QCPAxis::atLeft), ready_band_->axis(QCPAxis::atRight)})
        a->ticker()->setTickCount(3);

    output_series = TChart2->addGraph(output_band_->axis(QCPAxis::atBottom),
                                      output_band_->axis(QCPAxis::atLeft));
    output_series->setPen(QPen(Qt::blue, 2));
    output_series->setName(rtext::text(rtext::AXIS_OUTPUT_VOLTAGE));
    ready_series = TChart2->addGraph(ready_band_->axis(QCPAxis::atBottom),
                                     ready_band_->axis(QCPAxis::atRight));
    ready_series->setPen(QPen(Qt::red, 2));
    ready_series->setName(rtext::text(rtext::AXIS_READY_SIGNAL));

    cursor = new QCPItemStraightLine(TChart2);
    cursor->setClipAxisRect(output_band_);
    cursor->point1->setAxes(output_series->keyAxis(), output_series->valueAxis());
    cursor->point2->setAxes(output_series->keyAxis(), output_series->valueAxis());
    cursor->setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
    annotation = new QCPItemText(TChart2);
    annotation->setClipToAxisRect(false);
    annotation->position->setType(QCPItemPosition::ptAxisRectRatio);
    annotation->position->setAxisRect(output_band_);
    annotation->position->setCoords(0.02, 0.02);
    annotation->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
    annotation->setText(QString());

    TChart2->setMouseTracking(true);
    TChart2->installEventFilter(this);

    for (QComboBox* c : Combo1)
        connect(c, &QComboBox::currentIndexChanged, this, [this] { update(); });
    for (size_t i = 0; i < Text1.size(); ++i) {
        QLineEdit* t = Text1[i];
        connect(t, &QLineEdit::textEdited, this, [this, i] { editing_[i] = true; });
        connect(t, &QLineEdit::textChanged, this, [this, i](const QString& text) {
            // An emptied box counts as empty at once, and a refusal that follows puts that back.
            if (text.trimmed().isEmpty() || (!editing_[i] && platform::typed_number(text)))
                accepted_[i] = text;
            update();
        });
        platform::judge_on_leaving(t, this, [this, i] { return finish_edit(i); });
    }
}

NumberLimits PowerCalculatorWindow::limits(size_t i) const {
    if (i == 2)
        return {power::WAKE_MINUTES_LEAST, power::WAKE_MINUTES_MOST};
    if (i == 6)
        return {power::USABLE_PERCENT_LEAST, power::USABLE_PERCENT_MOST};
    return {};
}

bool PowerCalculatorWindow::finish_edit(size_t i) {
    if (!std::exchange(editing_[i], false))
        return true;
    QLineEdit* box = Text1[i];
    const QString typed = box->text();
    if (typed.trimmed().isEmpty()) { // an empty box counts as nothing, as before any entry
        accepted_[i] = typed;
        return true;
    }
    const auto v = platform::typed_number(typed);
    if (!v || !limits(i).hold(*v)) {
        refuse_typed_number(box, accepted_[i],
                            v ? limits_refusal_message(typed, limits(i)) : QString());
        return false;
    }
    box->setText(platform::number_text(*v));
    accepted_[i] = box->text();
    return true;
}

double PowerCalculatorWindow::box_value(size_t i) const {
    // An emptied box counts as nothing from the moment it is empty, not as the value removed.
    if (Text1[i]->text().trimmed().isEmpty())
        return 0;
    const auto typed = platform::typed_number(Text1[i]->text());
    return typed && limits(i).hold(*typed) ? *typed
                                           : platform::typed_number(accepted_[i]).value_or(0.0);
}

void PowerCalculatorWindow::Form_Load() {
    loading_ = true;
    setWindowTitle(rtext::text(rtext::CALCULATOR_TITLE));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().topLeft());
    cursor->setVisible(false);
    Label3->clear();
    Text1[5]->setText(platform::number_text(power::LEAKAGE_MA));
    for (const char* name : TRANSDUCERS)
        Combo1[0]->addItem(QLatin1String(name));
    Combo1[1]->addItems({QStringLiteral("12"), QStringLiteral("24")});
    Combo1[2]->addItems({rtext::text(rtext::NO), rtext::text(rtext::YES)});
    Combo1[0]->setCurrentIndex(0);
    Combo1[1]->setCurrentIndex(0);
    Combo1[2]->setCurrentIndex(1);
    Text1[2]->setText(QStringLiteral("1"));
    Text1[0]->setText(platform::number_text(0.2));
    Text1[1]->setText(QStringLiteral("40"));
    Text1[6]->setText(QStringLiteral("95"));
    Label2->setText(rtext::text(rtext::DISCLAIMER));
    loading_ = false;
    update();
}

power::CalculatorInputs PowerCalculatorWindow::inputs() const {
    power::CalculatorInputs in;
    in.transducer = Combo1[0]->currentIndex();
    in.voltage_index = Combo1[1]->currentIndex();
    in.output_hold = Combo1[2]->currentIndex() == 1;
    in.wake_minutes = box_value(2);
    in.output_duration_s = box_value(0);
    in.capacity_ah = box_value(1);
    in.usable_percent = box_value(6);
    return in;
}

void PowerCalculatorWindow::update() {
    if (loading_)
        return;
    drawchart();
    const auto result = power::calculate(inputs());
    if (!result)
        return; // nothing chosen in a list: the results shown stay
    Text1[3]->setText(platform::format_number(result->average_ma, QStringLiteral("####0.00")));
    Text1[4]->setText(platform::number_text(std::floor(result->days)));
    Label3->setText(power::life_text(
        *result, {rtext::text(rtext::YEAR), rtext::text(rtext::YEARS), rtext::text(rtext::MONTH),
                  rtext::text(rtext::MONTHS), rtext::text(rtext::DAY), rtext::text(rtext::DAYS)}));
}

void PowerCalculatorWindow::drawchart() {
    const power::CalculatorInputs in = inputs();
    if (in.transducer < 0)
        return;
    const power::VoltageProfile p =
        power::voltage_profile(in.transducer, in.output_hold, in.output_duration_s);
    const auto fill = [](QCPGraph* g, const std::vector<power::ProfilePoint>& points) {
        QVector<double> keys, values;
        for (const auto& pt : points) {
            keys << pt.seconds;
            values << pt.volts;
        }
        // The profile steps back in time never; equal times make the vertical edges.
        g->setData(keys, values, true);
    };
    fill(output_series, p.output);
    fill(ready_series, p.ready);
    for (QCPAxisRect* band : {output_band_, ready_band_})
        band->axis(QCPAxis::atBottom)->setRange(0, std::max(p.end_seconds, 0.1));
    TChart2->replot();
}

bool PowerCalculatorWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == TChart2 && event->type() == QEvent::MouseMove)
        TChart2_MouseMove(static_cast<QMouseEvent*>(event));
    if (watched == TChart2 && event->type() == QEvent::Leave) {
        cursor->setVisible(false);
        annotation->setText(QString());
        TChart2->replot();
    }
    return QDialog::eventFilter(watched, event);
}

void PowerCalculatorWindow::TChart2_MouseMove(QMouseEvent* event) {
    const QPointF at = event->position();
    // Read the pointer in the band it is over; both bands measure volts against the same time.
    QCPGraph* series = ready_band_->rect().contains(at.toPoint()) ? ready_series : output_series;
    const double x = series->keyAxis()->pixelToCoord(at.x());
    const double y = series->valueAxis()->pixelToCoord(at.y());
    const bool inside =
        x >= 0 && x <= series->keyAxis()->range().upper && y >= 0 && y <= power::READY_V;
    cursor->setVisible(inside);
    annotation->setText(inside ? QStringLiteral("X=%1s, Y=%2V")
                                     .arg(platform::format_number(x, QStringLiteral("0.0")),
                                          platform::format_number(y, QStringLiteral("0.0")))
                               : QString());
    if (inside) {
        cursor->point1->setCoords(x, 0);
        cursor->point2->setCoords(x, 1);
    }
    // A point's label and value when the pointer is on it.
    QString tip;
    if (inside) {
        const power::CalculatorInputs in = inputs();
        const power::VoltageProfile p = power::voltage_profile(
            std::max(in.transducer, 0), in.output_hold, in.output_duration_s);
        for (const auto& pt : series == output_series ? p.output : p.ready) {
            const QPointF px(series->keyAxis()->coordToPixel(pt.seconds),
                             series->valueAxis()->coordToPixel(pt.volts));
            if (QLineF(px, at).length() <= 6) {
                tip = point_label(pt.label) + platform::number_text(pt.volts);
                break;
            }
        }
    }
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPosition().toPoint(), tip, TChart2);
    TChart2->replot(QCustomPlot::rpQueuedReplot);
}

void PowerCalculatorWindow::Command1_Click() {
    accept();
}
