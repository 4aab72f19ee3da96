#pragma once
// The report generator window (`report`): report and site descriptions, the period, the trend
// series and the daily-total settings, stored in general.ini as they change; Generate makes the
// report over the log chart and shows it in the print preview. The calendar (CalendarDialog) picks the
// From and To dates. install_report_services() puts the window behind the main window's
// report button.

#include "reports/report_engine.h"

#include <QColor>
#include <QDate>
#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
struct MainWindowServices;

namespace reports {

class PrintPreview;

class ReportWindow : public QDialog {
    Q_OBJECT
public:
    explicit ReportWindow(QWidget* parent = nullptr);

    void Form_Load();
    void update_report();
    void Check1_Click();
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();
    void Combo4_Click();
    void Combo5_Click();
    void Combo6_Click();
    void enable_totaliser();
    void enableFlowUnits();
    void Command1_Click(); // Generate
    void Command3_Click(); // Close
    void Command4_Click(); // calendar for From
    void Command5_Click(); // calendar for To

    QGroupBox *Frame1, *Frame2, *Frame3, *Frame4;
    QLineEdit *Text1, *Text2, *from_date_box, *to_date_box, *Text5, *Text6, *Text8, *Text9;
    QPlainTextEdit* Text7;
    QCheckBox* Check1;
    QComboBox *Combo1, *Combo2, *Combo3, *Combo4, *Combo5, *Combo6, *Combo7;
    QLabel *Label11, *Label12;
    QPushButton *Command1, *Command3, *Command4, *Command5;
    QProgressBar* ProgressBar1;

    // ReportState's window fields.
    int16_t date_format_index = 0;
    QString date_format_text = QStringLiteral("dd/mm/yyyy");
    QString from_text, to_text, site_number, site_description, remarks;
    bool daily_total_enabled = false;
    bool pumped_volume = false;
    bool flow_unit_box_enabled = false;
    UnitChoice units;

    // The last report made (what the preview showed).
    const ReportDocument& last_report() const { return last_report_; }

private:
    void build();
    void set_texts();
    QLabel* label(int text, const char* fallback);
    ReportDocument last_report_;
    std::array<QLabel*, 16> labels_{};
    int label_count_ = 0;
};

// The window, created hidden and loaded on first use (and after it was closed).
ReportWindow& report_window();

// The calendar's fixed look: a silver chart, yellow rounded day cells, Sundays red and today blue
// (both with white text), days of the neighbouring months in grey, an aqua month title and a lime
// week-day header.
namespace calendar_look {
inline constexpr QRgb CHART = 0xC0C0C0;
inline constexpr QRgb DAY = 0xFFFF00;
inline constexpr QRgb SUNDAY = 0xFF0000;
inline constexpr QRgb TODAY = 0x0000FF;
inline constexpr QRgb MONTH_TITLE = 0x00FFFF;
inline constexpr QRgb WEEKDAY_HEADER = 0x00FF00;
inline constexpr QRgb OTHER_MONTH_TEXT = 0x808080;
} // namespace calendar_look

struct CalendarCellLook {
    QColor background;
    QColor text;
};
// How the cell of `day` looks while the month of `shown` is on the calendar.
CalendarCellLook calendar_cell_look(const QDate& day, const QDate& shown, const QDate& today);
// The month title: "mmmm, yyyy" in the user's language.
QString calendar_month_title(int year, int month);

// The calendar (CalendarDialog), modal over the report window.
class CalendarDialog : public QDialog {
    Q_OBJECT
public:
    explicit CalendarDialog(ReportWindow& owner);
    void select_calendar_date();
    QCalendarWidget* TChart1;
    QLabel* title;
    QLabel* month_title; // the shown month, between the month keys

private:
    ReportWindow& owner_;
};

// True while the From date is being picked; the date last picked (a day serial).
bool& calendar_sets_from_date();
double& calendar_date();

// How the report window runs its modal windows (the preview, the calendar); tests replace it.
std::function<void(QDialog&)>& report_modal_runner();

// Installs the report window behind MainWindowServices::show_report.
void install_report_services(MainWindowServices& services);

} // namespace reports
