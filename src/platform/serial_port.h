#pragma once
// The serial port control: the surface the program's design expects of its serial control
// (port number, settings text such as "19200,N,8,1", open, bytes waiting, read all, write, one
// receive notification per batch of received bytes), on top of QSerialPort. Port numbers are
// turned into device paths by the port table (port_table.h).

#include <QByteArray>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QSerialPort;

namespace platform {

// The control's error numbers, as callers test them.
enum class CommError : int {
    None = 0,
    InvalidPropertyValue = 380, // a settings text that cannot be applied
    InvalidPortNumber = 8002,   // no device behind the number, or it does not exist
    PortAlreadyOpen = 8005,     // held by another program, locked, busy or not permitted
    PortOpenFailed = 8010,      // any other failure while opening
    PortNotOpen = 8018,         // reading or writing a closed port
    DeviceLost = 8020,          // the device went away while open
};

// Baud rate, parity, data bits and stop bits of a settings text, or nullopt when it is invalid.
struct CommSettings {
    int baud = 9600;
    char parity = 'N'; // N, E, O, M or S
    int data_bits = 8;
    double stop_bits = 1;
};
std::optional<CommSettings> parse_comm_settings(const QString& text);

class SerialPort : public QObject {
    Q_OBJECT
public:
    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

    int comm_port() const { return comm_port_; }
    // Refused with PortAlreadyOpen while the port is open.
    CommError set_comm_port(int number);

    QString settings() const { return settings_; }
    CommError set_settings(const QString& text);

    bool port_open() const;
    // Opening resolves the port number, applies the settings and throws away anything the
    // device had buffered before; closing releases the device.
    CommError set_port_open(bool open);

    // Received bytes that trigger a notification; 0 switches notifications off.
    int rthreshold() const { return rthreshold_; }
    void set_rthreshold(int bytes) { rthreshold_ = bytes; }
    // Bytes one input() returns at most; 0 returns everything waiting.
    int input_len() const { return input_len_; }
    void set_input_len(int bytes) { input_len_ = bytes; }

    // Bytes received and not yet read.
    int in_buffer_count() const;
    // Discards everything received and not yet read.
    void clear_input();
    // Takes the waiting bytes (up to input_len()).
    QByteArray input();
    // Writes the bytes at once, without waiting for the event loop.
    CommError output(const QByteArray& bytes);

    // The device path that the open port uses, or the one the number maps to now.
    QString device_path() const;
    // What the open device was set to, as the serial library holds it; nullopt while closed.
    std::optional<CommSettings> applied_settings() const;
    CommError last_error() const { return last_error_; }
    QString last_error_text() const { return last_error_text_; }

signals:
    // The port was opened: what is on the other end may be another device, or one started anew.
    void opened();
    // One per batch of received bytes while the threshold is above 0.
    void on_comm();
    // The device disappeared or failed while open (unplugged); the port is already closed.
    void device_lost();

private:
    CommError fail(CommError error, const QString& text);
    void handle_error(int error);
    void close_port();

    std::unique_ptr<QSerialPort> port_;
    int comm_port_ = 1;
    QString settings_ = QStringLiteral("9600,N,8,1");
    int rthreshold_ = 0;
    int input_len_ = 0;
    QString open_path_;
    bool losing_device_ = false;
    CommError last_error_ = CommError::None;
    QString last_error_text_;
};

// True when a SerialPort of this program has the device open (the path is compared after
// following links).
bool port_open_in_this_program(const QString& device_path);

} // namespace platform
