#pragma once
// What each unit model can log, and which channel boxes and frames of the log set-up page that
// offers. Plain rules; the page applies them to its controls.

#include "logging/log_setup_state.h"

#include <array>
#include <cstdint>
#include <optional>

namespace logsetup {

// The model options, in the order the page shows them. No option has the indexes 22..39, 41, 42.
inline constexpr std::array<int16_t, 24> MODEL_OPTION_INDEXES = {
    0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 40, 43};

inline constexpr int CSO_MODEL = 14;
inline constexpr int HESVARIN_MODEL = 15;
inline constexpr int RADAR_MODEL = 40;
inline constexpr int QUORVANTIX_MODEL = 43;

bool is_model_option(int index);

// What choosing a model sets. `ma_off` clears ma_input_available; otherwise it keeps its value
// (capabilities.ma_input_available is always false here).
struct ModelSelection {
    ModelCapabilityFlags capabilities;
    bool ma_off = false;
    int16_t relay_count = 6;
    bool dual_point_option = false;
    bool hesvarin_model = false;
    bool radar_unit = false;
    bool quorvantix_unit = false;
    bool lite_box = false; // the model comes in a Lite form: offer the Lite box
};

// The model of option `index`; an index without a model offers nothing beyond the basics. The
// CSO model's volume and flow follow the unit's answers in `unit`.
ModelSelection model_selection(int index, const UnitIdentity& unit);

inline constexpr int FRAME_COUNT = 19; // Frame1(0..18); Frame1(13) is not on this page

// Enabled and visible state of every channel box and frame of the page; a frame left nullopt is
// not touched.
struct ChannelOffer {
    std::array<bool, LOG_CHANNEL_COUNT> box_enabled{};
    std::array<bool, LOG_CHANNEL_COUNT> box_visible{};
    std::array<std::optional<bool>, FRAME_COUNT> frame_enabled{};
    std::array<std::optional<bool>, FRAME_COUNT> frame_visible{};
    bool second_point_option = false; // the one flag the offer may change
    bool hesvarin_captions = false;
};

// The page's offer for the flags in `s` and the unit's identity. `lite_model_selected` is true
// while option 3 or 8 is the selected model: those models get Point 2 back once the Lite form is
// dropped.
ChannelOffer channel_offer(const LogSetupState& s, const UnitIdentity& unit,
                           bool lite_model_selected);

} // namespace logsetup
