#include "link/window_parts.h"

#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

QVBoxLayout* make_up_down_arrows(QWidget* parent, QToolButton*& up, QToolButton*& down) {
    up = new QToolButton(parent);
    up->setObjectName(QStringLiteral("UpDown1_up"));
    up->setArrowType(Qt::UpArrow);
    down = new QToolButton(parent);
    down->setObjectName(QStringLiteral("UpDown1_down"));
    down->setArrowType(Qt::DownArrow);
    auto* stack = new QVBoxLayout;
    stack->setSpacing(0);
    for (QToolButton* b : {up, down}) {
        b->setFixedSize(18, 12);
        b->setAutoRepeat(true);
        stack->addWidget(b);
    }
    return stack;
}

QPushButton* make_command_button(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}
