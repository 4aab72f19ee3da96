#pragma once
// Numbers of the texts the report and tool windows add to lang.def (all five languages there).

#include "shell/definitions_table.h"

namespace rtext {

enum : int {
    CALCULATOR_TITLE = 2700,
    FRAME_APPLICATION = 2701,
    FRAME_BATTERY = 2702,
    FRAME_ESTIMATED_POWER = 2703,
    TRANSDUCER_TYPE = 2704,
    WAKE_INTERVAL = 2705,
    OUTPUT_HOLD = 2706,
    OUTPUT_DURATION = 2707,
    VOLTAGE = 2708,
    CAPACITY = 2709,
    USABLE = 2710,
    LEAKAGE = 2711,
    AVERAGE_CONSUMPTION = 2712,
    BATTERY_LIFE = 2713,
    DISCLAIMER = 2714,
    NO = 2715,
    YES = 2716,
    PROFILE_TITLE = 2717,
    AXIS_TIME = 2718,
    AXIS_OUTPUT_VOLTAGE = 2719,
    AXIS_READY_SIGNAL = 2720,
    YEAR = 2721,
    YEARS = 2722,
    MONTH = 2723,
    MONTHS = 2724,
    DAY = 2725,
    DAYS = 2726,
    LAST_OUTPUT = 2727,
    NEW_OUTPUT = 2728,
    CLOSE = 2729,
    ECHO_PRINT_FAILED = 2730,
};

inline QString text(int n) {
    return ui_text(n);
}

} // namespace rtext
