#include "shell/number_box.h"

#include "platform/box_leaving.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/data_folder.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <cmath>
#include <memory>
#include <utility>

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
            refuse_typed_number(box, *shown, v ? limits_refusal_message(typed, limits) : QString());
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
    platform::msg_box(typed_box_number(typed, TypedNumberKind::Whole)
                          ? range_refusal_message(typed, minimum(), maximum())
                          : typed_number_refusal(typed),
                      platform::mb::Critical);
    return false;
}
