#include "ui/busy_animation.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {
constexpr int FRAME_MS = 60;
constexpr double FLOOR = 0.15;
constexpr double TAIL = 4.0; // blocks behind the crest that still glow
} // namespace

BusyAnimation::BusyAnimation(QWidget* parent) : QWidget(parent), timer_(new QTimer(this)) {
    timer_->setInterval(FRAME_MS);
    connect(timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % FRAMES;
        update();
    });
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

bool BusyAnimation::running() const {
    return timer_->isActive();
}

double BusyAnimation::block_level(int block, int frame) {
    // The crest walks across the blocks and on through as many frames again off the far end,
    // so the row rests a moment between waves.
    const double crest = static_cast<double>(frame % FRAMES) * (BLOCKS + TAIL) / FRAMES;
    const double behind = crest - block;
    if (behind < 0 || behind > TAIL)
        return FLOOR;
    return std::max(FLOOR, 1.0 - behind / TAIL);
}

QSize BusyAnimation::sizeHint() const {
    return {BLOCKS * 18, 24};
}

void BusyAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double gap = std::max(2.0, width() / (BLOCKS * 6.0));
    const double block_w = (width() - gap * (BLOCKS + 1)) / BLOCKS;
    const double block_h = std::min<double>(height() - 4, std::max(6.0, block_w * 0.8));
    const double top = (height() - block_h) / 2;
    const QColor lit = palette().color(QPalette::Highlight);
    const QColor dark = palette().color(QPalette::Mid);
    for (int b = 0; b < BLOCKS; ++b) {
        const double level = block_level(b, frame_);
        QColor c;
        c.setRgbF(dark.redF() + (lit.redF() - dark.redF()) * level,
                  dark.greenF() + (lit.greenF() - dark.greenF()) * level,
                  dark.blueF() + (lit.blueF() - dark.blueF()) * level);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        const QRectF r(gap + b * (block_w + gap), top, block_w, block_h);
        p.drawRoundedRect(r, block_h / 4, block_h / 4);
    }
}

void BusyAnimation::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    frame_ = 0;
    timer_->start();
}

void BusyAnimation::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    timer_->stop();
}
