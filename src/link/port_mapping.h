#pragma once
// "--map-port N=PATH" on the command line: the device at PATH (a serial device, a symbolic link
// or the simulated unit's pseudo-terminal) becomes port N. The mapping is written into
// [Ports] of general.ini (COMN=PATH) and port N is used for this run.

#include <QStringList>

// Applies every "--map-port N=PATH" (or "--map-port=N=PATH") of `arguments` to the settings
// file shell().ini_path and sets shell().com_port to the last N. Call it after the settings are
// loaded. Returns the messages for arguments that could not be used (also written to stderr).
// (platform::apply_port_mappings does the same for mappings already taken from the arguments.)
QStringList apply_map_port_arguments(const QStringList& arguments);
