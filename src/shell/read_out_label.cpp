#include "shell/read_out_label.h"

#include <algorithm>
#include <utility>

ReadOutLabel::ReadOutLabel(QWidget* parent, QString widest)
    : QLabel(parent), widest_(std::move(widest)) {}

QSize ReadOutLabel::sizeHint() const {
    const QMargins m = contentsMargins();
    const QSize frame(m.left() + m.right() + 2 * margin(), m.top() + m.bottom() + 2 * margin());
    const QSize empty =
        QSize(fontMetrics().horizontalAdvance(widest_), fontMetrics().height()) + frame;
    return {empty.width(), std::max(empty.height(), QLabel::sizeHint().height())};
}
