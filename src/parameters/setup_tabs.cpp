#include "parameters/setup_tabs.h"

#include "link/link_state.h"
#include "parameters/parameter_record.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_screen.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_values.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <QFileInfo>

namespace {

DefinitionRecord& record(int P) {
    return definitions_table()[static_cast<size_t>(P)];
}
double value_of(int P) {
    return record(P).unit_value;
}

void notify() {
    if (setup_tabs().changed)
        setup_tabs().changed();
}

void show_row(int P, bool shown) {
    parameter_rows().set_visible(P, shown);
    parameter_rows().set_label_visible(P, shown);
}

void locked_look(int P) {
    ParameterRows& rows = parameter_rows();
    rows.set_locked(P, true);
    rows.set_back_colour(P, row_colour::LOCKED);
    rows.set_fore_colour(P, row_colour::BLACK);
    rows.set_bold(P, false);
}

QString images_folder() {
    return platform::join_path(platform::program_folder(), QStringLiteral("Images"));
}

struct ShapeName {
    const char* english;
    const char* spanish;
    const char* italian;
};
constexpr ShapeName SHAPES[] = {
    {"Cylindrical Flat Bottom", "Cilíndrico con fondo plano", "Cilindrico Fondo Piatto"},
    {"Rectangular Flat Bottom", "Rectangular con fondo plano", "Rettangolare Fondo Piatto"},
    {"Cylindrical Conical Bottom", "Cilíndrico con fondo cónico", "Cilindrico Base Conica"},
    {"Rectangular Pyramid Bottom", "Rectangular con fondo en forma de pirámide",
     "Rettangolare Base Piramidale"},
    {"Cylindrical Parabolic Bottom", "Cilíndrico con fondo parabólico",
     "Cilindrico Base Parabolica"},
    {"Cylindrical Hemispherical Bottom", "Cilíndrico con fondo hemisférico",
     "Cilindrico Base Semisferica"},
    {"Cylindrical Sloped Bottom", "Cilíndrico con fondo inclinado", "Cilindrico Fondo Inclinato"},
    {"Rectangular Sloped Bottom", "Rectangular con fondo inclinado",
     "Rettangolare Fondo Inclinato"},
    {"Cylindrical Flat Ends", "Cilíndrico con extremos planos", "Cilindrico Estremità Piatte"},
    {"Cylindrical Parabolic Ends", "Cilíndrico con extremos parabólicos",
     "Cilindrico Estremità Paraboliche"},
    {"Sphere", "Esfera", "Sfera"},
    {"Universal Linear", "Universal lineal", "Universale Lineare"},
    {"Universal Curved", "Universal curvado", "Universale Curvato"},
};

QString default_marker() {
    switch (shell().language_index) {
    case 1:
        return QStringLiteral("Werkseinst.");
    case 2:
        return QStringLiteral("Défaut");
    case 3:
        return QStringLiteral("Predef.");
    case 4:
        return QStringLiteral("Por Defecto");
    default:
        return QStringLiteral("Default");
    }
}

} // namespace

SetupTabs& setup_tabs() {
    static SetupTabs tabs;
    return tabs;
}

void reset_setup_tabs() {
    auto changed = std::move(setup_tabs().changed);
    setup_tabs() = SetupTabs{};
    setup_tabs().changed = std::move(changed);
}

QString name_from_tooltip(const QString& tooltip, const QString& box_text) {
    const QString key = box_text.trimmed() + QLatin1Char('=');
    const qsizetype at = tooltip.indexOf(key);
    if (key.size() < 2 || at < 0)
        return {};
    QString name = tooltip.mid(at + key.size());
    // The entry ends at the next one, or where the list ends before the default.
    for (const QString& end : {QStringLiteral(","), QStringLiteral("    "), default_marker(),
                               ui_text(1188, QStringLiteral("Default")) + QLatin1Char('=')}) {
        const qsizetype cut = end.isEmpty() ? -1 : name.indexOf(end);
        if (cut >= 0)
            name.truncate(cut);
    }
    return name.trimmed();
}

// ---- Vessel

QString vessel_shape_name(double p600) {
    const int language = shell().language_index;
    if (language == 1 || language == 2)
        return name_from_tooltip(scrpar(600).tooltip, scrpar(600).text);
    const int shape = static_cast<int>(p600);
    if (shape != p600 || shape < 0 || shape > 12)
        return {};
    const ShapeName& n = SHAPES[shape];
    return QString::fromUtf8(language == 4 ? n.spanish : language == 3 ? n.italian : n.english);
}

QString vessel_image_path(double p600) {
    return platform::join_path(images_folder(), QStringLiteral("vessel_") +
                                                    value_as_box_text(p600) +
                                                    QStringLiteral(".svg"));
}

void check_volume_parms() {
    const LinkState& L = link();
    ParameterRows& rows = parameter_rows();
    record(600).present = L.volume_mode;
    show_row(600, true);
    for (int P = 601; P <= 603; ++P)
        record(P).present = false;
    rows.set_switch(QStringLiteral("SSTab2(0)"), false);
    rows.set_switch(QStringLiteral("TChart3(0)"), false);
    record(605).present = true;
    record(606).present = true;
    for (int P = 605; P <= 607; ++P)
        show_row(P, true);
    DefinitionRecord& calc = record(604);
    calc.read_only = true;
    calc.present = false;
    rows.set_text(604, value_as_box_text(platform::val(calc.value_text)));
    show_row(604, true);
    locked_look(604);
    DefinitionRecord& max_volume = record(607);
    max_volume.read_only = true;
    rows.set_text(607, value_as_box_text(platform::val(max_volume.value_text)));
    locked_look(607);
    rows.set_caption(607, max_volume.text);

    const double shape = value_of(600);
    auto applies = [&](std::initializer_list<int> dims) {
        for (int P : dims)
            record(P).present = true;
    };
    if (shape == 0 || shape == 5 || shape == 10)
        applies({601});
    else if (shape == 1)
        applies({602, 603});
    else if (shape == 2 || shape == 4 || shape == 6 || shape == 8)
        applies({601, 602});
    else if (shape == 3 || shape == 7 || shape == 9)
        applies({601, 602, 603});
    else if (shape == 11 || shape == 12) {
        rows.set_switch(QStringLiteral("SSTab2(0)"), true);
        rows.set_switch(QStringLiteral("TChart3(0)"), true);
        update_breakpoints(true);
    }
    for (int P = 601; P <= 603; ++P) {
        DefinitionRecord& r = record(P);
        show_row(P, r.present);
        rows.set_locked(P, !r.present);
        r.read_only = !r.present;
        rows.set_tooltip(P, get_param_tooltip(r));
    }
    update_volume_vessel_image();
}

void update_breakpoints(bool volume) {
    const int first = volume ? 610 : 730;
    ParameterRows& rows = parameter_rows();
    for (int P = first; P <= first + 63; ++P) {
        show_row(P, true);
        if (!volume && carries_marker(P, rows.text(P), "Text"))
            rows.set_text(P, value_as_box_text(record(P).default_value));
    }
    SetupTabs& t = setup_tabs();
    auto& levels = volume ? t.volume_breakpoint_levels : t.flow_breakpoint_levels;
    auto& values = volume ? t.volume_breakpoint_volumes : t.flow_breakpoint_flows;
    for (size_t k = 0; k < 32; ++k) {
        levels[k] = value_of(first + 2 * static_cast<int>(k));
        values[k] = value_of(first + 1 + 2 * static_cast<int>(k));
    }
    notify();
}

void update_volume_vessel_image() {
    SetupPicture& pic = setup_tabs().vessel;
    ParameterRows& rows = parameter_rows();
    const double shape = value_of(600);
    const QString path = vessel_image_path(shape);
    shell().scratch_text_3 = vessel_shape_name(shape);
    if (QFileInfo::exists(path)) {
        pic.path = path;
        pic.reduced = shape == 11 || shape == 12;
        rows.set_switch(QStringLiteral("TChart3(0)"), pic.reduced);
        rows.set_switch(QStringLiteral("SSTab2(0)"), pic.reduced);
        pic.name = shell().scratch_text_3;
    } else {
        pic.path.clear();
        pic.name.clear();
        pic.reduced = false;
    }
    notify();
}

// ---- Flow element

int get_unit_variant() {
    const double type = value_of(700);
    const double model = value_of(701);
    auto in = [&](int lo, int hi) {
        return model >= lo && model <= hi && model == static_cast<int>(model);
    };
    const int m = static_cast<int>(model);
    if (type == 1 && in(1, 7))
        return m;
    if (type == 2 && in(1, 4))
        return 7 + m;
    if (type == 3 && in(1, 3))
        return 11 + m;
    if (type == 4 && in(1, 3))
        return 18 + m;
    if (type == 5 && in(1, 4))
        return 21 + m;
    return 0;
}

bool parameter_applies(int P) {
    parameter_state().pmd_type_copy = value_of(700);
    setup_tabs().prim_pmd_copy = value_of(701);
    const int v = get_unit_variant();
    const bool p702_not_2 = value_of(702) != 2;
    auto one_of = [P](std::initializer_list<int> list) {
        for (int q : list)
            if (q == P)
                return true;
        return false;
    };
    if (v >= 1 && v <= 7)
        return (P == 717 && (v == 4 || v == 7)) || (P == 718 && p702_not_2) ||
               (P == 719 && v == 4 && p702_not_2);
    switch (v) {
    case 8:
        return one_of({710, 711, 712, 720, 721, 722});
    case 9:
        return one_of({710, 711, 712, 713, 720, 721, 722});
    case 10:
        return one_of({710, 711, 712, 720, 721, 722, 724});
    case 11:
        return one_of({710, 711, 712, 713, 720, 721, 722, 724});
    case 12:
        return one_of({710, 711, 712, 723, 725});
    case 13:
    case 14:
        return P == 723;
    case 19:
    case 20:
        return P == 710;
    case 21:
        return one_of({710, 723});
    default:
        return false;
    }
}

bool update_flow_parm_visibility(int first, int last) {
    ParameterRows& rows = parameter_rows();
    bool any = false;
    for (int P = first; P <= last; ++P) {
        const bool a = parameter_applies(P);
        DefinitionRecord& r = record(P);
        rows.set_text(P, value_as_box_text(r.unit_value));
        show_row(P, a);
        any = any || a;
        r.present = a;
        if (a && !r.read_only)
            rows.set_tooltip(P, get_param_tooltip(r));
    }
    return any;
}

void check_flow_parms() {
    const LinkState& L = link();
    ParameterRows& rows = parameter_rows();
    const bool dims = update_flow_parm_visibility(710, 713);
    const bool more = update_flow_parm_visibility(717, 719);
    rows.set_switch(QStringLiteral("SSTab5(0):1"), dims || more);
    parameter_state().pmd_type_copy = value_of(700);
    setup_tabs().prim_pmd_copy = value_of(701);
    const double type = value_of(700), model = value_of(701);
    if (type == 4 && model == 1)
        set_param_limits(710, 0, 72, QStringLiteral("U_IN"));
    else if (type == 4 && model == 2)
        set_param_limits(710, 0, 4.5, QStringLiteral("U_FT"));
    else if (type == 4 && model == 3)
        set_param_limits(710, 20, 100, QStringLiteral("U_DEG"));
    else if (type != 4 && type > 0)
        set_param_limits(710, 0, 99999, QStringLiteral("U_MU"));
    rows.set_switch(QStringLiteral("SSTab5(0):2"), update_flow_parm_visibility(721, 725));

    const bool absolute = value_of(702) == 1;
    rows.set_locked(705, absolute);
    for (int P : {705, 863, 864})
        show_row(P, L.p61_is_1);
    DefinitionRecord& max_flow = record(705);
    max_flow.read_only = !L.flow_mode || absolute;
    max_flow.present = value_of(702) == 2;
    rows.set_text(705, value_as_box_text(max_flow.unit_value));
    rows.set_tooltip(705, get_param_tooltip(max_flow));
    if (max_flow.read_only)
        locked_look(705);
    else
        highlight_param_box(705);
}

int flow_image_code(double p700, double p701) {
    int code = static_cast<int>(p700 * 10 + p701);
    switch (code) {
    case 41:
        return 51;
    case 42:
        return 52;
    case 43:
        return 53;
    case 51:
        return 61;
    case 52:
        return 62;
    default:
        return code;
    }
}

QString flow_image_path(int code) {
    return platform::join_path(images_folder(), QStringLiteral("flow") + QString::number(code) +
                                                    QStringLiteral(".svg"));
}

void update_flow_vessel_image() {
    SetupPicture& pic = setup_tabs().flow;
    pic.note.clear();
    const double type = value_of(700);
    if (type == 0) {
        pic.path.clear();
        pic.name.clear();
        notify();
        return;
    }
    const int code = flow_image_code(type, value_of(701));
    const QString path = flow_image_path(code);
    if (!QFileInfo::exists(path)) {
        pic.path.clear();
        pic.name.clear();
        notify();
        return;
    }
    pic.path = path;
    pic.reduced = code == 61 || code == 62;
    if (code == 22 || code == 24)
        pic.note = ui_text(1420, QStringLiteral("Dimension D (P713) is the height of the hump."));
    else if (code == 52)
        pic.note = ui_text(1424, QStringLiteral("H-flume: enter the flume depth as dimension A.")) +
                   QStringLiteral("\r\nP710 = ") +
                   ui_text(1430, QStringLiteral("flume depth in feet"));
    refresh_param_tooltip(700);
    refresh_param_tooltip(701);
    ShellState& s = shell();
    s.scratch_text_3 = name_from_tooltip(scrpar(700).tooltip, scrpar(700).text);
    s.scratch_text_4 = name_from_tooltip(scrpar(701).tooltip, scrpar(701).text);
    pic.name = s.scratch_text_3 + QStringLiteral(" - ") + s.scratch_text_4;
    notify();
}
