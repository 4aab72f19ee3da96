#include "logging/log_setup_page.h"

#include "link/link_state.h"
#include "logging/log_channels.h"
#include "logging/log_setup_state.h"
#include "logging/model_capabilities.h"
#include "logging/unit_log_rules.h"
#include "logging/up_down.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/number_box.h"
#include "shell/read_out_label.h"
#include "shell/shell_state.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QScopeGuard>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QtGlobal>
#include <limits>

namespace {

// Captions go through ui_text with literal numbers so that a scan of the sources finds every text
// the page uses.
QString frame_caption(int i) {
    switch (i) {
    case 0: return ui_text(1016, QStringLiteral("Point 1"));
    case 1: return ui_text(1017, QStringLiteral("Point 2"));
    case 2: return ui_text(1018, QStringLiteral("Analogue"));
    case 3: return ui_text(1019, QStringLiteral("Statuses"));
    case 4: return ui_text(1020, QStringLiteral("Application"));
    case 5: return ui_text(1021, QStringLiteral("Totalisers 1"));
    case 6: return ui_text(1022, QStringLiteral("Volume 1"));
    case 7: return ui_text(1023, QStringLiteral("Flow 1"));
    case 8: return ui_text(1024, QStringLiteral("Date && Time"));
    case 9: return ui_text(1025, QStringLiteral("Unit Type"));
    case 10: return ui_text(1026, QStringLiteral("Setup Options"));
    case 11: return ui_text(1027, QStringLiteral("Log Setup Information"));
    case 12: return ui_text(1324, QStringLiteral("Totalisers 2"));
    case 14: return ui_text(1325, QStringLiteral("Volume 2"));
    case 15: return ui_text(1326, QStringLiteral("Flow 2"));
    case 16: return ui_text(1328, QStringLiteral("Flow 1&&2"));
    case 17: return ui_text(1327, QStringLiteral("Volume 1&&2"));
    case 18: return ui_text(1468, QStringLiteral("Negative Totalisers"));
    default: return {};
    }
}

QString channel_caption(int c) {
    switch (c) {
    case 0: return ui_text(1028, QStringLiteral("Level"));
    case 1: return ui_text(1029, QStringLiteral("Distance"));
    case 2: return ui_text(1030, QStringLiteral("Confidence"));
    case 3: return ui_text(1031, QStringLiteral("Strength"));
    case 4: return ui_text(1032, QStringLiteral("HALL"));
    case 5: return ui_text(1033, QStringLiteral("Avg Noise"));
    case 6: return ui_text(1034, QStringLiteral("Peak Noise"));
    case 7: return ui_text(1035, QStringLiteral("Temperature"));
    case 8: return ui_text(1036, QStringLiteral("Level"));
    case 9: return ui_text(1037, QStringLiteral("Distance"));
    case 10: return ui_text(1038, QStringLiteral("Confidence"));
    case 11: return ui_text(1039, QStringLiteral("Strength"));
    case 12: return ui_text(1040, QStringLiteral("HALL"));
    case 13: return ui_text(1041, QStringLiteral("Avg Noise"));
    case 14: return ui_text(1042, QStringLiteral("Peak Noise"));
    case 15: return ui_text(1043, QStringLiteral("Temperature"));
    case 16: return ui_text(1044, QStringLiteral("Input"));
    case 17: return ui_text(1045, QStringLiteral("Output 1"));
    case 18: return ui_text(1046, QStringLiteral("Output 2"));
    case 19: return ui_text(1047, QStringLiteral("Relays"));
    case 20: return ui_text(1048, QStringLiteral("Inputs"));
    case 21: return ui_text(1049, QStringLiteral("Status"));
    case 22: return ui_text(1050, QStringLiteral("Avg Level"));
    case 23: return ui_text(1051, QStringLiteral("Diff Level"));
    case 24: return ui_text(1052, QStringLiteral("System"));
    case 25: return ui_text(1053, QStringLiteral("Resettable"));
    case 26: return ui_text(1054, QStringLiteral("Daily"));
    case 27: return ui_text(1055, QStringLiteral("Volume"));
    case 28: return ui_text(1056, QStringLiteral("Pumped"));
    case 29: return ui_text(1057, QStringLiteral("Flow"));
    case 30: return ui_text(1058, QStringLiteral("Average"));
    case 31: return ui_text(1059, QStringLiteral("Time Stamp"));
    case 32: return ui_text(1322, QStringLiteral("% Uc(Flow)"));
    case 33: return ui_text(1323, QStringLiteral("% Uc(Vol)"));
    case 34: return ui_text(1052, QStringLiteral("System"));
    case 35: return ui_text(1053, QStringLiteral("Resettable"));
    case 36: return ui_text(1054, QStringLiteral("Daily"));
    case 37: return ui_text(1055, QStringLiteral("Volume"));
    case 38: return ui_text(1341, QStringLiteral("Average"));
    case 39: return ui_text(1329, QStringLiteral("Total"));
    case 40: return ui_text(1057, QStringLiteral("Flow"));
    case 41: return ui_text(1058, QStringLiteral("Average"));
    case 42: return ui_text(1058, QStringLiteral("Average"));
    case 43: return ui_text(1329, QStringLiteral("Total"));
    case 44: return ui_text(1429, QStringLiteral("Velocity"));
    case 45: return ui_text(1052, QStringLiteral("System"));
    case 46: return ui_text(1053, QStringLiteral("Resettable"));
    case 47: return ui_text(1054, QStringLiteral("Daily"));
    default: return {};
    }
}

QString model_caption(int i) {
    switch (i) {
    case 0: return QStringLiteral("Velto Basic");
    case 1: return ui_text(1060, QStringLiteral("Velto Level 3R"));
    case 2: return ui_text(1061, QStringLiteral("Velto Level"));
    case 3: return ui_text(1062, QStringLiteral("Velto Dual Pump 5R"));
    case 4: return ui_text(1063, QStringLiteral("Velto Dual Pump"));
    case 5: return ui_text(1064, QStringLiteral("Velto Flow 3R"));
    case 6: return ui_text(1065, QStringLiteral("Velto Flow mA"));
    case 7: return ui_text(1066, QStringLiteral("Velto Volume"));
    case 8: return ui_text(1067, QStringLiteral("Velto Dual Volume"));
    case 9: return ui_text(1068, QStringLiteral("Velto Pump Control"));
    case 10: return ui_text(1069, QStringLiteral("Velto Flow 2 Out"));
    case 11: return ui_text(1070, QStringLiteral("Velto Dual Total"));
    case 12: return ui_text(1071, QStringLiteral("Velto Flow 2 Out B"));
    case 13: return QStringLiteral("Velto Twin Flow");
    case 14: return QStringLiteral("Hartym CSO");
    case 15: return QStringLiteral("Hesvarin");
    case 16: return ui_text(1427, QStringLiteral("Velto Pump Control B"));
    case 17: return ui_text(1428, QStringLiteral("Velto Velocity Flow"));
    case 18: return QStringLiteral("Velto Pump Control 10R");
    case 19: return QStringLiteral("Velto Flow 5R");
    case 20: return QStringLiteral("Velto Dual 2 Out");
    case 21: return QStringLiteral("Velto Pump Control 10R B");
    case 40: return QStringLiteral("Krestel Radar");
    case 43: return QStringLiteral("Quorvantix Flow");
    default: return {};
    }
}

QString unit_log_caption(int i) {
    switch (i) {
    case 0: return ui_text(1082, QStringLiteral("Start Date"));
    case 1: return ui_text(1083, QStringLiteral("Channel Masks"));
    case 2: return ui_text(1084, QStringLiteral("Log Interval (mins)"));
    case 3: return ui_text(1085, QStringLiteral("Records"));
    case 4: return ui_text(1086, QStringLiteral("Bytes Per Log"));
    case 5: return ui_text(1087, QStringLiteral("Time Left (days)"));
    default: return {};
    }
}

QString name_of(const char* array, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

// A control's own Enabled and Visible, whatever its frame shows.
bool own_enabled(const QWidget* w) {
    return !w->testAttribute(Qt::WA_ForceDisabled);
}
bool own_visible(const QWidget* w) {
    return !w->isHidden();
}

QLineEdit* read_out(QWidget* parent, const QString& name, int width) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::ClickFocus);
    box->setAlignment(Qt::AlignRight);
    box->setFixedWidth(width);
    return box;
}

QString duration_text(double days) {
    // A negative interval gives no sensible duration to show.
    return days < 0 ? QString() : platform::format_number(days, QStringLiteral("##0.0"));
}

QPointer<LogSetupPage>& current_page() {
    static QPointer<LogSetupPage> page;
    return page;
}

} // namespace

LogSetupPage::LogSetupPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LogSetupPage"));
    build();
    set_page_texts();
    current_page() = this;
}

LogSetupPage* LogSetupPage::current() {
    return current_page().data();
}

QString channel_box_caption(int channel) {
    if (channel < 0 || channel >= LOG_CHANNEL_COUNT)
        return {};
    const LogSetupPage* page = LogSetupPage::current();
    QString caption =
        page ? page->channel_boxes[static_cast<size_t>(channel)]->text() : channel_caption(channel);
    // A caption's "&&" shows one ampersand and a lone "&" marks the access key.
    caption.replace(QLatin1String("&&"), QString(QChar(1)));
    caption.remove(QLatin1Char('&'));
    caption.replace(QChar(1), QLatin1Char('&'));
    return caption;
}

LogSetupPage::~LogSetupPage() = default;

void LogSetupPage::build() {
    auto make_frame = [this](int i) {
        auto* f = new QGroupBox(this);
        f->setObjectName(name_of("Frame1", i));
        channel_frames[i] = f;
        return f;
    };
    auto make_box = [this](int c, QGroupBox* f) {
        auto* b = new QCheckBox(f);
        b->setObjectName(name_of("Check1", c));
        channel_boxes[static_cast<size_t>(c)] = b;
        connect(b, &QCheckBox::toggled, this, [this, c] { Check1_Click(c); });
        return b;
    };
    auto channel_frame = [&](int i, std::initializer_list<int> channels) {
        QGroupBox* f = make_frame(i);
        auto* col = new QVBoxLayout(f);
        col->setSpacing(2);
        for (int c : channels)
            col->addWidget(make_box(c, f));
        col->addStretch(1);
        return f;
    };

    // Unit model and its refinements
    QGroupBox* models = make_frame(9);
    auto* model_grid = new QGridLayout(models);
    model_grid->setVerticalSpacing(2);
    auto* group = new QButtonGroup(this);
    // Three columns: the list is then no taller than the channel columns beside it, which lets
    // the page fit a low laptop screen.
    const int rows = static_cast<int>(logsetup::MODEL_OPTION_INDEXES.size() + 2) / 3;
    int n = 0;
    for (int i : logsetup::MODEL_OPTION_INDEXES) {
        auto* o = new QRadioButton(models);
        o->setObjectName(name_of("Option1", i));
        model_options[i] = o;
        group->addButton(o, i);
        connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option1_Click(i);
        });
        model_grid->addWidget(o, n % rows, n / rows);
        ++n;
    }

    QGroupBox* options = make_frame(10);
    auto* options_col = new QVBoxLayout(options);
    ma_input_box = new QCheckBox(options);
    ma_input_box->setObjectName(QStringLiteral("Check2"));
    lite_unit_box = new QCheckBox(options);
    lite_unit_box->setObjectName(QStringLiteral("chkVeltoLite"));
    lite_unit_box->hide();
    options_col->addWidget(ma_input_box);
    options_col->addWidget(lite_unit_box);
    connect(ma_input_box, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    connect(lite_unit_box, &QCheckBox::toggled, this, [this] { chkVeltoLite_Click(); });

    auto* left = new QVBoxLayout;
    left->addWidget(models);
    left->addWidget(options);
    left->addStretch(1);

    // Channels: the first point and its application in the left columns, the second point and
    // the combined channels to the right, inputs and statuses between them.
    auto* channels = new QGridLayout;
    channels->setSpacing(6);
    auto column = [&](int col, std::initializer_list<QGroupBox*> frames) {
        auto* v = new QVBoxLayout;
        for (QGroupBox* f : frames)
            v->addWidget(f);
        v->addStretch(1);
        channels->addLayout(v, 0, col);
        channels->setColumnStretch(col, 1);
        return v;
    };
    column(0, {channel_frame(0, {0, 1, 2, 3, 4, 5, 6, 7}), channel_frame(5, {24, 25, 26})});
    column(1, {channel_frame(1, {8, 9, 10, 11, 12, 13, 14, 15}), channel_frame(12, {34, 35, 36})});
    QVBoxLayout* middle = column(2, {channel_frame(2, {16, 17, 18, 44}),
                                     channel_frame(3, {19, 20, 21}), channel_frame(8, {31})});
    column(3, {channel_frame(4, {22, 23}), channel_frame(6, {27, 28}),
               channel_frame(7, {29, 30, 32, 33}), channel_frame(18, {45, 46, 47})});
    column(4, {channel_frame(14, {37}), channel_frame(15, {40, 41}), channel_frame(17, {38, 39}),
               channel_frame(16, {42, 43})});

    select_all_button = new QPushButton(this);
    select_all_button->setObjectName(QStringLiteral("Command1"));
    deselect_all_button = new QPushButton(this);
    deselect_all_button->setObjectName(QStringLiteral("Command2"));
    connect(select_all_button, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(deselect_all_button, &QPushButton::clicked, this, [this] { deselect_all(); });
    middle->insertSpacing(middle->count() - 1, 8);
    middle->insertWidget(middle->count() - 1, select_all_button);
    middle->insertWidget(middle->count() - 1, deselect_all_button);

    for (int c : {32, 33})
        channel_boxes[static_cast<size_t>(c)]->hide();

    // The selection's figures beside what the unit reports of its log
    QGroupBox* info = make_frame(11);
    auto* info_row = new QHBoxLayout(info);

    auto* setup = new QGridLayout;
    setup->setVerticalSpacing(4);
    auto caption = [&](int index, QGridLayout* grid, int row) {
        auto* l = new QLabel(info);
        l->setObjectName(name_of("Label1", index));
        Label1[index] = l;
        grid->addWidget(l, row, 0);
        return l;
    };
    for (int i : {0, 1, 3, 4, 5, 7})
        setup_boxes[i] = read_out(info, name_of("Text1", i), i == 7 ? 90 : 64);
    setup_boxes[2] = new QLineEdit(info);
    setup_boxes[2]->setObjectName(name_of("Text1", 2));
    setup_boxes[2]->setAlignment(Qt::AlignRight);
    setup_boxes[2]->setFixedWidth(64);
    // Whole minutes up to a day, as the unit keeps its interval; 0 is asked about at the set-up.
    watch_typed_number(setup_boxes[2], TypedNumberKind::Whole, {0, logsetup::LONGEST_LOG_INTERVAL});
    for (auto& [i, box] : setup_boxes)
        connect(box, &QLineEdit::textChanged, this, [this, i = i] { Text1_Change(i); });
    UpDown1 = new logsetup::UpDown(info);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->set_buddy(setup_boxes[2]);
    UpDown1->set_range(0, logsetup::LONGEST_LOG_INTERVAL);
    UpDown1->set_increment(1);
    wrap_box = new QCheckBox(info);
    wrap_box->setObjectName(QStringLiteral("Check3"));
    connect(wrap_box, &QCheckBox::toggled, this, [this] { Check3_Click(); });

    caption(1, setup, 0);
    auto* interval = new QHBoxLayout;
    interval->setSpacing(1);
    interval->addWidget(setup_boxes[2]);
    interval->addWidget(UpDown1);
    interval->addSpacing(12);
    interval->addWidget(wrap_box);
    interval->addStretch(1);
    setup->addLayout(interval, 0, 1);
    caption(0, setup, 1);
    setup->addWidget(setup_boxes[0], 1, 1, Qt::AlignLeft);
    caption(2, setup, 2);
    Label1[6] = new QLabel(info);
    Label1[6]->setObjectName(name_of("Label1", 6));
    Label1[6]->hide();
    setup->addWidget(setup_boxes[1], 2, 1, Qt::AlignLeft);
    mask_words_caption_ = new QLabel(info);
    mask_words_caption_->setObjectName(QStringLiteral("lblMaskWords"));
    setup->addWidget(mask_words_caption_, 3, 0);
    auto* masks = new QHBoxLayout;
    for (int i : {3, 4, 5})
        masks->addWidget(setup_boxes[i]);
    masks->addStretch(1);
    setup->addLayout(masks, 3, 1);
    caption(7, setup, 4);
    setup->addWidget(setup_boxes[7], 4, 1, Qt::AlignLeft);
    // The days a wrapping log keeps, which come and go with the unit's log, on a line of their own
    // under the boxes, in the room up to the buttons: nothing moves under the user's mouse when
    // they come.
    setup->addWidget(Label1[6], 5, 0, 1, 3);
    setup->setRowStretch(6, 1);
    setup->setColumnStretch(2, 1);

    auto make_button = [this](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    get_unit_info_button = make_button("Command11");
    setup_unit_button = make_button("Command5");
    Command6 = make_button("Command6");
    get_log_data_button = make_button("Command8");
    Command3 = make_button("Command3");
    Command7 = make_button("Command7");
    simulate_log_button = make_button("Command10");
    simulate_log_button->hide();
    connect(get_unit_info_button, &QPushButton::clicked, this, [this] { get_unit_info(); });
    connect(setup_unit_button, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(get_log_data_button, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(simulate_log_button, &QPushButton::clicked, this, [this] { Command10_Click(); });
    for (QPushButton* b : {get_unit_info_button, setup_unit_button, Command6, get_log_data_button,
                           Command3, Command7, simulate_log_button})
        b->setEnabled(false);
    auto* setup_buttons = new QVBoxLayout;
    setup_buttons->setSpacing(6);
    setup_buttons->addWidget(get_unit_info_button);
    setup_buttons->addWidget(setup_unit_button);
    setup_buttons->addStretch(1);
    setup->addLayout(setup_buttons, 0, 3, 7, 1);

    auto* unit = new QGridLayout;
    unit->setVerticalSpacing(4);
    const int text4_widths[9] = {90, 64, 64, 64, 64, 110, 90, 64, 64};
    for (int i = 0; i < 9; ++i)
        unit_log_boxes[static_cast<size_t>(i)] =
            read_out(info, name_of("Text4", i), text4_widths[i]);
    for (int i = 0; i < 6; ++i) {
        auto* l = new QLabel(info);
        l->setObjectName(name_of("Label5", i));
        l->installEventFilter(this);
        Label5[static_cast<size_t>(i)] = l;
        unit->addWidget(l, i, 0);
    }
    for (int i = 0; i < 2; ++i) {
        // The unit's date in its own order, or its time: room for a longer date than any unit
        // gives from the start, so that nothing moves under the user's mouse when it comes.
        auto* l = new ReadOutLabel(info, QStringLiteral("Unit Date (DD/MM/YYYY) : 00/00/0000"));
        l->setObjectName(name_of("lblUnitInfo", i));
        unit_clock_labels[static_cast<size_t>(i)] = l;
    }
    // The unit's date and time beside the short boxes of the last rows rather than under them:
    // two rows more would keep the page from fitting a low laptop screen.
    auto row_of = [&](int row, std::initializer_list<int> boxes, QLabel* beside = nullptr) {
        auto* h = new QHBoxLayout;
        for (int b : boxes)
            h->addWidget(unit_log_boxes[static_cast<size_t>(b)]);
        if (beside) {
            h->addSpacing(12);
            h->addWidget(beside);
        }
        h->addStretch(1);
        unit->addLayout(h, row, 1);
    };
    row_of(0, {0});
    row_of(1, {1, 2, 3});
    row_of(2, {4, 5});
    row_of(3, {6});
    row_of(4, {8}, unit_clock_labels[0]);
    row_of(5, {7}, unit_clock_labels[1]);
    unit->setRowStretch(8, 1);
    unit->setColumnStretch(2, 1);
    auto* unit_buttons = new QVBoxLayout;
    unit_buttons->setSpacing(6);
    for (QPushButton* b : {Command6, get_log_data_button, Command3, Command7, simulate_log_button})
        unit_buttons->addWidget(b);
    unit_buttons->addStretch(1);
    unit->addLayout(unit_buttons, 0, 3, 9, 1);

    auto* rule = new QFrame(info);
    rule->setFrameShape(QFrame::VLine);
    rule->setFrameShadow(QFrame::Sunken);
    info_row->addLayout(setup, 1);
    info_row->addWidget(rule);
    info_row->addLayout(unit, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(channels, 1);
    auto* page = new QVBoxLayout(this);
    page->addLayout(top);
    page->addWidget(info);
}

QRadioButton* LogSetupPage::option(int index) const {
    const auto it = model_options.find(index);
    return it == model_options.end() ? nullptr : it->second;
}

QGroupBox* LogSetupPage::frame(int index) const {
    const auto it = channel_frames.find(index);
    return it == channel_frames.end() ? nullptr : it->second;
}

void LogSetupPage::set_page_texts() {
    for (auto& [i, f] : channel_frames)
        f->setTitle(frame_caption(i));
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c)
        channel_boxes[static_cast<size_t>(c)]->setText(channel_caption(c));
    if (shell().software_mode == 2) {
        channel_frames[2]->setTitle(ui_text(1269, QStringLiteral("Analogue")));
        channel_boxes[17]->setText(ui_text(1249, QStringLiteral("Output 1")));
        channel_boxes[21]->setText(ui_text(1270, QStringLiteral("Status")));
    }
    for (auto& [i, o] : model_options)
        o->setText(model_caption(i));
    for (int i = 0; i < 6; ++i)
        Label5[static_cast<size_t>(i)]->setText(unit_log_caption(i));
    mask_words_caption_->setText(unit_log_caption(1));
    lite_unit_box->setText(QStringLiteral("Velto Lite"));
    ma_input_box->setText(ui_text(1072, QStringLiteral("mA Input Available")));
    Label1[7]->setText(ui_text(1073, QStringLiteral("Start Date")));
    Label1[0]->setText(ui_text(1074, QStringLiteral("Bytes Per Log")));
    Label1[1]->setText(ui_text(1075, QStringLiteral("Log Interval (mins)")));
    Label1[2]->setText(ui_text(1076, QStringLiteral("Log Duration (days)")));
    Label1[6]->setText(wrap_line_caption());
    wrap_box->setText(ui_text(1077, QStringLiteral("Log Wrapping")));
    select_all_button->setText(ui_text(1078, QStringLiteral("Select All")));
    deselect_all_button->setText(ui_text(1079, QStringLiteral("De-Select All")));
    setup_unit_button->setText(ui_text(1080, QStringLiteral("Setup Unit")));
    get_unit_info_button->setText(ui_text(1230, QStringLiteral("Get Unit Info")));
    Command6->setText(ui_text(1088, QStringLiteral("Get Log Info from Unit")));
    get_log_data_button->setText(ui_text(1089, QStringLiteral("Get Log Data from Unit")));
    Command3->setText(ui_text(1090, QStringLiteral("Get Log Data from File")));
    Command7->setText(ui_text(1091, QStringLiteral("Clear Log Data in Unit")));
    simulate_log_button->setText(QStringLiteral("Simulate Log Data"));
    setup_boxes[7]->setToolTip(ui_text(1113, QStringLiteral("Start date of the loaded log")));
}

void LogSetupPage::apply_hesvarin_captions() {
    channel_frames[0]->setTitle(ui_text(1331, QStringLiteral("Hesvarin Channels")));
    channel_boxes[0]->setText(ui_text(1332, QStringLiteral("Level")));
    channel_boxes[1]->setText(ui_text(1333, QStringLiteral("Flow")));
    channel_boxes[2]->setText(ui_text(1334, QStringLiteral("Velocity")));
    channel_boxes[3]->setText(ui_text(1336, QStringLiteral("Temperature")));
    const QString input = ui_text(1340, QStringLiteral("Input"));
    const char* suffixes[4] = {" A", " B", " C", " D"};
    for (int i = 0; i < 4; ++i)
        channel_boxes[static_cast<size_t>(4 + i)]->setText(input + QLatin1String(suffixes[i]));
    channel_boxes[21]->setText(ui_text(1335, QStringLiteral("Alarms")));
    channel_frames[5]->setTitle(ui_text(1426, QStringLiteral("Totalisers")));
    channel_boxes[24]->setText(ui_text(1337, QStringLiteral("Total")));
    channel_boxes[25]->setText(ui_text(1338, QStringLiteral("Resettable Total")));
}

QString LogSetupPage::wrap_line_caption() const {
    return ui_text(1148, QStringLiteral("Latest log kept:")) + QLatin1Char(' ') +
           platform::format_number(log_setup().latest_log_days, QStringLiteral("###")) +
           QLatin1Char(' ') + ui_text(1149, QStringLiteral("days"));
}

// ---- Channel boxes and the record arithmetic ----

void LogSetupPage::recompute_selection() {
    auto& s = log_setup();
    logsetup::ChannelSet counted;
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c) {
        const QCheckBox* b = channel_boxes[static_cast<size_t>(c)];
        if (b->isChecked() && own_enabled(b))
            counted.set(static_cast<size_t>(c));
    }
    s.record_bytes = logsetup::record_size(counted, s.log_channel_table);
    setup_boxes[0]->setText(QString::number(s.record_bytes));
    const logsetup::MaskWords words = logsetup::mask_words(counted);
    setup_boxes[3]->setText(QString::number(words.word1));
    setup_boxes[4]->setText(QString::number(words.word2));
    setup_boxes[5]->setText(QString::number(words.word3));
    show_duration();
    Label1[6]->setText(wrap_line_caption());
}

void LogSetupPage::show_duration() {
    auto& s = log_setup();
    // Only for an interval the box takes: while it holds anything else (a fraction or a number
    // beyond its arrows being typed, a text in the other notation) no figure stands beside it
    // that belongs to another number, nor a wrapping log's days.
    const bool taken = logsetup::typed_log_interval(setup_boxes[2]->text()).has_value();
    s.log_duration =
        taken ? logsetup::log_duration_days(s.log_interval, s.duration_multiplier, s.record_bytes)
              : 0;
    s.latest_log_days = logsetup::latest_log_days(s.log_duration, wrap_box->isChecked());
    setup_boxes[1]->setText(taken ? duration_text(s.log_duration) : QString());
}

void LogSetupPage::Check1_Click(int /*index*/) {
    QCheckBox* stamp = channel_boxes[TIME_STAMP_CHANNEL];
    stamp->setEnabled(true);
    stamp->setChecked(true);
    recompute_selection();
}

void LogSetupPage::Check3_Click() {
    auto& s = log_setup();
    s.latest_log_days = logsetup::latest_log_days(s.log_duration, wrap_box->isChecked());
    Label1[6]->setVisible(s.latest_log_days > 0 && wrap_box->isChecked());
    Label1[6]->setText(wrap_line_caption());
}

void LogSetupPage::UpDown1_Change(double interval) {
    log_setup().log_interval = interval;
    show_duration();
}

void LogSetupPage::Text1_Change(int index) {
    if (index == 2) {
        // The interval is what the box takes; what it would refuse leaves the last one standing.
        if (const auto interval = logsetup::typed_log_interval(setup_boxes[2]->text()))
            UpDown1_Change(*interval);
        else
            show_duration();
    } else if (index == 1) {
        Check3_Click();
    }
}

void LogSetupPage::Command1_Click() {
    for (QCheckBox* b : channel_boxes)
        if (own_enabled(b) && own_visible(b))
            b->setChecked(true);
}

void LogSetupPage::deselect_all() {
    for (QCheckBox* b : channel_boxes)
        if (own_enabled(b))
            b->setChecked(false);
}

void LogSetupPage::getlogbytes() {
    auto& s = log_setup();
    update_log_setup();
    s.log_channel_table.enabled.fill(false);
    const logsetup::ChannelSet logged =
        logsetup::channels_from_masks(s.channel_mask_1, s.channel_mask_2, s.channel_mask_3);
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c)
        s.log_channel_table.enabled[static_cast<size_t>(c)] = logged.test(static_cast<size_t>(c));
    s.record_bytes = 0;
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c) {
        channel_boxes[static_cast<size_t>(c)]->setChecked(
            s.log_channel_table.enabled[static_cast<size_t>(c)]);
        Check1_Click(c);
    }
    setup_boxes[7]->setText(s.log_start_date_text);
    setup_boxes[2]->setText(platform::number_text(s.log_interval));
    wrap_box->setChecked(s.log_wrapping == 1.0);
}

// ---- Unit model ----

void LogSetupPage::Option1_Click(int index) {
    auto& s = log_setup();
    ModelCapabilityFlags& f = s.capabilities;
    f.second_point_option = f.second_output_option = f.analogue_input_option = false;
    f.digital_inputs_option = f.application_levels_option = false;
    f.totalisers_option = f.pumped_volume_option = false;
    s.unit_type = static_cast<int16_t>(index);

    deselect_all();
    channel_boxes[TIME_STAMP_CHANNEL]->setChecked(true);
    ma_input_box->setChecked(false);

    f.flow_option = f.flow_average_option = f.volume_option = false;
    f.negative_totalisers_option = false;
    s.dual_point_option = s.hesvarin_model = false;
    s.relay_count = 6;
    lite_unit_box->hide();
    link().radar_unit = link().quorvantix_unit = false;

    const QRadioButton* chosen = option(index);
    if (chosen && chosen->isChecked()) {
        const logsetup::ModelSelection sel = logsetup::model_selection(index, unit_identity());
        const bool ma = sel.ma_off ? false : f.ma_input_available;
        f = sel.capabilities;
        f.ma_input_available = ma;
        s.relay_count = sel.relay_count;
        s.dual_point_option = sel.dual_point_option;
        s.hesvarin_model = sel.hesvarin_model;
        link().radar_unit = sel.radar_unit;
        link().quorvantix_unit = sel.quorvantix_unit;
        if (sel.lite_box)
            lite_unit_box->show();
    }

    ma_input_box->setEnabled(f.analogue_input_option);
    if (!own_visible(lite_unit_box)) {
        link().lite_unit = false;
        lite_unit_box->setChecked(false);
    }
    update_log_setup();
}

void LogSetupPage::Check2_Click() {
    log_setup().capabilities.ma_input_available = ma_input_box->isChecked();
    update_log_setup();
}

void LogSetupPage::chkVeltoLite_Click() {
    auto& s = log_setup();
    link().lite_unit = lite_unit_box->isChecked();
    if (link().lite_unit == s.capabilities.second_point_option)
        update_log_setup();
}

bool LogSetupPage::select_model_option(int index) {
    QRadioButton* o = option(index);
    if (!o) {
        clear_model_options(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        Option1_Click(index);
        return false;
    }
    if (o->isChecked())
        Option1_Click(index);
    else
        o->setChecked(true);
    return true;
}

void LogSetupPage::clear_model_options(int first, int last) {
    QButtonGroup* group = model_options.begin()->second->group();
    group->setExclusive(false);
    for (auto& [i, o] : model_options)
        if (i >= first && i <= last)
            o->setChecked(false);
    group->setExclusive(true);
}

// ---- The offer on the page ----

void LogSetupPage::update_log_setup() {
    auto& s = log_setup();
    const bool lite_model = option(3)->isChecked() || option(8)->isChecked();
    const logsetup::ChannelOffer offer = logsetup::channel_offer(s, unit_identity(), lite_model);
    s.capabilities.second_point_option = offer.second_point_option;

    for (auto& [i, f] : channel_frames) {
        const auto idx = static_cast<size_t>(i);
        if (offer.frame_enabled[idx])
            f->setEnabled(*offer.frame_enabled[idx]);
        if (offer.frame_visible[idx])
            f->setVisible(*offer.frame_visible[idx]);
    }
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c) {
        QCheckBox* b = channel_boxes[static_cast<size_t>(c)];
        b->setEnabled(offer.box_enabled[static_cast<size_t>(c)]);
        b->setVisible(offer.box_visible[static_cast<size_t>(c)]);
    }
    // The model lock of a CSO unit ends with that unit; otherwise the models it locked could not
    // be chosen again for the rest of the run.
    if (!link().cso_unit)
        for (auto& [i, o] : model_options)
            o->setEnabled(true);
    if (offer.hesvarin_captions)
        apply_hesvarin_captions();
    else
        set_page_texts();
    apply_withdrawals();
    // Boxes the new offer took away may still be ticked; the figures must only count what the
    // unit will be told to log.
    recompute_selection();
}

void LogSetupPage::disable_controls_for_cso() {
    const auto& s = log_setup();
    if (!link().cso_unit) {
        // Nothing to lock: unlocking every box would offer channels the model cannot log.
        update_log_setup();
        return;
    }
    const bool unlocked = false;
    auto lock = [&](int first, int last) {
        for (int c = first; c <= last; ++c)
            channel_boxes[static_cast<size_t>(c)]->setEnabled(unlocked);
    };
    lock(8, 16);
    lock(18, 18);
    lock(20, 20);
    lock(44, 44);
    lock(22, 30);
    lock(32, 44);
    for (auto& [i, o] : model_options)
        if ((i >= 1 && i <= 13) || i == 16 || i == 17)
            o->setEnabled(unlocked);
    ma_input_box->setEnabled(unlocked);
    for (int i : {1, 4, 5, 6, 7, 9, 10})
        channel_frames[i]->setEnabled(unlocked);
    channel_boxes[28]->hide();
    const ModelCapabilityFlags& f = s.capabilities;
    channel_frames[6]->setEnabled(f.volume_option);
    channel_boxes[27]->setEnabled(f.volume_option);
    channel_frames[7]->setEnabled(f.flow_average_option || f.flow_option);
    channel_boxes[29]->setEnabled(f.flow_option);
    channel_boxes[30]->setEnabled(f.flow_average_option);
    channel_boxes[32]->hide();
    channel_boxes[33]->hide();
    recompute_selection();
}

void LogSetupPage::withdraw_for_cso_screen(const std::set<int>& boxes,
                                           const std::set<int>& frames) {
    for (int c : boxes)
        if (c >= 0 && c < LOG_CHANNEL_COUNT && c != TIME_STAMP_CHANNEL)
            withdrawn_boxes_.insert(c);
    for (int i : frames)
        if (frame(i))
            withdrawn_frames_.insert(i);
    apply_withdrawals();
    recompute_selection();
}

void LogSetupPage::apply_withdrawals() {
    for (int c : withdrawn_boxes_) {
        QCheckBox* b = channel_boxes[static_cast<size_t>(c)];
        b->setChecked(false);
        b->setEnabled(false);
        b->hide();
    }
    for (int i : withdrawn_frames_)
        channel_frames[i]->hide();
}

// ---- Buttons whose work lives elsewhere ----

void LogSetupPage::set_action(LogSetupAction action, std::function<void()> work) {
    const bool available = static_cast<bool>(work);
    actions_[action] = std::move(work);
    action_button(action)->setEnabled(available);
}

bool LogSetupPage::has_action(LogSetupAction action) const {
    const auto it = actions_.find(action);
    return it != actions_.end() && static_cast<bool>(it->second);
}

QPushButton* LogSetupPage::action_button(LogSetupAction action) const {
    switch (action) {
    case LogSetupAction::GetUnitInfo:
        return get_unit_info_button;
    case LogSetupAction::SetupUnit:
        return setup_unit_button;
    case LogSetupAction::GetLogInfo: return Command6;
    case LogSetupAction::GetLogData:
        return get_log_data_button;
    case LogSetupAction::GetLogDataFromFile: return Command3;
    case LogSetupAction::ClearLog: return Command7;
    case LogSetupAction::SimulateLog:
        return simulate_log_button;
    }
    return nullptr;
}

void LogSetupPage::run_action(LogSetupAction action) {
    const auto it = actions_.find(action);
    if (it == actions_.end() || !it->second) {
        qWarning("log set-up: %s pressed, but its action is not available",
                 qPrintable(action_button(action)->objectName()));
        return;
    }
    // Waits let clicks through: a second click on a button whose work is still talking to the
    // unit would start a second log-on in the middle of the first.
    // The log download is the exception: while it runs, its button is the abort.
    const bool outermost = running_actions_.insert(action).second;
    if (!outermost && action != LogSetupAction::GetLogData)
        return;
    const auto release = qScopeGuard([&] {
        if (outermost)
            running_actions_.erase(action);
    });
    // Copied: the work may replace its own action while it runs.
    const std::function<void()> work = it->second;
    work();
}

void LogSetupPage::Command3_Click() {
    run_action(LogSetupAction::GetLogDataFromFile);
}
void LogSetupPage::Command5_Click() {
    run_action(LogSetupAction::SetupUnit);
}
void LogSetupPage::Command6_Click() {
    run_action(LogSetupAction::GetLogInfo);
}
void LogSetupPage::Command7_Click() {
    run_action(LogSetupAction::ClearLog);
}
void LogSetupPage::Command8_Click() {
    run_action(LogSetupAction::GetLogData);
}
void LogSetupPage::Command10_Click() {
    run_action(LogSetupAction::SimulateLog);
}
void LogSetupPage::get_unit_info() {
    run_action(LogSetupAction::GetUnitInfo);
}

bool LogSetupPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < 6; ++i) {
            if (watched == Label5[static_cast<size_t>(i)]) {
                if (send_manual_link_command)
                    send_manual_link_command(i);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
