#include "logging/log_unit_view.h"

#include <QLabel>
#include <QProgressBar>
#include <QTabWidget>

void RecordingLogUnitView::show_busy_message(const QString& text) {
    busy_message = text;
    busy_message_shown = true;
    busy_messages.push_back(text);
    calls.push_back(QStringLiteral("Text68 shown"));
}

void RecordingLogUnitView::hide_busy_message() {
    busy_message_shown = false;
    calls.push_back(QStringLiteral("Text68 hidden"));
}

void RecordingLogUnitView::show_busy_panel(bool shown) {
    busy_panel_shown = shown;
    calls.push_back(shown ? QStringLiteral("Frame25 shown") : QStringLiteral("Frame25 hidden"));
}

void RecordingLogUnitView::set_progress_max(int bar, int maximum) {
    progress_max[bar] = maximum;
}

namespace {
LogUnitView*& installed() {
    static LogUnitView* view = nullptr;
    return view;
}
} // namespace

LogUnitView& log_unit_view() {
    static RecordingLogUnitView stand_in;
    return installed() ? *installed() : stand_in;
}

void set_log_unit_view(LogUnitView* view) {
    installed() = view;
}

WidgetLogUnitView::WidgetLogUnitView(const Controls& controls, QObject* parent)
    : QObject(parent), c_(controls) {
    set_log_unit_view(this);
}

WidgetLogUnitView::~WidgetLogUnitView() {
    if (&log_unit_view() == static_cast<LogUnitView*>(this))
        set_log_unit_view(nullptr);
}

void WidgetLogUnitView::show_busy_message(const QString& text) {
    // A label breaks lines at line feeds; the carriage returns would show as nothing useful.
    c_.Text68->setText(QString(text).remove(QLatin1Char('\r')));
    c_.Text68->show();
    c_.Text68->raise();
    c_.Text68->repaint();
}

void WidgetLogUnitView::hide_busy_message() {
    c_.Text68->hide();
}

bool WidgetLogUnitView::logging_tab_showing() const {
    // The page with the unit's log read-outs is the first tab of the logging tab set.
    return c_.SSTab1 && c_.SSTab1->isVisible() && c_.SSTab1->currentIndex() <= 1;
}

void WidgetLogUnitView::show_busy_panel(bool shown) {
    c_.Frame25->setVisible(shown);
    c_.Animation1->setVisible(shown);
    if (shown) {
        c_.Frame25->raise();
        c_.Frame25->repaint();
    }
}

void WidgetLogUnitView::set_progress_max(int bar, int maximum) {
    if (bar >= 1 && bar <= 5 && c_.ProgressBar[static_cast<size_t>(bar)])
        c_.ProgressBar[static_cast<size_t>(bar)]->setMaximum(maximum);
}

void WidgetLogUnitView::set_tab_enabled(int tab, bool enabled) {
    if (c_.SSTab1)
        c_.SSTab1->setTabEnabled(tab, enabled);
}

bool WidgetLogUnitView::tab_enabled(int tab) const {
    return c_.SSTab1 && c_.SSTab1->isTabEnabled(tab);
}

void WidgetLogUnitView::select_tab(int tab) {
    if (c_.SSTab1)
        c_.SSTab1->setCurrentIndex(tab);
}
