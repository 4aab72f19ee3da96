#include "platform/serial_port.h"

#include "platform/port_table.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>
#include <set>

namespace platform {
namespace {

std::multiset<QString>& open_paths() {
    static std::multiset<QString> paths;
    return paths;
}

QSerialPort::Parity qt_parity(char p) {
    switch (p) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

} // namespace

std::optional<CommSettings> parse_comm_settings(const QString& text) {
    const QStringList f = text.split(QLatin1Char(','));
    if (f.size() != 4)
        return std::nullopt;
    CommSettings s;
    bool ok = false;
    s.baud = f[0].trimmed().toInt(&ok);
    if (!ok || s.baud < 50 || s.baud > 4000000)
        return std::nullopt;
    const QString parity = f[1].trimmed().toUpper();
    if (parity.size() != 1 || !QStringLiteral("NEOMS").contains(parity))
        return std::nullopt;
    s.parity = parity[0].toLatin1();
    s.data_bits = f[2].trimmed().toInt(&ok);
    if (!ok || s.data_bits < 5 || s.data_bits > 8)
        return std::nullopt;
    const QString stop = f[3].trimmed();
    if (stop == QLatin1String("1"))
        s.stop_bits = 1;
    else if (stop == QLatin1String("1.5"))
        s.stop_bits = 1.5;
    else if (stop == QLatin1String("2"))
        s.stop_bits = 2;
    else
        return std::nullopt;
    return s;
}

bool port_open_in_this_program(const QString& device_path) {
    const QString c = QFileInfo(device_path).canonicalFilePath();
    return !c.isEmpty() && open_paths().count(c) > 0;
}

SerialPort::SerialPort(QObject* parent) : QObject(parent), port_(std::make_unique<QSerialPort>()) {
    connect(port_.get(), &QSerialPort::readyRead, this, [this] {
        if (rthreshold_ > 0 && port_->bytesAvailable() >= rthreshold_)
            emit on_comm();
    });
    connect(port_.get(), &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError e) { handle_error(static_cast<int>(e)); });
}

SerialPort::~SerialPort() {
    close_port();
}

CommError SerialPort::fail(CommError error, const QString& text) {
    last_error_ = error;
    last_error_text_ = text;
    return error;
}

CommError SerialPort::set_comm_port(int number) {
    if (port_open())
        return fail(CommError::PortAlreadyOpen, QStringLiteral("Port already open"));
    if (number < 1 || number > 255)
        return fail(CommError::InvalidPortNumber, QStringLiteral("Invalid port number"));
    comm_port_ = number;
    return CommError::None;
}

CommError SerialPort::set_settings(const QString& text) {
    if (!parse_comm_settings(text))
        return fail(CommError::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    settings_ = text.trimmed();
    if (port_open()) {
        const CommSettings s = *parse_comm_settings(settings_);
        port_->setBaudRate(s.baud);
    }
    return CommError::None;
}

std::optional<CommSettings> SerialPort::applied_settings() const {
    if (!port_open())
        return std::nullopt;
    CommSettings s;
    s.baud = port_->baudRate();
    switch (port_->parity()) {
    case QSerialPort::EvenParity:
        s.parity = 'E';
        break;
    case QSerialPort::OddParity:
        s.parity = 'O';
        break;
    case QSerialPort::MarkParity:
        s.parity = 'M';
        break;
    case QSerialPort::SpaceParity:
        s.parity = 'S';
        break;
    default:
        s.parity = 'N';
    }
    s.data_bits = port_->dataBits();
    s.stop_bits = port_->stopBits() == QSerialPort::TwoStop          ? 2
                  : port_->stopBits() == QSerialPort::OneAndHalfStop ? 1.5
                                                                     : 1;
    return s;
}

bool SerialPort::port_open() const {
    return port_->isOpen();
}

QString SerialPort::device_path() const {
    return port_open() ? open_path_ : port_device_path(comm_port_);
}

CommError SerialPort::set_port_open(bool open) {
    if (!open) {
        close_port();
        return CommError::None;
    }
    if (port_open())
        return fail(CommError::PortAlreadyOpen, QStringLiteral("Port already open"));
    const QString mapped = port_device_path(comm_port_);
    const QString path = QFileInfo(mapped).canonicalFilePath();
    if (path.isEmpty())
        return fail(CommError::InvalidPortNumber, QStringLiteral("Invalid port number"));
    if (open_paths().count(path))
        return fail(CommError::PortAlreadyOpen, QStringLiteral("Port already open"));
    const auto s = parse_comm_settings(settings_);
    if (!s)
        return fail(CommError::InvalidPropertyValue, QStringLiteral("Invalid property value"));

    port_->setPortName(path);
    port_->setBaudRate(s->baud);
    port_->setParity(qt_parity(s->parity));
    port_->setDataBits(static_cast<QSerialPort::DataBits>(s->data_bits));
    port_->setStopBits(s->stop_bits == 2     ? QSerialPort::TwoStop
                       : s->stop_bits == 1.5 ? QSerialPort::OneAndHalfStop
                                             : QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!port_->open(QIODevice::ReadWrite)) {
        const auto e = port_->error();
        const QString text = port_->errorString();
        port_->clearError();
        if (e == QSerialPort::DeviceNotFoundError)
            return fail(CommError::InvalidPortNumber, text);
        if (e == QSerialPort::PermissionError)
            return fail(CommError::PortAlreadyOpen, text);
        return fail(CommError::PortOpenFailed, text);
    }
    // The driver keeps whatever arrived before the port was opened; none of it is for us.
    port_->clear(QSerialPort::Input);
    port_->readAll();
    open_path_ = path;
    open_paths().insert(path);
    losing_device_ = false;
    last_error_ = CommError::None;
    last_error_text_.clear();
    emit opened();
    return CommError::None;
}

void SerialPort::close_port() {
    if (!open_path_.isEmpty()) {
        auto it = open_paths().find(open_path_);
        if (it != open_paths().end())
            open_paths().erase(it);
        open_path_.clear();
    }
    if (port_->isOpen())
        port_->close();
}

int SerialPort::in_buffer_count() const {
    return port_open() ? static_cast<int>(port_->bytesAvailable()) : 0;
}

void SerialPort::clear_input() {
    if (!port_open())
        return;
    port_->clear(QSerialPort::Input);
    port_->readAll();
}

QByteArray SerialPort::input() {
    if (!port_open())
        return {};
    return input_len_ > 0 ? port_->read(input_len_) : port_->readAll();
}

CommError SerialPort::output(const QByteArray& bytes) {
    if (!port_open())
        return fail(CommError::PortNotOpen,
                    QStringLiteral("Operation valid only when the port is open"));
    if (port_->write(bytes) != bytes.size())
        return fail(CommError::DeviceLost, port_->errorString());
    port_->flush();
    return CommError::None;
}

void SerialPort::handle_error(int error) {
    const auto e = static_cast<QSerialPort::SerialPortError>(error);
    if (e != QSerialPort::ResourceError && e != QSerialPort::ReadError &&
        e != QSerialPort::WriteError)
        return;
    if (losing_device_ || open_path_.isEmpty())
        return;
    // A vanished device keeps signalling; close it once, outside QSerialPort's own handler.
    losing_device_ = true;
    fail(CommError::DeviceLost, port_->errorString());
    QTimer::singleShot(0, this, [this] {
        close_port();
        port_->clearError();
        emit device_lost();
    });
}

} // namespace platform
