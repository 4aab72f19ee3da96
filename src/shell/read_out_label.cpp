#include "shell/read_out_label.h"

#include <algorithm>
#include <utility>

ReadOutLabel::ReadOutLabel(QWidget* parent, QString widest)
    : QLabel(parent), widest_(std::move(widest)) {
    // What the unit sent, or a command with what the user typed in it, shown as it stands: never
    // taken for markup.
    setTextFormat(Qt::PlainText);
}

QSize ReadOutLabel::sizeHint() const {
    const QMargins m = contentsMargins();
    const QSize frame(m.left() + m.right() + 2 * margin(), m.top() + m.bottom() + 2 * margin());
    const QSize reserved =
        QSize(fontMetrics().horizontalAdvance(widest_), fontMetrics().height()) + frame;
    const QSize text = QLabel::sizeHint();
    return {widest_.isEmpty() ? text.width() : reserved.width(),
            std::max(reserved.height(), text.height())};
}
