// The changed and full parameter lists as the grid shows and the print commands print them.
#include "parameter_rules_support.h"

#include "parameters/parameter_listing.h"
#include "parameters/parameter_lists.h"

namespace {
QStringList numbers() {
    QStringList out;
    for (const auto& r : parameter_listing().rows)
        out << r.number;
    return out;
}
} // namespace

TEST_F(ParameterRules, ListsFollowAccessLevelAndTheListingRules) {
    show_set();
    list_changed_parameters(false, false);
    EXPECT_EQ(parameter_listing().count(), 0) << "a set at its defaults has nothing changed";
    EXPECT_EQ(parameter_listing().headings,
              QStringList({"Par.", ui_text(1368), ui_text(1369), ui_text(1188)}));
    EXPECT_EQ(parameter_state().parameter_list_mode, 1);

    type(41, "30");
    type(922, "1234");
    type(105, "4");
    rec(81).value_text = "NO";
    rec(81).present = false;
    list_changed_parameters(false, true);
    EXPECT_EQ(numbers(), QStringList({"P41", "P105"})) << "the passcode is never listed";
    EXPECT_EQ(parameter_listing().rows[0].value, "30");
    EXPECT_EQ(parameter_listing().rows[0].default_value, "20");

    list_all_parameters(false);
    EXPECT_TRUE(numbers().contains("P20"));
    EXPECT_FALSE(numbers().contains("P81")) << "a parameter the unit lacks is not listed";
    EXPECT_FALSE(numbers().contains("P922"));
    EXPECT_FALSE(numbers().contains("P926")) << "read-only parameters are not listed";

    shell().access_level = 3;
    for (bool changed : {true, false}) {
        changed ? list_changed_parameters(false, true) : list_all_parameters(false);
        for (const auto& r : parameter_listing().rows)
            EXPECT_GE(r.number.mid(1).toInt(), 100) << "access level 3 lists from P100";
    }
}

TEST_F(ParameterRules, LengthInFeetAtItsRoundedDefaultIsUnchanged) {
    rec(105).default_value = 1.5;
    rec(105).decimals = 3;
    rec(104).unit_value = 4;
    rec(105).value_text = "4.921";
    EXPECT_FALSE(parameter_changed(105));
    rec(105).value_text = "4.92";
    EXPECT_TRUE(parameter_changed(105));
}
