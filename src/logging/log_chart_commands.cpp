#include "logging/log_chart_commands.h"

#include "link/command_link.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/log_on.h"
#include "link/traffic_log.h"
#include "logging/chart_units.h"
#include "logging/legend_window.h"
#include "logging/log_channels.h"
#include "logging/log_chart_model.h"
#include "logging/log_records.h"
#include "logging/log_setup_page.h"
#include "logging/log_setup_state.h"
#include "logging/log_unit_view.h"
#include "logging/logging_constants.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/serial_port.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QBuffer>
#include <QCheckBox>
#include <QDateTime>
#include <QTimeZone>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace mb = platform::mb;

namespace {

const QString CRLF = QStringLiteral("\r\n");
const QString LOG_FILTER = QStringLiteral("Log File (*.vlg)|*.vlg");
const QString GETLOG = QStringLiteral("/getlog");

QString text(int n, const char* english) {
    return ui_text(n, QString::fromUtf8(english));
}

void tell(const QString& message, int style = mb::Exclamation) {
    platform::msg_box(message, style);
}

bool is_line_end_byte(char c) {
    return c == '\r' || c == '\n';
}

void end_busy_display() {
    if (!shell().debug_enabled)
        log_unit_view().show_busy_panel(false);
    link_view().set_status_text(1, QString());
    link_view().set_download_label(QString());
    link_view().set_progress_value(1, 0);
}

// The header's view of the unit model, channel boxes and capabilities, as a loaded log shows it.
void apply_header_to_page(LogSetupPage& page, const logfile::DecodedLog& d) {
    LogSetupState& s = log_setup();
    const logfile::LogHeader& h = d.header;
    LinkState& L = link();

    if (platform::is_numeric(h.serial_number))
        definitions_table()[92].unit_value = platform::val(h.serial_number);
    s.log_start_date_text =
        d.start_date ? platform::format_date(*d.start_date, platform::date_formats().short_date)
                     : h.start_date;
    s.log_start_date = s.log_start_date_text;
    s.unit_type = h.unit_type;
    s.channel_mask_1 = h.channel_mask_1;
    s.channel_mask_2 = h.channel_mask_2;
    s.channel_mask_3 = h.channel_mask_3;
    s.log_interval = h.log_interval;
    s.log_wrapping = h.log_wrapping;
    s.log_records = h.log_records;

    L.cso_unit = platform::val(h.log_type) == 1 && h.unit_type != 43;
    page.select_model_option(L.cso_unit ? 14 : h.unit_type);
    s.unit_type = h.unit_type;

    ModelCapabilityFlags& f = s.capabilities;
    f.ma_input_available = h.ma_input == 1 || h.unit_type == 17;
    page.channel_boxes[16]->setEnabled(f.ma_input_available);
    page.channel_boxes[44]->setEnabled(h.unit_type == 17 || h.unit_type == 43);
    page.ma_input_box->setChecked(f.ma_input_available);

    const logsetup::ChannelSet logged =
        logsetup::channels_from_masks(h.channel_mask_1, h.channel_mask_2, h.channel_mask_3);
    auto any = [&](std::initializer_list<int> channels) {
        for (int c : channels)
            if (logged.test(static_cast<size_t>(c)))
                return true;
        return false;
    };
    f.volume_option = any({27, 28, 37, 40, 41});
    f.flow_option = any({29, 30, 38, 39, 42, 43});
    f.flow_average_option = any({30, 39, 42});
    page.channel_boxes[27]->setEnabled(f.volume_option);
    page.channel_boxes[28]->setEnabled(f.pumped_volume_option || s.unit_type == 15);
    if (page.channel_frames.count(6))
        page.channel_frames.at(6)->setEnabled(f.volume_option || f.pumped_volume_option);
    page.channel_boxes[29]->setEnabled(f.flow_option);
    page.channel_boxes[30]->setEnabled(f.flow_average_option);
    if (page.channel_frames.count(7))
        page.channel_frames.at(7)->setEnabled(f.flow_option || f.flow_average_option);

    page.getlogbytes();
    // The file's own layout, whatever boxes the page offers for the model.
    s.record_bytes = static_cast<int16_t>(d.layout.record_bytes);
    const QString boxes[9] = {s.log_start_date_text,
                              QString::number(h.channel_mask_1),
                              QString::number(h.channel_mask_2),
                              QString::number(h.channel_mask_3),
                              platform::number_text(h.log_interval).trimmed(),
                              platform::number_text(h.log_wrapping).trimmed(),
                              platform::number_text(h.log_records).trimmed(),
                              page.unit_log_boxes[7]->text(),
                              QString::number(s.record_bytes)};
    for (size_t i = 0; i < page.unit_log_boxes.size(); ++i)
        if (i != 7)
            page.unit_log_boxes[i]->setText(boxes[i]);
}

int relay_series_count() {
    switch (shell().software_mode) {
    case 0:
        return std::clamp<int>(log_setup().relay_count, 0, logfile::RELAY_BITS);
    case 2:
        return 2;
    default:
        return 0;
    }
}

QString x_text(double x) {
    const QDateTime t = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(x), QTimeZone::utc());
    return platform::format_date(t, platform::date_formats().short_date +
                                        QStringLiteral(" hh:nn"));
}

// The record loop's display: the progress bar, the percentage read and, with the debug display,
// every record in the traffic box. Shown (and events handled) every PROGRESS_STEP fields, so that
// a full log still loads in moments.
class LoadProgress {
public:
    static constexpr int PROGRESS_STEP = 256;

    explicit LoadProgress(double log_records)
        : debug_(shell().debug_enabled), bar_(debug_ ? 1 : 4),
          maximum_(static_cast<int>(std::clamp(log_records, 0.0, 2e9))) {
        log_unit_view().set_progress_max(bar_, maximum_);
        link_view().set_progress_value(bar_, 0);
        if (!debug_)
            traffic().term().clear();
    }

    void field(QByteArrayView field, const logfile::DecodedLog& so_far) {
        // The bar starts again when the file holds more than its header counts.
        value_ = value_ < maximum_ ? value_ + 1 : 0;
        if (debug_) {
            echo_ += QLatin1StringView(field.data(), field.size());
            echo_ += CRLF;
        }
        if (++fields_ % PROGRESS_STEP == 1)
            show(so_far);
    }

    void show(const logfile::DecodedLog& so_far) {
        link_view().set_progress_value(bar_, value_);
        const double percent = maximum_ > 0 ? value_ * 100.0 / maximum_ : 0;
        const QString read = text(1111, "Loading log data: ") +
                             platform::format_number(percent, QStringLiteral("##.0")) +
                             QLatin1Char('%');
        if (debug_) {
            if (!echo_.isEmpty())
                traffic().term().append(echo_);
            echo_.clear();
            link_view().set_status_text(1, read + QStringLiteral(" - Valid = ") +
                                               QString::number(so_far.valid_date_count));
        } else {
            link_view().set_download_label(read);
        }
        platform::pump_events();
    }

private:
    bool debug_;
    int bar_;
    int maximum_;
    int value_ = 0;
    qint64 fields_ = 0;
    QString echo_;
};

void fill_chart(const logfile::DecodedLog& d) {
    LogChartModel& chart = log_chart_model();
    chart.remove_all_series();
    const LogSetupState& s = log_setup();
    size_t column = 0;
    int n = 0;
    auto add = [&](const QString& title, LogChartSeries::Style style, int32_t colour) {
        LogChartSeries& series = chart.add_series(title.trimmed(), style);
        series.colour = colour;
        series.active = n == 0;
        series.x = d.x;
        series.y = d.columns[column];
        ++column;
        ++n;
    };
    for (const auto& f : d.layout.fields) {
        const bool bars = f.channel == 28 && s.capabilities.pumped_volume_option;
        add(get_trace_title(f.channel),
            bars ? LogChartSeries::Style::Bar : LogChartSeries::Style::Line,
            logfile::series_colour(n));
    }
    for (int k = 1; column < d.columns.size(); ++k)
        add(text(1136, "Relay") + QLatin1Char(' ') + QString::number(k),
            LogChartSeries::Style::Line, logfile::series_colour(k - 1));
    if (d.x.size() > 1) {
        chart.header = text(1137, "Log data from") + QLatin1Char(' ') + x_text(d.x.front()) +
                       QLatin1Char(' ') + text(1138, "to") + QLatin1Char(' ') +
                       x_text(d.x.back());
        chart.time_step_seconds = logfile::axis_step_seconds(s.log_interval);
    }
    chart.changed();
}

// Everything a load tells the user goes out as one message, the caller's note on the file first.
class LoadMessage {
public:
    explicit LoadMessage(QString note) : note_(std::move(note)) {}

    void tell(const QString& message, int style = mb::Exclamation, const QString& title = {}) {
        platform::msg_box(note_.isEmpty() ? message : note_ + CRLF + message, style, title);
        note_.clear();
    }
    // The note alone, when the load found nothing to add to it.
    void finish() {
        if (!note_.isEmpty())
            platform::msg_box(note_, mb::Exclamation);
        note_.clear();
    }

private:
    QString note_;
};

// What a charted file lacks: records its header counts that it does not hold, and entries that
// could not be read. Empty for a sound file. An entry that could not be read is held all the
// same: it is told once, among the unreadable ones, and not again as a record the file lacks.
QString damage_text(const logfile::DecodedLog& d) {
    QStringList lines;
    const int held = d.records_read() + d.malformed_records;
    if (held < d.header.log_records)
        lines << text(2330, "The log file holds %1 of the %2 records its header announces.")
                     .arg(held)
                     .arg(platform::number_text(d.header.log_records).trimmed());
    if (d.malformed_records > 0)
        lines << QString::number(d.malformed_records) + QLatin1Char(' ') +
                     text(2304, "entries of the log could not be read and were left out.");
    return lines.join(CRLF);
}

bool load(LogSetupPage& page, const QString& path, bool from_file, LoadMessage& message) {
    // Events are handled while the records are read: a second load then would draw into the
    // page and chart this one is filling.
    static bool loading = false;
    if (loading)
        return false;
    loading = true;
    struct Loading {
        ~Loading() { loading = false; }
    } loading_guard;

    LinkState& L = link();
    LogSetupState& s = log_setup();
    L.log_download_active = false;
    if (!shell().debug_enabled) {
        log_unit_view().show_busy_panel(true);
        link_view().set_download_label(text(1100, "Please wait..."));
    }
    struct Done {
        ~Done() { end_busy_display(); }
    } done;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        message.tell(text(2300, "The log file cannot be read:") + CRLF + path + CRLF +
                         file.errorString(),
                     mb::Critical);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        message.tell(text(2300, "The log file cannot be read:") + CRLF + path + CRLF +
                         file.errorString(),
                     mb::Critical);
        return false;
    }
    file.close();

    const logfile::DecodedLog head = logfile::decode_log_header(bytes, s.log_channel_table);
    if (head.problem == logfile::LogProblem::NotALog) {
        message.tell(text(2301, "This file is not a log file or its header is damaged:") + CRLF +
                         path,
                     mb::Critical);
        return false;
    }
    // A file refused here changes nothing: the page, the chart and the file the Setup dialog
    // writes its settings into stay those of the log on the chart.
    if (head.problem == logfile::LogProblem::RecordTooLong) {
        message.tell(text(2305,
                          "The channels of this log make records longer than any unit writes; the "
                          "log cannot be charted.") +
                         CRLF + path,
                     mb::Critical);
        return false;
    }
    if (head.problem == logfile::LogProblem::BadStartDate) {
        message.tell(text(2302, "The start date of the log cannot be read:") + QLatin1Char(' ') +
                         head.header.start_date + CRLF +
                         text(2303, "The records cannot be dated; the log is not charted."),
                     mb::Critical);
        return false;
    }
    s.chart_log_file = path;
    apply_header_to_page(page, head);
    if (head.problem == logfile::LogProblem::NoRecords) {
        message.tell(text(1150, "The log contains no records."), mb::Information,
                     text(1151, "No Log Data"));
        return false;
    }

    if (from_file)
        reset_chart_settings();
    else
        confirm_level_offset();
    read_chart_settings(path);
    // The points are drawn in these units; the Setup dialog rescales from them.
    s.setup_start_distance_unit = s.chart_units.distance_unit_index;
    s.setup_start_level_offset = s.chart_units.level_offset;

    if (!shell().debug_enabled)
        link_view().set_download_label(text(1111, "Loading log data: "));
    const logfile::DecodeSettings settings{s.chart_units.distance_unit_index,
                                           s.chart_units.level_offset, s.unit_type};
    LoadProgress progress(s.log_records);
    const logfile::DecodedLog d =
        logfile::decode_log(bytes, s.log_channel_table, settings, relay_series_count(),
                            [&progress](QByteArrayView field, const logfile::DecodedLog& so_far) {
                                progress.field(field, so_far);
                            });
    progress.show(d);
    fill_chart(d);

    log_unit_view().set_tab_enabled(2, true);
    log_unit_view().select_tab(2);
    show_legend_window();
    // What is there is charted; what it lacks is said once, over the chart.
    if (const QString damage = damage_text(d); !damage.isEmpty()) {
        end_busy_display();
        message.tell(damage);
    }
    return true;
}

} // namespace

bool load_log_file(LogSetupPage& page, const QString& path, bool from_file, const QString& note) {
    LoadMessage message(note);
    const bool charted = load(page, path, from_file, message);
    message.finish();
    return charted;
}

// ---- Buttons ----

void LogChartCommands::install() {
    page_.set_action(LogSetupAction::GetLogData, [this] { Command8_Click(); });
    page_.set_action(LogSetupAction::GetLogDataFromFile, [this] { get_log_data_from_file(); });
    // Until the unit has said how much it holds, there is nothing to download.
    page_.get_log_data_button->setEnabled(log_setup().log_records > 0);
}

LogChartCommands* install_log_chart_commands(LogSetupPage& page,
                                             std::function<void()>* open_log_file) {
    auto* commands = new LogChartCommands(page, &page);
    commands->install();
    if (open_log_file)
        *open_log_file = [commands] { commands->get_log_data_from_file(); };
    return commands;
}

void LogChartCommands::get_log_data_from_file() {
    const ShellState& sh = shell();
    platform::FileDialogRequest request;
    request.title = text(1090, "Get Log Data from File").remove(QLatin1Char('&'));
    request.filter = LOG_FILTER;
    request.folder = read_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_DATALOG_PATH,
                              sh.datalog_path.isEmpty() ? sh.data_folder : sh.datalog_path);
    const QString name = platform::dialogs().open_file(request);
    if (name.isEmpty())
        return;
    write_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_DATALOG_PATH,
              QFileInfo(name).absolutePath());
    log_unit_view().select_tab(0);
    load_log_file(page_, name, true);
}

void LogChartCommands::Command8_Click() {
    if (downloading_) {
        abort_download();
        return;
    }
    downloading_ = true;
    abort_requested_ = false;
    page_.get_log_data_button->setText(text(1330, "&Abort Download"));
    // The set-up tab stays on show and usable: the abort is its button. Only the chart, which
    // the download is about to replace, cannot be chosen meanwhile.
    log_unit_view().select_tab(0);
    const bool chart_available = log_unit_view().tab_enabled(2);
    log_unit_view().set_tab_enabled(2, false);
    if (download_log().isEmpty())
        log_unit_view().set_tab_enabled(2, chart_available);
    downloading_ = false;
    page_.get_log_data_button->setText(text(1089, "&Get Log Data from Unit"));
}

void LogChartCommands::abort_download() {
    abort_requested_ = true;
    LinkState& L = link();
    // A log-on still under way stops at once: the command it waits for is stopped from outside,
    // and nothing more is asked of the unit or told.
    L.comms_abort = true;
    // The unit goes on sending into a closed port; what arrived so far is charted.
    if (MSComm1().port_open())
        MSComm1().set_port_open(false);
    L.log_download_active = false;
}

QString LogChartCommands::save_download(const QByteArray& data, const QString& path) {
    if (platform::write_file_atomically(path, data))
        return path;
    // The chosen file cannot take the log: keep it beside the program's other data, under a name
    // of its own, so that nothing else overwrites it.
    const QString kept = platform::join_path(
        shell().data_folder,
        QStringLiteral("download-%1.vlg")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    const bool saved = kept != path && platform::write_file_atomically(kept, data);
    tell(text(2309, "The log could not be saved as") + QLatin1Char(' ') + path + CRLF +
             (saved ? text(2308, "What arrived is kept in") + QLatin1Char(' ') + kept
                    : text(2310, "The downloaded log could not be saved anywhere.")),
         mb::Critical);
    return saved ? kept : QString();
}

void receive_log_stream(QByteArray& data, bool& idle) {
    LinkState& L = link();
    {
        auto buffer = std::make_unique<QBuffer>(&data);
        buffer->open(QIODevice::WriteOnly);
        L.download_file = std::move(buffer);
    }
    L.download_received = 0;
    L.log_download_active = true;
    L.download_marker_seen = false;
    L.download_start_time = platform::seconds();
    idle = false;

    send_command_plain(GETLOG);
    if (L.log_download_active) {
        double last_count = -1;
        double last_change = platform::seconds();
        platform::wait_until(
            [&] { return !L.log_download_active; }, -1,
            [&] {
                if (L.download_received != last_count) {
                    last_count = L.download_received;
                    last_change = platform::seconds();
                } else if (platform::seconds() - last_change >= DOWNLOAD_IDLE_SECONDS) {
                    idle = true;
                    L.log_download_active = false;
                }
            },
            1.0);
    }
    // The stream may have ended any way: its end, the user's abort, a lost device, a silent unit.
    L.log_download_active = false;
    L.download_file.reset();
    L.reply_buffer.clear(); // what trails the stream (its LF) is nobody's reply
}

QByteArray log_file_from_stream(QByteArray data, const QString& trailer, bool& complete) {
    complete = !data.isEmpty() && is_line_end_byte(data.back());
    // The data line ends with CR LF whatever the unit sent and wherever the line cut its line
    // end, so a download gives the same file however it arrived; the trailer starts a line of
    // its own even when the stream broke off.
    while (!data.isEmpty() && is_line_end_byte(data.back()))
        data.chop(1);
    return data + "\r\n" + trailer.toLatin1() + "\r\n";
}

QString LogChartCommands::download_log() {
    LinkState& L = link();
    const ShellState& sh = shell();
    LogSetupState& s = log_setup();

    L.quiet_commands = true;
    if (!coms_connected()) {
        L.quiet_commands = false;
        return {};
    }

    platform::FileDialogRequest request;
    request.title = text(1089, "Get Log Data from Unit").remove(QLatin1Char('&'));
    request.filter = LOG_FILTER;
    request.folder = read_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_FILE_DIRECTORY,
                              sh.data_folder);
    QString path = platform::dialogs().save_file(request);
    if (!path.isEmpty())
        write_ini(sh.ini_path, ini::SECTION_GENERAL, ini::KEY_FILE_DIRECTORY,
                  QFileInfo(path).absolutePath());
    else
        path = platform::join_path(sh.data_folder, logging_files::TEMP_LOG);

    if (!sh.debug_enabled)
        log_unit_view().show_busy_panel(true);
    traffic().term().clear();

    QByteArray data;
    bool idle = false;
    L.download_expected = s.log_records * (2.0 * s.record_bytes + 2);
    const int bar = sh.debug_enabled ? 1 : 4;
    log_unit_view().set_progress_max(
        bar, static_cast<int>(std::min(2e9, std::max(0.0, L.download_expected) + 50)));
    link_view().set_progress_value(bar, 0);
    L.quiet_commands = !sh.debug_enabled;
    receive_log_stream(data, idle);
    L.quiet_commands = false;
    const bool complete = !data.isEmpty() && is_line_end_byte(data.back());
    const QString why =
        idle ? text(2307, "No data came from the unit for 60 seconds; the download was ended.")
             : text(2306, "The download stopped before the log was complete.");
    if (data.isEmpty()) {
        // Nothing arrived: the file the user named keeps what it held.
        end_busy_display();
        if (!abort_requested_)
            tell(why);
        return {};
    }
    if (!data.contains('$')) {
        // Only a header came (the log was cleared after its information was read, or the
        // stream broke off before the first record): no file is made of it, and the file the
        // user named keeps what it held.
        end_busy_display();
        if (abort_requested_)
            return {};
        if (complete)
            platform::msg_box(text(1150, "The log contains no records."), mb::Information,
                              text(1151, "No Log Data"));
        else
            tell(why);
        if (L.lite_unit && MSComm1().port_open())
            exit_comms_bridging(false);
        return {};
    }

    bool ended = false;
    data = log_file_from_stream(data, logsetup::chart_settings_trailer(s.chart_units), ended);
    const QString written = save_download(data, path);
    end_busy_display();

    if (L.lite_unit && !abort_requested_ && MSComm1().port_open())
        exit_comms_bridging(false);
    if (written.isEmpty())
        return {};
    // A download that broke off is told together with what the file then holds.
    load_log_file(page_, written, false,
                  complete ? QString()
                           : why + CRLF + text(2308, "What arrived is kept in") + QLatin1Char(' ') +
                                 written);
    return written;
}
