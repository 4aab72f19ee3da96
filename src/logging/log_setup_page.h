#pragma once
// The log set-up page, tab 0 of the main window's logging tab set: the unit model, the 48 channel
// boxes in their frames, the interval and wrapping, and what they come to (bytes per record, the
// mask words the unit is given, how many days the log lasts). It also shows what the unit reports
// of its log and holds the buttons that talk to the unit.
//
// Start-up, in this order: init_log_channel_bytes(), init_log_channel_decimals(),
// duration_multiplier := getDurationMult(0); create the page; set_page_texts(); setup_boxes[2] :=
// the interval; in software mode 0 select_model_option(2); tick channel_boxes[31].

#include <QWidget>
#include <array>
#include <functional>
#include <map>
#include <set>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace logsetup {
class UpDown;
}

// The page's buttons whose work lies outside the page; each stays disabled until its action is
// installed with LogSetupPage::set_action.
enum class LogSetupAction {
    GetUnitInfo,        // get_unit_info_button
    SetupUnit,          // setup_unit_button
    GetLogInfo,         // Command6
    GetLogData,         // get_log_data_button
    GetLogDataFromFile, // Command3
    ClearLog,           // Command7
    SimulateLog,        // simulate_log_button
};

class LogSetupPage : public QWidget {
    Q_OBJECT
public:
    explicit LogSetupPage(QWidget* parent = nullptr);
    ~LogSetupPage() override;

    // Controls; arrays by the design's index. Those that other code reaches are named for what
    // they hold, the rest by their keys in the caption map.
    std::array<QCheckBox*, 48> channel_boxes{}; // channel boxes 0..47
    std::map<int, QGroupBox*> channel_frames;   // 0..12 and 14..18 (13 lives on the parameter page)
    std::map<int, QRadioButton*> model_options; // unit models 0..21, 40, 43
    QCheckBox* ma_input_box = nullptr;          // mA input available
    QCheckBox* wrap_box = nullptr;              // log wrapping
    QCheckBox* lite_unit_box = nullptr;
    std::map<int, QLineEdit*>
        setup_boxes; // 0 bytes, 1 duration, 2 interval, 3..5 masks, 7 start date
    logsetup::UpDown* UpDown1 = nullptr;
    std::map<int, QLabel*> Label1;        // 0, 1, 2, 7 captions; 6 the wrap line
    std::array<QLabel*, 6> Label5{};      // captions of the unit's log read-outs
    std::array<QLineEdit*, 9> unit_log_boxes{}; // the unit's log: start date, masks, interval,
                                                // wrapping, records, days left, bytes per record
    std::array<QLabel*, 2> unit_clock_labels{}; // unit date and time
    QPushButton* select_all_button = nullptr;   // Select All
    QPushButton* deselect_all_button = nullptr; // De-Select All
    QPushButton* Command3 = nullptr;      // Get Log Data from File
    QPushButton* setup_unit_button = nullptr; // Setup Unit
    QPushButton* Command6 = nullptr;      // Get Log Info from Unit
    QPushButton* Command7 = nullptr;      // Clear Log Data in Unit
    QPushButton* get_log_data_button = nullptr;  // Get Log Data from Unit
    QPushButton* simulate_log_button = nullptr;  // Simulate Log Data (shown with the SIM switch)
    QPushButton* get_unit_info_button = nullptr; // Get Unit Info

    // Handlers. Code that ticks a box or selects an option runs these as a click would.
    void Check1_Click(int index);
    void Check2_Click();
    void Check3_Click();
    void chkVeltoLite_Click();
    void Option1_Click(int index);
    void UpDown1_Change(double interval);
    void Text1_Change(int index);
    void Command1_Click();
    void deselect_all();
    virtual void Command3_Click();
    virtual void Command5_Click();
    virtual void Command6_Click();
    virtual void Command7_Click();
    virtual void Command8_Click();
    virtual void Command10_Click();
    virtual void get_unit_info();

    // Applies the selected model's offer to the boxes and frames.
    void update_log_setup();
    // Locks what a CSO unit cannot log (by identity.cso_unit); lasts to the next update_log_setup.
    void disable_controls_for_cso();
    // Ticks the boxes of the loaded or queried log (masks, interval, wrapping, start date).
    void getlogbytes();

    // The page's captions in the current language (part of the main window's texts).
    void set_page_texts();

    // Selects a model as a click would, running Option1_Click even when it is already selected.
    // An index without an option clears the selection and offers only the basic channels; returns
    // false then.
    bool select_model_option(int index);
    // Leaves options first..last unselected (without running any handler).
    void clear_model_options(int first, int last);

    // Installs the work behind a button and enables it; an empty function disables it again.
    void set_action(LogSetupAction action, std::function<void()> work);
    bool has_action(LogSetupAction action) const;
    QPushButton* action_button(LogSetupAction action) const;

    // Hidden service action on a double-click of a Label5 caption, with the label's index.
    std::function<void(int)> send_manual_link_command;

    // Channels and frames a reduced screen never offers: unticked, disabled and hidden now and
    // after every refresh of the page.
    void withdraw_for_cso_screen(const std::set<int>& boxes, const std::set<int>& frames);

    // The page whose captions the log chart's series titles take (the last one made).
    static LogSetupPage* current();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    QRadioButton* option(int index) const;
    QGroupBox* frame(int index) const;
    void recompute_selection();
    void show_duration();
    void apply_hesvarin_captions();
    void apply_withdrawals();
    QString wrap_line_caption() const;
    void run_action(LogSetupAction action);

    QLabel* mask_words_caption_ = nullptr;
    std::map<LogSetupAction, std::function<void()>> actions_;
    std::set<LogSetupAction> running_actions_; // a click on a running action is ignored
    std::set<int> withdrawn_boxes_;
    std::set<int> withdrawn_frames_;
};

// The caption of channel box channel_boxes[channel] as the user reads it, from the current page, or
// the built-in caption while there is no page.
QString channel_box_caption(int channel);
