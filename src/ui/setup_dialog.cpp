#include "ui/setup_dialog.h"

#include "link/port_window.h"
#include "logging/chart_units.h"
#include "logging/log_setup_state.h"
#include "platform/box_leaving.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/language_file.h"
#include "shell/list_control.h"
#include "shell/number_box.h"
#include "shell/option_lists.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

const QStringList BAUD_RATES = {QStringLiteral("300"),   QStringLiteral("600"),
                                QStringLiteral("1200"),  QStringLiteral("2400"),
                                QStringLiteral("4800"),  QStringLiteral("9600"),
                                QStringLiteral("19200"), QStringLiteral("38400"),
                                QStringLiteral("57600"), QStringLiteral("115200")};
constexpr int PORT_COUNT = 255;
const QString EXPAND = QString(QChar(187));
const QString COLLAPSE = QString(QChar(171));

QPointer<SetupDialog>& instance() {
    static QPointer<SetupDialog> w;
    return w;
}

void set_index(QObject* o, int i) {
    o->setProperty(CONTROL_INDEX_PROPERTY, i);
}

} // namespace

SetupDialog::SetupDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    run_modal = [](QDialog& d) { d.exec(); };

    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    // Communications
    Frame1 = new QGroupBox(this);
    named(Frame1, "Frame1");
    Combo1 = new QComboBox(Frame1);
    named(Combo1, "Combo1");
    Combo1->setMaxVisibleItems(16);
    Combo2 = new QComboBox(Frame1);
    named(Combo2, "Combo2");
    Command1 = new QPushButton(Frame1);
    named(Command1, "Command1");
    Command1->setAutoDefault(false);
    Text1 = new QLineEdit(Frame1);
    named(Text1, "Text1");
    Label1 = new QLabel(Frame1);
    named(Label1, "Label1");
    port_caption = new QLabel(Frame1);
    baud_caption = new QLabel(Frame1);
    auto* comms = new QGridLayout(Frame1);
    comms->addWidget(port_caption, 0, 0);
    auto* port_row = new QHBoxLayout;
    port_row->addWidget(Combo1, 1);
    port_row->addWidget(Command1);
    comms->addLayout(port_row, 0, 1);
    comms->addWidget(baud_caption, 1, 0);
    comms->addWidget(Combo2, 1, 1);
    comms->addWidget(Label1, 2, 0);
    comms->addWidget(Text1, 2, 1);
    comms->setColumnStretch(1, 1);
    port_caption->setBuddy(Combo1);
    baud_caption->setBuddy(Combo2);
    Label1->setBuddy(Text1);

    // Language
    Frame3 = new QGroupBox(this);
    named(Frame3, "Frame3");
    auto* lang = new QVBoxLayout(Frame3);
    for (int i = 0; i < 5; ++i) {
        auto* o = new QRadioButton(Frame3);
        named(o, "Option2");
        set_index(o, i);
        Option2[static_cast<size_t>(i)] = o;
        lang->addWidget(o);
        connect(o, &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                Option2_Click(i);
        });
    }
    lang->addStretch(1);

    // Status windows
    Frame2 = new QGroupBox(this);
    named(Frame2, "Frame2");
    auto* status = new QVBoxLayout(Frame2);
    for (int i = 0; i < 3; ++i) {
        auto* c = new QCheckBox(Frame2);
        named(c, "Check1");
        set_index(c, i);
        Check1[static_cast<size_t>(i)] = c;
        status->addWidget(c);
        connect(c, &QCheckBox::toggled, this, [this, i] { Check1_Click(i); });
    }
    status->addStretch(1);

    // Display units
    Frame4 = new QGroupBox(this);
    named(Frame4, "Frame4");
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(Frame4);
        c->setObjectName(QLatin1String(name));
        c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        return c;
    };
    CboMeasure = combo("CboMeasure");
    CboFlow[0] = combo("CboFlow");
    set_index(CboFlow[0], 0);
    CboFlow[1] = combo("CboFlow");
    set_index(CboFlow[1], 1);
    CboVolume = combo("CboVolume");
    CboTotaliser = combo("CboTotaliser");
    CboTotaliserMultiplier = combo("CboTotaliserMultiplier");
    txtLevelOffset = new QLineEdit(Frame4);
    named(txtLevelOffset, "txtLevelOffset");
    txtLevelOffset->setFixedWidth(80);
    txtLevelOffset->setAlignment(Qt::AlignRight);
    txtLevelOffset->installEventFilter(this);
    lblOffsetUnits = new QLabel(Frame4);
    named(lblOffsetUnits, "lblOffsetUnits");
    Label4 = new QLabel(Frame4);
    named(Label4, "Label4");
    Label4->setBuddy(txtLevelOffset);
    cmdExpand = new QPushButton(EXPAND, Frame4);
    named(cmdExpand, "cmdExpand");
    cmdExpand->setFixedWidth(32);
    cmdExpand->setAutoDefault(false);

    auto* distance_caption = new QLabel(Frame4);
    distance_caption->setObjectName(QStringLiteral("lblDistance"));
    auto* units = new QGridLayout(Frame4);
    units->addWidget(distance_caption, 0, 0);
    units->addWidget(CboMeasure, 0, 1, Qt::AlignLeft);
    units->addWidget(Label4, 1, 0);
    auto* offset = new QHBoxLayout;
    offset->addWidget(txtLevelOffset);
    offset->addWidget(lblOffsetUnits);
    offset->addStretch(1);
    offset->addWidget(cmdExpand);
    units->addLayout(offset, 1, 1);

    lower_units_ = new QWidget(Frame4);
    lower_units_->setObjectName(QStringLiteral("lower_units"));
    auto* lower = new QGridLayout(lower_units_);
    lower->setContentsMargins(0, 0, 0, 0);
    auto caption = [&](const char* name, int row) {
        auto* l = new QLabel(lower_units_);
        l->setObjectName(QLatin1String(name));
        lower->addWidget(l, row, 0);
        return l;
    };
    caption("lblFlow", 0);
    auto* flow = new QHBoxLayout;
    flow->addWidget(CboFlow[0]);
    auto* per = new QLabel(lower_units_);
    per->setObjectName(QStringLiteral("lblPer"));
    flow->addWidget(per);
    flow->addWidget(CboFlow[1]);
    flow->addStretch(1);
    lower->addLayout(flow, 0, 1);
    caption("lblVolume", 1);
    lower->addWidget(CboVolume, 1, 1, Qt::AlignLeft);
    caption("lblTotaliser", 2);
    auto* total = new QHBoxLayout;
    total->addWidget(CboTotaliser);
    total->addWidget(CboTotaliserMultiplier);
    total->addStretch(1);
    lower->addLayout(total, 2, 1);
    lower->setColumnStretch(1, 1);
    units->addWidget(lower_units_, 2, 0, 1, 2);
    units->setColumnStretch(1, 1);
    lower_units_->hide();

    ProgressBar1 = new QProgressBar(this);
    named(ProgressBar1, "ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(12);
    scrlabel8 = new QLabel(this);
    scrlabel8->setObjectName(QStringLiteral("scrlabel8"));
    Command3 = new QPushButton(this);
    named(Command3, "Command3");
    Command2 = new QPushButton(this);
    named(Command2, "Command2");
    Command3->setDefault(true);

    auto* middle = new QHBoxLayout;
    middle->addWidget(Frame3, 1);
    middle->addWidget(Frame2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command3);
    buttons->addWidget(Command2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    layout->addLayout(middle);
    layout->addWidget(Frame4);
    layout->addStretch(1);
    layout->addWidget(scrlabel8);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    scrlabel8->hide();
    ProgressBar1->hide();

    connect(Combo1, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { Combo1_Click(); });
    connect(Combo2, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { Combo2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(CboMeasure, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { CboMeasure_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(CboFlow[static_cast<size_t>(i)], qOverload<int>(&QComboBox::currentIndexChanged),
                this, [this, i] { CboFlow_Click(i); });
    connect(CboVolume, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { CboVolume_Click(); });
    connect(CboTotaliserMultiplier, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { CboTotaliserMultiplier_Click(); });
    connect(CboTotaliser, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this] { CboTotaliser_Click(); });
    connect(txtLevelOffset, &QLineEdit::textChanged, this, [this] { txtLevelOffset_Change(); });
    platform::judge_on_leaving(txtLevelOffset, this, [this] { return txtLevelOffset_Finished(); });
    connect(cmdExpand, &QPushButton::clicked, this, [this] { cmdExpand_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

SetupDialog::~SetupDialog() {
    set_label_progress_bar({});
}

void SetupDialog::Form_Load() {
    loaded_ = true;
    set_label_progress_bar([this]() -> QProgressBar* { return ProgressBar1; });
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
}

void SetupDialog::fill_setup_lists() {
    const ShellState& s = shell();
    QStringList ports;
    for (int i = 1; i <= PORT_COUNT; ++i)
        ports << QStringLiteral("COM%1").arg(i);
    fill_list_control(*Combo1, ports, QStringLiteral("COM%1").arg(s.com_port), 0);
    fill_list_control(*Combo2, BAUD_RATES, platform::number_text(s.link_baud_rate).trimmed(), 0);
    const ChartUnitSettings& u = log_setup().chart_units;
    auto fill = [](QComboBox* c, const QStringList& names, int index) {
        fill_list_control(*c, names, names.value(index), 0);
    };
    fill(CboMeasure, s.distance_unit_names, u.distance_unit_index);
    fill(CboFlow[0], s.volume_unit_names, u.flow_volume_unit_index);
    fill(CboFlow[1], s.time_unit_names, u.flow_time_unit_index);
    fill(CboVolume, s.quantity_unit_names, u.volume_unit_index);
    fill(CboTotaliserMultiplier, s.totaliser_multiplier_names, u.totaliser_multiplier_index);
    // Read now: the flow unit's handler above has just set it.
    fill(CboTotaliser, s.volume_unit_names, log_setup().chart_units.totaliser_unit_index);
}

void SetupDialog::Form_Activate() {
    fill_setup_lists();
    ShellState& s = shell();
    const QString& ini = s.ini_path;
    s.language_index = static_cast<int16_t>(
        platform::val(read_ini(ini, ini::SECTION_GENERAL, ini::KEY_LANGUAGE, ini::DEF_LANGUAGE)));
    s.start_logo = static_cast<int16_t>(platform::val(
        read_ini(ini, ini::SECTION_GENERAL, ini::KEY_START_LOGO, ini::DEF_START_LOGO)));
    s.telephone_number =
        read_ini(ini, ini::SECTION_GENERAL, ini::KEY_TELEPHONE, ini::DEF_TELEPHONE);
    Text1->setText(s.telephone_number);
    if (s.language_index >= 0 && s.language_index < 5)
        Option2[static_cast<size_t>(s.language_index)]->setChecked(true);
    ProgressBar1->hide();
    scrlabel8->hide();
    Check1[0]->setChecked(s.show_temperature_overlay);
    Check1[1]->setChecked(s.show_level_overlay);
    Check1[2]->setChecked(s.show_status_overlay);

    setWindowTitle(ui_text(1382, QStringLiteral("Setup")));
    Frame1->setTitle(ui_text(1101, QStringLiteral("Communications")));
    Label1->setText(ui_text(1380, QStringLiteral("Telephone No.")));
    Frame3->setTitle(ui_text(1107, QStringLiteral("Language")));
    Frame4->setTitle(ui_text(1097, QStringLiteral("Display Options")));
    Label4->setText(ui_text(1465, QStringLiteral("Level Offset")));
    const int language_texts[5] = {1108, 1109, 1110, 1381, 1466};
    const char* language_names[5] = {"English", "German", "French", "Italian", "Spanish"};
    for (int i = 0; i < 5; ++i)
        Option2[static_cast<size_t>(i)]->setText(
            ui_text(language_texts[i], QLatin1String(language_names[i])));
    Frame2->setTitle(ui_text(2512, QStringLiteral("Status Windows")));
    Check1[0]->setText(ui_text(1177, QStringLiteral("Temperature")));
    Check1[1]->setText(ui_text(1172, QStringLiteral("Level")));
    Check1[2]->setText(ui_text(1170, QStringLiteral("Status")));
    port_caption->setText(ui_text(2515, QStringLiteral("&Port")));
    baud_caption->setText(ui_text(2516, QStringLiteral("Logger &baud rate")));
    Command1->setText(ui_text(2517, QStringLiteral("&Find...")));
    Command1->setToolTip(ui_text(2519, QStringLiteral("Shows the serial ports of this computer")));
    findChild<QLabel*>(QStringLiteral("lblDistance"))
        ->setText(ui_text(1171, QStringLiteral("Distance")));
    findChild<QLabel*>(QStringLiteral("lblFlow"))->setText(ui_text(1057, QStringLiteral("Flow")));
    findChild<QLabel*>(QStringLiteral("lblPer"))->setText(ui_text(2518, QStringLiteral("per")));
    findChild<QLabel*>(QStringLiteral("lblVolume"))
        ->setText(ui_text(1055, QStringLiteral("Volume")));
    findChild<QLabel*>(QStringLiteral("lblTotaliser"))
        ->setText(ui_text(1215, QStringLiteral("Totaliser")));
    Command3->setText(ui_text(2513, QStringLiteral("&Update && Exit")));
    Command2->setText(ui_text(2514, QStringLiteral("E&xit")));
    cmdExpand->setToolTip(ui_text(2520, QStringLiteral("More units")));

    // The CSO set-up has no log chart to give units to.
    Frame4->setVisible(s.operation_mode != 1);
    set_expanded(false);

    LogSetupState& L = log_setup();
    L.setup_start_distance_unit = L.chart_units.distance_unit_index;
    txtLevelOffset->setText(platform::number_text(L.chart_units.level_offset).trimmed());
    L.setup_start_level_offset = L.chart_units.level_offset;
    lblOffsetUnits->setText(CboMeasure->currentText());
    opening_chart_line = logsetup::chart_settings_trailer(L.chart_units);
    Command2->setEnabled(true);
    Command3->setEnabled(true);
    adjustSize();
}

void SetupDialog::prepare_for_access_level(int access_level) {
    Frame3->setVisible(access_level == 1 || access_level == 2);
}

void SetupDialog::Combo1_Click() {
    if (Combo1->currentIndex() < 0)
        return;
    ShellState& s = shell();
    s.com_port = static_cast<int16_t>(Combo1->currentIndex() + 1);
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_PORT, QString::number(s.com_port));
}

void SetupDialog::Combo2_Click() {
    if (Combo2->currentIndex() < 0)
        return;
    ShellState& s = shell();
    s.link_baud_rate = static_cast<int32_t>(platform::val(Combo2->currentText()));
    s.comm_settings = platform::number_text(s.link_baud_rate).trimmed() + QStringLiteral(",N,8,1");
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_QUILLARN_BAUDRATE,
              platform::number_text(s.link_baud_rate));
}

void SetupDialog::Command1_Click() {
    ShellState& s = shell();
    selected_port = 0;
    // Only a port chosen in the window counts: a number left from an earlier search must not
    // move the port.
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_SELECTED_PORT, QStringLiteral("0"));
    PortWindow& w = port_window();
    run_modal(w);
    if (PortWindow* open = port_window_if_open())
        open->done(QDialog::Accepted);
    selected_port = static_cast<int16_t>(platform::val(read_ini(
        s.ini_path, ini::SECTION_GENERAL, ini::KEY_SELECTED_PORT, ini::DEF_SELECTED_PORT)));
    if (selected_port > 0 && selected_port <= PORT_COUNT) {
        s.com_port = selected_port;
        Combo1->setCurrentIndex(s.com_port - 1);
    }
}

void SetupDialog::Text1_Change() {
    ShellState& s = shell();
    s.telephone_number = Text1->text().trimmed();
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_TELEPHONE, s.telephone_number);
}

void SetupDialog::Option2_Click(int index) {
    ShellState& s = shell();
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_LANGUAGE, QString::number(index));
    s.language_index = static_cast<int16_t>(index);
}

void SetupDialog::Check1_Click(int index) {
    ShellState& s = shell();
    const bool on = Check1[static_cast<size_t>(index)]->isChecked();
    const QLatin1String keys[3] = {ini::KEY_TEMPERATURE, ini::KEY_LEVEL, ini::KEY_STATUS};
    bool* flags[3] = {&s.show_temperature_overlay, &s.show_level_overlay, &s.show_status_overlay};
    *flags[index] = on;
    write_ini(s.ini_path, ini::SECTION_ECHO_CONTROL, keys[index], platform::bool_text(on));
}

void SetupDialog::CboMeasure_Click() {
    if (CboMeasure->currentIndex() < 0)
        return;
    LogSetupState& L = log_setup();
    const int old = L.chart_units.distance_unit_index;
    L.chart_units.distance_unit_index = static_cast<int16_t>(CboMeasure->currentIndex());
    const double f = length_unit_factor(old + 1, L.chart_units.distance_unit_index + 1);
    txtLevelOffset->setText(platform::number_text(L.chart_units.level_offset * f));
    L.setup_start_level_offset *= f;
    lblOffsetUnits->setText(CboMeasure->currentText());
}

void SetupDialog::CboFlow_Click(int index) {
    const int i = CboFlow[static_cast<size_t>(index)]->currentIndex();
    if (i < 0)
        return;
    ChartUnitSettings& u = log_setup().chart_units;
    if (index == 0) {
        u.flow_volume_unit_index = static_cast<int16_t>(i);
        u.totaliser_unit_index = static_cast<int16_t>(i);
    } else {
        u.flow_time_unit_index = static_cast<int16_t>(i);
    }
}

void SetupDialog::CboVolume_Click() {
    if (CboVolume->currentIndex() >= 0)
        log_setup().chart_units.volume_unit_index = static_cast<int16_t>(CboVolume->currentIndex());
}

void SetupDialog::CboTotaliserMultiplier_Click() {
    if (CboTotaliserMultiplier->currentIndex() >= 0)
        log_setup().chart_units.totaliser_multiplier_index =
            static_cast<int16_t>(CboTotaliserMultiplier->currentIndex());
}

void SetupDialog::CboTotaliser_Click() {
    if (CboTotaliser->currentIndex() >= 0)
        log_setup().chart_units.totaliser_unit_index =
            static_cast<int16_t>(CboTotaliser->currentIndex());
}

void SetupDialog::txtLevelOffset_Change() {
    // Read as the locale writes numbers: "1,5" in German is 1.5, not 1. What is no number yet
    // ("-" on the way to "-2") changes nothing; a cleared box is no offset.
    const QString text = txtLevelOffset->text();
    const auto typed = platform::typed_number(text);
    // What a refusal puts back: the text before the user typed, or for a text the program set
    // that is no number, the offset stored until then.
    if (!txtLevelOffset->isModified())
        offset_shown_ = typed || text.trimmed().isEmpty()
                            ? text
                            : platform::number_text(log_setup().chart_units.level_offset);
    if (text.trimmed().isEmpty())
        log_setup().chart_units.level_offset = 0;
    else if (typed)
        log_setup().chart_units.level_offset = *typed;
}

bool SetupDialog::txtLevelOffset_Finished() {
    const QString typed = txtLevelOffset->text();
    txtLevelOffset->setModified(false);
    if (typed.trimmed().isEmpty() || platform::typed_number(typed)) {
        offset_shown_ = typed;
        return true;
    }
    // The offset followed the typing ("0" of "0.35"): the text put back sets it back.
    refuse_typed_number(txtLevelOffset, offset_shown_);
    return false;
}

bool SetupDialog::txtLevelOffset_KeyPress(QChar key) {
    // Letters stay out, but no key of a number in any notation: the other decimal mark or a
    // grouping mark dropped here would make another number of what the user typed ("0,35" read
    // as 35); it reaches the reading of typed numbers, which refuses it with its message.
    return key == QChar(8) || platform::belongs_to_a_number(key.unicode());
}

bool SetupDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtLevelOffset && event->type() == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(event);
        const QString text = k->text();
        // Editing and moving keys carry no text (or a control character) and always pass.
        if (text.size() == 1 && text[0].isPrint() && !txtLevelOffset_KeyPress(text[0]))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SetupDialog::set_expanded(bool expanded) {
    expanded_ = expanded;
    lower_units_->setVisible(expanded);
    cmdExpand->setText(expanded ? COLLAPSE : EXPAND);
    adjustSize();
}

void SetupDialog::cmdExpand_Click() {
    set_expanded(!expanded_);
}

void SetupDialog::Command2_Click() {
    reject();
}

void SetupDialog::Command3_Click() {
    Command2->setEnabled(false);
    Command3->setEnabled(false);
    int controls = static_cast<int>(findChildren<QWidget*>().size());
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == QLatin1String("Form1"))
            controls += static_cast<int>(top->findChildren<QWidget*>().size());
    ProgressBar1->setRange(0, std::max(1, controls));
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    scrlabel8->setText(ui_text(1106, QStringLiteral("Updating language library")));
    scrlabel8->show();
    repaint();
    load_language_file();
    if (reload_main_window_texts)
        reload_main_window_texts();
    Command2->setEnabled(true);
    if (shell().software_mode != 1)
        apply_chart_unit_changes(opening_chart_line);
    ProgressBar1->hide();
    scrlabel8->hide();
    Command3->setEnabled(true);
    accept();
}

SetupDialog& setup_dialog() {
    if (!instance()) {
        instance() = new SetupDialog();
        instance()->Form_Load();
    }
    return *instance();
}

void install_setup_dialog(MainWindowServices& services, std::function<void()> reload_texts) {
    services.setup_dialog = [] { return static_cast<QWidget*>(&setup_dialog()); };
    services.show_setup_dialog = [&services, reload_texts] {
        SetupDialog& d = setup_dialog();
        d.reload_main_window_texts = reload_texts;
        if (services.run_modal)
            d.run_modal = services.run_modal;
        d.prepare_for_access_level(shell().access_level);
        d.Form_Activate();
        if (services.run_modal)
            services.run_modal(d);
        else
            d.exec();
    };
}
