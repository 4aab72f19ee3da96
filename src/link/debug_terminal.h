#pragma once
// The debug terminal: the raw traffic on the instrument port, live, and a way to talk to the
// unit directly. Four buttons send fixed commands through the link; every key typed into the
// terminal goes to the port as it is. It stays on top of the other windows.

#include <QWidget>
#include <deque>

class QLabel;
class QPushButton;
class TrafficBox;

class DebugTerminalWindow : public QWidget {
    Q_OBJECT
public:
    explicit DebugTerminalWindow(QWidget* parent = nullptr);
    ~DebugTerminalWindow() override;

    TrafficBox* txtTerminal;
    QPushButton* Command1; // Log On
    QPushButton* Command2; // who?
    QPushButton* Command3; // Com talk
    QPushButton* Command4; // Log Info
    QPushButton* cmdClose;

    void Form_Load();
    void Form_Unload();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void cmdClose_Click();
    // A key typed into the terminal: written to the port alone, without a carriage return, after
    // the keys typed before it. Keys typed while an earlier one waits for the port join a queue,
    // so fast typing reaches the unit whole and in order.
    void txtTerminal_KeyPress(char code);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape that the terminal did not send to the unit closes the window, as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool prepare_port();
    void send_button_command(const QString& cmd);
    void update_port_line();
    QLabel* port_line_;
    bool unloaded_ = false;
    std::deque<char> typed_keys_;
    bool sending_keys_ = false;
};

// The terminal, created and loaded on first use; nullptr once closed until asked for again.
DebugTerminalWindow& debug_terminal();
DebugTerminalWindow* debug_terminal_if_open();
// The debug menu's action: the terminal shown modeless (and raised when already open).
void show_debug_terminal(QWidget* owner = nullptr);
