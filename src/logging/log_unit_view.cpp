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
