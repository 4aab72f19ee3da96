#pragma once
// Installs the link's windows and the re-program entries behind the main window's menus and
// keys: the one-parameter window, the modem window and boot-load with the firmware tool.

struct MainWindowServices;

void install_link_windows(MainWindowServices& services);
