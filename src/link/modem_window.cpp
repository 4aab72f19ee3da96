#include "link/modem_window.h"

#include "link/command_link.h"
#include "link/link_commands.h"
#include "link/link_state.h"
#include "link/modem_rules.h"
#include "link/traffic_box.h"
#include "link/traffic_log.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QPointer<ModemWindow>& instance() {
    static QPointer<ModemWindow> w;
    return w;
}

const QString ATZ = QStringLiteral("ATZ");
const QString ATE0 = QStringLiteral("ATE0");
const QString ATDT = QStringLiteral("ATDT");
const QString ATH = QStringLiteral("ATH");

} // namespace

ModemWindow::ModemWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form7"));
    resize(520, 300);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Toolbar1->setIconSize(QSize(24, 24));
    auto key = [this](const char* name, QStyle::StandardPixmap icon) {
        QAction* a = Toolbar1->addAction(style()->standardIcon(icon), QString());
        a->setObjectName(QLatin1String(name));
        const QString k = QLatin1String(name);
        connect(a, &QAction::triggered, this, [this, k] { Toolbar1_ButtonClick(k); });
        return a;
    };
    key_connect = key("connect", QStyle::SP_DialogYesButton);
    key_logoff = key("logoff", QStyle::SP_DialogResetButton);
    key_disconnect = key("disconnect", QStyle::SP_DialogNoButton);
    Toolbar1->addSeparator();
    key_stop = key("stop", QStyle::SP_DialogCloseButton);

    Text1 = new TrafficBox(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    // A modem has no use for an escape byte; Escape closes the window as in every dialog.
    Text1->leave_escape_to_window(true);
    QFont mono = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    mono.setPointSize(10);
    Text1->setFont(mono);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    panel1 = new QLabel(StatusBar1);
    panel1->setObjectName(QStringLiteral("panel1"));
    panel1->setTextFormat(Qt::PlainText); // the modem's own CONNECT line, shown as it came
    panel2 = new QLabel(StatusBar1);
    panel2->setObjectName(QStringLiteral("panel2"));
    panel2->setMinimumWidth(80);
    panel2->setAlignment(Qt::AlignCenter);
    StatusBar1->addWidget(panel1, 1);
    StatusBar1->addPermanentWidget(panel2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Toolbar1);
    layout->addWidget(Text1, 1);
    layout->addWidget(StatusBar1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(Text1, &TrafficBox::key_typed, this, &ModemWindow::Text1_KeyPress);
}

ModemWindow::~ModemWindow() {
    if (loaded_)
        link().modem_window_open = false;
}

void ModemWindow::Form_Load() {
    loaded_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        move(r.left(), r.bottom() - frameGeometry().height());
    }
    link().modem_window_open = true;
    setWindowTitle(ui_text(1385, QStringLiteral("Modem")));
    key_connect->setText(ui_text(2523, QStringLiteral("Connect")));
    key_logoff->setText(ui_text(2524, QStringLiteral("Log off")));
    key_disconnect->setText(ui_text(2525, QStringLiteral("Disconnect")));
    key_stop->setText(ui_text(2526, QStringLiteral("Close")));
    key_connect->setToolTip(ui_text(2527, QStringLiteral("Dials the telephone number")));
    key_logoff->setToolTip(ui_text(2528, QStringLiteral("Logs off the remote unit")));
    key_disconnect->setToolTip(ui_text(2529, QStringLiteral("Hangs up the modem")));
    key_stop->setToolTip(
        ui_text(2530, QStringLiteral("Closes this window; the modem line stays as it is")));
    key_logoff->setEnabled(false);
    Text1->bind(&traffic().modem());
    panel1->setText(link().modem_connected ? panel1->text()
                                           : ui_text(1351, QStringLiteral("Offline")));
}

void ModemWindow::Form_Unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    dialling_ = false;
    Timer1->stop();
    link().modem_connected = false;
    link().modem_window_open = false;
    Text1->bind(nullptr);
    hide();
}

void ModemWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        key_stop->trigger();
    else
        QWidget::keyPressEvent(event);
}

void ModemWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

bool ModemWindow::ensure_port_open() {
    if (MSComm1().port_open())
        return true;
    open_com_port();
    return !link().port_open_failed;
}

void ModemWindow::connect_modem() {
    LinkState& L = link();
    const ShellState& s = shell();
    traffic().modem().clear();
    if (s.telephone_number.isEmpty()) {
        platform::msg_box(ui_text(1415, QStringLiteral("No telephone number is set.")),
                          platform::mb::Critical);
        Form_Unload();
        return;
    }
    // A second press during the dial would dial again; the key comes back however it ends.
    key_connect->setEnabled(false);
    const QPointer<ModemWindow> self(this);
    const auto done = qScopeGuard([self] {
        if (self)
            self->key_connect->setEnabled(true);
    });
    L.comms_abort = false;
    open_com_port();
    if (L.port_open_failed)
        return;
    // A modem that does not answer its reset gets no dial: one message is enough.
    for (const QString& cmd : {ATZ, ATE0}) {
        send_command(cmd, QString());
        if (L.comms_abort || !loaded_)
            return;
    }
    // The dial goes out once: a second dial would abort the call the modem is setting up. Its
    // result is waited for here, with the dial's own limit.
    if (!send_command_once(ATDT + s.telephone_number) || !loaded_)
        return;
    const double until = platform::seconds() + modem::DIAL_WAIT_SECONDS;
    auto countdown = [this, until] {
        if (loaded_)
            panel2->setText(modem::countdown_text(until - platform::seconds()));
    };
    countdown();
    dialling_ = true;
    platform::wait_until(
        [this] {
            return !loaded_ ||
                   modem::dial_result(traffic().modem().text()) != modem::DialResult::None;
        },
        modem::DIAL_WAIT_SECONDS, countdown);
    if (loaded_)
        panel2->clear();
    const bool closed = !loaded_;
    dialling_ = false;
    if (closed)
        return;
    const QString text = traffic().modem().text();
    const modem::DialResult result = modem::dial_result(text);
    if (result == modem::DialResult::Connect) {
        panel1->setText(modem::connect_line(text));
        key_disconnect->setEnabled(true);
        connect_time_ = platform::seconds();
        Timer1->start();
        L.modem_connected = true;
        key_logoff->setEnabled(true);
        showMinimized();
        return;
    }
    // Busy, no carrier, or no answer in time: hang up so the modem stops dialling.
    disconnect_modem();
    const QString word = result == modem::DialResult::None
                             ? ui_text(2531, QStringLiteral("no answer from the modem"))
                             : modem::result_word(result);
    panel1->setText(ui_text(1351, QStringLiteral("Offline")) + QStringLiteral(" - ") + word);
}

void ModemWindow::disconnect_modem() {
    LinkState& L = link();
    L.cancel_requested = true;
    if (shell().telephone_number.isEmpty())
        return;
    if (!MSComm1().port_open()) {
        if (!ensure_port_open())
            return;
    } else {
        settle_pause();
    }
    for (int i = 0; i < 3; ++i) {
        MSComm1().output(QByteArray(1, '+'));
        Delay(100);
    }
    traffic().modem().append(QStringLiteral("+++"), true);
    Delay(2000);
    send_command(ATH, QString());
    send_command(ATZ, QString());
    Timer1->stop();
    if (MSComm1().port_open())
        MSComm1().set_port_open(false);
    L.modem_connected = false;
    key_logoff->setEnabled(false);
    panel1->setText(ui_text(1351, QStringLiteral("Offline")));
}

void ModemWindow::logoff() {
    send_command(link_commands::ACCESS + QStringLiteral("off"), QString());
}

void ModemWindow::Delay(double ms) {
    platform::wait_ms(static_cast<int>(std::lround(ms)));
}

void ModemWindow::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("connect"))
        connect_modem();
    else if (key == QLatin1String("logoff"))
        logoff();
    else if (key == QLatin1String("disconnect"))
        disconnect_modem();
    else if (key == QLatin1String("stop"))
        Form_Unload();
}

void ModemWindow::Text1_KeyPress(char code) {
    if (!ensure_port_open())
        return;
    settle_pause();
    MSComm1().output(QByteArray(1, code));
    traffic().modem().append(code == '\r' ? QStringLiteral("\r\n") : QString(QLatin1Char(code)),
                             true);
}

void ModemWindow::Timer1_Timer() {
    panel2->setText(modem::elapsed_text(platform::seconds() - connect_time_));
}

ModemWindow& modem_window() {
    if (!instance())
        instance() = new ModemWindow();
    if (!instance()->loaded())
        instance()->Form_Load();
    return *instance();
}

void show_modem_window() {
    ModemWindow& w = modem_window();
    w.showNormal();
    w.raise();
    w.activateWindow();
}
