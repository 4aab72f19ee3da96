#include "reports/report_window.h"

#include "logging/chart_units.h"
#include "logging/log_chart_model.h"
#include "logging/log_setup_page.h"
#include "logging/log_setup_state.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "reports/print_preview.h"
#include "reports/report_time.h"
#include "shell/definitions_table.h"
#include "shell/list_control.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"
#include "shell/main_window_services.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextCharFormat>
#include <QToolButton>
#include <QVBoxLayout>

namespace reports {
namespace {

QString ini_text(const QLatin1String& key, const QString& def) {
    return read_ini(shell().ini_path, ini::SECTION_GENERAL, key, def);
}

void store(const QLatin1String& key, const QString& value) {
    write_ini(shell().ini_path, ini::SECTION_GENERAL, key, value);
}

int16_t ini_index(const QLatin1String& key) {
    return platform::text_to_int16(ini_text(key, ini::DEF_REPORT_INDEX)).value_or(0);
}

QPointer<ReportWindow>& instance() {
    static QPointer<ReportWindow> w;
    return w;
}

double chart_serial(double chart_x) {
    return serial_from_seconds(serial_seconds_from_chart_x(chart_x));
}

// The chart's time as the user's short date (four-digit year) and long time.
QString chart_time_text(double chart_x) {
    const double serial = chart_serial(chart_x);
    return format_serial(serial, box_date_pattern() + QLatin1Char(' ') +
                                     platform::date_formats().long_time)
        .trimmed();
}

} // namespace

bool& calendar_sets_from_date() {
    static bool from = true;
    return from;
}

double& calendar_date() {
    static double d = 0;
    return d;
}

std::function<void(QDialog&)>& report_modal_runner() {
    static std::function<void(QDialog&)> run = [](QDialog& d) { d.exec(); };
    return run;
}

ReportWindow::ReportWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("report"));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
    set_texts();
}

QLabel* ReportWindow::label(int text, const char* fallback) {
    auto* l = new QLabel(ui_text(text, QString::fromUtf8(fallback)), this);
    l->setProperty("text_number", text);
    l->setProperty("fallback", QString::fromUtf8(fallback));
    return l;
}

void ReportWindow::build() {
    auto* root = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    root->addLayout(columns);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);

    auto line = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        e->setMinimumWidth(e->fontMetrics().averageCharWidth() * 26);
        return e;
    };
    auto combo = [this](const char* name) {
        auto* c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        return c;
    };

    Frame3 = new QGroupBox(this);
    auto* g3 = new QGridLayout(Frame3);
    Text8 = line("Text8");
    Text6 = line("Text6");
    Text9 = line("Text9");
    g3->addWidget(label(2602, "Company Name"), 0, 0);
    g3->addWidget(Text8, 0, 1);
    g3->addWidget(label(2603, "Company Address"), 1, 0);
    g3->addWidget(Text6, 1, 1);
    g3->addWidget(label(2604, "Compiled By"), 2, 0);
    g3->addWidget(Text9, 2, 1);
    left->addWidget(Frame3);

    Frame1 = new QGroupBox(this);
    auto* g1 = new QGridLayout(Frame1);
    Text1 = line("Text1");
    Text2 = line("Text2");
    Text5 = line("Text5");
    g1->addWidget(label(2606, "Site Number"), 0, 0);
    g1->addWidget(Text1, 0, 1);
    g1->addWidget(label(2607, "Site Description"), 1, 0);
    g1->addWidget(Text2, 1, 1);
    g1->addWidget(label(2608, "Remarks"), 2, 0);
    g1->addWidget(Text5, 2, 1);
    left->addWidget(Frame1);
    left->addStretch();

    Frame2 = new QGroupBox(this);
    auto* g2 = new QGridLayout(Frame2);
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Combo1 = combo("Combo1");
    from_date_box = line("Text3");
    to_date_box = line("Text4");
    const QIcon calendar_icon = style()->standardIcon(QStyle::SP_FileDialogDetailedView);
    Command4 = new QPushButton(calendar_icon, {}, this);
    Command5 = new QPushButton(calendar_icon, {}, this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command5->setObjectName(QStringLiteral("Command5"));
    Text7 = new QPlainTextEdit(this);
    Text7->setObjectName(QStringLiteral("Text7"));
    Text7->setReadOnly(true);
    Text7->setFixedHeight(Text7->fontMetrics().lineSpacing() * 2 + 12);
    Text7->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text7->setFocusPolicy(Qt::NoFocus);
    Combo3 = combo("Combo3");
    g2->addWidget(Check1, 0, 0, 1, 3);
    g2->addWidget(label(2611, "Date Format"), 1, 0);
    g2->addWidget(Combo1, 1, 1, 1, 2);
    g2->addWidget(label(2612, "From Date"), 2, 0);
    g2->addWidget(from_date_box, 2, 1);
    g2->addWidget(Command4, 2, 2);
    g2->addWidget(label(2613, "To Date"), 3, 0);
    g2->addWidget(to_date_box, 3, 1);
    g2->addWidget(Command5, 3, 2);
    g2->addWidget(Text7, 4, 0, 1, 3);
    g2->addWidget(label(2614, "Trend Data"), 5, 0);
    g2->addWidget(Combo3, 5, 1, 1, 2);
    g2->setColumnStretch(1, 1);
    right->addWidget(Frame2);

    Frame4 = new QGroupBox(this);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    auto* g4 = new QGridLayout(Frame4);
    Combo7 = combo("Combo7");
    Combo6 = combo("Combo6");
    Combo2 = combo("Combo2");
    Combo4 = combo("Combo4");
    Combo5 = combo("Combo5");
    Label11 = new QLabel(this);
    Label12 = new QLabel(this);
    g4->addWidget(label(2616, "Report Data"), 0, 0);
    g4->addWidget(Combo7, 0, 1, 1, 2);
    g4->addWidget(label(2615, "Daily Report"), 1, 0);
    g4->addWidget(Combo6, 1, 1, 1, 2);
    g4->addWidget(Label11, 2, 0);
    g4->addWidget(Combo2, 2, 1);
    g4->addWidget(Combo4, 2, 2);
    g4->addWidget(Label12, 3, 0);
    g4->addWidget(Combo5, 3, 1, 1, 2);
    g4->setColumnStretch(1, 1);
    right->addWidget(Frame4);
    right->addStretch();

    auto* bottom = new QHBoxLayout;
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    Command1 = new QPushButton(this);
    Command3 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command1->setDefault(true);
    bottom->addWidget(ProgressBar1, 1);
    bottom->addWidget(Command1);
    bottom->addWidget(Command3);
    root->addLayout(bottom);

    for (QLineEdit* box : {Text1, Text2, Text5, from_date_box, to_date_box})
        connect(box, &QLineEdit::textChanged, this, [this] { update_report(); });
    connect(Check1, &QCheckBox::stateChanged, this, [this] { Check1_Click(); });
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this] { Combo1_Click(); });
    connect(Combo2, &QComboBox::currentIndexChanged, this, [this] { Combo2_Click(); });
    connect(Combo3, &QComboBox::currentIndexChanged, this, [this] { Combo3_Click(); });
    connect(Combo4, &QComboBox::currentIndexChanged, this, [this] { Combo4_Click(); });
    connect(Combo5, &QComboBox::currentIndexChanged, this, [this] { Combo5_Click(); });
    connect(Combo6, &QComboBox::currentIndexChanged, this, [this] { Combo6_Click(); });
    connect(Combo7, &QComboBox::currentIndexChanged, this, [this] { enableFlowUnits(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
}

void ReportWindow::set_texts() {
    setWindowTitle(ui_text(1321, QStringLiteral("Report Generator")));
    Frame3->setTitle(ui_text(2601, QStringLiteral("Report Descriptions")));
    Frame1->setTitle(ui_text(2605, QStringLiteral("Site Descriptions")));
    Frame2->setTitle(ui_text(2609, QStringLiteral("Daily Report Settings")));
    Frame4->setTitle(ui_text(2615, QStringLiteral("Daily Report")));
    Check1->setText(ui_text(2610, QStringLiteral("Daily Total Report")));
    Label12->setText(ui_text(2619, QStringLiteral("Totaliser Unit")));
    Label11->setText(ui_text(2617, QStringLiteral("Flow Unit")));
    Command1->setText(ui_text(2621, QStringLiteral("&Generate")));
    Command3->setText(ui_text(2622, QStringLiteral("&Close")));
    Command4->setToolTip(ui_text(2645, QStringLiteral("Choose the date on a calendar")));
    Command5->setToolTip(Command4->toolTip());
}

void ReportWindow::Form_Load() {
    ShellState& s = shell();
    s.company_name = ini_text(ini::KEY_COMPANY_NAME, {});
    s.company_address = ini_text(ini::KEY_COMPANY_ADDRESS, {});
    s.report_author = ini_text(ini::KEY_REPORT_AUTHOR, {});
    date_format_index = ini_index(ini::KEY_REPORT_DATE_FORMAT);
    s.cal_daily_method =
        platform::text_to_int16(ini_text(ini::KEY_CAL_DAILY_METHOD, ini::DEF_CAL_DAILY_METHOD))
            .value_or(0);

    const ChartUnitSettings& chart_units = log_setup().chart_units;
    units.totaliser_unit = chart_units.totaliser_unit_index >= 1
                               ? static_cast<int16_t>(chart_units.totaliser_unit_index - 1)
                               : ini_index(ini::KEY_REPORT_TOTALISER_UNIT);
    units.flow_volume_unit = chart_units.flow_volume_unit_index >= 1
                                 ? static_cast<int16_t>(chart_units.flow_volume_unit_index - 1)
                                 : ini_index(ini::KEY_REPORT_FLOW_VOLUME_UNIT);
    units.flow_time_unit = chart_units.flow_time_unit_index >= 1
                               ? static_cast<int16_t>(chart_units.flow_time_unit_index - 1)
                               : ini_index(ini::KEY_REPORT_FLOW_TIME_UNIT);

    const int16_t totaliser = units.totaliser_unit, volume = units.flow_volume_unit,
                  time = units.flow_time_unit;
    fill_list_control(*Combo5, volume_unit_list(), QLatin1String(NO_INDEX), totaliser);
    fill_list_control(*Combo2, volume_unit_list(), QLatin1String(NO_INDEX), volume);
    fill_list_control(*Combo4, time_unit_list(), QLatin1String(NO_INDEX), time);

    const int16_t method = s.cal_daily_method;
    Combo6->clear();
    Combo6->addItems({ui_text(2623, QStringLiteral("Use Maximum")),
                      ui_text(2624, QStringLiteral("Use Max-Min")),
                      ui_text(2625, QStringLiteral("Use Integration"))});
    Combo6->setCurrentIndex(method);

    // Centred on the screen.
    adjustSize();
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }

    Text1->clear();
    Text2->clear();
    Text5->clear();
    Text8->setText(s.company_name);
    Text6->setText(s.company_address);
    Text9->setText(s.report_author);

    const LogChartModel& chart = log_chart_model();
    Combo3->clear();
    Combo7->clear();
    for (int k = 0; k < chart.series_count(); ++k) {
        Combo3->addItem(chart.series(k).title);
        Combo7->addItem(chart.series(k).title);
    }
    Combo3->setCurrentIndex(chart.series_count() > 0 ? 0 : -1);
    Combo7->setCurrentIndex(chart.series_count() > 0 ? 0 : -1);

    enable_totaliser();

    const int16_t format = date_format_index;
    Combo1->clear();
    Combo1->addItems({QStringLiteral("dd/mm/yyyy"), QStringLiteral("mm/dd/yyyy")});
    Combo1->setCurrentIndex(format >= 0 && format <= 1 ? format : 0);
    date_format_text = Combo1->currentText().trimmed();

    const QString starts = ui_text(2626, QStringLiteral("Log starts @ "));
    const QString stops = ui_text(2627, QStringLiteral("Log stops @ "));
    if (chart.series_count() > 0 && chart.series(0).point_count() > 0) {
        const LogChartSeries& first = chart.series(0);
        const QString first_text = chart_time_text(first.x.front());
        const QString last_text = chart_time_text(first.x.back());
        Text7->setPlainText(starts + first_text + QStringLiteral("\n") + stops + last_text);
        // The boxes get the date on its own: a short date may itself hold blanks ("7. 12. 2026").
        from_date_box->setText(date_box_text(chart_serial(first.x.front())));
        to_date_box->setText(date_box_text(chart_serial(first.x.back())));
    } else {
        Text7->setPlainText(starts + QStringLiteral("\n") + stops);
        from_date_box->clear();
        to_date_box->clear();
    }
    Check1_Click();
    Combo6_Click();
}

void ReportWindow::update_report() {
    site_number = Text1->text().trimmed();
    site_description = Text2->text().trimmed();
    remarks = Text5->text().trimmed();
    from_text = from_date_box->text().trimmed();
    to_text = to_date_box->text().trimmed();
}

void ReportWindow::Check1_Click() {
    daily_total_enabled = Check1->isChecked();
    Frame4->setEnabled(daily_total_enabled);
    if (daily_total_enabled) {
        if (Combo7->currentIndex() == Combo3->currentIndex())
            enableFlowUnits(); // the index does not change, so its handler would not run
        else
            Combo7->setCurrentIndex(Combo3->currentIndex());
        Combo6_Click();
    }
}

void ReportWindow::Combo1_Click() {
    date_format_index = static_cast<int16_t>(Combo1->currentIndex());
    date_format_text = Combo1->currentText().trimmed();
    store(ini::KEY_REPORT_DATE_FORMAT, QString::number(date_format_index));
}

void ReportWindow::Combo2_Click() {
    units.flow_volume_unit = static_cast<int16_t>(Combo2->currentIndex());
    store(ini::KEY_REPORT_FLOW_VOLUME_UNIT, QString::number(units.flow_volume_unit));
}

void ReportWindow::Combo4_Click() {
    units.flow_time_unit = static_cast<int16_t>(Combo4->currentIndex());
    store(ini::KEY_REPORT_FLOW_TIME_UNIT, QString::number(units.flow_time_unit));
}

void ReportWindow::Combo5_Click() {
    units.totaliser_unit = static_cast<int16_t>(Combo5->currentIndex());
    store(ini::KEY_REPORT_TOTALISER_UNIT, QString::number(units.totaliser_unit));
}

void ReportWindow::Combo3_Click() {
    Check1_Click();
}

void ReportWindow::Combo6_Click() {
    shell().cal_daily_method = static_cast<int16_t>(Combo6->currentIndex());
    store(ini::KEY_CAL_DAILY_METHOD, QString::number(shell().cal_daily_method));
}

void ReportWindow::enable_totaliser() {
    Frame4->setEnabled(daily_total_enabled);
}

void ReportWindow::enableFlowUnits() {
    const FlowUnitRules r = flow_unit_rules(Combo7->currentText(), channel_box_caption);
    pumped_volume = r.pumped_volume;
    if (r.preset_method >= 0) {
        Combo6->setCurrentIndex(r.preset_method);
        Combo6->setEnabled(false);
    } else {
        Combo6->setEnabled(true);
    }
    flow_unit_box_enabled = r.volume_unit_enabled;
    Combo2->setEnabled(r.volume_unit_enabled);
    Combo4->setEnabled(r.time_unit_enabled);
    Label11->setEnabled(r.volume_unit_enabled);
    Label11->setText(r.pumped_volume_caption ? ui_text(2618, QStringLiteral("PVol Unit"))
                                             : ui_text(2617, QStringLiteral("Flow Unit")));
    const bool method_known = shell().cal_daily_method >= 0 && shell().cal_daily_method <= 2;
    Label12->setEnabled(method_known);
    Combo5->setEnabled(method_known);
}

void ReportWindow::Command1_Click() {
    ShellState& s = shell();
    s.company_name = Text8->text().trimmed();
    s.company_address = Text6->text().trimmed();
    s.report_author = Text9->text().trimmed();
    date_format_index = static_cast<int16_t>(Combo1->currentIndex());
    date_format_text = Combo1->currentText();
    daily_total_enabled = Check1->isChecked();
    s.cal_daily_method = static_cast<int16_t>(Combo6->currentIndex());
    store(ini::KEY_COMPANY_NAME, s.company_name);
    store(ini::KEY_COMPANY_ADDRESS, s.company_address);
    store(ini::KEY_REPORT_AUTHOR, s.report_author);
    store(ini::KEY_REPORT_DATE_FORMAT, QString::number(date_format_index));
    store(ini::KEY_CAL_DAILY_METHOD, QString::number(s.cal_daily_method));

    const QString title = ui_text(1321, QStringLiteral("Report Generator"));
    update_report();
    // A report is made only over a period the user can read back: a date that does not read
    // would otherwise give a report of sentinels that looks complete.
    const auto from = parse_date_text(from_text);
    if (!from) {
        platform::msg_box(ui_text(2628, QStringLiteral("The From date cannot be read as a date.")),
                          platform::mb::Exclamation, title);
        platform::return_to_box(from_date_box);
        return;
    }
    const auto to = parse_date_text(to_text);
    if (!to) {
        platform::msg_box(ui_text(2629, QStringLiteral("The To date cannot be read as a date.")),
                          platform::mb::Exclamation, title);
        platform::return_to_box(to_date_box);
        return;
    }

    ReportRequest r;
    r.company_name = s.company_name;
    r.company_address = s.company_address;
    r.report_author = s.report_author;
    r.computer_name = s.computer_name;
    r.log_file_name = log_setup().chart_log_file;
    r.site_number = site_number;
    r.site_description = site_description;
    r.remarks = remarks;
    r.date_format_text = date_format_text;
    r.from_day = *from;
    r.to_day = *to;
    r.now = serial_from_datetime(QDateTime::currentDateTime());
    r.trend_series = Combo3->currentIndex();
    r.trend_title = Combo3->currentText();
    r.trend_units = r.trend_series >= 0 ? get_enabled_trace_units(r.trend_series) : QString();
    r.none_unit_word = s.quantity_unit_names.value(0);
    r.pumped_word = channel_box_caption(28); // as the pumped volume's title has it
    r.daily_total_enabled = daily_total_enabled;
    r.total_series = Combo7->currentIndex();
    r.total_title = Combo7->currentText();
    r.method = s.cal_daily_method;
    r.pumped_volume = pumped_volume;
    r.flow_unit_box_enabled = flow_unit_box_enabled;
    r.units = units;
    r.log_interval = log_setup().log_interval;

    const LogChartModel& chart = log_chart_model();
    switch (check_request(chart, r)) {
    case ReportRefusal::NoTrendSeries:
        platform::msg_box(ui_text(2630, QStringLiteral("Choose a trend series of the log chart.")),
                          platform::mb::Exclamation, title);
        return;
    case ReportRefusal::NoTotalSeries:
        platform::msg_box(
            ui_text(2631, QStringLiteral("Choose a daily total series of the log chart.")),
            platform::mb::Exclamation, title);
        return;
    case ReportRefusal::None: break;
    }

    ReportDocument doc;
    generate_report(chart, r, doc, [this](int done, int total) {
        ProgressBar1->setMaximum(std::max(1, total));
        ProgressBar1->setValue(done);
    });
    last_report_ = doc;
    ProgressBar1->setValue(0);
    PrintPreview preview(this);
    preview.set_report(doc);
    report_modal_runner()(preview);
}

void ReportWindow::Command3_Click() {
    close();
}

void ReportWindow::Command4_Click() {
    calendar_sets_from_date() = true;
    CalendarDialog calendar(*this);
    report_modal_runner()(calendar);
}

void ReportWindow::Command5_Click() {
    calendar_sets_from_date() = false;
    CalendarDialog calendar(*this);
    report_modal_runner()(calendar);
}

ReportWindow& report_window() {
    if (!instance()) {
        instance() = new ReportWindow(QApplication::activeWindow());
        instance()->setWindowFlag(Qt::Window);
        instance()->Form_Load();
    }
    return *instance();
}

namespace {

// The month calendar with the calendar's own look of each day cell.
class CalendarChart : public QCalendarWidget {
public:
    using QCalendarWidget::QCalendarWidget;

protected:
    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override {
        const CalendarCellLook look =
            calendar_cell_look(date, QDate(yearShown(), monthShown(), 1), QDate::currentDate());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillRect(rect, QColor(calendar_look::CHART));
        const QRectF cell = QRectF(rect).adjusted(1.5, 1.5, -1.5, -1.5);
        const double radius = std::min(cell.width(), cell.height()) / 4;
        // The picked day keeps a dark frame, whatever its colours.
        painter->setPen(date == selectedDate() ? QPen(Qt::black, 2) : QPen(Qt::NoPen));
        painter->setBrush(look.background);
        painter->drawRoundedRect(cell, radius, radius);
        painter->setPen(look.text);
        painter->drawText(rect, Qt::AlignCenter, QString::number(date.day()));
        painter->restore();
    }
};

} // namespace

CalendarCellLook calendar_cell_look(const QDate& day, const QDate& shown, const QDate& today) {
    namespace look = calendar_look;
    if (day == today)
        return {QColor(look::TODAY), Qt::white};
    const bool other_month = day.month() != shown.month() || day.year() != shown.year();
    if (day.dayOfWeek() == Qt::Sunday)
        return {QColor(look::SUNDAY), other_month ? QColor(look::OTHER_MONTH_TEXT) : Qt::white};
    return {QColor(look::DAY), other_month ? QColor(look::OTHER_MONTH_TEXT) : Qt::black};
}

QString calendar_month_title(int year, int month) {
    return platform::format_date(QDate(year, month, 1), QStringLiteral("mmmm, yyyy"));
}

CalendarDialog::CalendarDialog(ReportWindow& owner) : QDialog(&owner), owner_(owner) {
    setObjectName(QStringLiteral("Form9"));
    setWindowTitle(ui_text(2633, QStringLiteral("Calendar")));
    setAutoFillBackground(true);
    QPalette chart_colour = palette();
    chart_colour.setColor(QPalette::Window, QColor(calendar_look::CHART));
    setPalette(chart_colour);
    auto* layout = new QVBoxLayout(this);
    title = new QLabel(ui_text(2634, QStringLiteral("Click to select date")), this);
    title->setAlignment(Qt::AlignRight);
    title->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    layout->addWidget(title);

    auto* previous = new QToolButton(this);
    previous->setArrowType(Qt::LeftArrow);
    previous->setAutoRaise(true);
    auto* next = new QToolButton(this);
    next->setArrowType(Qt::RightArrow);
    next->setAutoRaise(true);
    month_title = new QLabel(this);
    month_title->setObjectName(QStringLiteral("month_title"));
    month_title->setAlignment(Qt::AlignCenter);
    month_title->setStyleSheet(
        QStringLiteral("background: #%1; font-weight: bold; padding: 3px;")
            .arg(calendar_look::MONTH_TITLE & 0xFFFFFF, 6, 16, QLatin1Char('0')));
    auto* month_row = new QHBoxLayout;
    month_row->setSpacing(0);
    month_row->addWidget(previous);
    month_row->addWidget(month_title, 1);
    month_row->addWidget(next);
    layout->addLayout(month_row);

    TChart1 = new CalendarChart(this);
    TChart1->setObjectName(QStringLiteral("TChart1"));
    TChart1->setLocale(platform::date_formats().names);
    TChart1->setNavigationBarVisible(false);
    TChart1->setGridVisible(false);
    TChart1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    TChart1->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    QTextCharFormat weekday_header;
    weekday_header.setBackground(QColor(calendar_look::WEEKDAY_HEADER));
    weekday_header.setForeground(Qt::black);
    TChart1->setHeaderTextFormat(weekday_header);
    // The header names Saturday and Sunday in black like the other days, not in red.
    QTextCharFormat weekend = TChart1->weekdayTextFormat(Qt::Saturday);
    weekend.setForeground(Qt::black);
    TChart1->setWeekdayTextFormat(Qt::Saturday, weekend);
    TChart1->setWeekdayTextFormat(Qt::Sunday, weekend);
    TChart1->setMinimumSize(280, 200);
    connect(previous, &QToolButton::clicked, TChart1, &QCalendarWidget::showPreviousMonth);
    connect(next, &QToolButton::clicked, TChart1, &QCalendarWidget::showNextMonth);
    connect(TChart1, &QCalendarWidget::currentPageChanged, this, [this](int year, int month) {
        month_title->setText(calendar_month_title(year, month));
    });
    layout->addWidget(TChart1);
    auto* close_button = new QPushButton(ui_text(2622, QStringLiteral("&Close")), this);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(close_button);
    layout->addLayout(row);
    connect(close_button, &QPushButton::clicked, this, &QDialog::accept);
    connect(TChart1, &QCalendarWidget::clicked, this, [this] { select_calendar_date(); });
    connect(TChart1, &QCalendarWidget::activated, this, [this] { select_calendar_date(); });

    // The date of the box being picked; today when the box holds no date.
    const QString box =
        calendar_sets_from_date() ? owner.from_date_box->text() : owner.to_date_box->text();
    if (const auto day = parse_date_text(box))
        TChart1->setSelectedDate(datetime_from_serial(static_cast<double>(*day)).date());
    else
        TChart1->setSelectedDate(QDate::currentDate());
    month_title->setText(calendar_month_title(TChart1->yearShown(), TChart1->monthShown()));
    // Centred on the report window's top right corner.
    adjustSize();
    const QRect o = owner.frameGeometry();
    move(o.left() + o.width() - width() / 2, o.top() - height() / 2);
}

void CalendarDialog::select_calendar_date() {
    calendar_date() = serial_from_datetime(QDateTime(TChart1->selectedDate(), QTime(0, 0), Qt::UTC));
    QLineEdit* box = calendar_sets_from_date() ? owner_.from_date_box : owner_.to_date_box;
    box->setText(date_box_text(calendar_date()));
}

void install_report_services(MainWindowServices& services) {
    services.show_report = [] {
        ReportWindow& w = report_window();
        w.show();
        w.raise();
        w.activateWindow();
    };
    report_modal_runner() = [run = services.run_modal](QDialog& d) {
        if (run)
            run(d);
        else
            d.exec();
    };
}

} // namespace reports
