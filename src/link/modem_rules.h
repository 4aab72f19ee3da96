#pragma once
// Reading the modem's side of the traffic: how a dial ended and what the connect line says.

#include <QString>

namespace modem {

enum class DialResult { None, Connect, Busy, NoCarrier, NoDialtone, NoAnswer, Error };

// The result words that end a dial, in the order they are looked for; a CONNECT anywhere wins.
// Case does not matter ("busy" ends the dial like "BUSY").
DialResult dial_result(const QString& traffic);

// The result as the modem wrote it ("BUSY", "NO CARRIER"); empty for None.
QString result_word(DialResult result);

// The connect line for the status bar: the traffic from its first CONNECT to the end, without
// line ends and surrounding blanks ("CONNECT 19200").
QString connect_line(const QString& traffic);

// The connection clock: whole seconds as hours, minutes and seconds ("01:02:03").
QString elapsed_text(double seconds);

// The dial wait's countdown for the status bar ("Waiting for reply 12.3s").
QString countdown_text(double seconds_left);

// The bound on the dial wait, in seconds.
inline constexpr double DIAL_WAIT_SECONDS = 90;

} // namespace modem
