#pragma once
// Puts the echo work on the main window: the echo display and the live monitor on the echo page,
// their handlers on the page's controls, and the start-up and toolbar work in the main window's
// services table.

#include "echo/echo_recorder.h"
#include "echo/kovex_points.h"
#include "echo/live_monitor.h"

struct MainWindowServices;
class EchoDisplay;
class EchoPage;
class KovexPage;

struct EchoWork {
    EchoDisplay* display = nullptr;
    LiveEchoMonitor* monitor = nullptr;
    EchoRecorder* recorder = nullptr;
    KovexPage* kovex_page = nullptr;
    KovexPoints* kovex = nullptr;
};

// `press_indicator` presses or releases the toolbar's read-out key 0 status, 1 level,
// 2 temperature. The display and the monitor belong to the page.
EchoWork install_echo_work(EchoPage& page, MainWindowServices& services, EchoFrameHooks hooks,
                           std::function<void(int, bool)> press_indicator,
                           RecorderFrame recorder_frame);
