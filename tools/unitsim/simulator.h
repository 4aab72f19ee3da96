#pragma once
// The simulated unit on a pseudo-terminal, run by the Qt event loop of whoever owns it (a test,
// or the unitsim program): no threads. The program opens slave_path() as its serial port; the
// simulator keeps a slave descriptor of its own open, so the program may close and reopen the
// port without the line hanging up.

#include "hayes_modem.h"
#include "responder.h"
#include "unit_core.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QSocketNotifier;
class QTimer;

namespace unitsim {

class Simulator : public QObject {
    Q_OBJECT
public:
    explicit Simulator(UnitKind kind = UnitKind::Level, QObject* parent = nullptr);
    ~Simulator() override;

    // False when the pseudo-terminal could not be opened; error() says why.
    bool is_open() const { return master_fd_ >= 0; }
    QString error() const { return error_; }
    // The device the program opens, for example /dev/pts/7.
    QString slave_path() const { return slave_path_; }
    // Makes `path` a symbolic link to the slave (replacing an earlier link, never a file); the
    // link goes when the simulator does.
    bool link(const QString& path, QString* error = nullptr);

    UnitCore& unit() { return unit_; }
    // With the modem on, the unit sits behind a Hayes modem that must be dialled first.
    void set_modem(bool on) { modem_on_ = on; }
    bool modem_on() const { return modem_on_; }
    HayesModem& modem() { return modem_; }
    const UnitCore& unit() const { return unit_; }
    Responder& responder() { return responder_; }

    void set_kind(UnitKind kind) { unit_.set_kind(kind); }
    // Characters per second are baud / 10; 0 writes every reply at once.
    void set_baud(int baud);
    int baud() const { return responder_.baud(); }
    // Program seconds per real second, as the program's own clock may be scaled in tests; delays
    // and pacing are in program time.
    void set_time_scale(double scale);
    double time_scale() const { return scale_; }
    // Program milliseconds since the simulator started, or by the clock it was given.
    double now_ms() const;
    // Keeps the program's time instead of its own (program milliseconds): a test that runs the
    // unit in the program's own event loop puts both on one clock. Empty: its own clock again.
    void set_clock(std::function<double()> now_ms);

    // What a clock shared with the program needs to know to keep the two in step: when the
    // unit next writes (program milliseconds; infinity when it has nothing planned), the bytes
    // on their way to it that it has not read, the bytes it has written (or still has to write)
    // that the far end has not read, and how many bytes it has read in all.
    double next_write_ms() const;
    int bytes_to_unit() const;
    int bytes_from_unit() const;
    qint64 bytes_heard() const { return bytes_heard_; }

    void misbehave_next(const Misbehaviour& m, int count = 1) {
        responder_.misbehave_next(m, count);
    }
    void misbehave_on(const QString& pattern, const Misbehaviour& m, int count = -1) {
        responder_.misbehave_on(pattern, m, count);
    }
    void clear_misbehaviour() { responder_.clear_misbehaviour(); }
    void restore_line() { responder_.restore_line(); }

    QStringList received() const { return responder_.received(); }
    void clear_received() { responder_.clear_received(); }

    // Nothing is waiting to go out.
    bool idle() const { return queue_.empty() && out_.isEmpty(); }
    // Bytes the unit sends of its own accord, after whatever is already queued.
    void write_unsolicited(const QByteArray& bytes);

signals:
    void command_received(const QString& command);

private:
    void open_pty();
    void on_readable();
    void on_writable();
    void flush_due();
    void schedule();
    void try_write();
    void await_hand_over(int waiting);

    UnitCore unit_;
    Responder responder_{unit_};
    HayesModem modem_{responder_};
    bool modem_on_ = false;
    int master_fd_ = -1;
    int slave_fd_ = -1;
    QString slave_path_;
    QString link_path_;
    QString error_;
    QSocketNotifier* read_notifier_ = nullptr;
    QSocketNotifier* write_notifier_ = nullptr;
    QTimer* timer_ = nullptr;
    QElapsedTimer clock_;
    double scale_ = 1;
    std::function<double()> clock_fn_;
    qint64 bytes_heard_ = 0;
    double base_program_ms_ = 0;
    qint64 base_real_ns_ = 0;
    std::deque<PlannedWrite> queue_;
    QByteArray out_;
};

} // namespace unitsim
