#pragma once
// Finding the serial ports of the machine for the port window: one row per port with its
// availability and description, and the open test behind the availability.

#include <QString>
#include <QStringList>
#include <vector>

struct SerialPortEntry {
    QString port_name; // "COM3"
    QString description;
};

// The ports found by the last get_ports, sorted by name (ordinal: COM10 before COM2).
std::vector<SerialPortEntry>& serial_port_table();

// Fills serial_port_table and returns the port list rows: port name, TAB, status, TAB,
// description; the status is serial_texts entry 11 ("Available") or 12 ("Not Available")
// followed by three blanks.
QStringList get_ports();

// Opens and closes the port on the port window's own serial control: "Not Available" when there
// is no device behind the number, "Available" otherwise (also when it is busy, locked, held by
// another program or by this one). The test opens at the configured baud rate and leaves the
// link's comm_settings as they are.
QString test_port(const QString& port_name);
