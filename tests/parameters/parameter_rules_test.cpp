// The rules of the parameter rows without a window or a unit: hover texts, the edit check and its
// dependent rows, the relay rows, the screen fill, screen to table, the "/sendall" reply and the
// .par line.
#include "parameter_rules_support.h"

#include "parameters/device_setup.h"
#include "parameters/parameter_file.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_transfer.h"
#include "parameters/parameter_values.h"
#include "parameters/screen_to_table.h"

TEST_F(ParameterRules, HoverTextsFollowTheirLookupRule) {
    EXPECT_EQ(get_param_tooltip(105), "") << "before any set is loaded every hover text is empty";
    parameter_state().parameters_loaded = true;
    rec(104).unit_value = 3;
    EXPECT_TRUE(get_param_tooltip(105).endsWith("Default=6000 mm  "))
        << get_param_tooltip(105).toStdString();
    rec(108).units_code = "U_MU_M";
    rec(104).unit_value = 4;
    EXPECT_TRUE(get_param_tooltip(108).contains(" ft/min  "));
    shell().language_index = 3;
    EXPECT_TRUE(get_param_tooltip(996).contains(" OOMM  "));
    shell().language_index = 0;

    // clang-format off
    const struct { int p; double before, before2; const char* shows; } cases[] = {
        {72, 0, 0, "Options: 0=No,1=Yes    Default=0  "},
        {701, 0, 0, "Options: 1=Rectangular,2=Trapezoidal"},   // P700 0 shows P700 1's list
        {211, 0, 0, "Options: 0=Off    "},                     // function of relay type 0
        {212, 0, 1, "Options: 1=General,2=High,3=HiHi"},       // identity of relay type 1
    };
    // clang-format on
    for (const auto& c : cases) {
        rec(c.p - 1).unit_value = c.before;
        rec(c.p - 2).unit_value = c.before2;
        if (c.p == 701)
            rec(700).unit_value = 0;
        EXPECT_TRUE(get_param_tooltip(c.p).contains(c.shows))
            << "P" << c.p << ": " << get_param_tooltip(c.p).toStdString();
    }
}

TEST_F(ParameterRules, ChoiceRangeFromTheListAndFromTheHoverText) {
    parameter_state().parameters_loaded = true;
    refresh_param_tooltip(72);
    EXPECT_EQ(fields(rec(72).min_text, rec(72).max_text), fields("0", "0"))
        << "the list builder gives two less than the entries";
    set_lookup_param_range(rec(72));
    EXPECT_EQ(fields(rec(72).min_text, rec(72).max_text), fields("0", "1"));
}

TEST_F(ParameterRules, EditChecksRejectOrStore) {
    show_set();
    dialogs.prompts.clear();
    type(71, "");
    EXPECT_TRUE(dialogs.prompts.empty()) << "clearing a box stores nothing and says nothing";
    EXPECT_EQ(rec(71).unit_value, 120);

    // clang-format off
    const struct { int p; const char* typed; bool accepted; double stored; } cases[] = {
        {71, "130", true, 130},      // within 0..9999
        {71, "10000", false, 130},   // above the limit: back to the stored text
        {108, "20", true, 20},       // the default passes
        {108, "101", false, 20},
        {41, "-1", false, 20},       // negative below a minimum of 0
        {133, "19200", true, 19200}, // multi-digit limits are checked too
        {72, "2", false, 0},         // a choice beyond its list
        {72, "1", true, 1},
        // A fraction is no choice, whatever its list's range; a refused relay type leaves the
        // relay's other rows as they were.
        {101, "2.5", false, 2}, {104, "1.5", false, 1}, {211, "3", true, 3}, {210, "1.5", false, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        if (!rec(c.p).present)
            continue;
        dialogs.prompts.clear();
        type(c.p, c.typed);
        EXPECT_EQ(dialogs.prompts.empty(), c.accepted) << "P" << c.p << " " << c.typed;
        EXPECT_EQ(rec(c.p).unit_value, c.stored) << "P" << c.p << " " << c.typed;
        EXPECT_EQ(scrpar(c.p).back_colour,
                  c.stored == rec(c.p).default_value ? row_colour::WHITE : row_colour::RED)
            << "P" << c.p << " " << c.typed << " shows whether it differs from its default";
        if (!c.accepted) {
            ASSERT_FALSE(dialogs.messages().isEmpty()) << "P" << c.p << " " << c.typed;
            EXPECT_TRUE(
                dialogs.messages().first().contains("P" + QString::number(c.p) + " - Min = "));
            if (rec(c.p).lookup_code.contains("LUK")) {
                EXPECT_TRUE(dialogs.messages().first().endsWith(QChar(13) + scrpar(c.p).tooltip))
                    << "a choice's message lists its options";
            }
            EXPECT_EQ(box(c.p), platform::number_text(c.stored))
                << "the box shows the stored value";
            EXPECT_EQ(dialogs.prompts.size(), 1u) << "an undo must not tell the user twice";
        }
        parameter_rows().set_typed_text(c.p, c.typed);
        EXPECT_EQ(parameter_rows().commit(c.p), c.accepted)
            << "P" << c.p << " " << c.typed
            << " typed: the page is not told whether to put the user back into the box";
    }
    EXPECT_EQ(rec(211).unit_value, 3) << "a refused relay type put its function back to default";
    parameter_screen_hooks().hide_parameter_grid = [] { return true; };
    parameter_state().parameter_list_mode = 1;
    rec(96).read_only = false;
    parameter_rows().set_visible(96, true);
    type(96, "Modbus");
    EXPECT_EQ(fields(rec(96).unit_value, rec(96).value_text, parameter_state().parameter_list_mode),
              fields(1, "1", 0))
        << "the protocol is stored by its number, and an edit hides the parameter list";
    parameter_rows().set_typed_text(96, "Profibus");
    EXPECT_TRUE(parameter_rows().commit(96) && rec(96).unit_value == 2)
        << "a protocol typed by its name is no number, but taken";
}

TEST_F(ParameterRules, ANumberTypedInTheOtherNotationIsRefusedNotReadAsAnother) {
    show_set();
    // clang-format off
    const struct { const char *locale, *decimal, *thousands, *typed, *stored, *shown, *says = nullptr; } cases[] = {
        {"de_DE", ",", ".", "0.35", nullptr, "0,3"}, {"de_DE", ",", ".", "0,35", "0.35", "0,35"},
        {"de_DE", ",", ".", "1.234,5", "1234.5", "1234,5"}, {"de_DE", ",", ".", "1,234.5", nullptr, "0,3"},
        {"de_DE", ",", ".", "0.350", nullptr, "0,3"}, {"de_DE", ",", ".", "0,35 mm", nullptr, "0,3"},
        {"en_GB", ".", ",", "0.35", "0.35", "0.35"}, {"en_GB", ".", ",", "0,35", nullptr, "0.3"},
        {"en_GB", ".", ",", "1.234,5", nullptr, "0.3"}, {"en_GB", ".", ",", "1,234.5", "1234.5", "1234.5"},
        {"en_GB", ".", ",", "abc", nullptr, "0.3"},
        // Swiss grouping, the locale's own no-break space, digits and grouping.
        {"de_CH", ".", "\u2019", "0,35", nullptr, "0.3"}, {"de_CH", ".", "\u2019", "1'234.5", nullptr, "0.3"},
        {"de_CH", ".", "\u2019", "1\u2019234.5", "1234.5", "1234.5"},
        {"fr_FR", ",", "\u202F", "1\u00A0234,5", "1234.5", "1234,5"}, // either no-break space
        {"fr_FR", ",", "\u202F", "12\u00A034,5", nullptr, "0,3"},
        {"fr_FR", ",", "\u202F", "1\u202F234,5", "1234.5", "1234,5"},
        {"ar_EG", "\u066B", "\u066C", "\u0661\u0662\u066B\u0665", "12.5", "12\u066B5"},
        {"hi_IN", ".", ",", "12,345.5", "12345.5", "12345.5"},
        // Taken at the parameter's three decimals, as the unit keeps it; halves away from zero.
        {"de_DE", ",", ".", "0,12345", "0.123", "0,123"}, {"en_GB", ".", ",", "0.1245", "0.125", "0.125"},
        // Judged on the range once kept at the decimals; a number too large or too near 0 to be
        // kept is refused, never kept as 0.
        {"de_DE", ",", ".", "9,99995E4", nullptr, "0,3", "P107 - Min = 0, Max = 99999"},
        {"de_DE", ",", ".", "9,99989E4", "99998.9", "99998,9"},
        {"de_DE", ",", ".", "99999,0004", "99999", "99999"},
        {"de_DE", ",", ".", "1,7976931348623157E308", nullptr, "0,3", "P107 - Min = 0, Max = 99999"},
        {"de_DE", ",", ".", "1E309", nullptr, "0,3", "P107 - Min = 0, Max = 99999"},
        {"de_DE", ",", ".", "1E308", nullptr, "0,3", "P107 - Min = 0, Max = 99999"},
        {"de_DE", ",", ".", "-1E308", nullptr, "0,3", "P107 - Min = 0, Max = 99999"},
        {"de_DE", ",", ".", "1E-400", nullptr, "0,3", "too close to 0"},
        {"de_DE", ",", ".", "1E-10", "0", "0"}};
    // clang-format on
    for (const auto& c : cases) {
        platform::number_separators() = {QString::fromUtf8(c.decimal),
                                         QString::fromUtf8(c.thousands), c.locale};
        type(107, platform::number_text(0.3));
        dialogs.prompts.clear();
        const QString typed = QString::fromUtf8(c.typed);
        // Typed key by key: nothing is stored or told before the user leaves the box.
        for (qsizetype n = 1; n <= typed.size(); ++n)
            parameter_rows().set_typed_text(107, typed.left(n));
        EXPECT_TRUE(dialogs.prompts.empty() && rec(107).unit_value == 0.3) << c.typed;
        EXPECT_EQ(parameter_rows().commit(107), c.stored != nullptr) << c.typed;
        const QString where = QString(c.locale) + " typed " + typed;
        EXPECT_EQ(fields(rec(107).value_text, box(107)),
                  fields(c.stored ? c.stored : "0.3", QString::fromUtf8(c.shown)))
            << where.toStdString() << ": the box and the stored value must agree";
        EXPECT_EQ(dialogs.messages().size(), c.stored ? 0 : 1) << where.toStdString();
        if (!c.stored && !dialogs.messages().isEmpty()) {
            EXPECT_TRUE(dialogs.messages().first().contains(
                c.says ? QString(c.says) : QString("\"%1\"").arg(QString::fromUtf8(c.decimal))))
                << "the message names the decimal separator or the limits: "
                << dialogs.messages().first().toStdString();
        }
    }
    // A cleared box is no number either, but it stores nothing and tells nothing.
    const QString kept = rec(107).value_text;
    const QString shown = box(107);
    dialogs.prompts.clear();
    parameter_rows().set_typed_text(107, "");
    EXPECT_TRUE(parameter_rows().commit(107) && dialogs.prompts.empty() &&
                rec(107).value_text == kept)
        << "clearing a box was refused or stored";
    EXPECT_EQ(box(107), shown) << "the box left empty does not show the value it still holds";
    // Emptied and not yet left, the box is taken into the table as no value at all.
    parameter_rows().set_typed_text(107, "");
    get_screen_parameters();
    EXPECT_EQ(fields(rec(107).value_text, rec(107).unit_value), fields(kept, platform::val(kept)))
        << "the table took an empty box as a value";
}

// The unit takes a clock time as four whole digits (the upload sends P996 as "0013" for 12.5):
// a fraction typed is refused, so that the row shows what is sent.
TEST_F(ParameterRules, AClockTimeTakesWholeNumbersOnlyAsTheUnitDoes) {
    show_set();
    platform::number_separators() = {",", ".", "de_DE"};
    // clang-format off
    const struct { int p; const char* typed; bool taken; double stored; } cases[] = {
        {996, "12,5", false, 800}, {997, "0,5", false, 1700}, {971, "1230,4", false, 0},
        {972, "2200,0", true, 2200}, {976, "1.230", true, 1230}, {996, "1230", true, 1230}};
    // clang-format on
    for (const auto& c : cases) {
        ASSERT_TRUE(rec(c.p).present && !rec(c.p).read_only) << "P" << c.p;
        const QString before = box(c.p);
        dialogs.prompts.clear();
        parameter_rows().set_typed_text(c.p, QString::fromUtf8(c.typed));
        const bool taken = parameter_rows().commit(c.p);
        EXPECT_EQ(fields(taken, rec(c.p).unit_value, dialogs.messages().size()),
                  fields(c.taken, c.stored, c.taken ? 0 : 1))
            << "P" << c.p << " " << c.typed << ": a fraction was stored and would go rounded";
        if (!taken) {
            EXPECT_EQ(box(c.p), before) << "P" << c.p << " " << c.typed;
            EXPECT_TRUE(dialogs.messages().first().startsWith("P" + QString::number(c.p) + ": "));
        }
    }
}

TEST_F(ParameterRules, OnlyAVisibleWritableValueOutsideNumericLimitsIsRefused) {
    show_set();
    const DefinitionRecord saved = rec(71); // 0..9999, default 120
    using Setup = void (*)();
    // clang-format off
    const struct { const char* what; Setup setup; const char* typed; bool told; double stored; } cases[] = {
        {"in range", [] {}, "50", false, 50},
        {"above", [] {}, "10000", true, 120},
        {"no set loaded", [] { parameter_state().parameters_loaded = false; }, "10000", false, 10000},
        {"screen fill", [] { parameter_state().screen_fill_active = true; }, "10000", false, 10000},
        {"hidden", [] { parameter_rows().set_visible(71, false); }, "10000", false, 10000},
        {"locked", [] { rec(71).read_only = true; }, "10000", false, 120},
        {"absent", [] { rec(71).present = false; }, "10000", false, 10000},
        {"no limits", [] { rec(71).min_text = rec(71).max_text = "-999999"; }, "10000", false, 10000},
        {"limits reversed", [] { rec(71).min_text = "20"; rec(71).max_text = "10"; }, "10000", false, 10000},
        {"limits no numbers", [] { rec(71).min_text = "a"; rec(71).max_text = "b"; }, "10000", false, 10000},
        {"the default", [] { rec(71).default_value = 20000; }, "20000", false, 20000},
        {"told once", [] { rec(71).unit_value = 20000; rec(71).value_text = "20000"; }, "30000", true, 20000}};
    // clang-format on
    for (const auto& c : cases) {
        parameter_state().parameters_loaded = true;
        parameter_state().screen_fill_active = false;
        parameter_rows().set_visible(71, true);
        rec(71) = saved;
        type(71, "120");
        c.setup();
        dialogs.prompts.clear();
        type(71, c.typed);
        EXPECT_EQ(fields(dialogs.messages().size(), rec(71).unit_value),
                  fields(c.told ? 1 : 0, c.stored))
            << c.what;
        if (c.told && !dialogs.messages().isEmpty()) {
            EXPECT_TRUE(dialogs.messages().first().startsWith("  " + ui_text(1371) +
                                                              " P71 - Min = 0, Max = 9999"))
                << dialogs.messages().first().toStdString();
        }
    }
    parameter_state().screen_fill_active = false;
    // A length's default is compared in the unit shown: 0.3 m is 300 in millimetres.
    type(104, "3");
    rec(107).max_text = "100";
    type(107, "50");
    dialogs.prompts.clear();
    type(107, "300");
    EXPECT_EQ(fields(dialogs.messages().size(), rec(107).unit_value), fields(0, 300));
}

TEST_F(ParameterRules, AnEditedSetUpRowOpensOrLocksWithTheOperatingMode) {
    show_set();
    // clang-format off
    const struct { int p; std::string mode; bool locked; } cases[] = {
        {604, "volume", true}, {607, "volume", true}, {601, "level", true}, {601, "volume", false},
        {611, "flow", false}, {611, "level", true}, {712, "level", true}, {712, "flow", false},
        {798, "level", true}};
    // clang-format on
    for (const auto& c : cases) {
        link().volume_mode = c.mode == "volume";
        link().flow_mode = c.mode == "flow";
        rec(c.p).read_only = !c.locked;
        parameter_rows().set_text(c.p, "");
        type(c.p, "1");
        EXPECT_EQ(rec(c.p).read_only, c.locked) << "P" << c.p << " in " << c.mode << " mode";
    }
}

TEST_F(ParameterRules, AnEditTellsTheSetUpTabsWhatItConcerns) {
    std::vector<QString> calls;
    ParameterScreenHooks& hooks = parameter_screen_hooks();
    hooks.update_device_setup = [&](int P) { calls.push_back("device " + QString::number(P)); };
    hooks.update_analog_output = [&] { calls.push_back("output"); };
    hooks.update_breakpoints = [&](bool v) {
        calls.push_back(v ? "volume points" : "flow points");
    };
    hooks.check_flow_parms = [&] { calls.push_back("flow rows"); };
    hooks.check_volume_parms = [&] { calls.push_back("volume rows"); };
    hooks.update_flow_vessel_image = [&] { calls.push_back("picture"); };
    show_set();
    using Calls = std::vector<QString>;
    // clang-format off
    const struct { int p; const char* typed; bool volume, flow; Calls calls; } cases[] = {
        {130, "1", false, false, {"device 130"}}, {140, "60", false, false, {"device 140"}},
        {99, "3", false, false, {"output"}}, {610, "2", true, false, {"volume points"}},
        {673, "2", true, false, {"volume points"}}, {730, "2", false, true, {"flow points"}},
        {793, "2", false, true, {"flow points"}}, {702, "1", false, true, {"flow rows"}},
        {706, "2", false, true, {"flow rows"}}, {707, "2", false, true, {"flow rows"}},
        {600, "3", true, false, {"volume rows"}}, {600, "4", false, false, {}},
        {700, "2", false, false, {"flow rows", "flow points"}},
        {700, "1", false, true, {"flow rows", "flow points", "picture"}},
        {701, "2", false, true, {"flow rows", "picture"}}};
    // clang-format on
    for (const auto& c : cases) {
        link().volume_mode = c.volume;
        link().flow_mode = c.flow;
        calls.clear();
        type(c.p, c.typed);
        EXPECT_EQ(calls, c.calls) << "P" << c.p << " " << c.typed;
    }
    // The flow point table and chart are the universal element's.
    link().flow_mode = true;
    for (const char* element : {"5", "2"}) {
        type(700, element);
        EXPECT_EQ(parameter_rows().switch_on("SSTab3(0)") &&
                      parameter_rows().switch_on("TChart3(2)"),
                  QString(element) == "5")
            << "element " << element;
    }
}

TEST_F(ParameterRules, FlowModeNeedsAUnitThatHasIt) {
    show_set();
    dialogs.prompts.clear();
    type(100, "4");
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(dialogs.messages().first().contains(ui_text(1372)));
    EXPECT_EQ(box(100), "2");
    EXPECT_FALSE(link().flow_mode);
    link().p61_is_1 = true;
    show_set(); // a unit with flow support offers flow in P100's list
    type(100, "4");
    EXPECT_TRUE(link().flow_mode);
    EXPECT_EQ(rec(100).unit_value, 4);
    EXPECT_TRUE(scrpar(701).visible) << "flow rows appear in flow mode";
}

TEST_F(ParameterRules, OperatingModeTakesFlowOrVolumeOnlyWhereTheUnitHasIt) {
    // clang-format off
    const struct { bool flow_unit, volume_unit; const char* typed; int told; bool flow, volume; } cases[] = {
        {false, false, "5", 1373, false, false}, {false, true, "5", 0, false, true},
        {false, true, "4", 1372, false, false}};
    // clang-format on
    for (const auto& c : cases) {
        link().p61_is_1 = c.flow_unit;
        link().p61_is_2 = c.volume_unit;
        link().volume_mode = false;
        rec(100).unit_value = 2;
        rec(100).value_text = "2";
        show_set();
        dialogs.prompts.clear();
        type(100, c.typed);
        EXPECT_EQ(dialogs.messages().size(), c.told ? 1 : 0) << "P100 " << c.typed;
        if (c.told && !dialogs.messages().isEmpty()) {
            EXPECT_TRUE(dialogs.messages().first().contains(ui_text(c.told)));
        }
        EXPECT_EQ(fields(link().flow_mode, link().volume_mode, box(100)),
                  fields(c.flow, c.volume, c.told ? "2" : c.typed))
            << "P100 " << c.typed;
        parameter_rows().set_typed_text(100, c.typed);
        EXPECT_EQ(parameter_rows().commit(100), c.told == 0)
            << "P100 " << c.typed
            << " typed: the page is not told whether to put the user back into the box";
    }
}

TEST_F(ParameterRules, SwitchingToFlowOrVolumeOpensItsRowsAndSetsUpTheFlowPoints) {
    // The set-up tabs' work that runs once the mode's rows are open (the rows the mode's own
    // edits touch on the way call it earlier).
    std::vector<std::string> calls;
    const auto opened = [] { return rec(730).lookup_code == "C_NUM" || scrpar(604).visible; };
    ParameterScreenHooks& hooks = parameter_screen_hooks();
    hooks.check_flow_parms = [&] { opened() ? calls.push_back("flow rows") : void(); };
    hooks.update_flow_vessel_image = [&] { opened() ? calls.push_back("picture") : void(); };
    hooks.check_volume_parms = [&] { opened() ? calls.push_back("volume rows") : void(); };
    using Calls = std::vector<std::string>;
    // clang-format off
    const struct { bool flow_unit; const char* typed; int opened; Calls calls; } cases[] = {
        {true, "4", 712, {"flow rows", "picture"}}, {false, "5", 601, {"volume rows"}}};
    // clang-format on
    for (const auto& c : cases) {
        link().p61_is_1 = c.flow_unit;
        link().p61_is_2 = !c.flow_unit;
        show_set();
        ParameterRows& rows = parameter_rows();
        for (int P : {101, 604, 730, 831})
            rows.set_tooltip(P, "");
        rows.set_visible(604, false);
        rows.set_label_visible(604, false);
        rec(607).present = true;
        rows.set_typed_text(607, "Text");
        rec(730) = DefinitionRecord{};
        rec(730).present = false;
        calls.clear();
        type(100, c.typed);
        const std::string mode = c.flow_unit ? "flow" : "volume";
        EXPECT_FALSE(rec(c.opened).read_only) << mode << " leaves its rows locked";
        EXPECT_EQ(calls, c.calls) << mode;
        EXPECT_EQ(fields(scrpar(831).tooltip.isEmpty(), scrpar(101).tooltip.isEmpty()),
                  fields(false, !c.flow_unit))
            << mode;
        if (c.flow_unit) {
            EXPECT_EQ(fields(rec(730).min_text, rec(730).max_text, rec(730).default_value,
                             rec(731).default_value, rec(730).lookup_code, rec(730).units_code,
                             rec(730).present, rec(730).read_only, scrpar(730).tooltip.isEmpty()),
                      fields("-1", "999999", -0.001, -1, "C_NUM", "U_NO", true, false, false));
        } else {
            EXPECT_EQ(fields(scrpar(604).visible, scrpar(604).label_visible,
                             scrpar(604).tooltip.isEmpty(), box(607)),
                      fields(true, true, false, value_as_box_text(rec(607).default_value)))
                << "the locked volume rows show too";
        }
    }
}

TEST_F(ParameterRules, LengthUnitChangeConvertsEveryLengthRow) {
    rec(105).unit_value = 1.5;
    rec(105).value_text = "1.5";
    rec(105).decimals = 2;
    rec(210).unit_value = 1; // temperature relay: its set points are no lengths
    rec(211).unit_value = 2;
    rec(213).unit_value = 30;
    rec(213).value_text = "30";
    rec(106).unit_value = 150; // beyond its limit in millimetres
    rec(106).value_text = "150";
    show_set();
    rec(580).present = false; // the unit lacks it
    rec(580).value_text = "-999999";
    rec(583).value_text = "NO";
    std::map<int, double> before;
    for (int P : parameter_rows().numbers())
        if (P != 104 && P <= 999 && rec(P).present && is_length_record(P))
            before[P] = platform::val(rec(P).value_text);
    ASSERT_GT(before.size(), 10u);
    type(104, "3"); // metres to millimetres
    for (const auto& [P, metres] : before) {
        EXPECT_NEAR(rec(P).unit_value, metres * 1000, 1e-6) << "P" << P;
        EXPECT_EQ(box(P), platform::number_text(platform::val(rec(P).value_text))) << "P" << P;
    }
    EXPECT_EQ(fields(box(41), box(213)), fields("20", "30")) << "rows that are no length stay";
    EXPECT_EQ(fields(dialogs.messages().size(), scrpar(105).tooltip.endsWith(" mm  "),
                     scrpar(104).back_colour),
              fields(0, true, row_colour::RED))
        << "converted rows are not checked again, and hover texts name the new unit";
    EXPECT_EQ(fields(rec(580).value_text, rec(583).value_text), fields("-999999", "NO"))
        << "a parameter without a value keeps its marker";
    type(104, "4"); // millimetres to feet
    EXPECT_EQ(fields(box(105), rec(105).value_text, rec(104).unit_value),
              fields("4.92", "4.92", 4));
    type(104, "9");
    EXPECT_TRUE(dialogs.messages().last().contains(ui_text(1186)));
    EXPECT_EQ(box(104), "4");
}

TEST_F(ParameterRules, OnlyTheFiveLengthUnitsAreTaken) {
    show_set();
    for (const char* typed : {"0", "6", "-1"}) {
        dialogs.prompts.clear();
        type(104, typed);
        ASSERT_EQ(dialogs.messages().size(), 1) << "P104 took the unit " << typed;
        EXPECT_TRUE(
            dialogs.messages().first().contains(ui_text(1186) + " P104 - Min = 1, Max = 5"));
        EXPECT_EQ(fields(box(104), rec(104).unit_value), fields("1", 1)) << typed;
        parameter_rows().set_typed_text(104, typed);
        EXPECT_FALSE(parameter_rows().commit(104))
            << "P104 " << typed
            << " typed: the page is not told whether to put the user back into the box";
    }
    // A set from the unit is not checked; a unit of 0 converts nothing, to it or from it.
    dialogs.prompts.clear();
    parameter_state().screen_fill_active = true;
    type(104, "0");
    parameter_state().screen_fill_active = false;
    EXPECT_EQ(fields(dialogs.messages().size(), rec(104).unit_value, box(105)), fields(0, 0, "6"));
    type(104, "3");
    EXPECT_EQ(fields(rec(104).unit_value, box(105)), fields(3, "6"));
}

TEST_F(ParameterRules, FlowElementChangeResetsAModelItDoesNotHave) {
    link().p61_is_1 = true;
    rec(100).unit_value = 4;
    rec(700).unit_value = 1;
    rec(701).unit_value = 6;
    rec(701).value_text = "6";
    show_set();
    type(700, "5");
    EXPECT_EQ(rec(701).unit_value, rec(701).default_value);
    EXPECT_EQ(fields(rec(701).min_text, rec(701).max_text), fields("0", "2"));
}

TEST_F(ParameterRules, EachFlowElementKeepsOnlyTheModelsItHas) {
    link().p61_is_1 = true;
    rec(100).unit_value = 4;
    show_set();
    // clang-format off
    const struct { const char* element; double model; const char* limit; } cases[] = {
        {"4", 4, "3"}, {"4", 3, nullptr}, {"3", 5, "4"}, {"2", 5, "4"}, {"2", 4, nullptr},
        {"1", 8, "7"}};
    // clang-format on
    for (const auto& c : cases) {
        type(700, "0");
        rec(701).unit_value = c.model;
        rec(701).value_text = platform::number_text_c(c.model);
        parameter_rows().set_typed_text(701, platform::number_text(c.model));
        parameter_rows().set_tooltip(701, "");
        type(700, c.element);
        EXPECT_EQ(fields(rec(701).unit_value, scrpar(701).tooltip.isEmpty()),
                  fields(c.limit ? rec(701).default_value : c.model, false))
            << "element " << c.element << " with model " << c.model;
        if (c.limit) {
            EXPECT_EQ(fields(rec(701).value_text, box(701), rec(701).min_text, rec(701).max_text),
                      fields("1", "1", "0", c.limit))
                << "element " << c.element;
        }
    }
}

TEST_F(ParameterRules, AModelBeyondItsElementsCountIsRefused) {
    show_set();
    parameter_state().parameters_loaded = false; // no hover text gives the model's limits
    link().flow_mode = true;
    // clang-format off
    const struct { double element; const char* typed; bool refused; } cases[] = {
        {2, "6", true}, {2, "-1", true}, {2, "3", false}, {0, "6", false}};
    // clang-format on
    for (const auto& c : cases) {
        rec(700).unit_value = c.element;
        rec(701).min_text = "0";
        rec(701).max_text = "4";
        type(701, "2");
        dialogs.prompts.clear();
        type(701, c.typed);
        const double kept = c.refused ? 2 : platform::val(c.typed);
        EXPECT_EQ(
            fields(dialogs.messages().size(), rec(701).unit_value, rec(701).value_text, box(701)),
            fields(c.refused ? 1 : 0, kept, platform::number_text_c(kept),
                   platform::number_text(kept)))
            << "element " << c.element << " model " << c.typed;
        parameter_rows().set_typed_text(701, QLatin1String(c.typed));
        EXPECT_EQ(parameter_rows().commit(701), !c.refused)
            << "element " << c.element << " model " << c.typed
            << " typed: the page is not told whether to put the user back into the box";
    }
}

TEST_F(ParameterRules, AnEditRefreshesTheHoverTextsItGoverns) {
    show_set();
    // clang-format off
    const struct { int p; const char* typed; int version, governed; bool refreshed; } cases[] = {
        {72, "1", 163, 101, true}, {72, "0", 162, 101, false}, {605, "2", 0, 604, true},
        {605, "3", 0, 607, true}, {605, "4", 0, 611, true}, {605, "5", 0, 673, true}};
    // clang-format on
    for (const auto& c : cases) {
        parameter_state().software_version = c.version;
        parameter_rows().set_tooltip(c.governed, "");
        type(c.p, c.typed);
        EXPECT_EQ(!scrpar(c.governed).tooltip.isEmpty(), c.refreshed)
            << "P" << c.p << " " << c.typed << " and the hover text of P" << c.governed;
    }
}

TEST_F(ParameterRules, RelayRowsFollowTypeAndFunction) {
    show_set();
    // clang-format off
    const struct { const char* type; const char* function; bool identity, set_point, fail_safe;
                   const char* min; } cases[] = {
        {"0", nullptr, false, false, false, nullptr},
        {"1", "0", false, false, false, nullptr},
        {"1", "1", true, true, true, "-999.9"},
        {"1", "2", true, true, true, "-40"},
        {"1", "3", false, false, true, nullptr},
        {"2", "1", true, true, true, "-999.9"},
    };
    // clang-format on
    for (const auto& c : cases) {
        type(210, c.type);
        if (c.function)
            type(211, c.function);
        EXPECT_EQ(fields(scrpar(212).visible, scrpar(213).visible, scrpar(218).visible),
                  fields(c.identity, c.set_point, c.fail_safe))
            << "type " << c.type << " function " << (c.function ? c.function : "-");
        if (c.min) {
            EXPECT_EQ(rec(213).min_text, c.min);
        }
    }
    EXPECT_EQ(rec(213).units_code, "U_MU");
    type(213, "2");
    type(210, "1");
    EXPECT_EQ(rec(213).unit_value, rec(213).default_value) << "a new type resets the set points";
    parameter_state().parameter_set_loading = true;
    type(213, "2");
    type(210, "2");
    EXPECT_EQ(rec(213).unit_value, 2) << "a set being loaded keeps its values";
    parameter_state().parameter_set_loading = false;
}

TEST_F(ParameterRules, ScreenShowsPresenceLocksAndChanges) {
    rec(41).unit_value = NO_VALUE;
    rec(81).value_text = "NO";
    rec(20).unit_value = NO_VALUE; // P20..P39 keep their presence
    rec(90).unit_value = 36;
    rec(931).unit_value = 12;
    rec(71).unit_value = 200;
    rec(71).value_text = "200";
    show_set();
    EXPECT_EQ(fields(rec(41).present, rec(41).value_text, rec(41).unit_value, scrpar(41).visible,
                     rec(81).present, rec(20).present, box(20)),
              fields(false, "NO", rec(41).default_value, false, false, true, ""))
        << "a parameter without a value shows an empty box, never the no-value marker";
    get_screen_parameters();
    EXPECT_EQ(rec(20).unit_value, NO_VALUE) << "the empty box gave P20 a value";
    // A locked row's display text is never stored.
    EXPECT_EQ(
        fields(box(90), scrpar(90).locked, scrpar(90).back_colour, rec(90).unit_value, box(931)),
        fields("QVX", true, row_colour::LOCKED, 36, "000012"));
    EXPECT_EQ(fields(scrpar(71).bold, scrpar(71).back_colour, scrpar(71).fore_colour,
                     scrpar(72).bold, scrpar(72).back_colour),
              fields(true, row_colour::RED, row_colour::WHITE, false, row_colour::WHITE));
    EXPECT_EQ(fields(scrpar(72).tooltip.contains("Options"), parameter_state().parameters_loaded,
                     parameter_state().system_type),
              fields(true, true, 2));

    rec(90).unit_value = 40;
    show_set();
    EXPECT_EQ(box(90), ui_text(1181));
}

TEST_F(ParameterRules, FlowBreakpointsAreShownAsTheirFlowView) {
    link().p61_is_1 = true;
    rec(100).unit_value = 4;
    rec(615).unit_value = 2.5;
    show_set();
    EXPECT_EQ(rec(735).unit_value, 2.5);
    EXPECT_EQ(fields(rec(730).min_text, rec(730).max_text),
              fields(rec(610).max_text, rec(610).min_text));
    EXPECT_EQ(scrpar(735).tag, NOT_IN_TAG);

    type(735, "3.5");
    update_parameters_from_screen();
    EXPECT_EQ(fields(rec(615).unit_value, rec(615).value_text), fields(3.5, "3.5"));
    EXPECT_EQ(rec(735).unit_value, NO_VALUE) << "the flow view is never sent itself";
}

TEST_F(ParameterRules, ScreenToTableInBothSeparatorStyles) {
    show_set();
    // clang-format off
    const struct { const char* decimal; const char* thousands; const char* shown;
                   const char* text; double value; } cases[] = {
        {",", ".", "1.234,5", "1234.5", 1234.5},
        {".", ",", "1,234.5", "1234.5", 1234.5},
        {".", ",", "12abc", "12abc", 12},
    };
    // clang-format on
    for (const auto& c : cases) {
        platform::number_separators() = {c.decimal, c.thousands};
        parameter_rows().set_typed_text(71, c.shown);
        get_screen_parameters();
        EXPECT_EQ(fields(rec(71).value_text, rec(71).unit_value), fields(c.text, c.value))
            << c.shown;
    }
    parameter_rows().set_visible(72, false);
    parameter_rows().set_typed_text(96, "Profibus");
    parameter_rows().set_visible(96, true);
    rec(96).read_only = false;
    get_screen_parameters();
    EXPECT_FALSE(rec(72).present) << "a hidden row is neither saved nor sent";
    EXPECT_EQ(fields(rec(96).value_text, rec(96).unit_value), fields("2", 2));
}

// A hidden box may still hold what an earlier set showed there; the record keeps the value of its
// own set, whether that set lacks the parameter or a rule hides the row.
TEST_F(ParameterRules, TheTextOfAHiddenBoxNeverBecomesTheRecordsValue) {
    rec(81).unit_value = NO_VALUE; // the set lacks P81
    show_set();
    for (int P : {41, 81}) {
        parameter_rows().set_typed_text(P, "33");
        parameter_rows().set_visible(P, false);
    }
    get_screen_parameters();
    EXPECT_EQ(fields(rec(41).value_text, rec(41).unit_value, rec(81).value_text, rec(81).present),
              fields("20", 20, "NO", false))
        << "a hidden box's text would be saved or sent as the set's value";
}

TEST_F(ParameterRules, SendallItemsAreCheckedBeforeTheyNameARecord) {
    // clang-format off
    const struct { const char* reply; std::vector<std::pair<int, QString>> items; int skipped; } cases[] = {
        {"SENDALL,20:1,104:3|x,600:2.5,END", {{20, "1"}, {104, "3"}, {600, "2.5"}}, 0},
        {"A,20:5,Z", {{20, "5"}}, 0},
        {"A,20:5", {}, 0},
        {"", {}, 0},
        {"A,1500:3,-4:1,19:1,1000:2,x:1,:2,21,22: 7 ,Z", {{22, "7"}}, 7},
        {"A,99999999999:1,Z", {}, 1},
    };
    // clang-format on
    for (const auto& c : cases) {
        const SendallReply r = parse_sendall_reply(c.reply);
        std::vector<std::pair<int, QString>> got;
        for (const auto& i : r.items)
            got.emplace_back(i.number, i.value);
        EXPECT_EQ(got, c.items) << c.reply;
        EXPECT_EQ(r.skipped, c.skipped) << c.reply;
    }
}

TEST_F(ParameterRules, ParLineHoldsEveryParameterInOrder) {
    platform::number_separators() = {",", "."};
    for (int P = 20; P <= 999; ++P) {
        rec(P).value_text = "NO";
        rec(P).present = false;
    }
    rec(20).value_text = "1";
    rec(21).value_text = "-999999";
    rec(21).present = true;
    rec(21).unit_value = 3;
    rec(22).value_text = "-999999";
    rec(22).present = true;
    rec(22).unit_value = 2.5;
    const QByteArray line = par_line();
    EXPECT_TRUE(line.startsWith("1,3,2.5,NO,NO,")) << line.left(40).toStdString();
    EXPECT_TRUE(line.endsWith("NO,"));
    EXPECT_EQ(line.count(','), PAR_FIELDS);
    EXPECT_EQ(rec(21).value_text, "3") << "the record keeps the text it was saved with";
}

TEST_F(ParameterRules, DeviceRowsFollowTheDeviceModeOrProfibus) {
    rec(99).unit_value = 3; // the system type with a field bus
    parameter_screen_hooks().update_device_setup = [](int P) { update_device_setup(P); };
    show_set();
    // clang-format off
    const struct { const char* mode; bool address, poll; } cases[] = {
        {"0", false, false}, {"1", true, false}, {"2", true, true}};
    // clang-format on
    for (const auto& c : cases) {
        type(130, c.mode);
        EXPECT_EQ(
            fields(rec(132).present, scrpar(132).visible, rec(139).present, scrpar(140).visible),
            fields(c.address, c.address, c.poll, c.poll))
            << "P130 = " << c.mode;
    }
    EXPECT_TRUE(scrpar(130).visible) << "the mode row itself stays";
    parameter_rows().set_typed_text(130, "abc");
    update_device_setup(130);
    EXPECT_FALSE(rec(132).present) << "a mode that is no number applies no row";

    link().profibus_mode = true;
    update_device_setup(131);
    EXPECT_FALSE(rec(131).present);
    EXPECT_FALSE(scrpar(131).visible);
    update_device_setup(132);
    EXPECT_TRUE(scrpar(132).visible);
    EXPECT_TRUE(scrpar(130).visible) << "other rows keep their state";
}

// Every device row P131..P140 applies in the device modes it serves, and only there; P137 and P138
// have no row and keep their flags.
TEST_F(ParameterRules, EachDeviceRowAppliesInTheModesItServes) {
    rec(99).unit_value = 3; // the system type with a field bus
    parameter_screen_hooks().update_device_setup = [](int P) { update_device_setup(P); };
    show_set();
    rec(137).present = true;
    rec(138).present = false;
    // clang-format off
    const struct { const char* mode; const char* rows; } table[] = {
        {"1", "131 132 133 134 135 136"},
        {"2", "131 132 133 134 135 136 139 140"},
        {"0", ""},
        {"3", ""}, // no mode of the unit's
    };
    // clang-format on
    for (const auto& row : table) {
        parameter_rows().set_typed_text(130, row.mode);
        update_device_setup(130);
        QStringList present, shown;
        for (int P : {131, 132, 133, 134, 135, 136, 139, 140}) {
            if (rec(P).present)
                present << QString::number(P);
            if (scrpar(P).visible && scrpar(P).label_visible)
                shown << QString::number(P);
        }
        EXPECT_EQ(fields(present.join(' '), shown.join(' '), rec(137).present, rec(138).present),
                  fields(row.rows, row.rows, true, false))
            << "device rows for P130 = " << row.mode;
    }
}

TEST_F(ParameterRules, SystemTypeFromTheP99RowRoundsHalvesToEven) {
    for (const auto& [shown, type] : {std::pair{"2.5", 2}, {"3.5", 4}, {"1", 1}}) {
        parameter_rows().set_typed_text(99, shown);
        update_analog_output();
        EXPECT_EQ(parameter_state().system_type, type) << shown;
    }
}

TEST_F(ParameterRules, ARelayParameterTheUnitLacksStaysOffTheScreen) {
    rec(218).unit_value = NO_VALUE;
    rec(218).value_text = "NO";
    show_set();
    EXPECT_FALSE(rec(218).present) << "it would be sent and refused";
    EXPECT_FALSE(scrpar(218).visible);
    EXPECT_TRUE(scrpar(228).visible) << "the other block keeps its fail-safe row";
    type(210, "2");
    type(210, "1"); // the block's rows take their defaults, a fail-safe row among them
    type(211, "1");
    EXPECT_EQ(fields(rec(218).present, scrpar(218).visible, rec(218).value_text),
              fields(false, false, "NO"))
        << "the row came back with a default the unit lacks";
}

TEST_F(ParameterRules, ATypedValueIsCheckedBeforeItLeavesTheScreen) {
    show_set();
    parameter_rows().set_typed_text(71, "99999"); // the user has not left the box yet
    update_parameters_from_screen();
    ASSERT_EQ(dialogs.messages().size(), 1) << "the value was not checked";
    EXPECT_EQ(rec(71).unit_value, 120) << "a rejected value reached the table";
    EXPECT_EQ(box(71), "120");
}
