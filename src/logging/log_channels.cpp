#include "logging/log_channels.h"

#include "platform/vb.h"

#include <cmath>

namespace {

constexpr std::array<int16_t, LOG_CHANNEL_COUNT> CHANNEL_WIDTHS = {
    2, 2, 1, 1, 1, 1, 1, 1, // point 1
    2, 2, 1, 1, 1, 1, 1, 1, // point 2
    1, 1, 1,                // analogue input and outputs
    1, 1, 1,                // relays, inputs, status
    2, 2,                   // average and differential level
    4, 4, 4,                // totalisers 1
    2, 2,                   // volume 1, pumped
    2, 2,                   // flow 1, average
    3,                      // time stamp
    0, 0,                   // never logged
    4, 4, 4,                // totalisers 2
    2,                      // volume 2
    2, 2,                   // volume 1&2 average, total
    2, 2,                   // flow 2, average
    2, 2,                   // flow 1&2 average, total
    2,                      // velocity
    4, 4, 4,                // negative totalisers
};

constexpr double MINUTES_PER_DAY = 1440.0;

} // namespace

void init_log_channel_bytes() {
    auto& width = log_setup().log_channel_table.width;
    width.fill(0);
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c)
        width[static_cast<size_t>(c)] = CHANNEL_WIDTHS[static_cast<size_t>(c)];
}

void init_log_channel_decimals() {
    auto& decimals = log_setup().log_channel_table.decimals;
    decimals.fill(0);
    for (int c : {16, 17, 18, 29, 30, 38, 39, 42, 43})
        decimals[static_cast<size_t>(c)] = 1;
    for (int c : {32, 33})
        decimals[static_cast<size_t>(c)] = 2;
}

int32_t getDurationMult(int16_t version) {
    auto& s = log_setup();
    s.log_memory_bytes = (version > 0 && version < 193) ? 262144.0 : 196608.0;
    return static_cast<int32_t>(platform::round_half_even(s.log_memory_bytes / MINUTES_PER_DAY));
}

namespace logsetup {

MaskPlace mask_place(int channel) {
    if (channel < 16)
        return {1, channel};
    if (channel < 32)
        return {2, channel - 16};
    // Word 3 keeps the second point's volume channels above its flow channels.
    switch (channel) {
    case 38: return {3, 8};
    case 39: return {3, 9};
    case 40: return {3, 6};
    case 41: return {3, 7};
    default: return {3, channel - 32};
    }
}

MaskWords mask_words(const ChannelSet& channels) {
    MaskWords m;
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c) {
        if (!channels.test(static_cast<size_t>(c)))
            continue;
        const MaskPlace p = mask_place(c);
        int32_t& word = p.word == 1 ? m.word1 : p.word == 2 ? m.word2 : m.word3;
        word |= int32_t{1} << p.bit;
    }
    return m;
}

ChannelSet channels_from_masks(int32_t word1, int32_t word2, int32_t word3) {
    ChannelSet set;
    const uint32_t words[3] = {static_cast<uint32_t>(word1) & 0xFFFFu,
                               static_cast<uint32_t>(word2) & 0xFFFFu,
                               static_cast<uint32_t>(word3) & 0xFFFFu};
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c) {
        const MaskPlace p = mask_place(c);
        if (words[p.word - 1] & (1u << p.bit))
            set.set(static_cast<size_t>(c));
    }
    return set;
}

int16_t record_size(const ChannelSet& channels, const LogChannelTable& table) {
    int16_t bytes = 0;
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c)
        if (channels.test(static_cast<size_t>(c)))
            bytes = static_cast<int16_t>(bytes + table.width[static_cast<size_t>(c)]);
    return bytes;
}

double log_duration_days(double interval_minutes, double multiplier, int record_bytes) {
    if (record_bytes < 1)
        return 0;
    return interval_minutes * multiplier / record_bytes;
}

double latest_log_days(double duration_days, bool wrapping) {
    return wrapping ? std::floor(duration_days * 0.8 - 0.5) : duration_days;
}

} // namespace logsetup
