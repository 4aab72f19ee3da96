#include "echo/echo_install.h"

#include "echo/echo_display.h"
#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "echo/kovex_page.h"
#include "shell/definitions_table.h"

#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include "shell/main_window_services.h"

#include <QCheckBox>
#include <QToolButton>

EchoWork install_echo_work(EchoPage& page, MainWindowServices& services, EchoFrameHooks hooks,
                           std::function<void(int, bool)> press_indicator,
                           RecorderFrame recorder_frame) {
    EchoWork w;
    w.display = new EchoDisplay(page, &page);
    w.display->press_indicator = std::move(press_indicator);
    w.monitor = new LiveEchoMonitor(page, *w.display, std::move(hooks), &page);
    w.recorder = new EchoRecorder(page, *w.display, recorder_frame, &page);
    EchoRecorder* r = w.recorder;
    w.monitor->hooks().record_traces = [r] { r->record_traces(); };
    w.monitor->hooks().stop_playback = [r] {
        if (echo_state().playback_running)
            r->stop_button();
    };
    EchoDisplay* d = w.display;
    LiveEchoMonitor* m = w.monitor;

    page.set_live_handler([m] { m->start_monitoring(); });
    page.offline_handler = [m] { m->stop_monitoring(); };
    page.set_trace_box_handler([m](int i) { m->trace_box_changed(i); });
    QObject::connect(page.gate_box, &QCheckBox::toggled, m, [m] { m->gate_box_changed(); });
    QObject::connect(page.gradient_box, &QCheckBox::toggled, m, [m] { m->gradient_box_changed(); });
    QObject::connect(page.range_box, &QCheckBox::toggled, m, [m] { m->range_box_changed(); });
    QObject::connect(page.light_button, &QToolButton::clicked, d, [d] { d->toggle_light(); });
    QObject::connect(page.colour_button, &QToolButton::clicked, d,
                     [d] { d->choose_chart_colour(); });

    // The KOVEX tab follows the set-up tabs of the CSO tab set.
    w.kovex_page = new KovexPage(page);
    KovexHooks kovex_hooks;
    if (QLabel* wait = recorder_frame.progress_text) {
        kovex_hooks.show_wait = [wait](const QString& text) {
            wait->setText(text);
            wait->show();
            wait->raise();
        };
        kovex_hooks.hide_wait = [wait] { wait->hide(); };
    }
    kovex_hooks.live_monitoring = [&page] { return page.live_option->isChecked(); };
    w.kovex = new KovexPoints(*w.kovex_page, kovex_hooks, w.kovex_page);
    if (QTabWidget* tabs = recorder_frame.cso_tabs) {
        const int index = tabs->addTab(w.kovex_page, QStringLiteral("KOVEX"));
        KovexPage* kp = w.kovex_page;
        page.more_texts = [tabs, index, kp] {
            tabs->setTabText(index, ui_text(1402, QStringLiteral("KOVEX")));
            kp->set_page_texts();
        };
    }

    services.apply_saved_view_settings = [m] { m->apply_saved_view_settings(); };
    services.getchartbackground = [d] { d->getchartbackground(); };
    services.show_status = [d] { d->show_status(); };
    services.show_level = [d] { d->show_level(); };
    services.show_temperature = [d] { d->show_temperature(); };
    services.indicator_click = [d](int index) { d->indicator_click(index); };
    // Both ways to the recorder start without a file chosen.
    services.playbutton_pressed = [r] {
        echo_state().echo_file_name.clear();
        r->playbutton_pressed();
    };
    services.play_button = [r] { r->play_button(); };
    return w;
}
