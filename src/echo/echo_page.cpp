#include "echo/echo_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
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

} // namespace

EchoPage::EchoPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EchoPage"));

    TChart2 = chart(this, element("TChart2", 0), 3);
    TChart2->xAxis->setRange(0, 100);
    TChart2->yAxis->setRange(0, 100);
    TChart3 = chart(this, QStringLiteral("TChart3"), 3);
    TChart4 = chart(this, QStringLiteral("TChart4"), 1);
    kovex_readout = new QCPItemText(TChart4);
    kovex_readout->setPositionAlignment(Qt::AlignTop | Qt::AlignLeft);
    kovex_readout->position->setType(QCPItemPosition::ptAxisRectRatio);
    kovex_readout->position->setCoords(0.02, 0.02);

    regular_echo_frame = new QGroupBox(this);
    regular_echo_frame->setObjectName(QStringLiteral("scrframe"));
    regular_echo_frame->setProperty("index", 1026);
    regular_echo_frame->setTitle(QStringLiteral("Regular Echo"));
    Option2 = named<QRadioButton>(regular_echo_frame, QStringLiteral("Option2"));
    Option2->setText(QStringLiteral("&Yes"));
    Option3 = named<QRadioButton>(regular_echo_frame, QStringLiteral("Option3"));
    Option3->setText(QStringLiteral("&No"));
    auto* echo_row = new QHBoxLayout(regular_echo_frame);
    echo_row->addWidget(Option2);
    echo_row->addWidget(Option3);
    echo_row->addStretch(1);
    Option2->setEnabled(false);
    connect(Option2, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option2_Click();
    });
    connect(Option3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            Option3_Click();
    });

    auto* traces = new QGroupBox(this);
    traces->setObjectName(QStringLiteral("trace_boxes"));
    auto* trace_col = new QVBoxLayout(traces);
    const char* captions[4] = {"Raw", "Normal", "Average", "KOVEX"};
    for (int i = 0; i < 4; ++i) {
        auto* box = named<QCheckBox>(traces, element("Check6", i));
        box->setText(QLatin1String(captions[i]));
        box->setEnabled(false);
        connect(box, &QCheckBox::toggled, this, [this, i] {
            if (trace_box_handler_)
                trace_box_handler_(i);
        });
        Check6[static_cast<size_t>(i)] = box;
        trace_col->addWidget(box);
    }

    Label9 = named<QLabel>(this, QStringLiteral("Label9"));
    Label9->setText(QStringLiteral("Playback (s)"));
    Text15 = named<QLineEdit>(this, QStringLiteral("Text15"));
    Text15->setFixedWidth(60);
    Text15->setAlignment(Qt::AlignRight);
    UpDown6 = named<QToolButton>(this, QStringLiteral("UpDown6"));
    UpDown6->setArrowType(Qt::UpArrow);
    UpDown6->setEnabled(false);
    Label9->setBuddy(Text15);
    // The playback interval belongs to the player: the main window shows it in the recorder
    // frame, with the recorder's keys.

    Text67 = named<QLineEdit>(this, element("Text67", 0));
    Text67->setReadOnly(true);
    Text67->hide();

    // The read-out and KOVEX tab sets are filled by the echo read-outs and the KOVEX points.
    SSTab2 = tab_set(this, element("SSTab2", 0), 4);
    SSTab3 = tab_set(this, element("SSTab3", 0), 4);
    SSTab5 = tab_set(this, element("SSTab5", 0), 1);
    SSTab7 = tab_set(this, QStringLiteral("SSTab7"), 1);
    SSTab7->widget(0)->setLayout(new QVBoxLayout);
    SSTab7->widget(0)->layout()->addWidget(TChart4);
    Command14 = named<QPushButton>(this, QStringLiteral("Command14"));
    Command15 = named<QPushButton>(this, QStringLiteral("Command15"));
    Command16 = named<QPushButton>(this, QStringLiteral("Command16"));
    Command17 = named<QPushButton>(this, QStringLiteral("Command17"));
    Check7 = named<QCheckBox>(this, QStringLiteral("Check7"));
    Check8 = named<QCheckBox>(this, QStringLiteral("Check8"));
    Check9 = named<QCheckBox>(this, QStringLiteral("Check9"));
    Check10 = named<QCheckBox>(this, QStringLiteral("Check10"));
    for (QWidget* later : std::initializer_list<QWidget*>{
             SSTab2, SSTab3, SSTab5, SSTab7, TChart3, Command14, Command15, Command16, Command17,
             Check7, Check8, Check9, Check10})
        later->hide();

    auto* side = new QVBoxLayout;
    side->addWidget(regular_echo_frame);
    side->addWidget(traces);
    side->addWidget(SSTab2);
    side->addWidget(SSTab3);
    side->addStretch(1);
    auto* row = new QHBoxLayout(this);
    row->addWidget(TChart2, 1);
    row->addLayout(side);
}

void EchoPage::Option3_Click() {
    if (offline_chosen)
        offline_chosen();
}

void EchoPage::set_live_handler(std::function<void()> handler) {
    live_handler_ = std::move(handler);
    Option2->setEnabled(static_cast<bool>(live_handler_));
}

void EchoPage::Option2_Click() {
    if (live_handler_)
        live_handler_();
}

void EchoPage::set_trace_box_handler(std::function<void(int)> handler) {
    trace_box_handler_ = std::move(handler);
    for (QCheckBox* box : Check6)
        box->setEnabled(static_cast<bool>(trace_box_handler_));
}
