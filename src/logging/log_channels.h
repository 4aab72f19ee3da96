#pragma once
// The log channel table and the arithmetic of a channel selection: record size, the three 16-bit
// mask words the unit is given, and how long the unit's log memory lasts.

#include "logging/log_setup_state.h"

#include <bitset>
#include <cstdint>

// Start-up, once, before the log set-up page is used.
void init_log_channel_bytes();
void init_log_channel_decimals();

// Log memory of a logging board by its software version (V1.92 is 192) divided by the minutes of
// a day, rounded: 182 for versions 1..192, 137 otherwise. Also sets log_memory_bytes.
int32_t getDurationMult(int16_t version);

namespace logsetup {

using ChannelSet = std::bitset<LOG_CHANNEL_COUNT>;

// Where a channel sits in the mask words: word 1..3 and bit 0..15.
struct MaskPlace {
    int word;
    int bit;
};
MaskPlace mask_place(int channel);

struct MaskWords {
    int32_t word1 = 0;
    int32_t word2 = 0;
    int32_t word3 = 0;
    bool operator==(const MaskWords&) const = default;
};

MaskWords mask_words(const ChannelSet& channels);

// The channels a log's mask words name. Each word is taken as the 16-bit word the unit keeps, so
// a value written signed (-1) or with stray high bits reads as its low 16 bits.
ChannelSet channels_from_masks(int32_t word1, int32_t word2, int32_t word3);

// Bytes per record of the channels by the table's widths.
int16_t record_size(const ChannelSet& channels, const LogChannelTable& table);

// Days the log memory lasts; 0 when there is no record size to divide by.
double log_duration_days(double interval_minutes, double multiplier, int record_bytes);

// Days a wrapping log keeps (a fifth goes to the wrap, rounded down); the full duration otherwise.
double latest_log_days(double duration_days, bool wrapping);

} // namespace logsetup
