#pragma once
// The KOVEX curve editing without widgets: the commands that send changed points, the texts the
// right click writes into a point's Limit and Loss boxes, the chart's read-out text, and which
// point the mouse has taken hold of.

#include <QPointF>
#include <QString>
#include <QStringList>
#include <vector>

// The parameter ranges of the KOVEX set, in the order Set KOVEX writes them and Default KOVEX
// reads them (P170..P185 before P109..P112 there).
struct ParameterRange {
    int first, last;
};
inline constexpr ParameterRange KOVEX_SET_ORDER[] = {{41, 41}, {81, 84}, {109, 112}, {170, 185},
                                                     {905, 905}};
inline constexpr ParameterRange KOVEX_DEFAULT_ORDER[] = {{41, 41}, {81, 84}, {170, 185},
                                                         {109, 112}, {905, 905}};

// One edited point: the sample it was fetched as, the value the unit sent, the value now shown.
struct KovexPoint {
    int sample = 0;
    double fetched = 0;
    double value = 0;
};
// "/Y<sample>:<value>" for every point whose value changed, in point order. The value is the
// whole number the point shows ("0" for a point dragged to 0, "-12" below it).
QStringList kovex_point_commands(const std::vector<KovexPoint>& points);

// The right click's texts for point k's Limit box (the amplitude, a whole number) and Loss box
// (the distance with up to two decimals, "." and a leading zero), from the cursor position capped
// at the axes' maxima.
QString kovex_limit_text(double y, double left_max);
QString kovex_loss_text(double x, double bottom_max);

// The chart's read-out for the cursor at distance x and amplitude y.
QString kovex_annotation(int language_index, double x, double y);

// The point nearest `mouse` among `points` (pixel positions) within `radius` pixels, or -1.
int pick_point(const std::vector<QPointF>& points, QPointF mouse, double radius);

// A dragged point's new value: the mouse's amplitude, never above the axis maximum.
double dragged_value(double y, double left_max);
