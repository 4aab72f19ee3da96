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

// Fresh log set-up state with its channel table, no captions from a language file, the plain
// number separators, and the log memory of the first boards.
inline void fresh_log_setup() {
    reset_log_setup_state();
    for (auto& r : definitions_table())
        r.text.clear();
    platform::number_separators() = {};
    init_log_channel_bytes();
    init_log_channel_decimals();
    log_setup().duration_multiplier = getDurationMult(0);
}

class LoggingTest : public ::testing::Test {
protected:
    void SetUp() override { fresh_log_setup(); }
    void TearDown() override { platform::number_separators() = {}; }
};

// The log set-up page as the main window leaves it at start-up in software mode 0.
inline std::unique_ptr<LogSetupPage> start_up_log_page() {
    auto page = std::make_unique<LogSetupPage>();
    page->setup_boxes[2]->setText(QStringLiteral("0"));
    page->select_model_option(2);
    page->channel_boxes[31]->setChecked(true);
    return page;
}

inline LogChartModel& fresh_log_chart() {
    unload_legend_window();
    reset_shell_state();
    fresh_log_setup();
    LogChartModel& model = log_chart_model();
    model.remove_all_series();
    model.display = {};
    return model;
}
