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

#include <QSpinBox>
#include <limits>
#include <optional>

class QLineEdit;

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
