#pragma once
// What a key typed into a terminal sends down the line: the byte a terminal on the original
// platform sent for it. Printable characters go as their Windows-1252 byte, Return as CR, and
// control combinations as their control codes (Ctrl+T is 20, the logging board's bridge exit).
// Keys that send nothing (arrows, function keys, Alt combinations) give nullopt and stay with the
// box for moving around in it.

#include <QString>
#include <optional>

// `key` is a Qt::Key, `modifiers` a Qt::KeyboardModifiers value, `text` what the key typed.
std::optional<char> terminal_key_byte(int key, int modifiers, const QString& text);

// How a byte sent from the keyboard shows in the terminal: a CR as a line end, other control
// codes as caret notation ("^T"), the rest as its Windows-1252 character.
QString terminal_key_echo(char byte);
