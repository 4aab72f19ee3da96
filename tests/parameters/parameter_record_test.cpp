#include "parameters/parameter_record.h"

#include "parameters_test_support.h"
#include "platform/vb.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

class ParameterRecord : public ::testing::Test {
protected:
    void SetUp() override { TearDown(); }
    void TearDown() override {
        definitions_table() = DefinitionsTable{};
        reset_shell_state();
        platform::number_separators() = {};
    }
};

} // namespace

TEST(VersionToNumber, UnitVersionTextsGiveThreeDigitNumbers) {
    // clang-format off
    const std::pair<const char*, int> cases[] = {
        {"2.0.5", 205}, {"1.9", 19000}, {"Prot.1.0.2", 102}, {"2.05b", 999}, {"0.9.5", 950},
        {"1.63", 163}, {"NO", 0}, {"", 0}, {"2.1.0 ", 210}, {"9.9.9.9", 999}, {"Velto", 0}};
    // clang-format on
    for (const auto& [text, number] : cases)
        EXPECT_EQ(version_to_number(text), number) << text;
}

TEST_F(ParameterRecord, DefaultsInDisplayUnits) {
    for (const auto& [p, units, decimals, default_value] : {std::tuple{105, "U_MU", 2, 1.5},
                                                            {106, "U_MU_M", 0, 1.5},
                                                            {164, "U_SE", 0, 0.2},
                                                            {213, "U_MU", 1, 40.0}}) {
        rec(p).units_code = units;
        rec(p).decimals = static_cast<int16_t>(decimals);
        rec(p).default_value = default_value;
    }
    rec(210).unit_value = 1;
    rec(211).unit_value = 2; // a temperature relay: its set points are degrees, not lengths
    const double feet = 1000 / 304.79999999999995;
    // clang-format off
    const struct { int p; double scale, expected; } cases[] = {
        {105, 1, 1.5}, {105, feet, 4.92}, {105, 1000, 1500}, {106, 1000, 1500}, {106, 100, 150},
        {164, 1000, 0.2}, {213, feet, 40}, {-1, 2, NO_VALUE}, {1501, 2, NO_VALUE}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(get_param_default_value(c.scale, c.p), c.expected)
            << "P" << c.p << " scale " << c.scale;

    platform::number_separators() = {",", "."};
    EXPECT_DOUBLE_EQ(get_param_default_value(feet, 105), 4.92)
        << "a German locale must not turn 4.92 into 4 or 492";
}

TEST_F(ParameterRecord, RelaySetPointsOfTemperatureRelaysAreNotLengths) {
    // clang-format off
    const struct { double type, function; int p, code; } cases[] = {
        {1, 2, 213, 1}, {1, 2, 214, 2}, {1, 1, 213, 0}, {2, 2, 214, 0}, {0, 2, 213, 0},
        {1, 2, 212, 0}, {1, 2, 215, 0},
        // Without a function the set points are no lengths either.
        {1, 0, 213, 11}, {1, 0, 214, 9}, {2, 0, 213, 11}, {1, 0, 212, 0}};
    // clang-format on
    for (const auto& c : cases)
        for (int base : {210, 220}) {
            rec(base).unit_value = c.type;
            rec(base + 1).unit_value = c.function;
            const int p = c.p - 210 + base;
            EXPECT_EQ(get_param_unit_code(p), c.code)
                << "P" << p << " type " << c.type << " function " << c.function;
        }
    rec(210).unit_value = 1;
    rec(211).unit_value = 2;
    rec(220).unit_value = 0;
    rec(221).unit_value = 2;
    EXPECT_EQ(get_param_unit_code(223), 0) << "each relay block follows its own type";
}

TEST_F(ParameterRecord, OptionListLengths) {
    using Context = parameters::LookupCountContext;
    const Context none, flow{true, false, 205, "4"}, flow_level{true, false, 205, "2"},
        volume{false, true, 205, " 5 "}, old{false, false, 180, ""};
    // The record, its units code and entry count, the values of the two records before it.
    // clang-format off
    const struct { int p; const char* units; int entries; double previous, before; const Context& context;
                   int expected; } cases[] = {
        {99, "", 9, 0, 0, none, 1}, {980, "U_RT", 9, 0, 0, none, 5}, {300, "U_RT", 9, 0, 0, none, 3},
        {211, "U_RF", 9, 0, 0, none, 1}, {211, "U_RF", 9, 1, 0, none, 4},
        {211, "U_RF", 9, 2, 0, none, 2}, {211, "U_RF", 9, 7, 0, none, 1},
        {212, "U_ID", 9, 0, 1, none, 7}, {212, "U_ID", 9, 0, 2, none, 2},
        {212, "U_ID", 9, 0, 0, none, 1}, {100, "", 9, 0, 0, flow, 4}, {100, "", 9, 0, 0, volume, 5},
        {100, "", 9, 0, 0, none, 3}, {930, "", 9, 0, 0, none, 2}, {101, "", 9, 0, 0, none, 7},
        {999, "", 9, 0, 0, none, 3}, {831, "", 9, 0, 0, flow, 5}, {831, "", 9, 0, 0, flow_level, 4},
        {831, "", 9, 0, 0, volume, 6}, {831, "", 9, 0, 0, none, 4}, {840, "", 4, 0, 0, old, 4},
        {840, "", 4, 0, 0, flow, 6}, {600, "", 13, 0, 0, none, 13},
        // The flow element list follows the flow type in P700, with flow support only.
        {701, "", 9, 1, 0, flow, 7}, {701, "", 9, 2, 0, flow, 4}, {701, "", 9, 3, 0, flow, 4},
        {701, "", 9, 4, 0, flow, 3}, {701, "", 9, 5, 0, flow, 2}, {701, "", 9, 0, 0, flow, 9},
        {701, "", 9, 1, 0, none, 9}};
    // clang-format on
    for (const auto& c : cases) {
        definitions_table() = DefinitionsTable{};
        DefinitionRecord& r = rec(c.p);
        r.number = static_cast<int16_t>(c.p);
        r.units_code = c.units;
        r.attribute6 = static_cast<int16_t>(c.entries);
        rec(c.p - 1).unit_value = c.previous;
        rec(c.p - 2).unit_value = c.before;
        EXPECT_EQ(get_lookup_entry_count(r, c.context), c.expected)
            << "P" << c.p << " " << c.units << ", before it " << c.previous << " " << c.before;
    }

    DefinitionRecord stray; // a record whose neighbours lie outside the table
    stray.units_code = "U_ID";
    stray.number = 1;
    EXPECT_EQ(get_lookup_entry_count(stray, none), 1);
    stray.units_code = "U_RF";
    stray.number = 32000;
    EXPECT_EQ(get_lookup_entry_count(stray, none), 1);
}

TEST_F(ParameterRecord, LimitsSetByTheProgramKeepTheDecimalPoint) {
    platform::number_separators() = {",", "."};
    rec(72).present = false;
    set_param_limits(72, 0, 999.9, "U_SE");
    EXPECT_EQ(rec(72).min_text, "0");
    EXPECT_EQ(rec(72).max_text, "999.9");
    EXPECT_EQ(rec(72).units_code, "U_SE");
    EXPECT_TRUE(rec(72).present);
    set_param_limits(1501, 0, 1, "U_SE"); // no record: nothing to do, nothing to break

    // Analogue outputs follow the system type in P99.
    // clang-format off
    const struct { double system; int p; const char *min, *max; double default_value;
                   const char* units; } cases[] = {
        {1, 836, "0", "5", 0, "U_VOLT"}, {4, 837, "0", "5", 5, "U_VOLT"},
        {1, 838, "-30", "30", 0, "U_VOLT"}, {2, 836, "0", "20", 0, "U_MA"},
        {3, 837, "0", "20", 20, "U_MA"}, {3, 839, "-30", "30", 0, "U_MA"},
        {5, 836, "x", "y", 7, "U_NO"}, {2, 840, "x", "y", 7, "U_NO"}};
    // clang-format on
    for (const auto& c : cases) {
        rec(99).unit_value = c.system;
        DefinitionRecord r;
        r.number = static_cast<int16_t>(c.p);
        r.min_text = "x";
        r.max_text = "y";
        r.default_value = 7;
        r.units_code = "U_NO";
        set_analog_param_limits(r);
        EXPECT_EQ(fields(r.min_text, r.max_text, r.default_value, r.units_code),
                  fields(c.min, c.max, c.default_value, c.units))
            << "P" << c.p << " system type " << c.system;
    }
}

TEST_F(ParameterRecord, UnitWordsFollowTheLanguage) {
    // clang-format off
    const struct { int language; double volume, time, quantity; const char *flow, *total; } cases[] = {
        {0, 2, 3, 7, "M3/Hr", "Ft3"}, {1, 1, 1, 0, "L/Sec", "No Units"},
        {3, 3, 4, 9, "Piedi3/Giorno", "Libbre"}, {4, 2, 4, 8, "m³/Dia", "Barrile"},
        {0, 7, 0, 10, "/", ""}, {0, 1.5, 2, -1, "/Min", ""}};
    // clang-format on
    for (const auto& c : cases) {
        shell().language_index = static_cast<int16_t>(c.language);
        rec(706).unit_value = c.volume;
        rec(707).unit_value = c.time;
        rec(605).unit_value = c.quantity;
        EXPECT_EQ(get_flow_units_text(), QString::fromUtf8(c.flow)) << "language " << c.language;
        EXPECT_EQ(get_totaliser_units_text(), QString::fromUtf8(c.total))
            << "language " << c.language;
    }
}
