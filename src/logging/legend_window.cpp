#include "logging/legend_window.h"

#include "logging/chart_export.h"
#include "logging/legend_rules.h"
#include "logging/log_chart_model.h"
#include "logging/log_setup_state.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

const QLatin1String SECTION_GRAPH("Graph");
const QLatin1String KEY_BACKGROUND("Background");
// Points per page the chart starts with.
constexpr int DESIGN_POINTS_PER_PAGE = 20;

QPointer<LegendWindow>& the_window() {
    static QPointer<LegendWindow> w;
    return w;
}

QPointer<QWidget>& the_owner() {
    static QPointer<QWidget> w;
    return w;
}

QIcon colour_icon(int32_t c) {
    QPixmap pm(14, 14);
    pm.fill(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    QPainter p(&pm);
    p.setPen(Qt::darkGray);
    p.drawRect(0, 0, 13, 13);
    return QIcon(pm);
}

QString caption(int n, const char* english) {
    return ui_text(n, QString::fromUtf8(english));
}

} // namespace

LegendWindow::LegendWindow(QWidget* owner) : QWidget(owner, Qt::Tool) {
    setObjectName(QStringLiteral("Form2"));
    auto* layout = new QVBoxLayout(this);
    TeeListBox1 = new QListWidget(this);
    TeeListBox1->setObjectName(QStringLiteral("TeeListBox1"));
    TeeListBox1->setMinimumHeight(160);
    layout->addWidget(TeeListBox1, 1);

    Frame1 = new QGroupBox(this);
    auto* paging = new QVBoxLayout(Frame1);
    Label1 = new QLabel(Frame1);
    HScroll1 = new QScrollBar(Qt::Horizontal, Frame1);
    HScroll1->setRange(1, 5000);
    HScroll1->setValue(1);
    Label2 = new QLabel(Frame1);
    paging->addWidget(Label1);
    paging->addWidget(HScroll1);
    paging->addWidget(Label2);
    layout->addWidget(Frame1);

    Text1 = new QLabel(this);
    Text1->setWordWrap(true);
    layout->addWidget(Text1);

    Frame3 = new QGroupBox(this);
    auto* graph = new QVBoxLayout(Frame3);
    for (QCheckBox** box : {&Check2, &Check1, &Check3, &Check4, &Check5}) {
        *box = new QCheckBox(Frame3);
        graph->addWidget(*box);
    }
    for (QPushButton** b : {&Command1, &Command2, &Command3}) {
        *b = new QPushButton(Frame3);
        graph->addWidget(*b);
    }
    Command3->setEnabled(false);
    layout->addWidget(Frame3);

    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    connect(Check3, &QCheckBox::toggled, this, [this] { Check3_Click(); });
    connect(Check4, &QCheckBox::toggled, this, [this] { Check4_Click(); });
    connect(Check5, &QCheckBox::toggled, this, [this] { multiple_axes_changed(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] {
        if (export_action_)
            export_action_();
    });
    connect(HScroll1, &QScrollBar::valueChanged, this, [this] {
        if (!ranging_)
            points_wanted_ = HScroll1->value();
        HScroll1_Change();
    });
    connect(TeeListBox1, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { list_item_changed(item); });
    connect(TeeListBox1, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { TeeListBox1_DblClick(TeeListBox1->row(item)); });

    // Load
    points_wanted_ = DESIGN_POINTS_PER_PAGE;
    update_series();
    log_setup().legend_window_shown = true;
    apply_legend_texts();
    HScroll1_Change();
    layout->setSpacing(4);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(250, std::min(area.height() * 4 / 5, 680));
        move(area.right() - width(), area.top());
    }
    log_chart_model().set_change_listener(this, [this] { fill_list(); });
}

LegendWindow::~LegendWindow() {
    log_chart_model().set_change_listener(this, {});
}

void LegendWindow::apply_legend_texts() {
    setWindowTitle(caption(2313, "Legend Control"));
    Frame1->setTitle(caption(1097, "Display Options"));
    Command1->setText(caption(1078, "&Select All"));
    Command2->setText(caption(1079, "&De-Select All"));
    Command3->setText(caption(1142, "E&xport"));
    Check1->setText(caption(1318, "Draw Labels"));
    Check2->setText(caption(1152, "Draw Points"));
    Check3->setText(caption(1153, "Background"));
    Check4->setText(caption(1154, "Legends"));
    Frame3->setTitle(caption(1155, "Graph Control"));
    Check5->setText(caption(1156, "Multiple Axes"));
    // One sentence a line; the scroll bar's sentence comes in two texts, which the label wraps
    // as one, so that a language whose first half does not fit leaves no word on a line alone.
    Text1->setText(caption(1164, "Tick a series to show it on the chart.") + QLatin1Char('\n') +
                   caption(1165, "Double-click a series to rename it.") + QLatin1Char('\n') +
                   caption(1166, "The scroll bar sets the number") + QLatin1Char(' ') +
                   caption(1167, "of points on each chart page."));
    HScroll1_Change();
}

void LegendWindow::set_export_action(std::function<void()> action) {
    export_action_ = std::move(action);
    Command3->setEnabled(static_cast<bool>(export_action_));
}

// The list shows the chart's series as they are now, whoever changed them (the title dialog,
// Setup's new units, a new log, the chart's own legend). Rows are changed in place, so the row
// the user works on stays where it is.
void LegendWindow::fill_list() {
    filling_ = true;
    const LogChartModel& model = log_chart_model();
    while (TeeListBox1->count() > model.series_count())
        delete TeeListBox1->takeItem(TeeListBox1->count() - 1);
    for (int k = 0; k < model.series_count(); ++k) {
        const LogChartSeries& s = model.series(k);
        QListWidgetItem* item = TeeListBox1->item(k);
        if (!item) {
            item = new QListWidgetItem(TeeListBox1);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        }
        if (item->text() != s.title)
            item->setText(s.title);
        const Qt::CheckState state = s.active ? Qt::Checked : Qt::Unchecked;
        if (item->checkState() != state || !item->data(Qt::CheckStateRole).isValid())
            item->setCheckState(state);
        if (item->data(Qt::UserRole) != QVariant(s.colour)) {
            item->setIcon(colour_icon(s.colour));
            item->setData(Qt::UserRole, s.colour);
        }
    }
    filling_ = false;
}

void LegendWindow::list_item_changed(QListWidgetItem* item) {
    if (filling_)
        return;
    LogChartModel& model = log_chart_model();
    const int k = TeeListBox1->row(item);
    if (k < 0 || k >= model.series_count())
        return;
    const bool active = item->checkState() == Qt::Checked;
    if (model.series(k).active == active)
        return;
    model.series(k).active = active;
    model.changed();
}

void LegendWindow::update_series() {
    if (shell().graph_background && !Check3->isChecked())
        Check3->setChecked(true);
    fill_list();
    Check2_Click();
    Check3_Click();
    Check4_Click();
    multiple_axes_changed();
    set_paging_range();
    HScroll1_Change();
}

// A window made while no log was known (its range then ends at 1 point) must not keep the next
// log at one point a page: each log gets the chart's points per page, as far as it reaches.
void LegendWindow::set_paging_range() {
    ranging_ = true;
    HScroll1->setMaximum(legend::points_per_page_maximum(log_setup().log_records));
    HScroll1->setValue(legend::clamp_points_per_page(points_wanted_, HScroll1->maximum()));
    ranging_ = false;
}

void LegendWindow::Check1_Click() {
    LogChartModel& model = log_chart_model();
    model.display.labels = Check1->isChecked();
    if (Check1->isChecked() && !Check2->isChecked()) {
        Check2->setChecked(true); // its handler redraws
        return;
    }
    model.changed();
}

void LegendWindow::Check2_Click() {
    LogChartModel& model = log_chart_model();
    for (int k = 0; k < model.series_count(); ++k)
        model.series(k).show_points = Check2->isChecked();
    model.changed();
}

void LegendWindow::Check3_Click() {
    ShellState& sh = shell();
    sh.graph_background = Check3->isChecked();
    log_chart_model().display.background = sh.graph_background;
    if (!sh.ini_path.isEmpty())
        write_ini(sh.ini_path, SECTION_GRAPH, KEY_BACKGROUND,
                  sh.graph_background ? QStringLiteral("True") : QStringLiteral("False"));
    log_chart_model().changed();
}

void LegendWindow::Check4_Click() {
    log_chart_model().display.legend = Check4->isChecked();
    log_chart_model().changed();
}

void LegendWindow::multiple_axes_changed() {
    LogChartModel& model = log_chart_model();
    LogSetupState& s = log_setup();
    if (Check5->isChecked()) {
        s.active_series_count = 0;
        for (int k = 0; k < model.series_count(); ++k)
            s.active_series_count += model.series(k).active ? 1 : 0;
        if (s.active_series_count == 0)
            return;
    }
    model.display.multiple_axes = Check5->isChecked();
    model.changed();
}

void LegendWindow::Command1_Click() {
    LogChartModel& model = log_chart_model();
    for (int k = 0; k < model.series_count(); ++k)
        model.series(k).active = true;
    fill_list();
    if (!Check5->isChecked())
        Check5->setChecked(true);
    else
        model.changed();
}

void LegendWindow::Command2_Click() {
    LogChartModel& model = log_chart_model();
    for (int k = 0; k < model.series_count(); ++k)
        model.series(k).active = false;
    fill_list();
    model.changed();
}

void LegendWindow::HScroll1_Change() {
    LogChartModel& model = log_chart_model();
    model.display.points_per_page = HScroll1->value();
    model.display.page = std::clamp(model.display.page, 0, model.page_count() - 1);
    Label1->setText(caption(1157, "Time Per Page") + QStringLiteral(" = ") +
                    legend::page_span_text(HScroll1->value(), log_setup().log_interval) +
                    QLatin1Char(' ') + caption(1158, "min"));
    Label2->setText(caption(1159, "Number of Pages") + QStringLiteral(" = ") +
                    QString::number(model.page_count()));
    model.changed();
}

void LegendWindow::TeeListBox1_DblClick(int index) {
    log_setup().selected_series_index = static_cast<int16_t>(index);
    edit_series_title(index, this);
}

LegendWindow& legend_window() {
    if (!the_window()) {
        the_window() = new LegendWindow(the_owner());
        the_window()->set_export_action([] { export_chart_data(); });
    }
    return *the_window();
}

bool legend_window_loaded() {
    return static_cast<bool>(the_window());
}

void unload_legend_window() {
    delete the_window();
}

void set_legend_window_owner(QWidget* owner) {
    the_owner() = owner;
}

void tuck_away_legend_window() {
    if (legend_window_loaded())
        legend_window().hide();
}

void restore_legend_window() {
    LegendWindow& w = legend_window();
    w.showNormal();
    w.raise();
}

void show_legend_window() {
    legend_window().update_series();
    log_setup().legend_window_shown = true;
    restore_legend_window();
}

// ---- title_dialog: the series title dialog ----

std::function<int(QDialog&)>& series_title_dialog_runner() {
    static std::function<int(QDialog&)> run = [](QDialog& d) { return d.exec(); };
    return run;
}

bool edit_series_title(int index, QWidget* parent) {
    LogChartModel& model = log_chart_model();
    if (index < 0 || index >= model.series_count())
        return false;
    QDialog title_dialog(parent);
    title_dialog.setObjectName(QStringLiteral("Form4"));
    title_dialog.setWindowTitle(caption(2314, "Chart Series Title"));
    auto* layout = new QVBoxLayout(&title_dialog);
    auto* Label1 = new QLabel(caption(2315, "New Series Title"), &title_dialog);
    auto* Text1 = new QLineEdit(&title_dialog);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMinimumWidth(260);
    const LogChartSeries& s = model.series(index);
    // A series without a title shows its name.
    Text1->setText(s.title.isEmpty() ? QStringLiteral("Series%1").arg(index) : s.title);
    auto* buttons = new QDialogButtonBox(&title_dialog);
    QPushButton* Command1 = buttons->addButton(caption(2316, "OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(caption(1397, "&Cancel"), QDialogButtonBox::RejectRole);
    Command1->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &title_dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &title_dialog, &QDialog::reject);
    layout->addWidget(Label1);
    layout->addWidget(Text1);
    layout->addWidget(buttons);
    // On the middle of the screen, wherever the legend window floats.
    title_dialog.adjustSize();
    const QScreen* screen =
        parent && parent->screen() ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        title_dialog.move(area.x() + (area.width() - title_dialog.width()) / 2,
                   area.y() + (area.height() - title_dialog.height()) / 2);
    }
    if (series_title_dialog_runner()(title_dialog) != QDialog::Accepted)
        return false;
    model.series(index).title = Text1->text().trimmed();
    model.changed();
    return true;
}
