#include "link/parameter_window.h"

#include "link/command_link.h"
#include "link/interactive_rules.h"
#include "link/link_commands.h"
#include "link/link_state.h"
#include "link/log_on.h"
#include "link/window_parts.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/number_box.h"
#include "shell/shell_state.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace ia = interactive;

namespace {

QPointer<ParameterWindow>& instance() {
    static QPointer<ParameterWindow> w;
    return w;
}

bool& exchange_waiting() {
    static bool waiting = false;
    return waiting;
}

// At most this much of an answer that is no number is named in the status line.
constexpr int READ_BACK_SHOWN = 10;

// A read of parameter n answered "NO": the unit lacks it. A site named "NORTH TANK" is its text.
bool lacks_parameter(int n, const QString& reply) {
    return carries_marker(n, reply, "NO");
}

} // namespace

ParameterWindow::ParameterWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("form5"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowTitle(QStringLiteral("Parameter Programming"));

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFixedWidth(70);
    Text1->setAlignment(Qt::AlignRight);
    QVBoxLayout* spin = make_up_down_arrows(this, UpDown1_up, UpDown1_down);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setMinimumWidth(140);
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText); // it may quote the unit's answer, shown as it came
    Label1->setFrameShape(QFrame::StyledPanel);
    Label1->setFrameShadow(QFrame::Sunken);
    Label1->setMinimumHeight(24);
    // The status line never widens the window: the keys stay where the pointer left them.
    Label1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(Text1);
    Label3 = new QLabel(this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setBuddy(Text2);
    auto button = [this](const char* name) { return make_command_button(this, name); };
    Command1 = button("Command1");
    Command2 = button("Command2");
    Command3 = button("Command3");
    Command4 = button("Command4");
    Command5 = button("Command5");
    Command6 = button("Command6");
    Command1->setMinimumWidth(110);

    auto* number = new QHBoxLayout;
    number->setSpacing(2);
    number->addWidget(Text1);
    number->addLayout(spin);
    number->addStretch(1);

    auto* grid = new QGridLayout;
    grid->addWidget(Label2, 0, 0);
    grid->addLayout(number, 0, 1);
    grid->addWidget(Command2, 0, 2);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(Command3, 1, 2);
    grid->setColumnStretch(1, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(Command1);
    top->addStretch(1);
    auto* defaults = new QHBoxLayout;
    defaults->addWidget(Command5);
    defaults->addWidget(Command6);
    defaults->addStretch(1);
    defaults->addWidget(Command4);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(grid);
    layout->addWidget(Label1);
    layout->addSpacing(6);
    layout->addLayout(defaults);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(UpDown1_up, &QToolButton::clicked, this, [this] { UpDown1_Change(1); });
    connect(UpDown1_down, &QToolButton::clicked, this, [this] { UpDown1_Change(-1); });
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!Text1->isModified())
            number_shown_ = text;
    });
    connect(Text1, &QLineEdit::returnPressed, this, [this] {
        if (Command2->isEnabled())
            Command2_Click();
    });
    // What the value box shows until the user types: put back when a typed value is refused.
    connect(Text2, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!Text2->isModified())
            value_shown_ = text;
    });
    connect(Text2, &QLineEdit::returnPressed, this, [this] {
        if (Command3->isEnabled())
            Command3_Click();
    });
}

ParameterWindow::~ParameterWindow() = default;

std::optional<QString> ParameterWindow::exchange(const QString& cmd) {
    LinkState& L = link();
    if (tell_if_putting_back())
        return std::nullopt;
    exchange_waiting() = true;
    // While the link waits (a resend, an answer the unit still owes) no key may start another
    // exchange, and the status line says that the window is busy; Close stays to stop the wait.
    std::vector<std::pair<QWidget*, bool>> keys;
    for (QWidget* w :
         std::initializer_list<QWidget*>{Command1, Command2, Command3, Command5, Command6, Text1,
                                         UpDown1_up, UpDown1_down, Text2}) {
        keys.emplace_back(w, w->isEnabled());
        w->setEnabled(false);
    }
    const QString before = Label1->text();
    const QString busy = ui_text(1202, QStringLiteral("Communicating..."));
    Label1->setText(busy);
    const auto done = qScopeGuard([&] {
        exchange_waiting() = false;
        for (const auto& [w, enabled] : keys)
            w->setEnabled(enabled);
        if (Label1->text() == busy)
            Label1->setText(before);
    });
    L.command_text = cmd;
    L.reply_received = false;
    L.comms_abort = false;
    send_command(cmd, QString());
    if (L.comms_abort || L.reply_timed_out)
        return std::nullopt;
    return L.reply_buffer;
}

bool ParameterWindow::understood(const std::optional<QString>& reply) {
    if (!reply || reply_understood(*reply))
        return true;
    Label1->setText(ui_text(2042, QStringLiteral("The unit's answer could not be read")));
    return false;
}

void ParameterWindow::Form_Load() {
    loaded_ = true;
    const ShellState& s = shell();
    setWindowTitle(ui_text(1191, QStringLiteral("Parameter Programming")));
    Label2->setText(ui_text(1394, QStringLiteral("Parameter No.")));
    Label3->setText(ui_text(1369, QStringLiteral("Value")));
    Command2->setText(ui_text(1395, QStringLiteral("&Read")));
    Command3->setText(ui_text(1396, QStringLiteral("&Send")));
    Command5->setText(ui_text(1204, QStringLiteral("Hard Default")));
    Command6->setText(ui_text(1198, QStringLiteral("Factory Default")));
    Command4->setText(ui_text(2501, QStringLiteral("&Close")));
    // 615 and 735 twips; German words are longer.
    for (QPushButton* b : {Command2, Command3})
        b->setMinimumWidth(s.language_index == 1 ? 90 : 80);
    link().logging_board_connected = false;
    link().interactive_logged_on = false;
    show_logged_on(false);
    Label1->clear();
    for (QWidget* w : std::initializer_list<QWidget*>{Text1, UpDown1_up, UpDown1_down, Text2,
                                                      Command2, Command3, Command5, Command6})
        w->setEnabled(false);
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->availableGeometry();
        move(r.x() + (r.width() - width()) / 2, r.y() + (r.height() - height()) / 2);
    }
}

void ParameterWindow::Form_Unload() {
    if (!loaded_)
        return;
    loaded_ = false;
    // A wait still open ends now; the unit keeps any log-on made here.
    if (exchange_waiting())
        link().comms_abort = true;
}

void ParameterWindow::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QDialog::closeEvent(event);
}

void ParameterWindow::show_logged_on(bool on) {
    Command1->setText(on ? ui_text(2522, QStringLiteral("Log o&ff"))
                         : ui_text(2521, QStringLiteral("&Log on")));
    Command1->setIcon(
        style()->standardIcon(on ? QStyle::SP_DialogYesButton : QStyle::SP_DialogNoButton));
}

void ParameterWindow::set_commands() {
    Text1->setEnabled(true);
    UpDown1_up->setEnabled(true);
    UpDown1_down->setEnabled(true);
    Text2->setEnabled(true);
    Command2->setEnabled(true);
    Command3->setEnabled(true);
    Command6->setEnabled(true);
    Command5->setEnabled(shell().access_level != 3);
}

void ParameterWindow::Command1_Click() {
    LinkState& L = link();
    const ShellState& s = shell();
    if (tell_if_putting_back())
        return;
    if (L.interactive_logged_on) {
        const auto reply = exchange(link_commands::ACCESS + QStringLiteral("off"));
        if (reply && reply->contains(QLatin1String("OK"))) {
            L.interactive_logged_on = false;
            show_logged_on(false);
            Label1->setText(ui_text(1203, QStringLiteral("Logged off")));
            return;
        }
    }
    Label1->setText(ui_text(1202, QStringLiteral("Communicating...")));
    open_com_port();
    if (L.port_open_failed) {
        Label1->clear();
        return;
    }
    L.comms_abort = false;
    const QString level = ia::level_word(s.access_level, ui_text(1266, QStringLiteral("Engineer")),
                                         ui_text(1378, QStringLiteral("User")));
    const auto reply = exchange(link_commands::ACCESS + s.login_passcode);
    // No answer: the link has told the user; the window is ready for another try.
    if (!reply || reply->isEmpty()) {
        Label1->clear();
        return;
    }
    const LogOnResult result = judge_access_reply(*reply);
    if (result == LogOnResult::Accepted) {
        L.interactive_logged_on = true;
        show_logged_on(true);
        Label1->setText(ui_text(1197, QStringLiteral("Logged on - access level:")) + level);
        set_commands();
        return;
    }
    L.interactive_logged_on = false;
    show_logged_on(false);
    Label1->clear();
    if (result == LogOnResult::Garbled) {
        tell_reply_not_understood();
        return;
    }
    platform::msg_box(QStringLiteral("     ") + ui_text(1271, QStringLiteral("Access denied.")) +
                          QStringLiteral("      "),
                      platform::mb::Critical, ui_text(1272, QStringLiteral("Access Denied")));
}

std::optional<int> ParameterWindow::parameter_number() {
    if (const auto n = ia::typed_parameter(Text1->text())) {
        number_shown_ = Text1->text(); // what a later refusal puts back
        return n;
    }
    refuse_typed_number(Text1, number_shown_);
    return std::nullopt;
}

void ParameterWindow::Command2_Click() {
    Label1->clear();
    const auto typed_n = parameter_number();
    if (!typed_n)
        return;
    Text2->clear();
    const int n = *typed_n;
    const QString not_available = ui_text(1193, QStringLiteral("Parameter not available"));
    if (!ia::in_range(n)) {
        Label1->setText(not_available);
        platform::return_to_box(Text1);
        return;
    }
    const auto reply = exchange(QStringLiteral("/p%1").arg(n));
    // No reply: the link has told the user; the unit refused nothing.
    if (!reply || !understood(reply))
        return;
    if (lacks_parameter(n, *reply)) {
        Label1->setText(not_available);
        platform::return_to_box(Text1);
        return;
    }
    const auto number = platform::read_number_c(*reply);
    show_value(number ? platform::number_text(*number) : *reply);
    Label1->setText(ui_text(1192, QStringLiteral("Parameter read")));
}

void ParameterWindow::Command3_Click() {
    Label1->clear();
    const auto typed_n = parameter_number();
    if (!typed_n)
        return;
    const int n = *typed_n;
    const QString not_accepted = ui_text(1196, QStringLiteral("Parameter not accepted"));
    // A value that is no number of the locale ("0,35" where the decimal separator is ".") would
    // reach the unit as another number once its separators were swapped: nothing is sent.
    const QString typed = Text2->text();
    if (typed.trimmed().isEmpty()) {
        Label1->setText(not_accepted);
        platform::return_to_box(Text2);
        return;
    }
    const auto value = ia::value_for_unit(n, typed);
    if (!value) {
        Label1->setText(not_accepted);
        refuse_typed_number(Text2, value_shown_);
        return;
    }
    // The unit is asked first whatever the number; a number outside the window's range is
    // refused after that, and only a number the definitions table holds is marked in it.
    const auto first = exchange(QStringLiteral("/p%1").arg(n));
    if (!first || !understood(first))
        return;
    const bool present = !lacks_parameter(n, *first);
    auto& table = definitions_table();
    if (n >= 0 && static_cast<size_t>(n) < table.size())
        table[static_cast<size_t>(n)].present = present;
    if (ia::write_refused(n, present)) {
        Label1->setText(not_accepted);
        platform::return_to_box(Text1);
        return;
    }
    const auto written = exchange(QStringLiteral("/p%1:%2").arg(n).arg(*value));
    if (!written || !understood(written))
        return;
    if (write_refused(*written)) {
        Label1->setText(not_accepted);
        platform::return_to_box(Text2);
        return;
    }
    Label1->setText(ui_text(1194, QStringLiteral("Parameter sent")));
    if (ia::written_blind(n))
        return;
    const auto back = exchange(QStringLiteral("/p%1").arg(n));
    if (!back || !understood(back))
        return;
    if (lacks_parameter(n, *back)) {
        Label1->setText(not_accepted);
        return;
    }
    // An answer without a number ("OK" alone) says nothing of what the unit now holds: the box
    // keeps the value sent, and the status line names what came instead of a verification.
    const auto number = platform::read_number_c(*back);
    if (!number) {
        show_value(Text2->text());
        const QString came = back->trimmed().left(READ_BACK_SHOWN);
        Label1->setText(
            came.isEmpty()
                ? ui_text(2360, QStringLiteral("Sent - not verified"))
                : ui_text(2361, QStringLiteral("Sent - not verified (answer: %1)")).arg(came));
        return;
    }
    show_value(platform::number_text(*number));
    // Verified is the unit holding the value sent, at the parameter's decimals: 0.3 read back
    // after 0.35 was sent is another value.
    if (kept_value(n, *number) !=
        kept_value(n, platform::read_number_c(*value).value_or(NO_VALUE))) {
        Label1->setText(ui_text(2356, QStringLiteral("Sent - not verified (the unit holds %1)"))
                            .arg(platform::number_text(*number)));
        return;
    }
    Label1->setText(ui_text(1195, QStringLiteral("Parameter sent and verified")));
}

void ParameterWindow::show_value(const QString& value) {
    Text2->setText(value);
    // Also when the box showed it already, as typed: a later refusal puts back this value.
    value_shown_ = value;
}

void ParameterWindow::send_default(int title_text, int question_text, const QString& command,
                                   const QString& number) {
    const platform::Answer a = platform::msg_box(
        QStringLiteral("     ") + ui_text(question_text, QString()) + QStringLiteral("      "),
        platform::mb::OkCancel | platform::mb::Critical | platform::mb::DefaultButton2,
        ui_text(title_text, QString()));
    if (a != platform::Answer::Ok)
        return;
    Label1->setText(ui_text(1202, QStringLiteral("Communicating...")));
    Text1->setText(number);
    Text2->setText(QStringLiteral("1"));
    const auto reply = exchange(command);
    if (!understood(reply))
        return;
    if (reply && !write_refused(*reply))
        Label1->setText(ui_text(1201, QStringLiteral("Command accepted")));
    else
        Label1->clear(); // "Communicating..." would stand for ever
}

void ParameterWindow::Command5_Click() {
    send_default(1204, 1199, QStringLiteral("/p88:1"), QStringLiteral("88"));
}

void ParameterWindow::Command6_Click() {
    send_default(1198, 1200, QStringLiteral("/p930:1"), QStringLiteral("930"));
}

void ParameterWindow::Command4_Click() {
    done(QDialog::Rejected);
}

void ParameterWindow::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void ParameterWindow::UpDown1_Change(int step) {
    const int n = ia::typed_number(Text1->text());
    const int next = std::clamp(ia::in_range(n) ? n + step : ia::FIRST_PARAMETER,
                                ia::FIRST_PARAMETER, ia::LAST_PARAMETER);
    Text1->setText(QString::number(next));
    Text2->clear();
}

ParameterWindow& parameter_window() {
    if (!instance())
        instance() = new ParameterWindow();
    if (!instance()->loaded())
        instance()->Form_Load();
    return *instance();
}
