#include "ui/caption_map.h"

#include "shell/definitions_table.h"
#include "shell/language_file.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QWidget>

const std::vector<CaptionEntry>& caption_map() {
    using P = CaptionProperty;
    // In the order the texts are given: the echo and KOVEX page, the menus, the main tabs and
    // pages, then the Setup dialog, the interactive window and the print header dialog.
    static const std::vector<CaptionEntry> map = {
        {"Form1", "Command16", -1, P::ToolTip, 0, 1232},
        {"Form1", "Command15", -1, P::ToolTip, 0, 1233},
        {"Form1", "Command14", -1, P::ToolTip, 0, 1241},
        {"Form1", "Command14", -1, P::Caption, 0, 1400},
        {"Form1", "Command17", -1, P::ToolTip, 0, 1242},
        {"Form1", "Command17", -1, P::Caption, 0, 1399},
        {"Form1", "Check7", -1, P::Caption, 0, 1401},
        {"Form1", "SSTab5", 0, P::Tab, 0, 1382},
        {"Form1", "SSTab7", -1, P::Caption, 0, 1402},
        {"Form1", "SSTab2", 0, P::Tab, 0, 1403},
        {"Form1", "SSTab2", 0, P::Tab, 1, 1404},
        {"Form1", "SSTab2", 0, P::Tab, 2, 1405},
        {"Form1", "SSTab2", 0, P::Tab, 3, 1406},
        {"Form1", "SSTab3", 0, P::Tab, 0, 1403},
        {"Form1", "SSTab3", 0, P::Tab, 1, 1404},
        {"Form1", "SSTab3", 0, P::Tab, 2, 1405},
        {"Form1", "SSTab3", 0, P::Tab, 3, 1406},
        {"Form1", "file", -1, P::Caption, 0, 1000},
        {"Form1", "openlogfile", -1, P::Caption, 0, 1163},
        {"Form1", "openparameterfile", -1, P::Caption, 0, 1001},
        {"Form1", "openechofile", -1, P::Caption, 0, 1002},
        {"Form1", "saveparameterstofile", -1, P::Caption, 0, 1003},
        {"Form1", "exit", -1, P::Caption, 0, 1004},
        {"Form1", "printmenu", -1, P::Caption, 0, 1005},
        {"Form1", "reprogram", -1, P::Caption, 0, 1279},
        {"Form1", "bootload", -1, P::Caption, 0, 1383},
        {"Form1", "veltoprogram", -1, P::Caption, 0, 1384},
        {"Form1", "printparameters", -1, P::Caption, 0, 1007},
        {"Form1", "printchangedparameters", -1, P::Caption, 0, 1008},
        {"Form1", "mode", -1, P::Caption, 0, 1009},
        {"Form1", "csomenu", -1, P::Caption, 0, 1010},
        {"Form1", "loggingmenu", -1, P::Caption, 0, 1011},
        {"Form1", "setup", -1, P::Caption, 0, 1012},
        {"Form1", "help", -1, P::Caption, 0, 1013},
        {"Form1", "modem", -1, P::Caption, 0, 1385},
        {"Form1", "calculator", -1, P::Caption, 0, 1320},
        {"Form1", "printecho", -1, P::Caption, 0, 1006},
        {"Form1", "about", -1, P::Caption, 0, 1014, 0, ""},
        {"Form1", "about", -1, P::Caption, 0, 1344, 1, ""},
        {"Form1", "about", -1, P::Caption, 0, 1345, 2, ""},
        {"Form1", "SSTab1", 0, P::Tab, 0, 1015},
        {"Form1", "SSTab1", 0, P::Tab, 1, 1081},
        {"Form1", "SSTab1", 0, P::Tab, 2, 1092},
        {"Form1", "Frame1", 0, P::Caption, 0, 1016},
        {"Form1", "Frame1", 1, P::Caption, 0, 1017},
        {"Form1", "Frame1", 2, P::Caption, 0, 1018},
        {"Form1", "Frame1", 3, P::Caption, 0, 1019},
        {"Form1", "Frame1", 4, P::Caption, 0, 1020},
        {"Form1", "Frame1", 5, P::Caption, 0, 1021},
        {"Form1", "Frame1", 6, P::Caption, 0, 1022},
        {"Form1", "Frame1", 7, P::Caption, 0, 1023},
        {"Form1", "Frame1", 8, P::Caption, 0, 1024},
        {"Form1", "Frame1", 9, P::Caption, 0, 1025},
        {"Form1", "Frame1", 10, P::Caption, 0, 1026},
        {"Form1", "Frame1", 11, P::Caption, 0, 1027},
        {"Form1", "Check1", 0, P::Caption, 0, 1028},
        {"Form1", "Check1", 1, P::Caption, 0, 1029},
        {"Form1", "Check1", 2, P::Caption, 0, 1030},
        {"Form1", "Check1", 3, P::Caption, 0, 1031},
        {"Form1", "Check1", 4, P::Caption, 0, 1032},
        {"Form1", "Check1", 5, P::Caption, 0, 1033},
        {"Form1", "Check1", 6, P::Caption, 0, 1034},
        {"Form1", "Check1", 7, P::Caption, 0, 1035},
        {"Form1", "Check1", 8, P::Caption, 0, 1036},
        {"Form1", "Check1", 9, P::Caption, 0, 1037},
        {"Form1", "Check1", 10, P::Caption, 0, 1038},
        {"Form1", "Check1", 11, P::Caption, 0, 1039},
        {"Form1", "Check1", 12, P::Caption, 0, 1040},
        {"Form1", "Check1", 13, P::Caption, 0, 1041},
        {"Form1", "Check1", 14, P::Caption, 0, 1042},
        {"Form1", "Check1", 15, P::Caption, 0, 1043},
        {"Form1", "Check1", 16, P::Caption, 0, 1044},
        {"Form1", "Check1", 17, P::Caption, 0, 1045},
        {"Form1", "Check1", 18, P::Caption, 0, 1046},
        {"Form1", "Check1", 19, P::Caption, 0, 1047},
        {"Form1", "Check1", 20, P::Caption, 0, 1048},
        {"Form1", "Check1", 21, P::Caption, 0, 1049},
        {"Form1", "Check1", 22, P::Caption, 0, 1050},
        {"Form1", "Check1", 23, P::Caption, 0, 1051},
        {"Form1", "Check1", 24, P::Caption, 0, 1052},
        {"Form1", "Check1", 25, P::Caption, 0, 1053},
        {"Form1", "Check1", 26, P::Caption, 0, 1054},
        {"Form1", "Check1", 27, P::Caption, 0, 1055},
        {"Form1", "Check1", 28, P::Caption, 0, 1056},
        {"Form1", "Check1", 29, P::Caption, 0, 1057},
        {"Form1", "Check1", 30, P::Caption, 0, 1058},
        {"Form1", "Check1", 31, P::Caption, 0, 1059},
        {"Form1", "Check1", 32, P::Caption, 0, 1322},
        {"Form1", "Check1", 33, P::Caption, 0, 1323},
        {"Form1", "Option1", 1, P::Caption, 0, 1060},
        {"Form1", "Option1", 2, P::Caption, 0, 1061},
        {"Form1", "Option1", 3, P::Caption, 0, 1062},
        {"Form1", "Option1", 4, P::Caption, 0, 1063},
        {"Form1", "Option1", 5, P::Caption, 0, 1064},
        {"Form1", "Option1", 6, P::Caption, 0, 1065},
        {"Form1", "Option1", 7, P::Caption, 0, 1066},
        {"Form1", "Option1", 8, P::Caption, 0, 1067},
        {"Form1", "Option1", 9, P::Caption, 0, 1068},
        {"Form1", "Option1", 10, P::Caption, 0, 1069},
        {"Form1", "Option1", 11, P::Caption, 0, 1070},
        {"Form1", "Option1", 12, P::Caption, 0, 1071},
        {"Form1", "Label5", 0, P::Caption, 0, 1082},
        {"Form1", "Label5", 1, P::Caption, 0, 1083},
        {"Form1", "Label5", 2, P::Caption, 0, 1084},
        {"Form1", "Label5", 3, P::Caption, 0, 1085},
        {"Form1", "Label5", 4, P::Caption, 0, 1086},
        {"Form1", "Label5", 5, P::Caption, 0, 1087},
        {"Form1", "Option1", 16, P::Caption, 0, 1427},
        {"Form1", "Check1", 44, P::Caption, 0, 1429},
        {"Form1", "Option1", 17, P::Caption, 0, 1428},
        {"Form1", "Check2", -1, P::Caption, 0, 1072},
        {"Form1", "Label1", 7, P::Caption, 0, 1073},
        {"Form1", "Label1", 0, P::Caption, 0, 1074},
        {"Form1", "Label1", 1, P::Caption, 0, 1075},
        {"Form1", "Label1", 2, P::Caption, 0, 1076},
        {"Form1", "Check3", -1, P::Caption, 0, 1077},
        {"Form1", "Command1", -1, P::Caption, 0, 1078},
        {"Form1", "Command2", -1, P::Caption, 0, 1079},
        {"Form1", "Command5", -1, P::Caption, 0, 1080},
        {"Form1", "Command11", -1, P::Caption, 0, 1230},
        {"Form1", "Command12", -1, P::Caption, 0, 1397},
        {"Form1", "Command6", -1, P::Caption, 0, 1088},
        {"Form1", "Command8", -1, P::Caption, 0, 1089},
        {"Form1", "Command3", -1, P::Caption, 0, 1090},
        {"Form1", "Command7", -1, P::Caption, 0, 1091},
        {"Form1", "Command4", -1, P::ToolTip, 0, 1161},
        {"Form1", "Command9", -1, P::ToolTip, 0, 1162},
        {"Form1", "Command13", -1, P::ToolTip, 0, 1321},
        {"Form1", "Text1", 7, P::ToolTip, 0, 1113},
        {"Form1", "SSTab1", 1, P::Tab, 0, 1168},
        {"Form1", "SSTab1", 1, P::Tab, 1, 1169},
        {"Form1", "SSTab1", 1, P::Tab, 2, 1055},
        {"Form1", "SSTab1", 1, P::Tab, 3, 1057},
        {"Form1", "scrframe", 1026, P::Caption, 0, 1219},
        {"Form1", "Option2", -1, P::Caption, 0, 1095},
        {"Form1", "Option3", -1, P::Caption, 0, 1096},
        {"Form1", "Check6", 0, P::Caption, 0, 1220},
        {"Form1", "Check6", 1, P::Caption, 0, 1221},
        {"Form1", "Check6", 2, P::Caption, 0, 1222},
        {"Form1", "Check6", 3, P::Caption, 0, 1223},
        {"Form1", "SSTab1", 2, P::Tab, 0, 1020},
        {"Form1", "SSTab1", 2, P::Tab, 1, 1216},
        {"Form1", "SSTab1", 2, P::Tab, 2, 1245},
        {"Form1", "SSTab1", 2, P::Tab, 3, 1247},
        {"Form1", "SSTab1", 2, P::Tab, 4, 1249},
        {"Form1", "SSTab1", 2, P::Tab, 5, 1255},
        {"Form1", "SSTab1", 2, P::Tab, 6, 1257},
        {"Form1", "SSTab1", 2, P::Tab, 7, 1259},
        {"Form1", "SSTab1", 2, P::Tab, 8, 1266},
        {"Form1", "SSTab1", 2, P::Tab, 9, 1348},
        {"Form1", "scrframe", 1037, P::Caption, 0, 1208},
        {"Form1", "scrframe", 1116, P::Caption, 0, 1136, -1, " 1"},
        {"Form1", "scrframe", 1117, P::Caption, 0, 1136, -1, " 2"},
        {"Form1", "Frame1", 13, P::Caption, 0, 1211},
        {"Form1", "Frame9", -1, P::Caption, 0, 1217},
        {"Form1", "Frame11", -1, P::Caption, 0, 1398},
        {"Form1", "Frame8", -1, P::Caption, 0, 1213},
        {"Form1", "scrframe", 1041, P::Caption, 0, 1246},
        {"Form1", "Frame23", -1, P::Caption, 0, 1248},
        {"Form1", "scrframe", 1051, P::Caption, 0, 1215},
        {"Form1", "Frame16", -1, P::Caption, 0, 1250},
        {"Form1", "Frame17", -1, P::Caption, 0, 1251},
        {"Form1", "Frame18", -1, P::Caption, 0, 1252},
        {"Form1", "Frame19", -1, P::Caption, 0, 1253},
        {"Form1", "Frame20", -1, P::Caption, 0, 1254},
        {"Form1", "Frame3", -1, P::Caption, 0, 1218},
        {"Form1", "Frame21", -1, P::Caption, 0, 1256},
        {"Form1", "Frame22", -1, P::Caption, 0, 1246},
        {"Form1", "Frame2", -1, P::Caption, 0, 1231},
        {"Form1", "Frame15", -1, P::Caption, 0, 1258},
        {"Form1", "scrframe", 1071, P::Caption, 0, 1209},
        {"Form1", "Frame5", 1, P::Caption, 0, 1214},
        {"Form1", "Frame24", -1, P::Caption, 0, 1261},
        {"Form1", "Frame14", -1, P::Caption, 0, 1265},
        {"Form1", "SSTab2", 1, P::Tab, 0, 1370},
        {"Form1", "SSTab2", 1, P::Tab, 1, 1308},
        {"Form1", "SSTab2", 1, P::Tab, 2, 1309},
        {"Form1", "Frame27", -1, P::Caption, 0, 1309},
        {"Form1", "Frame28", -1, P::Caption, 0, 1346},
        {"Form1", "Frame29", -1, P::Caption, 0, 1347},
        {"Form1", "Frame1", 2, P::Caption, 0, 1269, 2, ""},
        {"Form1", "Check1", 17, P::Caption, 0, 1249, 2, ""},
        {"Form1", "Check1", 21, P::Caption, 0, 1270, 2, ""},
        {"Form1", "Frame26", -1, P::Caption, 0, 1319},
        {"Form1", "Frame1", 12, P::Caption, 0, 1324},
        {"Form1", "Frame1", 14, P::Caption, 0, 1325},
        {"Form1", "Frame1", 15, P::Caption, 0, 1326},
        {"Form1", "Frame1", 17, P::Caption, 0, 1327},
        {"Form1", "Frame1", 16, P::Caption, 0, 1328},
        {"Form1", "Check1", 34, P::Caption, 0, 1052},
        {"Form1", "Check1", 35, P::Caption, 0, 1053},
        {"Form1", "Check1", 36, P::Caption, 0, 1054},
        {"Form1", "Check1", 37, P::Caption, 0, 1055},
        {"Form1", "Check1", 40, P::Caption, 0, 1057},
        {"Form1", "Check1", 41, P::Caption, 0, 1058},
        {"Form1", "Check1", 38, P::Caption, 0, 1341},
        {"Form1", "Check1", 39, P::Caption, 0, 1329},
        {"Form1", "Check1", 42, P::Caption, 0, 1058},
        {"Form1", "Check1", 43, P::Caption, 0, 1329},
        {"Form1", "Check10", -1, P::Caption, 0, 1364},
        {"Form1", "Check8", -1, P::Caption, 0, 1365},
        {"Form1", "Check9", -1, P::Caption, 0, 1366},
        {"Form1", "Label9", -1, P::Caption, 0, 1367},
        {"Form3", "", -1, P::Caption, 0, 1382},
        {"Form3", "Frame1", -1, P::Caption, 0, 1101},
        {"Form3", "Label1", -1, P::Caption, 0, 1380},
        {"Form3", "Frame3", -1, P::Caption, 0, 1107},
        {"Form3", "Frame4", -1, P::Caption, 0, 1097},
        {"Form3", "Option2", 0, P::Caption, 0, 1108},
        {"Form3", "Option2", 1, P::Caption, 0, 1109},
        {"Form3", "Option2", 2, P::Caption, 0, 1110},
        {"Form3", "Option2", 3, P::Caption, 0, 1381},
        {"Form3", "Label4", -1, P::Caption, 0, 1465},
        {"form5", "", -1, P::Caption, 0, 1191},
        {"form5", "Label2", -1, P::Caption, 0, 1394},
        {"form5", "Label3", -1, P::Caption, 0, 1369},
        {"form5", "Command2", -1, P::Caption, 0, 1395},
        {"form5", "Command3", -1, P::Caption, 0, 1396},
        {"form5", "Command5", -1, P::Caption, 0, 1204},
        {"form5", "Command6", -1, P::Caption, 0, 1198},
        {"frmPrintHeader", "", -1, P::Caption, 0, 1450},
        {"frmPrintHeader", "cmdPrint", -1, P::Caption, 0, 1005},
        {"frmPrintHeader", "cmdPreview", -1, P::Caption, 0, 1447},
        {"frmPrintHeader", "cmdClear", -1, P::Caption, 0, 1448},
        {"frmPrintHeader", "cmdCancel", -1, P::Caption, 0, 1397},
        {"frmPrintHeader", "Frame1", -1, P::Caption, 0, 1189},
        {"frmPrintHeader", "Check1", -1, P::Caption, 0, 1449},
    };
    return map;
}

QObject* find_control(QWidget& window, const QString& name, int index) {
    if (name.isEmpty())
        return &window;
    if (index < 0) {
        if (window.objectName() == name)
            return &window;
        return window.findChild<QObject*>(name);
    }
    if (QObject* element =
            window.findChild<QObject*>(QStringLiteral("%1(%2)").arg(name).arg(index)))
        return element;
    for (QObject* candidate : window.findChildren<QObject*>(name)) {
        const auto i = control_index(*candidate);
        if (i && *i == index)
            return candidate;
    }
    return nullptr;
}

bool set_control_text(QObject& control, CaptionProperty property, int tab, const QString& text) {
    if (property == CaptionProperty::Tab) {
        auto* tabs = qobject_cast<QTabWidget*>(&control);
        if (!tabs || tab < 0 || tab >= tabs->count())
            return false;
        tabs->setTabText(tab, text);
        return true;
    }
    if (property == CaptionProperty::ToolTip) {
        if (auto* action = qobject_cast<QAction*>(&control)) {
            action->setToolTip(text);
            return true;
        }
        if (auto* w = qobject_cast<QWidget*>(&control)) {
            w->setToolTip(text);
            return true;
        }
        return false;
    }
    if (auto* menu = qobject_cast<QMenu*>(&control)) {
        menu->setTitle(text);
        return true;
    }
    if (auto* action = qobject_cast<QAction*>(&control)) {
        action->setText(text);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        button->setText(text);
        return true;
    }
    if (auto* frame = qobject_cast<QGroupBox*>(&control)) {
        frame->setTitle(text);
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(&control)) {
        label->setText(text);
        return true;
    }
    if (auto* tabs = qobject_cast<QTabWidget*>(&control)) {
        // A tab set's caption is the caption of its current tab.
        if (tabs->count() == 0)
            return false;
        tabs->setTabText(tabs->currentIndex(), text);
        return true;
    }
    if (auto* w = qobject_cast<QWidget*>(&control); w && w->isWindow()) {
        w->setWindowTitle(text);
        return true;
    }
    return false;
}

std::vector<const CaptionEntry*> apply_caption_map(QWidget& window, const QString& window_name,
                                                   int software_mode) {
    std::vector<const CaptionEntry*> missing;
    for (const CaptionEntry& e : caption_map()) {
        if (window_name != QLatin1String(e.window))
            continue;
        if (e.only_software_mode >= 0 && e.only_software_mode != software_mode)
            continue;
        QObject* control = find_control(window, QLatin1String(e.control), e.index);
        if (!control) {
            missing.push_back(&e);
            continue;
        }
        const QString& text = ui_text(e.text);
        if (text.isEmpty())
            continue; // the built-in caption stays readable until the language file has one
        set_control_text(*control, e.property, e.tab, text + QLatin1String(e.suffix));
    }
    return missing;
}
