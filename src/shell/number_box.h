#pragma once
// Boxes where the user types a number, beside the parameter rows (which have their own edit
// check): they read what is typed as every typed number is read (platform::typed_number) and
// refuse the rest as every typed number is refused (refuse_typed_number), so that no box reads
// "0.5" as 5 where the locale writes 0,5.
//
// watch_typed_number(box) judges a QLineEdit when the user leaves it (Tab, a click elsewhere,
// Enter, a menu, see platform::judge_on_leaving) after typing: a text that is no number of the
// locale, a fraction in a box of whole numbers, or a number beyond the box's limits, is refused
// with its message, the box shows again the last value it took and the user is back in it; an
// emptied box shows that again, without a message; an accepted number is shown as the program
// shows numbers. Texts the program sets are taken as they are.
// WholeNumberSpinBox is a QSpinBox that drops no key while the user types and judges the text
// the same way when the user leaves it, its arrows and its menu's steps included; its menu's
// editing (Select All, Paste) leaves nothing.
// The refusals of typed numbers are here too, for every box that takes a typed number: these
// boxes, the parameter rows and the one-parameter window.

#include <QSpinBox>
#include <limits>
#include <optional>

class QLineEdit;

// The message that refuses a text typed as a number that is no number of the locale
// (platform::typed_number): it quotes the text and names the decimal separator, with a number
// written as the locale writes it; where the locale groups digits with a space it says so in
// words, since the spaces look alike. These refusals quote what was typed apart from the message,
// its invisible controls shown by their codes ("<U+202E>12,5"), so that nothing typed can turn
// the message round.
QString number_notation_message(const QString& typed);
// The message that refuses a number with a fraction where only whole numbers are taken.
QString whole_number_message(const QString& typed);
// The message that refuses a number outside the limits of the box it was typed in; the limits are
// written as the locale writes numbers.
QString range_refusal_message(const QString& typed, double minimum, double maximum);
// The same for a box that takes any number from `minimum` up.
QString minimum_refusal_message(const QString& typed, double minimum);
// The message that refuses a number too large for the program to keep: beyond the largest a
// double holds, or so near it that the program could not write it again as a number
// (platform::typed_number).
QString too_large_message(const QString& typed);
// The message that refuses a number nearer to 0 than any the program holds ("1E-400").
QString too_near_zero_message(const QString& typed);
// The refusal of a typed text: a text that reads as a number was refused for its fraction
// (whole_number_message); a number out of the program's reach is too large or too near 0 to be
// kept (too_large_message, too_near_zero_message); anything else is no number of the locale
// (number_notation_message).
QString typed_number_refusal(const QString& typed);
// Refuses what the user typed into `box`: its message (`message`, or else typed_number_refusal),
// the box showing `put_back` again, and the user back in it with its text selected
// (platform::return_to_box).
void refuse_typed_number(QLineEdit* box, const QString& put_back, const QString& message = {});

enum class TypedNumberKind { Any, Whole };

// The numbers a box takes: those its arrows reach.
struct NumberLimits {
    double minimum = -std::numeric_limits<double>::infinity();
    double maximum = std::numeric_limits<double>::infinity();
    bool hold(double v) const { return v >= minimum && v <= maximum; }
};

void watch_typed_number(QLineEdit* box, TypedNumberKind kind = TypedNumberKind::Any,
                        NumberLimits limits = {});

// The message that refuses `typed`, a number beyond `limits`.
QString limits_refusal_message(const QString& typed, const NumberLimits& limits);
// The message that refuses `typed` in a box that takes numbers within `limits`: for a number the
// box `read` (typed_box_number), that it is beyond them; for a number too large to be kept, the
// same where the box has both limits; typed_number_refusal for anything else.
QString refusal_within(const QString& typed, bool read, const NumberLimits& limits);

// The number `text` holds for a box of `kind`: nullopt for no number of the locale, and for a
// fraction where only whole numbers are taken.
std::optional<double> typed_box_number(const QString& text,
                                       TypedNumberKind kind = TypedNumberKind::Any);

class WholeNumberSpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit WholeNumberSpinBox(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

protected:
    int valueFromText(const QString& text) const override;
    QString textFromValue(int value) const override;
    void focusOutEvent(QFocusEvent* event) override;
    void stepBy(int steps) override;

private:
    bool judge_typing();
    mutable QString refused_; // what the user left in the box, when it was no whole number
};
