#pragma once
// The legend window (LegendWindow, "Legend Control"): a narrow tool window beside the log chart that
// switches series on and off, sets how the chart draws them (points, labels, background, the
// chart's own legend, one band per series), how many points a chart page holds, and exports the
// chart as CSV. A double-click on a series renames it. Everything acts on log_chart_model(); the
// window never talks to the unit.

#include <QWidget>
#include <functional>

class QCheckBox;
class QDialog;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QScrollBar;

class LegendWindow : public QWidget {
    Q_OBJECT
public:
    explicit LegendWindow(QWidget* owner = nullptr);
    ~LegendWindow() override;

    QListWidget* TeeListBox1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QScrollBar* HScroll1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Text1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QCheckBox* Check1 = nullptr; // Draw Labels
    QCheckBox* Check2 = nullptr; // Draw Points
    QCheckBox* Check3 = nullptr; // Background
    QCheckBox* Check4 = nullptr; // Legends
    QCheckBox* Check5 = nullptr; // Multiple Axes
    QPushButton* Command1 = nullptr; // Select All
    QPushButton* Command2 = nullptr; // Clear All
    QPushButton* Command3 = nullptr; // Export

    // Re-applies the window's chart settings to the chart and lists its series; the log chart
    // calls it after each new log.
    void update_series();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();
    void multiple_axes_changed();
    void Command1_Click();
    void Command2_Click();
    void HScroll1_Change();
    // Renames series `index` through the series title dialog.
    void TeeListBox1_DblClick(int index);

    void apply_legend_texts();
    // The work behind "Export" (the CSV export); the button is off without it.
    void set_export_action(std::function<void()> action);

    // Out of sight as the chart tab goes, up again as it comes (tuck_away_legend_window).
    bool tucked_away() const { return isHidden(); }

private:
    void fill_list();
    void list_item_changed(QListWidgetItem* item);
    void set_paging_range();

    bool filling_ = false;
    bool ranging_ = false;   // the scroll bar's range is being set, not the user's choice
    int points_wanted_ = 20; // the chart's points per page, whatever range the last log gave
    std::function<void()> export_action_;
};

// The legend window, created hidden on first use and loaded once.
LegendWindow& legend_window();
// Whether the legend window exists yet (without creating it).
bool legend_window_loaded();
// Unloads it (the main window's exit).
void unload_legend_window();
// The window the legend window floats over (the main window); set once at start-up.
void set_legend_window_owner(QWidget* owner);

// Puts the legend window out of sight, leaving the main window as it is. A window manager
// minimises a window together with the window it floats over (they are one group), so the legend
// window is withdrawn rather than minimised; nothing happens while it is not loaded.
void tuck_away_legend_window();
// Loads the legend window when needed and brings it up in front.
void restore_legend_window();

// Loads the legend window when needed, re-applies its settings to the chart just drawn and shows
// it in front (a log was loaded).
void show_legend_window();

// title_dialog, "Chart Series Title": renames series `index` of the log chart. Returns whether the title
// changed (OK pressed).
bool edit_series_title(int index, QWidget* parent = nullptr);
// How title_dialog runs modally (QDialog::exec); tests answer it instead.
std::function<int(QDialog&)>& series_title_dialog_runner();
