#include "shell/number_box.h"

#include "platform/box_leaving.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <cmath>
#include <memory>
#include <utility>

namespace {

// A character a quotation shows by its code: an invisible control (a U+202E would show the rest
// of the message backwards, a U+200F inside "12.345" would show it as "345.12"), and every
// control character and line or paragraph separator (a pasted line end, a tab, U+2028, U+2029):
// a paragraph's end ends the isolate too, and right-to-left letters after it would turn the rest
// of the message round.
bool shown_by_code(char32_t c) {
    switch (QChar::category(c)) {
    case QChar::Other_Format:
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

// What the user typed, as a refusal quotes it: the characters that would read otherwise than
// they show, shown by their codes (shown_by_code), and the whole isolated from the message around
// it (U+2068 ... U+2069), so that text of a right-to-left script keeps its own order and leaves
// the message in the message's.
QString quoted(const QString& typed) {
    QString shown;
    for (const char32_t c : typed.trimmed().toUcs4()) {
        if (shown_by_code(c))
            shown += QStringLiteral("<U+%1>").arg(
                QString::number(static_cast<uint>(c), 16).toUpper().rightJustified(4, u'0'));
        else
            shown += QString::fromUcs4(&c, 1);
    }
    return QChar(0x2068) + shown + QChar(0x2069);
}

} // namespace

QString number_notation_message(const QString& typed) {
    QString m = ui_text(2280, QStringLiteral("\"%1\" is not a number in this computer's number "
                                             "format. The decimal separator is \"%2\" as in %3."))
                    .arg(quoted(typed), platform::number_separators().decimal,
                         platform::format_number(1234.5, QStringLiteral("#,##0.0")));
    if (platform::groups_with_a_space(platform::number_locale()))
        m += QLatin1Char(' ') +
             ui_text(2311, QStringLiteral(
                               "Digits are grouped with a space (a plain or a no-break space)."));
    return m;
}

QString whole_number_message(const QString& typed) {
    return ui_text(2299, QStringLiteral("\"%1\" is not a whole number: only whole numbers are "
                                        "taken here."))
        .arg(quoted(typed));
}

QString range_refusal_message(const QString& typed, double minimum, double maximum) {
    return ui_text(2350, QStringLiteral("\"%1\" is out of range: only numbers from %2 to %3 are "
                                        "taken here."))
        .arg(quoted(typed), platform::number_text(minimum), platform::number_text(maximum));
}

QString minimum_refusal_message(const QString& typed, double minimum) {
    return ui_text(2351, QStringLiteral("\"%1\" is out of range: only numbers from %2 up are taken "
                                        "here."))
        .arg(quoted(typed), platform::number_text(minimum));
}

QString too_large_message(const QString& typed) {
    return ui_text(2940, QStringLiteral("\"%1\" is too large a number to be kept."))
        .arg(quoted(typed));
}

QString too_near_zero_message(const QString& typed) {
    return ui_text(2941, QStringLiteral("\"%1\" is too close to 0 to be kept: type 0 for zero."))
        .arg(quoted(typed));
}

QString typed_number_refusal(const QString& typed) {
    if (platform::typed_number(typed))
        return whole_number_message(typed);
    if (const auto out = platform::typed_number_out_of_reach(typed))
        return *out == platform::OutOfReach::TooLarge ? too_large_message(typed)
                                                      : too_near_zero_message(typed);
    return number_notation_message(typed);
}

QString refusal_within(const QString& typed, bool read, const NumberLimits& limits) {
    if (read)
        return limits_refusal_message(typed, limits);
    // A number too large to be kept lies beyond the limits of a box that has both.
    if (std::isfinite(limits.minimum) && std::isfinite(limits.maximum) &&
        platform::typed_number_out_of_reach(typed) == platform::OutOfReach::TooLarge)
        return range_refusal_message(typed, limits.minimum, limits.maximum);
    return typed_number_refusal(typed);
}

void refuse_typed_number(QLineEdit* box, const QString& put_back, const QString& message) {
    const QString typed = box->text();
    platform::msg_box(message.isEmpty() ? typed_number_refusal(typed) : message,
                      platform::mb::Critical);
    box->setText(put_back);
    platform::return_to_box(box);
}

std::optional<double> typed_box_number(const QString& text, TypedNumberKind kind) {
    return kind == TypedNumberKind::Whole ? platform::typed_whole_number(text)
                                          : platform::typed_number(text);
}

QString limits_refusal_message(const QString& typed, const NumberLimits& limits) {
    return std::isinf(limits.maximum)
               ? minimum_refusal_message(typed, limits.minimum)
               : range_refusal_message(typed, limits.minimum, limits.maximum);
}

void watch_typed_number(QLineEdit* box, TypedNumberKind kind, NumberLimits limits) {
    // What the box showed before the user typed: the program's texts, and accepted numbers.
    auto shown = std::make_shared<QString>(box->text());
    QObject::connect(box, &QLineEdit::textChanged, box, [box, shown](const QString& text) {
        if (!box->isModified())
            *shown = text;
    });
    platform::judge_on_leaving(box, box, [box, kind, limits, shown] {
        if (!box->isModified())
            return true;
        box->setModified(false);
        const QString typed = box->text();
        if (typed.trimmed().isEmpty()) {
            box->setText(*shown);
            return true;
        }
        const auto v = typed_box_number(typed, kind);
        if (!v || !limits.hold(*v)) {
            refuse_typed_number(box, *shown, refusal_within(typed, v.has_value(), limits));
            return false;
        }
        box->setText(platform::number_text(*v));
        // Also when the number was typed as the program shows it, and the text did not change.
        *shown = box->text();
        return true;
    });
}

WholeNumberSpinBox::WholeNumberSpinBox(QWidget* parent) : QSpinBox(parent) {
    platform::judge_on_leaving(lineEdit(), this, [this] { return judge_typing(); });
}

QValidator::State WholeNumberSpinBox::validate(QString& input, int&) const {
    // A key the spin box's own check would drop ("," in "2,5") would make another number of the
    // text; every key stays, and the text is judged when the user leaves the box.
    const auto v = typed_box_number(input, TypedNumberKind::Whole);
    return v && *v >= minimum() && *v <= maximum() ? QValidator::Acceptable
                                                   : QValidator::Intermediate;
}

void WholeNumberSpinBox::fixup(QString& input) const {
    // What is no whole number within the range (validate) is never made into one: the value
    // before the typing stays, and the refusal is told once the box shows it again. A whole number
    // beyond the range brought to its nearest end would be another number than the one typed.
    refused_ = input;
}

int WholeNumberSpinBox::valueFromText(const QString& text) const {
    return static_cast<int>(typed_box_number(text, TypedNumberKind::Whole).value_or(value()));
}

QString WholeNumberSpinBox::textFromValue(int value) const {
    return platform::number_text(value);
}

void WholeNumberSpinBox::focusOutEvent(QFocusEvent* event) {
    // Its own menu opening is no end of the typing, as for a line edit: the text stays as typed.
    if (event->reason() == Qt::PopupFocusReason)
        for (const QWidget* w = QApplication::activePopupWidget(); w; w = w->parentWidget())
            if (w == this)
                return QWidget::focusOutEvent(event);
    QSpinBox::focusOutEvent(event);
}

void WholeNumberSpinBox::stepBy(int steps) {
    // A step of its menu steps from what was typed, as its arrows do: judged first.
    if (platform::judge_now(lineEdit()))
        QSpinBox::stepBy(steps);
}

bool WholeNumberSpinBox::judge_typing() {
    // Left by the focus, the box has already gone back to its value (fixup); left by its arrows,
    // a key or a click, the typing is judged before the box steps from it or loses it.
    QString typed = std::exchange(refused_, QString());
    if (typed.isEmpty() && lineEdit()->isModified()) {
        typed = lineEdit()->text();
        // A number the box takes is taken as it steps or loses the focus; anything else gives
        // way to the value again, the last one the box took.
        int at = 0;
        if (validate(typed, at) == QValidator::Acceptable)
            return true;
        setValue(value());
    }
    if (typed.trimmed().isEmpty())
        return true;
    platform::msg_box(
        refusal_within(typed, typed_box_number(typed, TypedNumberKind::Whole).has_value(),
                       {static_cast<double>(minimum()), static_cast<double>(maximum())}),
        platform::mb::Critical);
    return false;
}
