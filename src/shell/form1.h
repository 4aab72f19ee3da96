#pragma once
// The main window. So far it settles the settings and texts of the run and shows its caption;
// pages, menus and the toolbar belong to it as they are built.

#include "shell/settings.h"

#include <QDateTime>
#include <QMainWindow>
#include <cstdint>

class Form1 : public QMainWindow, public SettingsView {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    void main_window_load();

    // SettingsView: the menus and the playback box are not on this window yet.
    void enable_othermenus() override {}
    void set_printmenu_visible(bool) override {}
    void set_loggingmenu_checked(bool) override {}
    void set_csomenu_checked(bool) override {}
    void set_playback_text(const QString&) override {}
};

// The main window, created hidden and loaded on first use.
Form1& form1();
bool form1_loaded();

// "GOLDCARD" for level 1, texts 1266 and 1378 in capitals for levels 2 and 3, else "ANYBODY".
QString access_level_name(int16_t access_level);

// Application title, version, access level name, text 1139, date and time, as the title bar
// shows them.
QString main_window_caption(const QDateTime& now);
