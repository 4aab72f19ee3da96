// The vessel and flow element set-up tabs: rows per shape and element, pages, limits, pictures
// and names, and the 32-point profiles.
#include "parameter_rules_support.h"

#include "parameters/parameter_record.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/setup_tabs.h"

#include <QFileInfo>

namespace {

class SetupTabsRules : public ParameterRules {
protected:
    void SetUp() override {
        ParameterRules::SetUp();
        reset_setup_tabs();
    }
    void set(int P, double v) {
        rec(P).unit_value = v;
        rec(P).value_text = platform::number_text_c(v);
    }
};

} // namespace

TEST_F(SetupTabsRules, VesselRowsFollowTheShape) {
    link().p61_is_2 = true;
    link().volume_mode = true;
    show_set();
    // clang-format off
    const struct { double shape; bool d1, d2, d3, points; } cases[] = {
        {0, true, false, false, false}, {1, false, true, true, false}, {2, true, true, false, false},
        {3, true, true, true, false},   {5, true, false, false, false}, {10, true, false, false, false},
        {9, true, true, true, false},   {11, false, false, false, true}, {12, false, false, false, true},
        {13, false, false, false, false}, {2.5, false, false, false, false}};
    // clang-format on
    for (const auto& c : cases) {
        set(600, c.shape);
        check_volume_parms();
        // The calculated volume shows, locked, and is never listed, saved or sent.
        EXPECT_EQ(fields(rec(601).present, rec(602).present, rec(603).present,
                         parameter_rows().switch_on("SSTab2(0)"), scrpar(602).visible,
                         scrpar(604).visible, rec(604).present, scrpar(604).locked),
                  fields(c.d1, c.d2, c.d3, c.points, c.d2, true, false, true))
            << "shape " << c.shape;
        const bool picture = c.shape == static_cast<int>(c.shape) && c.shape <= 12;
        EXPECT_EQ(!setup_tabs().vessel.path.isEmpty(), picture) << "shape " << c.shape;
        EXPECT_EQ(setup_tabs().vessel.reduced, c.points) << "shape " << c.shape;
    }
    EXPECT_EQ(QFileInfo(vessel_image_path(3)).fileName(), "vessel_3.svg");
}

TEST_F(SetupTabsRules, VesselProfileHoldsAll32Points) {
    for (int k = 0; k < 32; ++k) {
        set(610 + 2 * k, k * 0.5);
        set(611 + 2 * k, k * 10.0);
    }
    update_breakpoints(true);
    const SetupTabs& t = setup_tabs();
    EXPECT_EQ(t.volume_breakpoint_levels[31], 15.5);
    EXPECT_EQ(t.volume_breakpoint_volumes[0], 0);
    EXPECT_EQ(t.volume_breakpoint_volumes[31], 310);
    EXPECT_EQ(t.flow_breakpoint_flows[31], 0) << "the flow profile is not touched";

    parameter_rows().set_typed_text(612, "Text");
    parameter_rows().set_typed_text(732, "Text");
    rec(732).default_value = -0.001;
    update_breakpoints(true);
    update_breakpoints(false);
    EXPECT_EQ(box(612), "Text") << "a volume point keeps its placeholder";
    EXPECT_EQ(box(732), "-0.001") << "a flow point takes its default";
}

TEST_F(SetupTabsRules, ShapeNamesAreWholeInTheUsersLanguage) {
    parameter_state().parameters_loaded = true;
    EXPECT_EQ(vessel_shape_name(13), "") << "a shape outside the list has a name";
    shell().language_index = 1;
    load_language_lists();
    for (const double shape : {10.0, 12.0}) {
        set(600, shape);
        parameter_rows().set_typed_text(600, platform::number_text(shape));
        refresh_param_tooltip(600);
        const QString list = option_list("C_LUK27");
        const QString key = QString::number(shape) + "=";
        const QString expected = list.mid(list.indexOf(key) + key.size()).section(',', 0, 0);
        EXPECT_EQ(vessel_shape_name(shape), expected) << "the whole name, also of the last entry";
    }
}

TEST_F(SetupTabsRules, FlowElementVariantsAndRows) {
    link().p61_is_1 = true;
    show_set();
    link().flow_mode = true;
    // clang-format off
    const struct { double type, model; int variant; } variants[] = {
        {1, 1, 1}, {1, 7, 7}, {2, 1, 8}, {2, 4, 11}, {3, 3, 14}, {3, 4, 0}, {4, 1, 19},
        {4, 3, 21}, {5, 2, 23}, {1, 8, 0}, {0, 1, 0}, {1, 1.5, 0}};
    // clang-format on
    for (const auto& c : variants) {
        set(700, c.type);
        set(701, c.model);
        EXPECT_EQ(get_unit_variant(), c.variant) << c.type << "/" << c.model;
    }

    // clang-format off
    const struct { double type, model, calculation; std::vector<int> rows; bool dim, calc; } cases[] = {
        {3, 4, 1, {}, false, false},                         // weir with model 4: nothing
        {1, 4, 2, {717}, true, false},                       // Parshall, ratiometric
        {1, 4, 1, {717, 718, 719}, true, false},
        {2, 3, 1, {710, 711, 712, 721, 722, 724}, true, true}, // U-throat
        {5, 1, 1, {}, false, false},                         // universal
    };
    // clang-format on
    for (const auto& c : cases) {
        set(700, c.type);
        set(701, c.model);
        set(702, c.calculation);
        check_flow_parms();
        // Rows, not presence: setting P710's limits makes it present, and the hidden row takes
        // that back when the screen goes into the table.
        std::vector<int> shown;
        for (int P = 710; P <= 725; ++P)
            if (scrpar(P).visible && P != 714 && P != 715 && P != 716 && P != 720)
                shown.push_back(P);
        EXPECT_EQ(shown, c.rows) << c.type << "/" << c.model << " P702 " << c.calculation;
        EXPECT_EQ(parameter_rows().switch_on("SSTab5(0):1"), c.dim);
        EXPECT_EQ(parameter_rows().switch_on("SSTab5(0):2"), c.calc);
    }
}

TEST_F(SetupTabsRules, DimensionALimitsAndTheMaximumFlowRow) {
    link().p61_is_1 = true;
    show_set();
    link().flow_mode = true;
    // clang-format off
    const struct { double type, model; const char *min, *max, *units; } cases[] = {
        {4, 1, "0", "72", "U_IN"}, {4, 2, "0", "4.5", "U_FT"}, {4, 3, "20", "100", "U_DEG"},
        {4, 5, "20", "100", "U_DEG"}, {2, 1, "0", "99999", "U_MU"}};
    // clang-format on
    for (const auto& c : cases) {
        set(700, c.type);
        set(701, c.model);
        check_flow_parms();
        EXPECT_EQ(fields(rec(710).min_text, rec(710).max_text, rec(710).units_code),
                  fields(c.min, c.max, c.units))
            << c.type << "/" << c.model << " (a model without its own limits keeps the last)";
    }
    set(702, 1);
    check_flow_parms();
    EXPECT_EQ(fields(scrpar(705).locked, rec(705).read_only, rec(705).present),
              fields(true, true, false));
    set(702, 2);
    check_flow_parms();
    EXPECT_EQ(fields(scrpar(705).locked, rec(705).read_only, rec(705).present),
              fields(false, false, true));
    EXPECT_TRUE(scrpar(705).visible);
}

TEST_F(SetupTabsRules, FlowPictureNameAndNote) {
    parameter_state().parameters_loaded = true;
    // clang-format off
    const struct { double type, model; int code; bool note; } cases[] = {{1, 4, 14, false},
                 {2, 2, 22, true},
                 {4, 2, 52, true},
                 {4, 3, 53, false},
                 {5, 2, 62, false}};
    // clang-format on
    for (const auto& c : cases) {
        set(700, c.type);
        set(701, c.model);
        parameter_rows().set_typed_text(700, platform::number_text(c.type));
        parameter_rows().set_typed_text(701, platform::number_text(c.model));
        EXPECT_EQ(flow_image_code(c.type, c.model), c.code);
        update_flow_vessel_image();
        const SetupPicture& pic = setup_tabs().flow;
        EXPECT_EQ(QFileInfo(pic.path).fileName(), "flow" + QString::number(c.code) + ".svg");
        EXPECT_EQ(!pic.note.isEmpty(), c.note) << c.code;
        EXPECT_FALSE(pic.name.contains(ui_text(1188))) << pic.name.toStdString();
        EXPECT_TRUE(pic.name.contains(" - "));
    }
    set(700, 0);
    update_flow_vessel_image();
    EXPECT_TRUE(setup_tabs().flow.path.isEmpty()) << "no element, no picture";

    EXPECT_EQ(name_from_tooltip("  X - Options: 0=Off,1=Exponent Default    Default=0  ", "1"),
              "Exponent")
        << "the default marker and what follows it go";
    EXPECT_EQ(name_from_tooltip("  X - Options: 0=Off,5=Universal    Default=0  ", "5"),
              "Universal");
}

TEST_F(SetupTabsRules, ChoosingAnElementShowsItsPicture) {
    link().p61_is_1 = true;
    ParameterScreenHooks& hooks = parameter_screen_hooks();
    hooks.update_flow_vessel_image = [] { update_flow_vessel_image(); };
    hooks.check_flow_parms = [] { check_flow_parms(); };
    show_set();
    type(100, "4");
    ASSERT_TRUE(link().flow_mode);
    type(700, "2");
    type(701, "2");
    EXPECT_EQ(QFileInfo(setup_tabs().flow.path).fileName(), "flow22.svg");
    EXPECT_EQ(setup_tabs().flow.name, "BS3680 Flume - Rectangular Hump");
    EXPECT_TRUE(scrpar(713).visible) << "the hump's height applies";
}
