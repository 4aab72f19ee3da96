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
    c_.progress_text->setText(QString(text).remove(QLatin1Char('\r')));
    c_.progress_text->show();
    c_.progress_text->raise();
    c_.progress_text->repaint();
}

void WidgetLogUnitView::hide_busy_message() {
    c_.progress_text->hide();
}

bool WidgetLogUnitView::logging_tab_showing() const {
    // The page with the unit's log read-outs is the first tab of the logging tab set.
    return c_.logging_tabs && c_.logging_tabs->isVisible() && c_.logging_tabs->currentIndex() <= 1;
}

void WidgetLogUnitView::show_busy_panel(bool shown) {
    c_.busy_frame->setVisible(shown);
    c_.busy_animation->setVisible(shown);
    if (shown) {
        c_.busy_frame->raise();
        c_.busy_frame->repaint();
    }
}

void WidgetLogUnitView::set_progress_max(int bar, int maximum) {
    if (bar >= 1 && bar <= 5 && c_.ProgressBar[static_cast<size_t>(bar)])
        c_.ProgressBar[static_cast<size_t>(bar)]->setMaximum(maximum);
}

void WidgetLogUnitView::set_tab_enabled(int tab, bool enabled) {
    if (c_.logging_tabs)
        c_.logging_tabs->setTabEnabled(tab, enabled);
}

bool WidgetLogUnitView::tab_enabled(int tab) const {
    return c_.logging_tabs && c_.logging_tabs->isTabEnabled(tab);
}

void WidgetLogUnitView::select_tab(int tab) {
    if (c_.logging_tabs)
        c_.logging_tabs->setCurrentIndex(tab);
}
