// The command link's services, answered by the simulated unit's command language in-process:
// each command goes to the unit's core at once and its reply lands in the reply buffer. Link
// failures are made on request.
#include "fake_link.h"

#include "logging/link_seam.h"
#include "logging/log_setup_state.h"
#include "platform/dialogs.h"

#include <QRegularExpression>

namespace {

struct FakeLinkState {
    unitsim::UnitCore* unit = nullptr;
    QStringList received;
    std::vector<std::pair<QString, QString>> replies; // pattern -> reply
    std::vector<QString> dead;                        // patterns the link gives up on
    int failures_shown = 0;
};

FakeLinkState& fake() {
    static FakeLinkState f;
    return f;
}

bool matches(const QString& pattern, const QString& cmd) {
    if (pattern.endsWith('*'))
        return cmd.startsWith(pattern.chopped(1), Qt::CaseInsensitive);
    return cmd.compare(pattern, Qt::CaseInsensitive) == 0;
}

int16_t version_of(const QString& who) {
    static const QRegularExpression v(QStringLiteral("V(\\d+)\\.(\\d+)"));
    const auto m = v.match(who);
    return m.hasMatch() ? static_cast<int16_t>((m.captured(1) + m.captured(2)).toInt()) : 999;
}

} // namespace

namespace fake_link {

void attach(unitsim::UnitCore* unit) {
    fake() = FakeLinkState{};
    fake().unit = unit;
    reset_link_state();
}

QStringList received() {
    return fake().received;
}

void reply_on(const QString& pattern, const QString& reply) {
    fake().replies.emplace_back(pattern, reply);
}

void dead_on(const QString& pattern) {
    fake().dead.push_back(pattern);
}

} // namespace fake_link

LinkState& link() {
    static LinkState state;
    return state;
}

void reset_link_state() {
    link() = LinkState{};
}

void send_command(const QString& cmd, const QString&) {
    LinkState& L = link();
    L.comms_abort = false;
    L.reply_received = false;
    L.reply_buffer.clear();
    fake().received << cmd;
    for (const QString& pattern : fake().dead) {
        if (matches(pattern, cmd)) {
            platform::msg_box(QStringLiteral("No reply from the unit."), platform::mb::Critical,
                              QStringLiteral("Communication Error"));
            L.comms_abort = true;
            return;
        }
    }
    QString reply;
    bool replaced = false;
    for (const auto& [pattern, text] : fake().replies) {
        if (matches(pattern, cmd)) {
            reply = text;
            replaced = true;
        }
    }
    if (!replaced)
        reply = QString::fromLatin1(fake().unit->handle(cmd).body);
    L.reply_buffer = L.loginfo_reply_mode ? reply + QStringLiteral("\r\n") : reply;
    L.reply_received = true;
}

void send_command_plain(const QString& cmd) {
    send_command(cmd);
}

bool connect_to_unit(bool) {
    send_command(QStringLiteral("/access:318406"));
    if (link().comms_abort || link().reply_buffer.contains(QLatin1String("NO")))
        return false;
    send_command(QStringLiteral("/WHO"));
    UnitIdentity& id = log_setup().identity;
    const QString& who = link().reply_buffer;
    id.quorvantix_unit = who.contains(QLatin1String("Quorvantix"));
    id.hesvarin_unit = who.contains(QLatin1String("Hesvarin"));
    id.radar_unit = id.radar_unit || who.contains(QLatin1String("Krestel"));
    id.lite_unit = who.contains(QLatin1String("Velto Lite"));
    id.cso_unit = fake().unit->profile().cso;
    return true;
}

bool coms_connected() {
    link().quiet_commands = true;
    if (!connect_to_unit(true) || link().comms_abort)
        return false;
    if (!log_setup().identity.quorvantix_unit)
        send_command(QStringLiteral("/p141:1"));
    send_command(QStringLiteral("/who"));
    const QString& who = link().reply_buffer;
    if (link().comms_abort ||
        !(who.contains(QLatin1String("Comms")) || who.contains(QLatin1String("Krestel")) ||
          who.contains(QLatin1String("Quorvantix")))) {
        platform::msg_box(QStringLiteral("Device not found or logging not available."));
        return false;
    }
    link().board_software_version = version_of(who);
    return true;
}

void exit_comms_bridging(bool show_message) {
    send_command(QString(QChar(20)));
    send_command(QStringLiteral("/WHO"));
    send_command(QStringLiteral("/ACCESS:OFF"));
    if (show_message)
        platform::msg_box(QStringLiteral("The unit has been set up successfully."),
                          platform::mb::Information);
}

void delay_ms(int) {}
