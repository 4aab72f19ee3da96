#pragma once
// A traffic box: a terminal-style text box that shows one TrafficView and follows it as text
// arrives; what went out to the unit is set in bold. Typed keys are not edited into the box; they
// are handed out as key_typed (the byte the key sends, see terminal_keys.h) for the owner to send.

#include <QPlainTextEdit>

class TrafficView;

class TrafficBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TrafficBox(QWidget* parent = nullptr);
    // Shows `view` from now on, starting with what it holds.
    void bind(TrafficView* view);
    // Escape is left to the window (to close it) instead of going down the line.
    void leave_escape_to_window(bool on) { escape_to_window_ = on; }

signals:
    void key_typed(char code);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void show_text(const QString& s, bool sent);
    TrafficView* view_ = nullptr;
    bool after_cr_ = false;
    bool escape_to_window_ = false;
};
