#pragma once
// Pieces the link's dialogs build alike.

class QPushButton;
class QToolButton;
class QVBoxLayout;
class QWidget;

// The auto-repeating up and down arrows beside a number box (UpDown1_up, UpDown1_down), stacked
// in the layout returned, which goes beside the box.
QVBoxLayout* make_up_down_arrows(QWidget* parent, QToolButton*& up, QToolButton*& down);

// A button named `name` that Enter in a box does not press.
QPushButton* make_command_button(QWidget* parent, const char* name);
