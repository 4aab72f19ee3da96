#pragma once
// The modem window: dials the stored telephone number with Hayes commands, shows what passes
// over the port, keeps a connection clock, logs the user off the remote unit and hangs the modem
// up with the "+++" escape and ATH. While the modem line is up, the rest of the program talks
// to the remote unit through the same port as if it were connected directly.

#include <QWidget>

class QAction;
class QLabel;
class QStatusBar;
class QTimer;
class QToolBar;
class TrafficBox;

class ModemWindow : public QWidget {
    Q_OBJECT
public:
    explicit ModemWindow(QWidget* parent = nullptr);
    ~ModemWindow() override;

    TrafficBox* Text1;
    QToolBar* Toolbar1;
    QAction* key_connect;
    QAction* key_logoff;
    QAction* key_disconnect;
    QAction* key_stop;
    QStatusBar* StatusBar1;
    QLabel* panel1;
    QLabel* panel2;
    QTimer* Timer1;

    void Form_Load();
    void connect_modem();    // the design's `connect`
    void disconnect_modem(); // the design's `disconnect`
    void logoff();
    void Delay(double ms);
    void Toolbar1_ButtonClick(const QString& key);
    void Text1_KeyPress(char code);
    void Timer1_Timer();
    bool loaded() const { return loaded_; }
    // The window goes: the clock stops and the modem flags go down (the line is not hung up).
    void Form_Unload();
    // The dial in progress ends (the window was closed or the wait is over).
    bool dialling() const { return dialling_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape that the traffic box did not send to the modem closes the window, as in any dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool ensure_port_open();
    double connect_time_ = 0;
    bool loaded_ = false;
    bool dialling_ = false;
};

// The window, created and loaded on first use, and loaded again after it was closed.
ModemWindow& modem_window();
// The modem menu and key: the window shown modeless, in its normal state.
void show_modem_window();
