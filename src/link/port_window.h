#pragma once
// The port window: the serial ports of this computer with their availability and description,
// the choice of the port the program talks to the unit on, and the communication delay. The
// Setup dialog shows it modally and afterwards takes the chosen port from [General]
// "SelectedPort". While it is open it watches the device folder, so a plugged or unplugged
// adapter shows at once. It sends nothing to any unit: the only port activity is the open test.

#include <QDialog>
#include <QStringList>
#include <set>

class QCheckBox;
class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;

class PortWindow : public QDialog {
    Q_OBJECT
public:
    explicit PortWindow(QWidget* parent = nullptr);
    ~PortWindow() override;

    QComboBox* Combo1;
    QListWidget* List1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* Text2;
    QToolButton* UpDown1_up;
    QToolButton* UpDown1_down;
    QPushButton* Command1; // port configuration: there is none to open on this system
    QPushButton* Command2; // Close
    QPushButton* Command3; // Search
    QPushButton* Command4; // Default delay
    QCheckBox* chkIgnore;
    QPlainTextEdit* Text1;    // system information
    QProgressBar* Animation1; // busy while searching

    void Form_Load();
    void searchforport();
    void get_ports();
    void Combo1_Click();
    void List1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Text2_Change();
    void Form_Unload();
    bool loaded() const { return loaded_; }
    // The device folder changed: a device came or went.
    void SysInfo1_DeviceChange();

    // The rows of List1 as the program wrote them (port, TAB, status, TAB, description).
    QStringList rows() const;
    // Milliseconds the device folder must stay quiet before the list is refreshed.
    static constexpr int DEVICE_SETTLE_MS = 200;

protected:
    void closeEvent(QCloseEvent* event) override;

public:
    // However the window ends (close box, Escape, the close button) it is unloaded.
    void done(int result) override;

private:
    void set_result(const QString& text, bool good);
    void watch_devices();
    std::set<QString> current_devices() const;

    bool updating_from_list = false;
    bool loaded_ = false;
    bool selecting_ = false;
    QLabel* ports_caption_ = nullptr;
    class QGroupBox* system_box_ = nullptr;
    QFileSystemWatcher* watcher_ = nullptr;
    QTimer* settle_ = nullptr;
    std::set<QString> devices_;
};

// The window, created and loaded on first use; closing it unloads it (the next use loads anew).
PortWindow& port_window();
// The window while it is loaded, else nullptr.
PortWindow* port_window_if_open();
