#pragma once
// What the logging tests share: the program's logging headers and the widgets they show, and a
// clean log chart for the chart window tests: no legend window, fresh shell and log set-up state,
// no captions from a language file, and an empty chart with its default display.
#include "fields.h"
#include "qt_print.h"
#include "test_files.h"

#include "link/link_state.h"
#include "logging/chart_export.h"
#include "logging/chart_units.h"
#include "logging/cso_screen.h"
#include "logging/legend_rules.h"
#include "logging/legend_window.h"
#include "logging/log_channels.h"
#include "logging/log_chart_commands.h"
#include "logging/log_chart_events.h"
#include "logging/log_chart_model.h"
#include "logging/log_chart_page.h"
#include "logging/log_chart_view.h"
#include "logging/log_records.h"
#include "logging/log_setup_page.h"
#include "logging/log_setup_state.h"
#include "logging/log_unit_view.h"
#include "logging/model_capabilities.h"
#include "logging/unit_log_commands.h"
#include "logging/unit_log_rules.h"
#include "logging/up_down.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"
#include "shell/settings.h"
#include "shell/shell_state.h"

#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimeZone>
#include <QTimer>
#include <QToolButton>
#include <bit>
#include <gtest/gtest.h>
#include <initializer_list>
#include <limits>
#include <memory>
#include <qcustomplot.h>
#include <set>
#include <tuple>

inline LogChartModel& fresh_log_chart() {
    unload_legend_window();
    reset_shell_state();
    reset_log_setup_state();
    for (auto& r : definitions_table())
        r.text.clear();
    LogChartModel& model = log_chart_model();
    model.remove_all_series();
    model.display = {};
    return model;
}
