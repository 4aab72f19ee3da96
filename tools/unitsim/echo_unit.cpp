#include "echo_unit.h"

#include "unit_core.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <cmath>

namespace unitsim {

namespace {

constexpr double PI = 3.14159265358979323846;

// The five-character points-per-unit field, and the value it stands for.
QByteArray ppu_field(double ppu, double* shown) {
    for (int decimals = 3; decimals >= 0; --decimals) {
        QByteArray t = QByteArray::number(ppu, 'f', decimals);
        if (t.size() <= 5) {
            *shown = t.toDouble();
            return t.rightJustified(5, ' ');
        }
    }
    *shown = 99999;
    return "99999";
}

QByteArray field(int value, int width) {
    return QByteArray::number(value).rightJustified(width, ' ').right(width);
}

bool kovex_own_parameter(int n) {
    return n == 83 || n == 84 || (n >= 109 && n <= 112) || (n >= 170 && n <= 185) || n == 905 ||
           n == 906;
}

} // namespace

EchoUnit::EchoUnit() {
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    seconds_ = [clock] { return clock->elapsed() / 1000.0; };
    restore_kovex_defaults();
}

void EchoUnit::restore_kovex_defaults() {
    kovex_parameters_ = {{83, 10}, {84, 30}, {109, 0.2}, {110, 2}, {111, 5}, {112, 150},
                         {905, 5}, {906, 0.5}};
    for (int k = 1; k <= 8; ++k) {
        kovex_parameters_[168 + 2 * k] = 900 - 90 * k;
        kovex_parameters_[169 + 2 * k] = 0.5 * k;
    }
    kovex_points_.clear();
}

std::optional<double> EchoUnit::kovex_parameter(int number) const {
    const auto it = kovex_parameters_.find(number);
    if (it == kovex_parameters_.end())
        return std::nullopt;
    return it->second;
}

void EchoUnit::reset_misbehaviour() {
    ok_for_trace_ = false;
    prefix_.clear();
}

double EchoUnit::level_mm(const UnitCore& unit) const {
    if (fixed_level_mm_)
        return *fixed_level_mm_;
    const double empty = unit.value(105).value_or(6000);
    const double span = unit.value(106).value_or(5000);
    // Fills and empties between a fifth and four fifths of the span every ten minutes.
    const double phase = std::sin(2 * PI * seconds_() / 600);
    return std::clamp(span * (0.5 + 0.3 * phase), 0.0, empty);
}

QByteArray EchoUnit::trace_line(int kind, const UnitCore& unit) {
    ++served_;
    const double factor = unit.length_factor(); // mm per unit of P104
    const double empty = unit.value(105).value_or(6000) / factor;
    const double target = empty - level_mm(unit) / factor; // distance to the surface
    const int n = std::max(samples_, 0);
    double ppu = 0;
    // The trace covers a quarter more than the empty distance.
    const QByteArray ppu_text = ppu_field(std::max(n, 1) / (std::max(empty, 0.001) * 1.25), &ppu);
    const double ringdown = 350.0 / factor; // distance over which the transducer rings down
    const double echo_width = 60.0 / factor;
    const int peak = static_cast<int>(std::lround(target * ppu));
    const char letters[5] = {' ', 'A', 'B', 'D', 'C'};
    QByteArray out = prefix_;
    out.reserve(prefix_.size() + 20 + 3 * n);
    out += '$';
    out += letters[std::clamp(kind, 1, 4)];
    out += ppu_text;
    out += field(std::max(0, peak - 25), 4);
    out += field(peak, 4);
    out += field(peak + 25, 4);
    quint32 noise = 2463534242u + static_cast<quint32>(served_) * 7919u;
    for (int i = 0; i < n; ++i) {
        noise ^= noise << 13;
        noise ^= noise >> 17;
        noise ^= noise << 5;
        const double d = i / ppu;
        const double jitter = (noise % 1000) / 1000.0;
        const double ring_part = 900 * std::exp(-d / ringdown);
        const double echo_part = 720 * std::exp(-std::pow((d - target) / echo_width, 2));
        const double multiple = 160 * std::exp(-std::pow((d - 2 * target) / (2 * echo_width), 2));
        double a = 0;
        switch (kind) {
        case 1: // raw: everything the transducer hears
            a = ring_part + echo_part + multiple + 25 + 40 * jitter;
            break;
        case 2: // normalised: ring-down taken out, echo lifted
            a = 0.15 * ring_part + 1.1 * echo_part + 0.8 * multiple + 20 + 15 * jitter;
            break;
        case 3: // average: the raw trace smoothed over many shots
            a = ring_part + echo_part + multiple + 45;
            break;
        default: { // KOVEX: the threshold curve the unit judges echoes against
            a = 600 * std::exp(-d / (3 * ringdown)) + 180 - 40 * d / std::max(empty, 0.001);
            a = std::max(a, kovex_parameters_.at(112));
            const auto point = kovex_points_.find(i);
            if (point != kovex_points_.end())
                a = point->second;
            break;
        }
        }
        out += field(std::clamp(static_cast<int>(std::lround(a)), 0, 999), 3);
    }
    return out;
}

std::optional<QByteArray> EchoUnit::handle(const QString& upper, const UnitCore& unit) {
    static const QRegularExpression point("^/Y(\\d{1,5}):(-?\\d*)$");
    if (const auto m = point.match(upper); m.hasMatch()) {
        if (!unit.logged_on())
            return QByteArray("NO");
        kovex_points_[m.captured(1).toInt()] = m.captured(2).toInt();
        return QByteArray("OK");
    }
    static const QRegularExpression parameter("^/P(\\d{1,4})(?::(.*))?$");
    if (const auto m = parameter.match(upper); m.hasMatch()) {
        const int n = m.captured(1).toInt();
        const bool write = m.capturedStart(2) >= 0;
        if (n == 20 && write && unit.logged_on()) {
            const QString v = m.captured(2).trimmed();
            if (v == QLatin1String("2")) {
                kovex_points_.clear(); // the curve is built again from the parameters
                ++rebuilds_;
            } else if (v == QLatin1String("3")) {
                restore_kovex_defaults();
                ++restores_;
            }
            return std::nullopt;
        }
        if (kovex_own_parameter(n) && !unit.has_parameter(n)) {
            if (!write)
                return QByteArray::number(kovex_parameters_.at(n), 'f', n >= 170 && n % 2 == 0 ? 0 : 2);
            if (!unit.logged_on())
                return QByteArray("NO");
            bool ok = false;
            const double v = m.captured(2).trimmed().toDouble(&ok);
            if (!ok)
                return QByteArray("NO");
            kovex_parameters_[n] = v;
            return QByteArray("OK");
        }
    }
    static const char* commands[5] = {"", "/ECHORAW1", "/ECHONORM1", "/ECHOAVERAGE1",
                                      "/ECHOKOVEX1"};
    for (int kind = 1; kind <= 4; ++kind)
        if (upper == QLatin1String(commands[kind])) {
            if (ok_for_trace_)
                return QByteArray("OK");
            return trace_line(kind, unit);
        }
    const double factor = unit.length_factor();
    if (upper == QLatin1String("/LEVEL"))
        return QByteArray::number(level_mm(unit) / factor, 'f', 3);
    if (upper == QLatin1String("/TEMP"))
        return QByteArray::number(temperature_, 'f', 1);
    if (upper == QLatin1String("/M1032"))
        return QByteArray::number(3 - std::clamp(status_code_, 0, 3));
    if (upper == QLatin1String("/P900"))
        return QByteArray::number(status_code_);
    if (upper == QLatin1String("/P901")) // echo confidence
        return status_code_ == 0 ? QByteArray("78") : QByteArray("0");
    if (upper == QLatin1String("/P902")) // echo strength
        return QByteArray("4.5");
    if (upper == QLatin1String("/P903")) // average noise
        return QByteArray("1.2");
    if (upper == QLatin1String("/P904")) // peak noise
        return QByteArray("3.4");
    return std::nullopt;
}

} // namespace unitsim
