#include "logging/up_down.h"

#include "platform/vb.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

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
    const double value =
        std::clamp(box_number(buddy_->text()) + direction * increment_, minimum_, maximum_);
    buddy_->setText(platform::number_text(value));
}

double box_number(const QString& text) {
    return platform::to_double(text).value_or(platform::val(text));
}

} // namespace logsetup
