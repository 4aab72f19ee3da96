#pragma once
// Every command sent and every text received passes through the traffic log, which feeds the
// three traffic boxes: the main window's Term, the modem window's box and the debug terminal.
// Each box is a TrafficView (its text, kept here so that a window shows what was recorded
// before it opened) with the box's own masking of access codes and its 16000-character rule.
// Windows bind a text widget to a view (traffic_box.h).

#include <QObject>
#include <QString>

class TrafficView : public QObject {
    Q_OBJECT
public:
    // A box that has grown past this many characters is emptied before the next insertion, so
    // that echoing stays cheap during long transfers.
    static constexpr int LIMIT = 16000;

    const QString& text() const { return text_; }
    // `sent`: the text went out to the unit (a command or a typed key), else it came in.
    void append(const QString& s, bool sent = false);
    void clear();

signals:
    void appended(const QString& s, bool sent);
    void cleared();

private:
    QString text_;
};

class TrafficLog {
public:
    TrafficView& term() { return term_; }
    TrafficView& modem() { return modem_; }
    TrafficView& debug() { return debug_; }

    // A command about to be written: into the modem box always (from the first command on the
    // modem box records all traffic), into the debug terminal while it is open, into Term with
    // the debug display on.
    void command_sent(const QString& cmd);
    // The echo into Term that quiet_commands suppresses.
    void command_to_term(const QString& cmd);
    // Received text, as it came, into the modem box and the debug terminal.
    void received(const QString& s);
    // The link's own remark on the traffic (a late reply dropped), on a line of its own in Term
    // only: the modem box and the debug terminal show what passed on the line and nothing else,
    // and the modem window reads its dial result from its box.
    void note(const QString& text);

    void clear_all();

private:
    TrafficView term_, modem_, debug_;
};

TrafficLog& traffic();

// How each box shows a command that carries an access code.
QString modem_box_line(const QString& cmd); // "access" (exact case): "/access:******"
QString debug_box_line(const QString& cmd); // "access" (exact case): "/ACCESS:****"
QString term_line(const QString& cmd);      // "access" in any case: "/access:*****"
