#include "logging/log_unit_view.h"

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

void RecordingLogUnitView::clear_terminal() {
    ++terminal_clears;
    calls.push_back(QStringLiteral("Term cleared"));
}

void RecordingLogUnitView::show_busy_panel(bool shown) {
    busy_panel_shown = shown;
    calls.push_back(shown ? QStringLiteral("Frame25 shown") : QStringLiteral("Frame25 hidden"));
}

void RecordingLogUnitView::set_busy_caption(const QString& text) {
    busy_caption = text;
    calls.push_back(QStringLiteral("Label11: ") + text);
}

void RecordingLogUnitView::reset_progress(int bar, int maximum) {
    if (maximum >= 0)
        progress_max[bar] = maximum;
    calls.push_back(QStringLiteral("ProgressBar%1 reset").arg(bar));
}

void RecordingLogUnitView::set_status_text(int panel, const QString& text) {
    status[panel] = text;
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
