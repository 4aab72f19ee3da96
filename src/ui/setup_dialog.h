#pragma once
// The Setup dialog: the serial port and the logger baud rate, the modem telephone number, the
// program's language, which echo read-outs show, and the log chart's display units and level
// offset. Every choice is stored at once in general.ini and in its global; "Update & Exit" then
// reloads the texts and, for the logging identities, brings the log chart to the new units.

#include "shell/main_window_services.h"

#include <QDialog>
#include <QString>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

class SetupDialog : public QDialog {
    Q_OBJECT
public:
    explicit SetupDialog(QWidget* parent = nullptr);
    ~SetupDialog() override;

    QGroupBox* Frame1;     // Communications
    QComboBox* Combo1;     // COM1 .. COM255
    QComboBox* Combo2;     // logger baud rate
    QPushButton* Command1; // port search
    QLineEdit* Text1;      // telephone number
    QLabel* Label1;
    QLabel* port_caption;
    QLabel* baud_caption;
    QProgressBar* ProgressBar1;
    QLabel* scrlabel8;
    QGroupBox* Frame3; // Language
    std::array<QRadioButton*, 5> Option2{};
    QGroupBox* Frame2; // Status windows
    std::array<QCheckBox*, 3> Check1{};
    QGroupBox* Frame4; // Display units
    QComboBox* CboMeasure;
    std::array<QComboBox*, 2> CboFlow{};
    QComboBox* CboVolume;
    QComboBox* CboTotaliser;
    QComboBox* CboTotaliserMultiplier;
    QLineEdit* txtLevelOffset;
    QLabel* lblOffsetUnits;
    QLabel* Label4;
    QPushButton* cmdExpand;
    QPushButton* Command3; // Update & Exit
    QPushButton* Command2; // Exit

    // Set by whoever installs the dialog: the main window's texts after a language change, and
    // how the port window runs modally over the dialog.
    std::function<void()> reload_main_window_texts;
    std::function<void(QDialog&)> run_modal;

    void fill_setup_lists();
    void Form_Load();
    void Form_Activate();
    void Combo1_Click();
    void Combo2_Click();
    void Command1_Click();
    void Text1_Change();
    void Option2_Click(int index);
    void Check1_Click(int index);
    void CboMeasure_Click();
    void CboFlow_Click(int index);
    void CboVolume_Click();
    void CboTotaliserMultiplier_Click();
    void CboTotaliser_Click();
    void txtLevelOffset_Change();
    // Leaving the offset box: a text that is no number of the locale is refused, and the text the
    // box showed before the typing (offset_shown_) put back with its offset; false then.
    bool txtLevelOffset_Finished();
    // False when the key is discarded.
    bool txtLevelOffset_KeyPress(QChar key);
    void cmdExpand_Click();
    void Command2_Click();
    void Command3_Click();

    // The set-up menu's preparation: the language frame only for access levels 1 and 2.
    void prepare_for_access_level(int access_level);
    // The lower part of the display units (flow, volume, totaliser) is shown.
    bool units_expanded() const { return expanded_; }

    QString opening_chart_line;
    int16_t selected_port = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void set_expanded(bool expanded);
    QWidget* lower_units_ = nullptr;
    bool expanded_ = false;
    bool loaded_ = false;
    QString offset_shown_; // the offset box's text before the user typed
};

// The dialog, created hidden and loaded on first use.
SetupDialog& setup_dialog();

// Installs the Setup dialog behind the main window's set-up menu. `reload_texts` reloads the
// main window's texts after a language change.
void install_setup_dialog(MainWindowServices& services, std::function<void()> reload_texts);
