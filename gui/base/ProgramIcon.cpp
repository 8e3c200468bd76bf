#include "gui/base/ProgramIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace fenta21::gui {
namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    // The logger's case and its display.
    painter.setPen(QPen(QColor(40, 60, 90), 1.5));
    painter.setBrush(QColor(90, 130, 190));
    painter.drawRoundedRect(QRectF(3, 4, 26, 24), 3, 3);
    painter.setBrush(QColor(200, 230, 200));
    painter.drawRect(QRectF(7, 8, 18, 10));
    // A recorded wave on the display.
    QPainterPath wave;
    wave.moveTo(8, 14);
    wave.cubicTo(11, 9, 13, 9, 16, 13);
    wave.cubicTo(19, 17, 21, 17, 24, 12);
    painter.setPen(QPen(QColor(20, 100, 40), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
    // Its three keys.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 230, 230));
    for (int key = 0; key < 3; ++key) painter.drawEllipse(QRectF(8 + key * 6.5, 21, 4, 4));
    return pixmap;
}

}  // namespace

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) icon.addPixmap(drawIcon(size));
    return icon;
}

}  // namespace fenta21::gui
