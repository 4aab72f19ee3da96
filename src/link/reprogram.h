#pragma once
// The re-program menu: putting the unit into its boot-loader, finding the communication card or
// the unit itself, and handing over to the firmware tool, which loads new firmware on its own.
// The port is closed before the tool starts, because the tool uses the same port.

#include <QString>

// The firmware tool: "veltoprogram" in the program folder.
QString firmware_tool_path();

void bootload_Click();
void ProgramComm_Click();
void ProgramVelto_Click();
void veltoprogram_Click();
