#include "parameters/parameter_work.h"

#include "parameters/edit_validation.h"
#include "parameters/parameter_file_commands.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_pages.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_rows_view.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_transfer.h"
#include "ui/main_window_services.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

namespace {

class WidgetTransferView : public QObject, public ParameterTransferView {
public:
    WidgetTransferView(const ParameterWindowControls& c, QObject* parent)
        : QObject(parent), c_(c) {
        set_transfer_view(this);
    }
    ~WidgetTransferView() override {
        if (&transfer_view() == static_cast<ParameterTransferView*>(this))
            set_transfer_view(nullptr);
    }
    void show_message(const QString& text) override {
        QString shown = text;
        shown.remove(QLatin1Char('\r'));
        c_.Text68->setText(shown.trimmed());
        c_.Text68->show();
        c_.Text68->raise();
        c_.Text68->repaint();
    }
    void hide_message() override { c_.Text68->hide(); }
    void show_progress(int maximum) override {
        c_.ProgressBar3->setMaximum(maximum);
        c_.ProgressBar3->setValue(c_.ProgressBar3->minimum());
        c_.ProgressBar3->show();
        c_.ProgressBar3->raise();
    }
    void hide_progress() override { c_.ProgressBar3->hide(); }
    void show_cancel(bool shown) override {
        c_.Command12->setVisible(shown);
        if (shown)
            c_.Command12->raise();
    }
    void select_cso_tab(int tab) override { c_.cso_tabs->setCurrentIndex(tab); }
    void set_cso_tab_enabled(int tab, bool enabled) override {
        c_.cso_tabs->setTabEnabled(tab, enabled);
    }

private:
    ParameterWindowControls c_;
};

} // namespace

void install_parameter_work(MainWindowServices& services, const ParameterWindowControls& c,
                            QObject* owner) {
    new WidgetTransferView(c, owner);
    new ParameterRowsView(*c.page, *c.vessel, *c.flow, owner);
    parameter_rows().change_handler = [](int P) { scrpar_Change(P); };
    ParameterScreenHooks& hooks = parameter_screen_hooks();
    hooks.enable_controls = c.enable_controls;
    ParameterPage* page = c.page;
    hooks.select_parameter_tab = [page](int tab) {
        if (page)
            page->SSTab1->setCurrentIndex(tab);
    };
    services.download_parameters = [] { download_parameters(); };
    services.upload_parameters = [] { upload_parameters(); };
    services.get_param_tooltip = [](int P) { return get_param_tooltip(P); };
    services.get_parameters_file = [] { get_parameters_file(); };
    services.save_parameters_file = [] { saveparameterstofile_Click(); };
}
