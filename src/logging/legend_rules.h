#pragma once
// The arithmetic of the legend window: the bands of the chart height that "Multiple Axes" gives
// the active series, and the points-per-page scroll bar's bounds and read-outs.

#include <QString>
#include <vector>

namespace legend {

// Percent of the plot height, from the bottom, and the side of the band's axis.
struct Band {
    int start = 0;
    int end = 0;
    bool right = false;
};

// `active` bands of Int(100 / active) percent each, from the bottom, their axes alternating left
// and right; none for no active series.
std::vector<Band> axis_bands(int active);

// The scroll bar's maximum: the log's records, at most 5000, at least 1.
int points_per_page_maximum(double log_records);
// A value within the scroll bar's bounds.
int clamp_points_per_page(int value, int maximum);

// Minutes one page of `points` spans at `interval` minutes, as the read-out shows it.
QString page_span_text(int points, double interval_minutes);

} // namespace legend
