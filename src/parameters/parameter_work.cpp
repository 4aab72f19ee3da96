#include "parameters/parameter_work.h"

#include "parameters/device_setup.h"
#include "parameters/edit_validation.h"
#include "parameters/parameter_file_commands.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_listing.h"
#include "parameters/parameter_lists.h"
#include "parameters/parameter_pages.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_rows_view.h"
#include "parameters/parameter_screen.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_transfer.h"
#include "parameters/setup_tabs.h"
#include "shell/main_window_services.h"

#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <algorithm>
#include <vector>

namespace {

class WidgetTransferView : public QObject, public ParameterTransferView {
public:
    WidgetTransferView(const ParameterWindowControls& c, QObject* parent) : QObject(parent), c_(c) {
        set_transfer_view(this);
    }
    ~WidgetTransferView() override {
        if (&transfer_view() == static_cast<ParameterTransferView*>(this))
            set_transfer_view(nullptr);
    }
    void show_message(const QString& text) override {
        QString shown = text;
        shown.remove(QLatin1Char('\r'));
        c_.progress_text->setText(shown.trimmed());
        c_.progress_text->show();
        stack();
        c_.progress_text->repaint();
    }
    void hide_message() override { c_.progress_text->hide(); }
    void show_progress(int maximum) override {
        c_.transfer_progress->setMaximum(maximum);
        c_.transfer_progress->setValue(c_.transfer_progress->minimum());
        c_.transfer_progress->show();
        stack();
    }
    void hide_progress() override { c_.transfer_progress->hide(); }
    void show_cancel(bool shown) override {
        c_.cancel_button->setVisible(shown);
        if (shown)
            stack();
    }
    void select_cso_tab(int tab) override { c_.cso_tabs->setCurrentIndex(tab); }
    void set_cso_tab_enabled(int tab, bool enabled) override {
        c_.cso_tabs->setTabEnabled(tab, enabled);
    }

private:
    // The bar and the Cancel button go under the message, in front of it and of the pages, so
    // that the user sees the progress and can stop the transfer.
    void stack() {
        const QRect m = c_.progress_text->geometry();
        c_.transfer_progress->setGeometry(m.x(), m.bottom() + 4, m.width(),
                                          c_.transfer_progress->height());
        const QSize b = c_.cancel_button->sizeHint();
        c_.cancel_button->setGeometry(m.x() + (m.width() - b.width()) / 2,
                                      c_.transfer_progress->geometry().bottom() + 4, b.width(),
                                      b.height());
        c_.progress_text->raise();
        c_.transfer_progress->raise();
        c_.cancel_button->raise();
    }

    ParameterWindowControls c_;
};

// The parameter grid: the listing in a table, the changed list in red on green, the full list with
// the changed rows in white on red.
class WidgetGridView : public QObject, public ParameterGridView {
public:
    WidgetGridView(QTableWidget* grid, QObject* parent) : QObject(parent), grid_(grid) {
        set_parameter_grid_view(this);
    }
    ~WidgetGridView() override { set_parameter_grid_view(nullptr); }

    void show_listing(bool changed_list, bool show) override {
        const ParameterListing& L = parameter_listing();
        grid_->setUpdatesEnabled(false);
        grid_->clearContents();
        grid_->setRowCount(1 + L.count());
        const QColor heading = changed_list ? QColor(0x80, 0xFF, 0x80) : QColor(0xC0, 0xC0, 0xC0);
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(c < L.headings.size() ? L.headings[c] : QString());
            item->setBackground(heading);
            QFont f = item->font();
            f.setBold(true);
            item->setFont(f);
            grid_->setItem(0, c, item);
        }
        int row = 1;
        for (const ParameterListingRow& r : L.rows) {
            const bool changed =
                !changed_list && r.number.size() > 1 && parameter_changed(r.number.mid(1).toInt());
            const QColor back = changed_list ? QColor(0xC0, 0xFF, 0xC0)
                                : changed    ? QColor(0xFF, 0, 0)
                                             : QColor(Qt::white);
            const QColor fore = changed_list ? QColor(0xFF, 0, 0)
                                : changed    ? QColor(Qt::white)
                                             : QColor(Qt::black);
            const QString cells[] = {r.number, r.description, r.value, r.default_value};
            for (int c = 0; c < 4; ++c) {
                auto* item = new QTableWidgetItem(cells[c]);
                item->setBackground(back);
                item->setForeground(fore);
                if (c >= 2)
                    item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                grid_->setItem(row, c, item);
            }
            ++row;
        }
        fit_columns();
        // Rows no taller than their text.
        grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
        grid_->setUpdatesEnabled(true);
        if (show) {
            grid_->show();
            grid_->raise();
        }
    }
    bool hide_grid() override {
        const bool shown = grid_->isVisible();
        grid_->hide();
        return shown;
    }

private:
    // Every heading and cell whole in every language ("P104", German "Vorgabe"): the number, value
    // and default columns take at least their texts' width. The description keeps its room; the
    // grid grows to the left (it stands at the window's right edge) and keeps the larger width as
    // its minimum, which the main window's layout honours.
    void fit_columns() {
        if (design_widths_.empty())
            for (int c = 0; c < 4; ++c)
                design_widths_.push_back(grid_->columnWidth(c));
        int before = 0;
        for (int c = 0; c < 4; ++c)
            before += grid_->columnWidth(c);
        int after = design_widths_[1];
        grid_->setColumnWidth(1, design_widths_[1]);
        for (int c : {0, 2, 3}) {
            grid_->resizeColumnToContents(c);
            const int w = std::max(c == 0 ? 0 : design_widths_[static_cast<size_t>(c)],
                                   grid_->columnWidth(c));
            grid_->setColumnWidth(c, w);
            after += w;
        }
        const QRect g = grid_->geometry();
        const int width = g.width() - before + after;
        if (width == g.width())
            return;
        grid_->setMinimumWidth(width);
        grid_->setGeometry(g.right() + 1 - width, g.y(), width, g.height());
    }

    QTableWidget* grid_;
    std::vector<int> design_widths_;
};

} // namespace

void install_set_up_rules() {
    ParameterScreenHooks& hooks = parameter_screen_hooks();
    hooks.update_device_setup = [](int P) { update_device_setup(P); };
    hooks.update_analog_output = [] { update_analog_output(); };
    hooks.check_volume_parms = [] { check_volume_parms(); };
    hooks.update_breakpoints = [](bool volume) { update_breakpoints(volume); };
    hooks.update_volume_vessel_image = [] { update_volume_vessel_image(); };
    hooks.check_flow_parms = [] { check_flow_parms(); };
    hooks.update_flow_vessel_image = [] { update_flow_vessel_image(); };
    hooks.update_flow_parm_visibility = [](int first, int last) {
        update_flow_parm_visibility(first, last);
    };
    hooks.list_changed_parameters = [](bool show, bool keep) {
        list_changed_parameters(show, keep);
    };
}

ParameterGridView* make_widget_grid_view(QTableWidget* grid, QObject* parent) {
    return new WidgetGridView(grid, parent);
}

void install_parameter_work(MainWindowServices& services, const ParameterWindowControls& c,
                            QObject* owner) {
    new WidgetTransferView(c, owner);
    auto* grid = c.parameter_grid ? new WidgetGridView(c.parameter_grid, owner) : nullptr;
    new ParameterRowsView(*c.page, *c.vessel, *c.flow, owner);
    parameter_rows().change_handler = [](int P) { run_edit_check(P); };
    parameter_rows().commit_handler = [](int P) { return run_typed_edit_check(P); };
    ParameterScreenHooks& hooks = parameter_screen_hooks();
    hooks.enable_controls = c.enable_controls;
    install_set_up_rules();
    services.refresh_parameter_texts = [] { refresh_parameter_texts(); };
    ParameterPage* page = c.page;
    hooks.select_parameter_tab = [page](int tab) {
        if (page)
            page->parameter_tabs->setCurrentIndex(tab);
    };
    services.download_parameters = [] { download_parameters(); };
    services.upload_parameters = [] { upload_parameters(); };
    services.get_param_tooltip = [](int P) { return get_param_tooltip(P); };
    services.get_parameters_file = [] { get_parameters_file(); };
    services.list_changed_parameters = [](bool show, bool keep) {
        list_changed_parameters(show, keep);
    };
    services.list_all_parameters = [](bool show) { list_all_parameters(show); };
    hooks.hide_parameter_grid = [grid] { return grid && grid->hide_grid(); };
    services.save_parameters_file = [] { saveparameterstofile_Click(); };
}
