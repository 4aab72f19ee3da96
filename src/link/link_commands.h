#pragma once
// The command texts the link and the log-on send, and the unit's access codes.

#include <QString>

namespace link_commands {

inline const QString ACCESS_CODE = QStringLiteral("318406");        // the instrument access code
inline const QString SECOND_ACCESS_CODE = QStringLiteral("460927"); // asked once at log-on

inline const QString ACCESS = QStringLiteral("/access:");
inline const QString ACCESS_OFF_UPPER = QStringLiteral("/ACCESS:OFF");
inline const QString WHO_UPPER = QStringLiteral("/WHO");
inline const QString WHO = QStringLiteral("/who");
inline const QString COMTALK = QStringLiteral("/comtalk");
inline const QString BOARD_ROUTE = QStringLiteral("/p141:1");
inline const QString BOARD_ROUTE_UPPER = QStringLiteral("/P141:1");
inline const QString LOADQUICK = QStringLiteral("/LOADQUICK");
inline const QString LOADQUICK_LOWER = QStringLiteral("/loadquick");
inline const QString LOADNORM = QStringLiteral("/LOADNORM");
inline const QString ISCSO = QStringLiteral("/ISCSO");
inline const QString ISFLOW = QStringLiteral("/ISFLOW");
inline const QString ISVOLUME = QStringLiteral("/ISVOLUME");
inline const QString P61 = QStringLiteral("/p61");
inline const QString P87 = QStringLiteral("/p87");
inline const QString P96 = QStringLiteral("/p96");
inline const QString P99 = QStringLiteral("/p99");
inline const QString LOGINFO_LOWER = QStringLiteral("/loginfo");

// Written alone, without a carriage return: leaves the logging board's bridge mode.
inline const QByteArray BRIDGE_EXIT = QByteArray(1, char(20));

} // namespace link_commands
