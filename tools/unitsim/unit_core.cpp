#include "unit_core.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace unitsim {

namespace {

QString shortest(double v, int max_decimals = 6) {
    if (v == std::floor(v) && std::fabs(v) < 1e15)
        return QString::number(qint64(v));
    QString s = QString::number(v, 'f', max_decimals);
    while (s.endsWith('0'))
        s.chop(1);
    if (s.endsWith('.'))
        s.chop(1);
    return s == "-0" ? "0" : s;
}

std::optional<double> strict_number(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok); // C locale: "." is the decimal point on the wire
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool all_digits(const QString& t, int count) {
    if (t.size() != count)
        return false;
    for (QChar c : t)
        if (!c.isDigit() || c.unicode() > 127)
            return false;
    return true;
}

constexpr int first_parameter = 20;
constexpr int last_parameter = 999;

} // namespace

UnitCore::UnitCore(UnitKind kind) {
    profile_ = profile_for(kind);
    reseed();
}

void UnitCore::set_kind(UnitKind kind) {
    profile_ = profile_for(kind);
    reseed();
}

bool UnitCore::set_definitions_folder(const QString& folder, QString* error) {
    if (!folder.isEmpty()) {
        QString e;
        const int version = version_to_number(profile_.software_version);
        if (!read_definitions(folder, version, 1, &e)) {
            if (error)
                *error = e;
            return false;
        }
    }
    definitions_folder_ = folder;
    reseed();
    return true;
}

bool UnitCore::load_parameter_file(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QString("cannot read the parameter file %1").arg(path);
        return false;
    }
    const QString line = QString::fromLatin1(f.readAll());
    QString e;
    if (!apply_parameter_line(line, &e)) {
        if (error)
            *error = QString("%1: %2").arg(path, e);
        return false;
    }
    parameter_file_ = path;
    return true;
}

bool UnitCore::apply_parameter_line(const QString& line, QString* error) {
    const QStringList fields = line.trimmed().split(',');
    constexpr int count = last_parameter - first_parameter + 1;
    if (fields.size() < count) {
        if (error)
            *error = QString("a parameter file holds %1 values, this one %2")
                         .arg(count)
                         .arg(fields.size());
        return false;
    }
    // Lengths in the file are in the file's own length unit.
    const auto p104 = strict_number(fields[104 - first_parameter]);
    const double factor_before = length_factor();
    double file_factor = factor_before;
    if (p104) {
        static const double mm[] = {1000, 10, 1, 304.8, 25.4};
        const int code = int(*p104);
        file_factor = code >= 1 && code <= 5 ? mm[code - 1] : 1000;
    }
    for (int i = 0; i < count; ++i) {
        const int n = first_parameter + i;
        const QString t = fields[i].trimmed();
        if (t.isEmpty() || t == "-999999")
            continue;
        if (t.contains("NO")) {
            set_present(n, false);
            continue;
        }
        if (const auto v = strict_number(t)) {
            set_present(n, true);
            set_value(n, is_length(n) ? *v * file_factor : *v);
        } else {
            set_text(n, t);
        }
    }
    return true;
}

void UnitCore::reseed() {
    const int version = version_to_number(profile_.software_version);
    const auto sys = profile_.parameter_values.find(99);
    const int system_type = sys != profile_.parameter_values.end() ? int(sys->second) : 1;
    std::optional<DefinitionSet> set;
    if (!definitions_folder_.isEmpty())
        set = read_definitions(definitions_folder_, version, system_type, nullptr);
    definitions_ = set ? *set : builtin_definitions(version, system_type);

    parameters_.clear();
    for (const auto& [n, d] : definitions_.parameters) {
        Parameter p;
        p.definition = d;
        p.value = d.default_value;
        p.present = d.present;
        parameters_[n] = p;
    }
    for (const auto& [n, v] : profile_.parameter_values) {
        set_present(n, true);
        set_value(n, v);
    }
    set_present(926, true);
    set_text(926, profile_.software_version);

    log_ = LogMemory();
    log_.set_memory_bytes(log_memory_bytes(profile_));
    log_.set_start_date(unit_clock().date());
    logged_on_ = quick_mode_ = on_board_ = bootloader_ = false;
    if (!parameter_file_.isEmpty())
        load_parameter_file(parameter_file_, nullptr);
}

// ---------------------------------------------------------------------------------------------

Reply UnitCore::handle(const QString& command) {
    if (command == QString(QChar(bridge_exit_byte))) {
        on_board_ = false;
        return {false, {}};
    }
    const QString cmd = command.trimmed();
    const QString upper = cmd.toUpper();
    if (upper == "/WHO")
        return who(cmd == "/WHO");
    if (upper.startsWith("/ACCESS:"))
        return handle_access(cmd.mid(8));
    if (upper == "/LOADQUICK") {
        quick_mode_ = true;
        return ok();
    }
    if (upper == "/LOADNORM") {
        quick_mode_ = false;
        return ok();
    }
    if (upper == "/ISCSO")
        return profile_.cso ? ok() : no();
    if (upper == "/ISFLOW")
        return profile_.flow ? ok() : no();
    if (upper == "/ISVOLUME")
        return profile_.volume ? ok() : no();
    if (upper == "/BOOTLOAD") {
        if (!logged_on_)
            return no();
        bootloader_ = true;
        return ok();
    }
    if (upper == "/COMTALK") {
        if (profile_.board_route != BoardRoute::Comtalk)
            return no();
        on_board_ = true;
        return ok();
    }
    if (upper == "/SENDALL")
        return {true, sendall_text()};
    if (upper == "/LOGINFO")
        return {true, log_.loginfo_text(profile_.model_index, ma_input_)};
    if (upper == "/CLEARLOG") {
        log_.clear(unit_clock().date());
        return ok();
    }
    if (upper == "/SIMLOG:1") {
        log_.simulate(simulated_records_, unit_clock());
        return ok();
    }
    if (upper == "/GETLOG")
        return {true, log_.getlog_text(profile_.log_type, profile_.model_index, ma_input_)};

    if (auto echo = echo_.handle(upper, *this))
        return {true, *echo};

    static const QRegularExpression numbered("^/([PM])(\\d{1,4})(?::(.*))?$",
                                             QRegularExpression::CaseInsensitiveOption);
    const auto m = numbered.match(cmd);
    if (m.hasMatch()) {
        const bool is_p = m.captured(1).toUpper() == "P";
        const int number = m.captured(2).toInt();
        const bool write = m.capturedStart(3) >= 0;
        if (is_p)
            return write ? handle_write(number, m.captured(3)) : handle_read(number);
        if (!write)
            return handle_measured(number);
    }
    return no();
}

Reply UnitCore::who(bool upper_case) const {
    if (on_board_)
        return {true, profile_.board_who_reply.toLatin1()};
    if (!upper_case && !profile_.lower_who_reply.isEmpty())
        return {true, profile_.lower_who_reply.toLatin1()};
    return {true, profile_.who_reply.toLatin1()};
}

Reply UnitCore::handle_access(const QString& raw_code) {
    const QString code = raw_code.trimmed();
    if (code.compare("off", Qt::CaseInsensitive) == 0) {
        logged_on_ = false;
        return ok();
    }
    bool accepted = code == access_code || code == distributor_passcode ||
                    (profile_.accepts_second_code && code == second_access_code);
    if (!accepted && has_parameter(922)) {
        const auto typed = strict_number(code);
        accepted = typed && *typed == *value(922);
    }
    logged_on_ = accepted;
    return accepted ? ok() : no();
}

bool UnitCore::is_live(int number) const {
    return (number >= 150 && number <= 156) || (number >= 931 && number <= 933);
}

std::optional<QString> UnitCore::live_text(int number) const {
    const QDateTime now = unit_clock();
    const QString dd = QString("%1").arg(now.date().day(), 2, 10, QChar('0'));
    const QString mm = QString("%1").arg(now.date().month(), 2, 10, QChar('0'));
    const QString yy = QString("%1").arg(now.date().year() % 100, 2, 10, QChar('0'));
    switch (number) {
    case 150:
        return log_.start_date_text();
    case 151:
        return QString::number(log_.mask1());
    case 152:
        return QString::number(log_.mask2());
    case 153:
        return QString::number(log_.mask3());
    case 154:
        return shortest(log_.interval_minutes());
    case 155:
        return QString::number(log_.wrapping());
    case 156:
        return QString::number(log_.records().size());
    case 931:
        return date_order_ == 2 ? mm + dd + yy : date_order_ == 3 ? yy + mm + dd : dd + mm + yy;
    case 932:
        return now.toString("HHmm");
    case 933:
        return QString::number(date_order_);
    default:
        return std::nullopt;
    }
}

Reply UnitCore::handle_read(int number) const {
    if (const auto live = live_text(number))
        return {true, live->toLatin1()};
    if (!has_parameter(number))
        return no();
    return {true, read_text(number).toLatin1()};
}

Reply UnitCore::handle_measured(int number) const {
    switch (number) {
    case 92:
        return has_parameter(92) ? Reply{true, shortest(std::trunc(*value(92))).toLatin1()} : no();
    case 94:
        return {true, ma_input_ ? "1" : "0"};
    case 99:
        return {true, QByteArray::number(profile_.model_index)};
    default:
        return handle_read(number);
    }
}

Reply UnitCore::store_write(int number, const QString& value_text) {
    if (!logged_on_)
        return no();
    const auto v = strict_number(value_text);
    if (!v)
        return no();
    const QString digits = value_text.trimmed();
    switch (number) {
    case 88:
    case 930:
        if (*v != 1)
            break;
        restore_defaults();
        ++(number == 88 ? hard_defaults_ : factory_defaults_);
        return ok();
    case 141:
        if (profile_.board_route != BoardRoute::P141 || (*v != 0 && *v != 1))
            return no();
        on_board_ = *v == 1;
        return ok();
    case 151:
    case 152:
    case 153:
        if (*v < 0 || *v > 65535 || *v != std::floor(*v))
            return no();
        log_.set_mask(number - 150, quint32(*v));
        return ok();
    case 154:
        // Whole minutes, as a record's time stamp counts them, up to a day; 0 stops the logging,
        // which the set-up asks about before it sends it.
        if (*v < 0 || *v > 1440 || *v != std::floor(*v))
            return no();
        log_.set_interval(*v);
        return ok();
    case 155:
        if (*v != 0 && *v != 1)
            return no();
        log_.set_wrapping(int(*v));
        return ok();
    case 931: {
        if (!all_digits(digits, 6))
            return no();
        const int a = digits.left(2).toInt(), b = digits.mid(2, 2).toInt(),
                  c = digits.right(2).toInt();
        const QDate date = date_order_ == 2   ? QDate(2000 + c, a, b)
                           : date_order_ == 3 ? QDate(2000 + a, b, c)
                                              : QDate(2000 + c, b, a);
        if (!date.isValid())
            return no();
        set_unit_clock(QDateTime(date, unit_clock().time()));
        return ok();
    }
    case 932: {
        if (!all_digits(digits, 4))
            return no();
        const QTime time(digits.left(2).toInt(), digits.right(2).toInt());
        if (!time.isValid())
            return no();
        set_unit_clock(QDateTime(unit_clock().date(), time));
        return ok();
    }
    case 933:
        if (*v < 1 || *v > 3 || *v != std::floor(*v))
            return no();
        date_order_ = int(*v);
        return ok();
    default:
        break;
    }
    if (is_live(number) || !has_parameter(number))
        return no();
    Parameter& p = parameters_.at(number);
    if (p.definition.read_only || !p.text.isEmpty())
        return no();
    if (!within_limits(p, *v))
        return no();
    p.value = is_length(number) ? *v * length_factor() : *v;
    return ok();
}

void UnitCore::restore_defaults() {
    for (auto& [n, p] : parameters_) {
        if (p.definition.read_only || is_live(n) || !p.text.isEmpty())
            continue;
        if (profile_.parameter_values.count(n))
            p.value = profile_.parameter_values.at(n);
        else
            p.value = p.definition.default_value;
    }
}

// ---------------------------------------------------------------------------------------------

bool UnitCore::has_parameter(int number) const {
    const auto it = parameters_.find(number);
    return it != parameters_.end() && it->second.present;
}

const Parameter* UnitCore::parameter(int number) const {
    const auto it = parameters_.find(number);
    return it == parameters_.end() ? nullptr : &it->second;
}

std::optional<double> UnitCore::value(int number) const {
    if (!has_parameter(number))
        return std::nullopt;
    return parameters_.at(number).value;
}

void UnitCore::set_value(int number, double internal_value) {
    auto& p = parameters_[number];
    p.definition.number = number;
    p.value = internal_value;
}

void UnitCore::set_text(int number, const QString& text) {
    auto& p = parameters_[number];
    p.definition.number = number;
    p.text = text;
}

void UnitCore::set_present(int number, bool present) {
    auto& p = parameters_[number];
    p.definition.number = number;
    p.present = present;
}

bool UnitCore::is_length(int number) const {
    const auto* p = parameter(number);
    if (!p)
        return false;
    const QString& units = p->definition.units_code;
    if (units == "U_MU_M")
        return true;
    if (units != "U_MU")
        return false;
    // A type-1 relay with function 2, and a relay without a function, hold their set points in
    // other units.
    for (int base : {210, 220}) {
        if (number != base + 3 && number != base + 4)
            continue;
        const auto type = value(base), function = value(base + 1);
        if (type && function && *type == 1 && *function == 2)
            return false;
        if (function && *function == 0)
            return false;
    }
    return true;
}

double UnitCore::length_factor() const {
    static const double mm[] = {1000, 10, 1, 304.8, 25.4};
    const auto p104 = value(104);
    const int code = p104 ? int(*p104) : 1;
    return code >= 1 && code <= 5 ? mm[code - 1] : 1000;
}

QString UnitCore::format_value(const Parameter& p, double v, bool in_millimetres) const {
    if (!p.text.isEmpty())
        return p.text;
    const int decimals = std::clamp(p.definition.decimals, 0, 6);
    if (is_length(p.definition.number)) {
        if (in_millimetres)
            return shortest(v, 3);
        v /= length_factor();
    }
    return decimals > 0 ? QString::number(v, 'f', decimals) : shortest(v);
}

QString UnitCore::read_text(int number) const {
    if (const auto live = live_text(number))
        return *live;
    const auto* p = parameter(number);
    if (!p || !p->present)
        return "NO";
    return format_value(*p, p->value, false);
}

QByteArray UnitCore::sendall_text() const {
    QByteArray out = "SENDALL";
    for (int n : parameter_numbers()) {
        if (n < first_parameter || n > last_parameter)
            continue;
        const auto live = live_text(n);
        const QString text =
            live ? *live : format_value(parameters_.at(n), parameters_.at(n).value, true);
        out += ',' + QByteArray::number(n) + ':' + text.toLatin1();
    }
    out += ",END";
    return out;
}

std::vector<int> UnitCore::parameter_numbers() const {
    std::vector<int> numbers;
    for (const auto& [n, p] : parameters_)
        if (p.present)
            numbers.push_back(n);
    return numbers;
}

QDateTime UnitCore::unit_clock() const {
    return now_().addSecs(clock_offset_s_);
}

void UnitCore::set_unit_clock(const QDateTime& when) {
    clock_offset_s_ = now_().secsTo(when);
}

} // namespace unitsim
