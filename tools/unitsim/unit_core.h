#pragma once
// The simulated unit's command language: one command text in, the reply text out, and the
// unit's state changed as the command says. No timing and no port here (see Responder and
// Simulator): this is the part tests drive directly.

#include "definitions.h"
#include "echo_unit.h"
#include "log_memory.h"
#include "unit_kind.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace unitsim {

// Codes the unit accepts after "/access:" besides its own passcode (P922).
inline constexpr const char* access_code = "318406";
inline constexpr const char* second_access_code = "460927";
inline constexpr const char* distributor_passcode = "905173";

// The byte that leaves the bridge to the logging board.
inline constexpr char bridge_exit_byte = 20;

struct Reply {
    bool answered = true; // false: the unit sends nothing back (the bridge-exit byte)
    QByteArray body;      // without the final line end
};

// One "/p<n>:<value>" the unit was sent, in order: what it said and the mode it was in.
struct WriteRecord {
    int number = 0;
    QString value_text;
    bool accepted = false;
    bool quick_mode = false;
};

struct Parameter {
    ParameterDefinition definition;
    double value = 0; // lengths in millimetres, whatever P104 says
    QString text;     // set for parameters that answer with text ("2.0.5"); empty otherwise
    bool present = true;
};

class UnitCore {
public:
    explicit UnitCore(UnitKind kind = UnitKind::Level);

    // ---- Seeding. Each of these rebuilds the unit's parameters from the definitions, the
    // kind's own values and the parameter file, in that order, and resets the session state.
    void set_kind(UnitKind kind);
    UnitKind kind() const { return profile_.kind; }
    // The kind's replies and capabilities; changes take effect at once.
    UnitProfile& profile() { return profile_; }
    const UnitProfile& profile() const { return profile_; }
    // Reads the definition files from `folder`; an empty folder means the built-in catalogue.
    bool set_definitions_folder(const QString& folder, QString* error = nullptr);
    // Takes values from a parameter file (one line of P20..P999 value texts, "," after each).
    bool load_parameter_file(const QString& path, QString* error = nullptr);
    bool apply_parameter_line(const QString& line, QString* error = nullptr);
    void reseed();
    const DefinitionSet& definitions() const { return definitions_; }

    // ---- The command language.
    Reply handle(const QString& command);

    // ---- Parameters.
    bool has_parameter(int number) const;
    const Parameter* parameter(int number) const;
    // Value in the unit's internal units (lengths in millimetres); nullopt when absent.
    std::optional<double> value(int number) const;
    void set_value(int number, double internal_value);
    void set_text(int number, const QString& text);
    void set_present(int number, bool present);
    // True when the parameter is a length (units "U_MU_M", or "U_MU" unless a relay makes its
    // set point something else).
    bool is_length(int number) const;
    // Millimetres per unit of P104 (1 m, 2 cm, 3 mm, 4 ft, 5 in).
    double length_factor() const;
    // What "/p<n>" answers, in the unit of P104.
    QString read_text(int number) const;
    // The "/sendall" line without its line end, lengths in millimetres.
    QByteArray sendall_text() const;
    // Numbers of the present parameters, ascending.
    std::vector<int> parameter_numbers() const;

    // ---- Echo traces, level, temperature and status (echo_unit.h).
    EchoUnit& echo() { return echo_; }
    // ---- Every parameter write, accepted or refused, in order (see unit_writes.cpp).
    const std::vector<WriteRecord>& writes() const { return writes_; }
    void clear_writes() { writes_.clear(); }
    // Numbers of the accepted writes, in order.
    std::vector<int> accepted_write_numbers() const;

    // ---- Session state.
    bool logged_on() const { return logged_on_; }
    void set_logged_on(bool on) { logged_on_ = on; }
    bool quick_mode() const { return quick_mode_; }
    bool on_board() const { return on_board_; }
    bool in_bootloader() const { return bootloader_; }
    int hard_defaults() const { return hard_defaults_; }
    int factory_defaults() const { return factory_defaults_; }

    // ---- Logger and clock.
    LogMemory& log() { return log_; }
    const LogMemory& log() const { return log_; }
    bool ma_input() const { return ma_input_; }
    void set_ma_input(bool on) { ma_input_ = on; }
    // Records "/simlog:1" makes (capped by the memory).
    int simulated_records() const { return simulated_records_; }
    void set_simulated_records(int n) { simulated_records_ = n; }
    // The unit's clock: the PC's clock plus an offset the program may set.
    QDateTime unit_clock() const;
    void set_unit_clock(const QDateTime& when);
    // 1 DDMMYY, 2 MMDDYY, 3 YYMMDD.
    int date_order() const { return date_order_; }
    void set_date_order(int order) { date_order_ = order; }
    // Where "now" comes from; tests fix it.
    void set_now_source(std::function<QDateTime()> now) { now_ = std::move(now); }

private:
    Reply ok() const { return {true, "OK"}; }
    Reply no() const { return {true, "NO"}; }
    Reply handle_access(const QString& code);
    Reply handle_read(int number) const;
    Reply handle_write(int number, const QString& value_text);
    Reply store_write(int number, const QString& value_text);
    bool within_limits(const Parameter& p, double value) const;
    Reply handle_measured(int number) const;
    Reply who(bool upper_case) const;
    std::optional<QString> live_text(int number) const;
    bool is_live(int number) const;
    void restore_defaults();
    QString format_value(const Parameter& p, double value, bool in_millimetres) const;

    UnitProfile profile_;
    QString definitions_folder_;
    QString parameter_file_;
    DefinitionSet definitions_;
    std::map<int, Parameter> parameters_;
    std::vector<WriteRecord> writes_;
    LogMemory log_;
    EchoUnit echo_;
    bool logged_on_ = false;
    bool quick_mode_ = false;
    bool on_board_ = false;
    bool bootloader_ = false;
    bool ma_input_ = false;
    int hard_defaults_ = 0;
    int factory_defaults_ = 0;
    int simulated_records_ = 500;
    int date_order_ = 1;
    qint64 clock_offset_s_ = 0;
    std::function<QDateTime()> now_ = [] { return QDateTime::currentDateTime(); };
};

} // namespace unitsim
