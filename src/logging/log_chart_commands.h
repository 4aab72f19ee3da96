#pragma once
// Bringing a log onto the log chart: "Get Log Data from Unit" downloads the unit's whole log into
// a log file and charts it, "Get Log Data from File" (also File > Open Log File) charts a file
// from disk. The download collects the stream in memory and writes the file in one go through
// the atomic writer, so a file that was there is never left half overwritten; a download that
// ends early keeps what arrived and says so.

#include <QObject>
#include <QString>
#include <functional>

class LogSetupPage;

// Reads a log file and draws it: the log set-up page takes the file's header, the chart model
// one series per logged channel (then the relays). `from_file` is false after a download: the
// level offset is then confirmed rather than reset. What is there is charted; every problem,
// records the header counts that the file lacks and unreadable entries included, ends in one
// message, which begins with `note` when the caller has one on the file; false when nothing was
// charted. While the records are read the progress shows (with Debug=True in the status bar, each
// record echoed into the traffic box) and events are handled; a load asked for while one runs is
// refused.
bool load_log_file(LogSetupPage& page, const QString& path, bool from_file,
                   const QString& note = {});

// Seconds without a byte from the unit after which a download is given up.
inline constexpr double DOWNLOAD_IDLE_SECONDS = 60;

// Sends "/getlog" over the open link and collects the stream into `data` until its line end, an
// abort (link().log_download_active cleared from outside), a lost device, or
// DOWNLOAD_IDLE_SECONDS without a byte (then `idle` is set). The link's download state is
// cleared afterwards.
void receive_log_stream(QByteArray& data, bool& idle);

// The log file a download gives: the stream's data line ended by CR LF whatever line end the unit
// sent (or none, when it broke off), then `trailer` and CR LF. `complete` tells whether the
// stream had reached its line end.
QByteArray log_file_from_stream(QByteArray data, const QString& trailer, bool& complete);

class LogChartCommands : public QObject {
public:
    explicit LogChartCommands(LogSetupPage& page, QObject* parent = nullptr)
        : QObject(parent), page_(page) {}

    // Installs the page's download and open buttons.
    void install();

    // "Get Log Data from Unit" while idle; "Abort Download" while a download runs.
    void Command8_Click();
    // "Get Log Data from File" and File > Open Log File.
    void get_log_data_from_file();

    // The download half of getdatalog: asks where to save (templog.vlg in the data folder when
    // the dialog is cancelled), streams "/getlog", writes the file with its chart settings
    // trailer and charts it. Returns the path written, or empty when nothing was.
    QString download_log();

    bool downloading() const { return downloading_; }

private:
    void abort_download();
    QString save_download(const QByteArray& data, const QString& path);

    LogSetupPage& page_;
    bool downloading_ = false;
    bool abort_requested_ = false;
};

// Gives the page its download and open work for as long as the page lives; `open_log_file`
// (the main window's File menu entry) is set to the open action.
LogChartCommands* install_log_chart_commands(LogSetupPage& page,
                                             std::function<void()>* open_log_file = nullptr);
