#pragma once
// The device (serial field bus) rows P130..P140, which follow the device mode P130 or, with
// Profibus, show only the address P132; and the system type taken from the P99 row.

void update_device_setup(int P);
void update_analog_output();
