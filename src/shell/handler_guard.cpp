#include "shell/handler_guard.h"

#include "platform/dialogs.h"

namespace {
void report(const QString& what, const QString& why) {
    // The report itself must not fail the event loop either.
    try {
        platform::msg_box(QStringLiteral("%1 could not be completed:\n%2").arg(what, why),
                          platform::mb::Critical);
    } catch (...) {
        qWarning("%s failed: %s", qPrintable(what), qPrintable(why));
    }
}
} // namespace

bool run_handler(const QString& what, const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        report(what, QString::fromLocal8Bit(e.what()));
    } catch (...) {
        report(what, QStringLiteral("an unexpected error occurred"));
    }
    return false;
}
