#pragma once
// The KOVEX tab's work with the unit: Get Traces fetches the RAW echo and the KOVEX curve, Send
// Points sends the points the user dragged, Set KOVEX writes the KOVEX parameter set and has the
// unit rebuild its curve, Default KOVEX has the unit restore its own set and reads it back. Each
// sequence ends by fetching the traces again, so the chart shows the unit's new curve, and stops
// at the first command the unit does not answer.
// The tab's boxes are the parameter rows' boxes shown a second time: they show the set that is
// loaded, what is typed into either shows on both pages and goes into the set, and the KOVEX
// parameters go to and come from the unit through the parameter screen's range transfers.

#include "echo/echo_exchange.h"
#include "echo/kovex_rules.h"
#include "parameters/parameter_transfer.h"

#include <QObject>
#include <functional>
#include <vector>

class KovexPage;
class QMouseEvent;

struct KovexHooks {
    // The wait message (progress_text): shown with a text, hidden.
    std::function<void(const QString&)> show_wait;
    std::function<void()> hide_wait;
    // Whether live monitoring is on (its trace exchanges keep the link in echo mode).
    std::function<bool()> live_monitoring;
};

class KovexPoints : public QObject {
    Q_OBJECT
public:
    KovexPoints(KovexPage& page, KovexHooks hooks, QObject* parent = nullptr);
    ~KovexPoints() override;

    void Command17_Click(); // Get Traces
    void Command14_Click(); // Send Points
    void Command16_Click(); // Set KOVEX
    void Command15_Click(); // Default KOVEX
    void Check7_Click();    // View Points

    void kovex_chart_click(Qt::MouseButton button, QPointF pixel);
    void kovex_chart_hover(QPointF pixel);
    void kovex_cursor_reset();

    const std::vector<KovexPoint>& points() const { return points_; }
    int grabbed_point_index() const { return grabbed_; }

private:
    void get_traces();
    void traces_failed(TraceFetch fetched);
    bool connect_with_wait();
    void end_sequence();
    void fail(const std::exception& ex);
    void show_wait(int text);
    void update_curve();
    void show_row(int P);

    KovexPage& page_;
    KovexHooks hooks_;
    std::vector<KovexPoint> points_;
    int grabbed_ = -1;
    int row_follower_ = -1;
};
