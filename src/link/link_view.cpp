#include "link/link_view.h"

void RecordingLinkView::set_status_text(int panel, const QString& text) {
    status[panel] = text;
    if (panel == 1)
        status_history.push_back(text);
}

QString RecordingLinkView::status_text(int panel) const {
    auto it = status.find(panel);
    return it == status.end() ? QString() : it->second;
}

int RecordingLinkView::progress_value(int bar) const {
    auto it = value.find(bar);
    return it == value.end() ? 0 : it->second;
}

int RecordingLinkView::progress_max(int bar) const {
    auto it = maximum.find(bar);
    return it == maximum.end() ? 100 : it->second;
}

void RecordingLinkView::set_progress_value(int bar, int v) {
    value[bar] = v;
}

void RecordingLinkView::set_download_label(const QString& text) {
    download_label = text;
}

void RecordingLinkView::set_live_timer_enabled(bool enabled) {
    calls.push_back(enabled ? QStringLiteral("Timer1 on") : QStringLiteral("Timer1 off"));
}

void RecordingLinkView::select_offline_option() {
    calls.push_back(QStringLiteral("Option3"));
}

void RecordingLinkView::set_velto_lite_checked(bool checked) {
    velto_lite_checked = checked;
    calls.push_back(checked ? QStringLiteral("chkVeltoLite 1") : QStringLiteral("chkVeltoLite 0"));
}

void RecordingLinkView::set_capability_options(bool volume, bool flow, bool flow_average) {
    volume_option = volume;
    flow_option = flow;
    flow_average_option = flow_average;
}

void RecordingLinkView::set_param_screen_captions() {
    calls.push_back(QStringLiteral("set_param_screen_captions"));
}

namespace {
LinkView*& installed() {
    static LinkView* v = nullptr;
    return v;
}
} // namespace

LinkView& link_view() {
    static RecordingLinkView stand_in;
    return installed() ? *installed() : stand_in;
}

void set_link_view(LinkView* view) {
    installed() = view;
}
