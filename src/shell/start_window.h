#pragma once
// The start window: the brand's picture, then the passcode log-in that sets the access level for
// the run. Opened from the Help menu (shell().about_box_mode) it is the About box, and OK only
// closes it.

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class StartWindow : public QDialog {
    Q_OBJECT
public:
    explicit StartWindow(QWidget* parent = nullptr);

    void Form_Load();
    void cmdOK_Click();

    QLabel* Image1;   // start picture
    QFrame* Frame1;   // passcode frame, shown by the first OK
    QLabel* Label4;   // prompt title
    QLabel* Label3;   // prompt line
    QLineEdit* Text2; // passcode
    QPushButton* cmdOK;

private:
    void show_start_picture();
};

// What a successful log-in opens: the main window. The program installs it at start; without it
// the log-in only closes the start window.
void set_main_window_opener(std::function<void()> open);

// The start window, created hidden and loaded on first use; closing it unloads it.
StartWindow& start_window();
bool start_window_loaded();
