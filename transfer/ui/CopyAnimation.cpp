#include "transfer/ui/CopyAnimation.h"

#include <QPainter>
#include <QPainterPath>

namespace {

void drawFolder(QPainter& p, const QRectF& r) {
    QPainterPath tab;
    tab.addRoundedRect(QRectF(r.left(), r.top(), r.width() * 0.45, r.height() * 0.3), 2, 2);
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(230, 180, 60));
    p.drawPath(tab);
    p.setBrush(QColor(250, 205, 85));
    p.drawRoundedRect(QRectF(r.left(), r.top() + r.height() * 0.18, r.width(), r.height() * 0.82), 3, 3);
}

void drawSheet(QPainter& p, const QPointF& centre, qreal tilt) {
    p.save();
    p.translate(centre);
    p.rotate(tilt);
    const QRectF sheet(-9, -12, 18, 24);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(sheet);
    p.setPen(QPen(QColor(120, 140, 200), 1));
    for (int line = 0; line < 4; ++line)
        p.drawLine(QPointF(-6, -7 + line * 5), QPointF(6, -7 + line * 5));
    p.restore();
}

} // namespace

CopyAnimation::CopyAnimation(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Animate1"));
    timer_.setInterval(50);
    connect(&timer_, &QTimer::timeout, this, &CopyAnimation::advance);
    setMinimumSize(sizeHint());
}

void CopyAnimation::play() {
    frame_ = FirstFrame;
    timer_.start();
    update();
}

void CopyAnimation::stop() {
    timer_.stop();
}

void CopyAnimation::advance() {
    frame_ = frame_ >= LastFrame ? FirstFrame : frame_ + 1;
    update();
}

void CopyAnimation::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = height();
    const QRectF from(8, h * 0.35, 52, h * 0.55);
    const QRectF to(width() - 60, h * 0.35, 52, h * 0.55);
    drawFolder(p, from);
    drawFolder(p, to);
    // The sheet rises out of the first folder, flies over in an arc and sinks into the second.
    const qreal t = qreal(frame_ - FirstFrame) / (LastFrame - FirstFrame);
    const qreal x = from.center().x() + (to.center().x() - from.center().x()) * t;
    const qreal y = from.top() - (h * 0.3) * 4 * t * (1 - t) + 4;
    drawSheet(p, QPointF(x, y), -25 + 50 * t);
}
