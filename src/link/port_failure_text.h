#pragma once
// The message shown when the instrument port cannot be opened. It names the port and the device
// behind it, because on this system the number alone does not tell the user which cable or
// adapter to check: "COM3 - /dev/ttyUSB0", or "COM3 - not mapped" when no device belongs to it.

#include <QString>

// The port line of the message for port `number`.
QString port_failure_port_line(int number);
// The whole message for port `number`.
QString port_failure_text(int number);
