#include "link/debug_terminal.h"

#include "link/command_link.h"
#include "link/link_commands.h"
#include "link/link_state.h"
#include "link/terminal_keys.h"
#include "link/traffic_box.h"
#include "link/traffic_log.h"
#include "platform/dialogs.h"
#include "platform/port_table.h"
#include "platform/serial_port.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QTimer>
#include <QVBoxLayout>

namespace lc = link_commands;

namespace {
QPointer<DebugTerminalWindow>& instance() {
    static QPointer<DebugTerminalWindow> w;
    return w;
}

QFont terminal_font() {
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    if (!QFontInfo(f).fixedPitch())
        f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSize(10);
    return f;
}
} // namespace

DebugTerminalWindow::DebugTerminalWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmDebug"));
    setWindowTitle(QStringLiteral("Debug Terminal Window"));
    resize(760, 480);

    auto make_button = [this](const char* name, const QString& caption, const QString& tip) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::TabFocus);
        return b;
    };
    Command1 = make_button("Command1", QStringLiteral("&Log On"),
                           ui_text(2112, QStringLiteral("Sends the access command")));
    Command2 = make_button("Command2", QStringLiteral("&who?"),
                           ui_text(2113, QStringLiteral("Sends /who")));
    Command3 = make_button(
        "Command3", QStringLiteral("&Com talk"),
        ui_text(2114,
                QStringLiteral("Sends /P141:1: the unit's port goes to its communication board")));
    Command4 = make_button("Command4", QStringLiteral("Log &Info"),
                           ui_text(2115, QStringLiteral("Sends /loginfo")));
    cmdClose = make_button("cmdClose", QStringLiteral("Close &Window"), QString());
    for (QPushButton* b : {Command1, Command2, Command3, Command4})
        b->setMinimumWidth(96);

    txtTerminal = new TrafficBox(this);
    txtTerminal->setObjectName(QStringLiteral("txtTerminal"));
    txtTerminal->setFont(terminal_font());
    txtTerminal->setStyleSheet(QStringLiteral(
        "QPlainTextEdit { background: #111417; color: #FFFFFF; border: 1px solid #2b3036;"
        " selection-background-color: #3d6fa5; padding: 4px; }"));
    txtTerminal->setPlaceholderText(
        ui_text(2109, QStringLiteral("Traffic on the instrument port appears here. "
                                     "Click here and type to send keys to the unit.")));

    port_line_ = new QLabel(this);
    port_line_->setObjectName(QStringLiteral("port_line"));
    port_line_->setTextFormat(Qt::PlainText); // a device path as the settings file maps it
    port_line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    port_line_->setToolTip(ui_text(
        2116, QStringLiteral("Port number - device - settings and state of the instrument port")));

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(6);
    auto* send_label = new QLabel(ui_text(2107, QStringLiteral("Send:")), this);
    buttons->addWidget(send_label);
    for (QPushButton* b : {Command1, Command2, Command3, Command4})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* hint = new QLabel(
        ui_text(2108, QStringLiteral("Keys typed in the terminal go to the unit as they are")),
        this);
    hint->setEnabled(false);
    buttons->addWidget(hint);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(port_line_, 1);
    bottom->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);
    layout->addLayout(buttons);
    layout->addWidget(txtTerminal, 1);
    layout->addLayout(bottom);

    connect(Command1, &QPushButton::clicked, this, &DebugTerminalWindow::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &DebugTerminalWindow::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &DebugTerminalWindow::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &DebugTerminalWindow::Command4_Click);
    connect(cmdClose, &QPushButton::clicked, this, &DebugTerminalWindow::cmdClose_Click);
    connect(txtTerminal, &TrafficBox::key_typed, this, &DebugTerminalWindow::txtTerminal_KeyPress);

    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, &DebugTerminalWindow::update_port_line);
    refresh->start(1000);
    setTabOrder(txtTerminal, Command1);
}

DebugTerminalWindow::~DebugTerminalWindow() {
    Form_Unload();
}

void DebugTerminalWindow::Form_Load() {
    unloaded_ = false;
    traffic().debug().clear();
    txtTerminal->bind(&traffic().debug());
    link().debug_window_open = true;
    update_port_line();
}

void DebugTerminalWindow::Form_Unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    link().debug_window_open = false;
    txtTerminal->bind(nullptr);
    traffic().debug().clear();
}

void DebugTerminalWindow::update_port_line() {
    const platform::SerialPort& port = MSComm1();
    const int number = port.port_open() ? port.comm_port() : shell().com_port;
    QString path = port.port_open() ? port.device_path() : platform::port_device_path(number);
    if (path.isEmpty())
        path = ui_text(2100, QStringLiteral("not mapped"));
    port_line_->setText(
        platform::port_name(number) + QStringLiteral("   ") + path + QStringLiteral("   ") +
        (port.port_open()
             ? port.settings() + QStringLiteral("   ") + ui_text(2110, QStringLiteral("open"))
             : ui_text(2111, QStringLiteral("closed"))));
}

// The main window's port is opened with its settings when it is closed, then the link's settle
// pause. False (after telling the user) when it cannot be opened.
bool DebugTerminalWindow::prepare_port() {
    platform::SerialPort& port = MSComm1();
    if (!port.port_open()) {
        if (!shell().ini_path.isEmpty())
            platform::port_table_config().map_file = shell().ini_path;
        port.set_comm_port(shell().com_port);
        port.set_settings(shell().comm_settings);
        const platform::CommError error = port.set_port_open(true);
        update_port_line();
        if (error != platform::CommError::None) {
            platform::msg_box(port.last_error_text(), platform::mb::Critical,
                              QStringLiteral("Error ") + QString::number(static_cast<int>(error)));
            return false;
        }
        port.set_rthreshold(1);
        port.set_input_len(0);
    }
    settle_pause();
    return true;
}

void DebugTerminalWindow::send_button_command(const QString& cmd) {
    // While a command waits (its resends, answers the unit still owes) the buttons are held, so
    // that a press is never swallowed by the wait; they come back however the command ended.
    const QPointer<DebugTerminalWindow> self(this);
    QPushButton* const keys[] = {Command1, Command2, Command3, Command4};
    for (QPushButton* k : keys)
        k->setEnabled(false);
    const auto done = qScopeGuard([&] {
        if (!self)
            return;
        for (QPushButton* k : keys)
            k->setEnabled(true);
        update_port_line();
    });
    if (prepare_port())
        send_command(cmd, QString());
}

void DebugTerminalWindow::Command1_Click() {
    send_button_command(lc::ACCESS + lc::ACCESS_CODE);
}
void DebugTerminalWindow::Command2_Click() {
    send_button_command(lc::WHO);
}
void DebugTerminalWindow::Command3_Click() {
    send_button_command(lc::BOARD_ROUTE_UPPER);
}
void DebugTerminalWindow::Command4_Click() {
    send_button_command(lc::LOGINFO_LOWER);
}

void DebugTerminalWindow::cmdClose_Click() {
    close();
}

void DebugTerminalWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        cmdClose->click();
    else
        QWidget::keyPressEvent(event);
}

void DebugTerminalWindow::txtTerminal_KeyPress(char code) {
    typed_keys_.push_back(code);
    // A key typed during an earlier key's settle pause arrives here nested inside that pause; the
    // loop below, still running, sends it in its turn.
    if (sending_keys_)
        return;
    sending_keys_ = true;
    const QPointer<DebugTerminalWindow> self(this);
    const auto done = qScopeGuard([self] {
        if (self)
            self->sending_keys_ = false;
    });
    while (!typed_keys_.empty()) {
        if (!prepare_port() || !self) {
            // The user has seen why; the keys typed behind the failed one go with it.
            if (self)
                typed_keys_.clear();
            return;
        }
        const char key = typed_keys_.front();
        typed_keys_.pop_front();
        const platform::CommError error = MSComm1().output(QByteArray(1, key));
        if (error != platform::CommError::None) {
            typed_keys_.clear();
            platform::msg_box(MSComm1().last_error_text(), platform::mb::Critical,
                              QStringLiteral("Error ") + QString::number(static_cast<int>(error)));
            return;
        }
        traffic().debug().append(terminal_key_echo(key), true);
    }
}

void DebugTerminalWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    deleteLater();
}

DebugTerminalWindow& debug_terminal() {
    if (!instance()) {
        instance() = new DebugTerminalWindow();
        instance()->Form_Load();
    }
    return *instance();
}

DebugTerminalWindow* debug_terminal_if_open() {
    return instance();
}

void show_debug_terminal(QWidget* owner) {
    DebugTerminalWindow& w = debug_terminal();
    if (owner && !w.isVisible())
        w.move(owner->geometry().center() - w.rect().center());
    w.show();
    w.raise();
    w.activateWindow();
    w.txtTerminal->setFocus();
}
