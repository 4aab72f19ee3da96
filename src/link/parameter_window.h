#pragma once
// The one-parameter window: log on to the connected unit with the log-in passcode, read or
// write one parameter by its number, and send the unit's hard default and factory default. Every
// exchange goes through the command link; a read or write that gets no answer reports failure.

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class ParameterWindow : public QDialog {
    Q_OBJECT
public:
    explicit ParameterWindow(QWidget* parent = nullptr);
    ~ParameterWindow() override;

    QLineEdit* Text1; // parameter number
    QToolButton* UpDown1_up;
    QToolButton* UpDown1_down;
    QLineEdit* Text2; // value
    QLabel* Label1;   // status line
    QLabel* Label2;
    QLabel* Label3;
    QPushButton* Command1; // log on / log off
    QPushButton* Command2; // Read
    QPushButton* Command3; // Send
    QPushButton* Command4; // Close
    QPushButton* Command5; // Hard Default
    QPushButton* Command6; // Factory Default

    void Form_Load();
    void Form_Unload();
    void set_commands();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    // The spin control moved the number by `step`.
    void UpDown1_Change(int step);
    bool loaded() const { return loaded_; }
    // However the window ends (close box, Escape, the close key) it is unloaded.
    void done(int result) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // One exchange with the window's keys held; the reply, or nullopt when the unit did not
    // answer or the exchange was stopped.
    std::optional<QString> exchange(const QString& cmd);
    // False, with the status line saying so, when the reply is not the unit's language.
    bool understood(const std::optional<QString>& reply);
    void send_default(int title_text, int question_text, const QString& command,
                      const QString& number);
    void show_logged_on(bool on);
    // The parameter number box read as every typed number; a text that is no whole number of the
    // locale ("72,5" where the decimal separator is ".") is refused in the box, and nullopt given.
    std::optional<int> parameter_number();
    // The value box shows `value`, read from the unit or taken by it.
    void show_value(const QString& value);
    bool loaded_ = false;
    QString value_shown_;  // the value box's last value read or taken, or the program's text
    QString number_shown_; // the number box's last number used, or the program's text
};

// The window, created hidden and loaded on first use, and loaded again after it was closed.
ParameterWindow& parameter_window();
