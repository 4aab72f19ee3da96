#pragma once
// Drawing on the echo page: the traces from the trace table with the gate bars and span bands,
// the chart background and light, the cursor read-out, the zoom hold, and the three read-outs
// over the echo chart (status box, level and temperature charts). The names are the design's;
// callers are the view settings, the live monitor, the player and the main window's keys.

#include "echo/echo_rules.h"

#include <QObject>
#include <QString>
#include <functional>

class EchoPage;
class QMouseEvent;

class EchoDisplay : public QObject {
    Q_OBJECT
public:
    explicit EchoDisplay(EchoPage& page, QObject* parent = nullptr);

    // Presses or releases the main toolbar's read-out key: 0 status, 1 level, 2 temperature.
    std::function<void(int, bool)> press_indicator;

    // ---- The echo chart
    void update_trace(int trace, int chart);
    void drawwindow();
    void drawspan();
    void collapse_bands();
    void clear_trace(int index); // a trace line; index 0 also takes the gate bars
    void clear_gate();
    void getchartbackground();
    void choose_chart_colour();
    void echo_chart_mouse_move(int index, double x, double y);
    void hold_echo_axes(int index);
    void release_echo_axes(int index);

    // ---- The read-outs
    void update_status(double status, const QString& status_text);
    void update_level(double span, double level);
    void update_temperature(double temperature);
    void show_status();
    void show_level();
    void show_temperature();
    void indicator_click(int index);
    void clear_all_accessories();
    void toggle_light();
    // The light picture and the status box colour for echo_light_on, without flipping it.
    void show_light();

    // Height of the read-outs over the chart (pixels): eight lines of the status box.
    int readout_height() const;

    EchoPage& page() { return page_; }

private:
    void apply_axis_shadow();
    void add_readout_point(int chart, double value);
    void place_readouts();

    EchoPage& page_;
};
