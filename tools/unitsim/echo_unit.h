#pragma once
// The simulated unit's echo side: the four trace commands with a believable echo profile whose
// echo moves with a simulated level, the level, temperature and status reads the live display
// makes, and the ways a unit gets traces wrong (an acknowledgement instead of a trace, text
// before the "$", more samples than a trace may hold). Silence and lateness come from the
// responder's misbehaviour like any other command.

#include <QByteArray>
#include <QString>
#include <functional>
#include <map>
#include <optional>

namespace unitsim {

class UnitCore;
struct Reply;

class EchoUnit {
public:
    EchoUnit();

    // The reply to an echo command, or nullopt when the unit's other commands handle it. "/p20:2"
    // and "/p20:3" act on the KOVEX curve here and still go on to the parameter store.

    // The reply to an echo command (upper case, trimmed), or nullopt when it is none of them.
    std::optional<QByteArray> handle(const QString& upper, const UnitCore& unit);

    // ---- The simulated surface. Without a fixed level it rises and falls slowly with time.
    void set_level_mm(std::optional<double> mm) { fixed_level_mm_ = mm; }
    double level_mm(const UnitCore& unit) const;
    void set_temperature(double celsius) { temperature_ = celsius; }
    // P900: 0 running, 1 lost echo, 2 fail-safe, 3 fault.
    void set_status_code(int code) { status_code_ = code; }
    // Where the time for the moving level comes from (seconds); tests fix it.
    void set_seconds_source(std::function<double()> seconds) { seconds_ = std::move(seconds); }

    // ---- Trace shape.
    void set_sample_count(int samples) { samples_ = samples; }
    int sample_count() const { return samples_; }

    // ---- Misbehaviour of the trace commands.
    void set_ok_for_trace(bool on) { ok_for_trace_ = on; } // "OK" instead of a trace
    void set_trace_prefix(const QByteArray& text) { prefix_ = text; } // text before the "$"
    void reset_misbehaviour();

    // ---- The KOVEX curve: points sent with "/Y<sample>:<value>" replace the built curve until
    // "/p20:2" rebuilds it from the KOVEX parameters or "/p20:3" restores the defaults. The
    // KOVEX parameters the catalogue lacks (P83, P84, P109..P112, P170..P185, P905, P906) are
    // kept here.
    const std::map<int, int>& kovex_points() const { return kovex_points_; }
    int rebuilds() const { return rebuilds_; }
    int restores() const { return restores_; }
    std::optional<double> kovex_parameter(int number) const;

    // Trace requests served so far (the noise changes with each).
    int traces_served() const { return served_; }

    // The trace line for kind 1..4 (without a line end), as the unit would send it now.
    QByteArray trace_line(int kind, const UnitCore& unit);

private:
    std::optional<double> fixed_level_mm_;
    double temperature_ = 21.4;
    int status_code_ = 0;
    std::function<double()> seconds_;
    int samples_ = 800;
    bool ok_for_trace_ = false;
    QByteArray prefix_;
    int served_ = 0;
    std::map<int, int> kovex_points_;
    std::map<int, double> kovex_parameters_;
    int rebuilds_ = 0;
    int restores_ = 0;
    void restore_kovex_defaults();
};

} // namespace unitsim
