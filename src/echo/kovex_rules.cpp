#include "echo/kovex_rules.h"

#include "platform/vb.h"

#include <cmath>

namespace {

QString whole(double v) {
    const double r = std::round(v);
    return QString::number(static_cast<qint64>(r == 0 ? 0 : r));
}

} // namespace

QStringList kovex_point_commands(const std::vector<KovexPoint>& points) {
    QStringList commands;
    for (const KovexPoint& p : points)
        if (p.value != p.fetched)
            commands << QStringLiteral("/Y%1:%2").arg(p.sample).arg(whole(p.value));
    return commands;
}

QString kovex_limit_text(double y, double left_max) {
    return whole(std::min(y, left_max));
}

QString kovex_loss_text(double x, double bottom_max) {
    QString t = QString::number(std::round(std::min(x, bottom_max) * 100) / 100, 'f', 2);
    while (t.endsWith(QLatin1Char('0')))
        t.chop(1);
    if (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    return t == QLatin1String("-0") ? QStringLiteral("0") : t;
}

QString kovex_annotation(int language_index, double x, double y) {
    const bool italian = language_index == 3;
    return QLatin1String(italian ? "Tx" : "Xducer") + QStringLiteral(" - KOVEX=") +
           platform::format_number(y, QStringLiteral("000")) +
           QLatin1String(italian ? ",Perdita=" : ",Loss=") +
           platform::format_number(x, QStringLiteral("0.0"));
}

int pick_point(const std::vector<QPointF>& points, QPointF mouse, double radius) {
    int best = -1;
    double best_d2 = radius * radius;
    for (size_t i = 0; i < points.size(); ++i) {
        const QPointF d = points[i] - mouse;
        const double d2 = d.x() * d.x() + d.y() * d.y();
        if (d2 <= best_d2) {
            best_d2 = d2;
            best = static_cast<int>(i);
        }
    }
    return best;
}

double dragged_value(double y, double left_max) {
    return y >= left_max ? left_max : y;
}
