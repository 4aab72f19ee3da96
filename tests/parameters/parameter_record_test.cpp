#include "parameters/parameter_record.h"

#include "platform/vb.h"
#include "shell/shell_state.h"

#include <gtest/gtest.h>

namespace {

DefinitionRecord& rec(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}

class ParameterRecord : public ::testing::Test {
protected:
    void SetUp() override {
        definitions_table() = DefinitionsTable{};
        reset_shell_state();
    }
    void TearDown() override {
        definitions_table() = DefinitionsTable{};
        reset_shell_state();
        platform::number_separators() = {};
    }
};

} // namespace

TEST(VersionToNumber, UnitVersionTextsGiveThreeDigitNumbers) {
    const std::pair<const char*, int> cases[] = {
        {"2.0.5", 205},  {"1.9", 19000},   {"Prot.1.0.2", 102}, {"2.05b", 999},
        {"0.9.5", 950},  {"1.63", 163},    {"NO", 0},           {"", 0},
        {"2.1.0 ", 210}, {"9.9.9.9", 999}, {"xyz", 0},          {"Velto", 0},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(version_to_number(text), number) << text;
}

TEST_F(ParameterRecord, DefaultsInDisplayUnits) {
    rec(105).units_code = "U_MU";
    rec(105).decimals = 2;
    rec(105).default_value = 1.5;
    rec(106).units_code = "U_MU_M";
    rec(106).decimals = 0;
    rec(106).default_value = 1.5;
    rec(164).units_code = "U_SE";
    rec(164).default_value = 0.2;
    rec(213).units_code = "U_MU";
    rec(213).decimals = 1;
    rec(213).default_value = 40;
    rec(210).unit_value = 1;
    rec(211).unit_value = 2; // a temperature relay: its set points are degrees, not lengths
    const double feet = 1000 / 304.79999999999995;
    const struct {
        int p;
        double scale;
        double expected;
    } cases[] = {
        {105, 1, 1.5},     {105, feet, 4.92}, {105, 1000, 1500},
        {106, 1000, 1500}, {106, 100, 150},   {164, 1000, 0.2},
        {213, feet, 40},   {-1, 2, NO_VALUE}, {1501, 2, NO_VALUE},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(get_param_default_value(c.scale, c.p), c.expected)
            << "P" << c.p << " scale " << c.scale;

    platform::number_separators() = {QStringLiteral(","), QStringLiteral(".")};
    EXPECT_DOUBLE_EQ(get_param_default_value(feet, 105), 4.92) << "a German locale must not "
                                                                  "turn 4.92 into 4 or 492";
}

TEST_F(ParameterRecord, RelaySetPointsOfTemperatureRelaysAreNotLengths) {
    const struct {
        double type, function;
        int p;
        int code;
    } cases[] = {
        {1, 2, 213, 1}, {1, 2, 214, 2}, {1, 1, 213, 0}, {2, 2, 214, 0},
        {0, 2, 213, 0}, {1, 2, 212, 0}, {1, 2, 215, 0},
    };
    for (const auto& c : cases) {
        for (int base : {210, 220}) {
            rec(base).unit_value = c.type;
            rec(base + 1).unit_value = c.function;
            const int p = c.p - 210 + base;
            EXPECT_EQ(get_param_unit_code(p), c.code)
                << "P" << p << " type " << c.type << " function " << c.function;
        }
    }
    rec(210).unit_value = 1;
    rec(211).unit_value = 2;
    rec(220).unit_value = 0;
    EXPECT_EQ(get_param_unit_code(223), 0) << "each relay block follows its own type";
}

TEST_F(ParameterRecord, OptionListLengths) {
    parameters::LookupCountContext none;
    parameters::LookupCountContext flow{true, false, 205, "4"};
    parameters::LookupCountContext flow_level{true, false, 205, "2"};
    parameters::LookupCountContext volume{false, true, 205, " 5 "};
    parameters::LookupCountContext old{false, false, 180, ""};
    auto count = [](int p, const QString& units, int attribute6, double previous,
                    double before_previous, const parameters::LookupCountContext& c) {
        definitions_table() = DefinitionsTable{};
        DefinitionRecord& r = rec(p);
        r.number = static_cast<int16_t>(p);
        r.units_code = units;
        r.attribute6 = static_cast<int16_t>(attribute6);
        rec(p - 1).unit_value = previous;
        rec(p - 2).unit_value = before_previous;
        return get_lookup_entry_count(r, c);
    };
    EXPECT_EQ(count(99, "", 9, 0, 0, none), 1);
    EXPECT_EQ(count(980, "U_RT", 9, 0, 0, none), 5);
    EXPECT_EQ(count(300, "U_RT", 9, 0, 0, none), 3);
    EXPECT_EQ(count(211, "U_RF", 9, 0, 0, none), 1);
    EXPECT_EQ(count(211, "U_RF", 9, 1, 0, none), 4);
    EXPECT_EQ(count(211, "U_RF", 9, 2, 0, none), 2);
    EXPECT_EQ(count(211, "U_RF", 9, 7, 0, none), 1);
    EXPECT_EQ(count(212, "U_ID", 9, 0, 1, none), 7);
    EXPECT_EQ(count(212, "U_ID", 9, 0, 2, none), 2);
    EXPECT_EQ(count(212, "U_ID", 9, 0, 0, none), 1);
    EXPECT_EQ(count(100, "", 9, 0, 0, flow), 4);
    EXPECT_EQ(count(100, "", 9, 0, 0, volume), 5);
    EXPECT_EQ(count(100, "", 9, 0, 0, none), 3);
    EXPECT_EQ(count(930, "", 9, 0, 0, none), 2);
    EXPECT_EQ(count(101, "", 9, 0, 0, none), 7);
    EXPECT_EQ(count(999, "", 9, 0, 0, none), 3);
    EXPECT_EQ(count(831, "", 9, 0, 0, flow), 5);
    EXPECT_EQ(count(831, "", 9, 0, 0, flow_level), 4);
    EXPECT_EQ(count(831, "", 9, 0, 0, volume), 6);
    EXPECT_EQ(count(831, "", 9, 0, 0, none), 4);
    EXPECT_EQ(count(840, "", 4, 0, 0, old), 4);
    EXPECT_EQ(count(840, "", 4, 0, 0, flow), 6);
    EXPECT_EQ(count(600, "", 13, 0, 0, none), 13);

    const std::pair<double, int> models[] = {{1, 7}, {2, 4}, {3, 4}, {4, 3}, {5, 2}, {0, 9}};
    for (const auto& [type, n] : models) {
        definitions_table() = DefinitionsTable{};
        rec(701).number = 701;
        rec(701).attribute6 = 9;
        rec(700).unit_value = type;
        EXPECT_EQ(get_lookup_entry_count(rec(701), flow), n) << "P700 = " << type;
        EXPECT_EQ(get_lookup_entry_count(rec(701), none), 9) << "without flow support";
    }

    DefinitionRecord stray; // a record whose neighbours lie outside the table
    stray.units_code = "U_ID";
    stray.number = 1;
    EXPECT_EQ(get_lookup_entry_count(stray, none), 1);
    stray.units_code = "U_RF";
    stray.number = 32000;
    EXPECT_EQ(get_lookup_entry_count(stray, none), 1);
}

TEST_F(ParameterRecord, AnalogueOutputFollowsTheSystemType) {
    const struct {
        double system;
        int p;
        const char *min, *max;
        double default_value;
        const char* units;
    } cases[] = {
        {1, 836, "0", "5", 0, "U_VOLT"},    {4, 837, "0", "5", 5, "U_VOLT"},
        {1, 838, "-30", "30", 0, "U_VOLT"}, {2, 836, "0", "20", 0, "U_MA"},
        {3, 837, "0", "20", 20, "U_MA"},    {3, 839, "-30", "30", 0, "U_MA"},
        {5, 836, "x", "y", 7, "U_NO"},      {2, 840, "x", "y", 7, "U_NO"},
    };
    for (const auto& c : cases) {
        rec(99).unit_value = c.system;
        DefinitionRecord r;
        r.number = static_cast<int16_t>(c.p);
        r.min_text = "x";
        r.max_text = "y";
        r.default_value = 7;
        r.units_code = "U_NO";
        set_analog_param_limits(r);
        SCOPED_TRACE(testing::Message() << "P" << c.p << " system type " << c.system);
        EXPECT_EQ(r.min_text, c.min);
        EXPECT_EQ(r.max_text, c.max);
        EXPECT_DOUBLE_EQ(r.default_value, c.default_value);
        EXPECT_EQ(r.units_code, c.units);
    }
}

TEST_F(ParameterRecord, LimitsSetByProgramKeepTheDecimalPoint) {
    platform::number_separators() = {QStringLiteral(","), QStringLiteral(".")};
    rec(72).present = false;
    set_param_limits(72, 0, 999.9, "U_SE");
    EXPECT_EQ(rec(72).min_text, "0");
    EXPECT_EQ(rec(72).max_text, "999.9");
    EXPECT_EQ(rec(72).units_code, "U_SE");
    EXPECT_TRUE(rec(72).present);
    set_param_limits(1501, 0, 1, "U_SE"); // no record: nothing to do, nothing to break
}

TEST_F(ParameterRecord, UnitWordsFollowTheLanguage) {
    const struct {
        int language;
        double volume, time, quantity;
        const char *flow, *total;
    } cases[] = {
        {0, 2, 3, 7, "M3/Hr", "Ft3"},
        {1, 1, 1, 0, "L/Sec", "No Units"},
        {3, 3, 4, 9, "Piedi3/Giorno", "Libbre"},
        {4, 2, 4, 8, "m³/Dia", "Barrile"},
        {0, 7, 0, 10, "/", ""},
        {0, 1.5, 2, -1, "/Min", ""},
    };
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
