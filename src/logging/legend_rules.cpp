#include "logging/legend_rules.h"

#include "platform/vb.h"

#include <algorithm>

namespace legend {

std::vector<Band> axis_bands(int active) {
    std::vector<Band> bands;
    if (active <= 0)
        return bands;
    const int step = 100 / active;
    for (int k = 0; k < active; ++k)
        bands.push_back({step * k, step * (k + 1), k % 2 == 1});
    return bands;
}

int points_per_page_maximum(double log_records) {
    if (!(log_records >= 1))
        return 1;
    return static_cast<int>(std::min(5000.0, log_records));
}

int clamp_points_per_page(int value, int maximum) {
    return std::clamp(value, 1, std::max(1, maximum));
}

QString page_span_text(int points, double interval_minutes) {
    return platform::number_text(points * interval_minutes).trimmed();
}

} // namespace legend
