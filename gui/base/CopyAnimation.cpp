#include "gui/base/CopyAnimation.h"

#include <QPainter>

namespace fenta21::gui {
namespace {

constexpr int kFrames = 16;
constexpr int kFrameMilliseconds = 80;

void drawFolder(QPainter& painter, QRectF box) {
    painter.setPen(QPen(QColor(140, 110, 20), 1));
    painter.setBrush(QColor(240, 200, 80));
    painter.drawRect(QRectF(box.left(), box.top() + 6, box.width(), box.height() - 6));
    painter.drawRect(QRectF(box.left(), box.top(), box.width() * 0.4, 6));
}

void drawSheet(QPainter& painter, QPointF topLeft) {
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(topLeft, QSizeF(16, 20)));
    painter.setPen(QPen(QColor(120, 120, 200), 1));
    for (int line = 0; line < 3; ++line)
        painter.drawLine(topLeft + QPointF(3, 5 + line * 5), topLeft + QPointF(13, 5 + line * 5));
}

}  // namespace

CopyAnimation::CopyAnimation(QWidget* parent) : QWidget(parent) {
    setMinimumSize(sizeHint());
    timer_.setInterval(kFrameMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        frame_ = (frame_ + 1) % kFrames;
        update();
    });
}

void CopyAnimation::start() {
    if (!timer_.isActive()) timer_.start();
}

void CopyAnimation::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal folderWidth = 44;
    const QRectF from(10, height() - 40, folderWidth, 32);
    const QRectF to(width() - 10 - folderWidth, height() - 40, folderWidth, 32);
    drawFolder(painter, from);
    drawFolder(painter, to);
    if (!running()) return;
    // The sheet rises out of the first folder and falls into the second along an arc.
    qreal t = static_cast<qreal>(frame_) / (kFrames - 1);
    qreal x = from.center().x() + (to.center().x() - from.center().x()) * t - 8;
    qreal y = from.top() - 4 - 4 * (height() - 44) * t * (1 - t);
    drawSheet(painter, QPointF(x, y));
}

}  // namespace fenta21::gui
