#include "logging/up_down.h"

#include "platform/vb.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace logsetup {

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up_ = new QToolButton(this);
    down_ = new QToolButton(this);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setFixedSize(18, 11);
        layout->addWidget(b);
    }
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
}

void UpDown::set_range(double minimum, double maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

void UpDown::step(int direction) {
    if (!buddy_)
        return;
    // An empty box steps from 0; a text that is no number is refused when the user leaves the
    // box, and is not stepped from as another number.
    const QString text = buddy_->text();
    const auto from = text.trimmed().isEmpty() ? std::optional(0.0) : platform::typed_number(text);
    if (!from)
        return;
    // The arrows reach only the numbers the box steps through: from one between two steps (a
    // fraction a loaded log gave) the first step goes to the next one in the arrow's direction.
    // Never past an end, and never back the other way from beyond one.
    const double steps = *from / increment_;
    const double next =
        std::clamp((direction > 0 ? std::floor(steps) + 1 : std::ceil(steps) - 1) * increment_,
                   minimum_, maximum_);
    if (direction > 0 ? next < *from : next > *from)
        return;
    buddy_->setText(platform::number_text(next));
}

} // namespace logsetup
