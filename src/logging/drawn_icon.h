#pragma once
// Small icons drawn in code, so that the chart's buttons read without a caption and need no
// picture files: a transparent square of `size` pixels, antialiased, handed to `draw`.

#include <QIcon>
#include <QPainter>
#include <QPixmap>

template <typename Draw> QIcon drawn_icon(int size, Draw draw) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
    }
    return QIcon(pm);
}
