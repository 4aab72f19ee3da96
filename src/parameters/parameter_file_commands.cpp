#include "parameters/parameter_file_commands.h"

#include "link/link_state.h"
#include "link/link_view.h"
#include "parameters/parameter_file.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_screen.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_transfer.h"
#include "parameters/screen_to_table.h"
#include "platform/dialogs.h"
#include "platform/text_file.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace {

const QString SAVE_FILTER = QStringLiteral("Parameters File (*.par)|*.par|Comma Separated File "
                                           "(*.csv)|*.csv|Tab Separated Text File (*.txt)|*.txt");
const QString OPEN_FILTER =
    QStringLiteral("Parameters File (*.par)|*.par|Text File (*.txt)|*.txt|All Files (*.*)|*.*");

QString parameter_folder() {
    const ShellState& s = shell();
    return read_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_PARAMETER_PATH, s.parameter_path);
}

void remember_folder(const QString& path) {
    write_ini(shell().ini_path, ini::SECTION_GENERAL, ini::KEY_PARAMETER_PATH,
              QFileInfo(path).absolutePath());
}

} // namespace

void saveparameterstofile_Click() {
    ParameterState& S = parameter_state();
    // A value still being typed that its check refuses is corrected before anything is saved.
    if (!S.parameters_loaded || !parameter_rows().commit_pending())
        return;
    update_parameters_from_screen();
    transfer_view().show_cancel(false);
    platform::FileDialogRequest request;
    request.title =
        ui_text(1003, QStringLiteral("&Save Parameters to File")).remove(QLatin1Char('&'));
    request.filter = SAVE_FILTER;
    request.folder = parameter_folder();
    platform::DialogService& d = platform::dialogs();
    const QString path = d.save_file(request);
    if (path.isEmpty())
        return;
    S.parameter_file_name = path;
    remember_folder(path);
    const QDateTime now = QDateTime::currentDateTime();
    QByteArray bytes;
    switch (d.last_filter_index()) {
    case 2: {
        const QString text = csv_listing(path, now, shell().language_index);
        const auto encoded = platform::encode_windows1252(text);
        bytes = encoded ? *encoded : text.toUtf8();
        break;
    }
    case 3: {
        const QString text = txt_listing(path, now);
        const auto encoded = platform::encode_windows1252(text);
        bytes = encoded ? *encoded : text.toUtf8();
        break;
    }
    default:
        bytes = par_line();
        break;
    }
    // The file is complete or not there: a failed write leaves any earlier file as it was.
    if (!platform::write_file_atomically(path, bytes))
        platform::msg_box(ui_text(2200, QStringLiteral("The file could not be written:")) +
                              QStringLiteral("\r\n") + QDir::toNativeSeparators(path),
                          platform::mb::Critical);
}

void get_parameters_file() {
    ParameterState& S = parameter_state();
    LinkState& L = link();
    transfer_view().select_cso_tab(0);
    S.saved_reply = L.reply_buffer;
    platform::FileDialogRequest request;
    request.title = ui_text(1001, QStringLiteral("Open P&arameter File")).remove(QLatin1Char('&'));
    request.filter = OPEN_FILTER;
    request.folder = parameter_folder();
    const QString path = platform::dialogs().open_file(request);
    if (path.isEmpty()) {
        L.comms_abort = true;
        transfer_view().hide_message();
        return;
    }
    remember_folder(path);
    if (openparamfile(path, true))
        link_view().set_status_text(1, ui_text(1359, QStringLiteral("Parameter file")) +
                                           QStringLiteral(" : ") + QFileInfo(path).fileName());
}

bool openparamfile(const QString& path, bool refresh_flag) {
    ParameterState& S = parameter_state();
    LinkState& L = link();
    ParameterTransferView& V = transfer_view();
    // Read first: a file that cannot be read leaves the set on the screen as it was.
    const std::optional<QString> text = platform::read_text_file(path);
    if (!text) {
        platform::msg_box(
            ui_text(1205, QStringLiteral("Error opening the parameter file - code ")) +
                QStringLiteral("53  : ") + QDir::toNativeSeparators(path),
            platform::mb::Critical);
        L.comms_abort = true;
        V.hide_message();
        return false;
    }
    V.show_message(QStringLiteral("\r\n\r\n\r\n") +
                   ui_text(1207, QStringLiteral("Loading parameters. Please wait...")));
    L.cancel_requested = false;
    S.parameters_loaded = false;
    call_hook(parameter_screen_hooks().enable_controls);
    L.reply_buffer = last_line(*text);
    ensure_parameter_rows();
    parameter_rows().set_text(100, QString());
    const ParParse parse = parse_parameter_line(L.reply_buffer);
    S.parameter_set_loading = true;
    // What the rows' checks refuse while the set goes on the screen is told in the file's own
    // message, once.
    RefusalsWhileOpening refusals;
    keep_refusals(&refusals);
    {
        const auto loaded = qScopeGuard([&] {
            S.parameter_set_loading = false;
            keep_refusals(nullptr);
        });
        V.set_cso_tab_enabled(1, true);
        V.select_cso_tab(1);
        update_parameter_screen(refresh_flag);
        V.hide_message();
        if (S.system_type != 4) {
            for (int P = 210; P <= 214; ++P)
                update_relay_params(P);
            for (int P = 220; P <= 224; ++P)
                update_relay_params(P);
        }
    }
    L.reply_buffer = S.saved_reply;
    S.parameters_loaded = true;
    S.parameter_file_name = path;
    call_hook(parameter_screen_hooks().enable_controls);
    // Told once the set stands with its version's limits, so that the limits are the set's own.
    if (const QString message = par_load_message(parse, refusals); !message.isEmpty())
        platform::msg_box(message, platform::mb::Critical);
    return true;
}
