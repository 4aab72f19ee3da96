#include "simulator.h"

#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace unitsim {

namespace {

speed_t speed_constant(int baud) {
    switch (baud) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B19200;
    }
}

} // namespace

Simulator::Simulator(UnitKind kind, QObject* parent) : QObject(parent), unit_(kind) {
    clock_.start();
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &Simulator::flush_due);
    open_pty();
}

Simulator::~Simulator() {
    if (!link_path_.isEmpty() && QFileInfo(link_path_).symLinkTarget() == slave_path_)
        ::unlink(link_path_.toLocal8Bit().constData());
    if (slave_fd_ >= 0)
        ::close(slave_fd_);
    if (master_fd_ >= 0)
        ::close(master_fd_);
}

void Simulator::open_pty() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error_ = QString("cannot open a pseudo-terminal: %1").arg(std::strerror(errno));
        return;
    }
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
        ::ptsname_r(master, name, sizeof name) != 0) {
        error_ = QString("cannot prepare the pseudo-terminal: %1").arg(std::strerror(errno));
        ::close(master);
        return;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        error_ = QString("cannot open %1: %2").arg(name, std::strerror(errno));
        ::close(master);
        return;
    }
    // Raw, so CR reaches us as CR and nothing is echoed back to the program.
    termios t{};
    if (::tcgetattr(slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, speed_constant(responder_.baud()));
        ::cfsetospeed(&t, speed_constant(responder_.baud()));
        ::tcsetattr(slave, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    master_fd_ = master;
    slave_fd_ = slave;
    slave_path_ = QString::fromLocal8Bit(name);

    read_notifier_ = new QSocketNotifier(master_fd_, QSocketNotifier::Read, this);
    connect(read_notifier_, &QSocketNotifier::activated, this, &Simulator::on_readable);
    write_notifier_ = new QSocketNotifier(master_fd_, QSocketNotifier::Write, this);
    write_notifier_->setEnabled(false);
    connect(write_notifier_, &QSocketNotifier::activated, this, &Simulator::on_writable);
}

bool Simulator::link(const QString& path, QString* error) {
    const QByteArray target = slave_path_.toLocal8Bit();
    const QByteArray where = path.toLocal8Bit();
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        if (!info.isSymLink()) {
            if (error)
                *error = QString("%1 exists and is not a link; left alone").arg(path);
            return false;
        }
        ::unlink(where.constData());
    }
    if (::symlink(target.constData(), where.constData()) != 0) {
        if (error)
            *error = QString("cannot link %1: %2").arg(path, std::strerror(errno));
        return false;
    }
    link_path_ = path;
    return true;
}

void Simulator::set_baud(int baud) {
    responder_.set_baud(baud);
    termios t{};
    if (slave_fd_ >= 0 && ::tcgetattr(slave_fd_, &t) == 0) {
        ::cfsetispeed(&t, speed_constant(baud));
        ::cfsetospeed(&t, speed_constant(baud));
        ::tcsetattr(slave_fd_, TCSANOW, &t);
    }
}

void Simulator::set_time_scale(double scale) {
    base_program_ms_ = now_ms();
    base_real_ns_ = clock_.nsecsElapsed();
    scale_ = scale > 0 ? scale : 1;
    schedule();
}

double Simulator::now_ms() const {
    if (clock_fn_)
        return clock_fn_();
    return base_program_ms_ + double(clock_.nsecsElapsed() - base_real_ns_) / 1e6 * scale_;
}

void Simulator::set_clock(std::function<double()> now_ms) {
    base_program_ms_ = this->now_ms();
    base_real_ns_ = clock_.nsecsElapsed();
    clock_fn_ = std::move(now_ms);
    schedule();
}

double Simulator::next_write_ms() const {
    return queue_.empty() ? std::numeric_limits<double>::infinity() : queue_.front().at_ms;
}

namespace {
int bytes_waiting(int fd) {
    int n = 0;
    return fd >= 0 && ::ioctl(fd, FIONREAD, &n) == 0 ? n : 0;
}
} // namespace

void Simulator::await_hand_over(int waiting) {
    // The kernel hands what was written to the far end a moment later, on another thread; a
    // clock that is to hold while bytes are on their way must find them there. A full queue is
    // not waited for.
    QElapsedTimer since;
    since.start();
    while (bytes_waiting(slave_fd_) < std::min(waiting, 4000) && since.nsecsElapsed() < 1000000000)
        ::usleep(20);
}

int Simulator::bytes_to_unit() const {
    return bytes_waiting(master_fd_);
}

int Simulator::bytes_from_unit() const {
    return int(out_.size()) + bytes_waiting(slave_fd_);
}

void Simulator::write_unsolicited(const QByteArray& bytes) {
    const double start = std::max(now_ms(), responder_.line_free_at());
    for (auto& w : pace_segments({bytes}, start, responder_.baud(), 0))
        queue_.push_back(w);
    flush_due();
}

void Simulator::on_readable() {
    QByteArray bytes;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_fd_, buf, sizeof buf);
        if (n > 0) {
            bytes.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            break;
        // Hang-up or error: rest a moment instead of spinning on a line that stays unreadable.
        read_notifier_->setEnabled(false);
        QTimer::singleShot(50, this, [this] { read_notifier_->setEnabled(true); });
        break;
    }
    if (bytes.isEmpty())
        return;
    bytes_heard_ += bytes.size();
    const qsizetype before = responder_.received().size();
    auto writes =
        modem_on_ ? modem_.receive(bytes, now_ms()) : responder_.receive(bytes, now_ms());
    for (auto& w : writes) {
        // The modem's own answers may fall between the unit's; the line keeps time order.
        auto at = std::upper_bound(queue_.begin(), queue_.end(), w.at_ms,
                                   [](double t, const PlannedWrite& q) { return t < q.at_ms; });
        queue_.insert(at, std::move(w));
    }
    const QStringList& all = responder_.received();
    for (qsizetype i = before; i < all.size(); ++i)
        emit command_received(all[i]);
    flush_due();
}

void Simulator::flush_due() {
    const double now = now_ms();
    while (!queue_.empty() && queue_.front().at_ms <= now) {
        out_.append(queue_.front().bytes);
        queue_.pop_front();
    }
    try_write();
    schedule();
}

void Simulator::schedule() {
    if (queue_.empty()) {
        timer_->stop();
        return;
    }
    // Timers count whole milliseconds; the last part of a wait below one millisecond is made of
    // zero-length timer turns so that fast lines are paced to the fraction of a millisecond.
    const double wait_real_ms = (queue_.front().at_ms - now_ms()) / scale_;
    timer_->start(wait_real_ms >= 1.0 ? int(std::floor(wait_real_ms)) : 0);
}

void Simulator::try_write() {
    while (!out_.isEmpty() && master_fd_ >= 0) {
        const int waiting = clock_fn_ ? bytes_waiting(slave_fd_) : 0;
        const ssize_t n = ::write(master_fd_, out_.constData(), size_t(out_.size()));
        if (n > 0) {
            out_.remove(0, n);
            if (clock_fn_)
                await_hand_over(waiting + int(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            out_.clear(); // the line is gone; nothing sensible to keep
        break;
    }
    if (write_notifier_)
        write_notifier_->setEnabled(!out_.isEmpty());
}

void Simulator::on_writable() {
    try_write();
}

} // namespace unitsim
