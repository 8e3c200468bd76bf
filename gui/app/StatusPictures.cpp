#include "gui/app/StatusPictures.h"

#include <QPainter>
#include <QPainterPath>

namespace fenta21::gui {
namespace {

// A lamp: a round light in its bezel, lit in its colour or dark.
void drawLamp(QPainter& painter, const QRectF& area, const QColor& light) {
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.setBrush(QColor(40, 40, 40));
    painter.drawEllipse(area.adjusted(0.5, 0.5, -0.5, -0.5));
    QRadialGradient glow(area.center() - QPointF(area.width() / 6, area.height() / 6), area.width() / 2);
    glow.setColorAt(0, light.lighter(170));
    glow.setColorAt(1, light);
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(area.adjusted(2, 2, -2, -2));
}

// A small computer and a logger box joined by a cable: whole when linked, parted when idle,
// with arrows when the line is being set up and a break when it is being taken down.
void drawLine(QPainter& painter, const QRectF& area, StatusBitmap bitmap) {
    painter.fillRect(area, QColor(0, 0, 64));
    double w = area.width();
    double h = area.height();
    QRectF screen(area.left() + w * 0.06, area.top() + h * 0.2, w * 0.26, h * 0.42);
    QRectF logger(area.right() - w * 0.30, area.top() + h * 0.25, w * 0.24, h * 0.5);
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(QColor(160, 200, 255));
    painter.drawRect(screen);
    painter.drawRect(QRectF(screen.left() - 1, screen.bottom() + 2, screen.width() + 2, h * 0.1));
    painter.setBrush(QColor(200, 200, 200));
    painter.drawRect(logger);

    double y = area.top() + h * 0.5;
    double from = screen.right() + 2;
    double to = logger.left() - 2;
    double middle = (from + to) / 2;
    QColor cable = bitmap == StatusBitmap::Linked ? QColor(0, 230, 0) : QColor(150, 150, 150);
    painter.setPen(QPen(cable, 2));
    switch (bitmap) {
        case StatusBitmap::Linked: painter.drawLine(QPointF(from, y), QPointF(to, y)); break;
        case StatusBitmap::SettingUp: {
            painter.setPen(QPen(QColor(255, 220, 0), 2));
            painter.drawLine(QPointF(from, y), QPointF(to, y));
            QPainterPath arrow;
            arrow.moveTo(middle + 4, y);
            arrow.lineTo(middle - 2, y - 4);
            arrow.lineTo(middle - 2, y + 4);
            arrow.closeSubpath();
            painter.fillPath(arrow, QColor(255, 220, 0));
            break;
        }
        case StatusBitmap::TakingDown:
            painter.setPen(QPen(QColor(255, 90, 60), 2));
            painter.drawLine(QPointF(from, y), QPointF(middle - 4, y + 3));
            painter.drawLine(QPointF(middle + 4, y - 3), QPointF(to, y));
            break;
        default:
            painter.drawLine(QPointF(from, y), QPointF(middle - 5, y));
            painter.drawLine(QPointF(middle + 5, y), QPointF(to, y));
            break;
    }
}

}  // namespace

void drawStatusBitmap(QPainter& painter, const QRect& area, StatusBitmap bitmap) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF box(area);
    switch (bitmap) {
        case StatusBitmap::LampDark: drawLamp(painter, box, QColor(60, 60, 60)); break;
        case StatusBitmap::LampSending: drawLamp(painter, box, QColor(230, 30, 30)); break;
        case StatusBitmap::LampReceiving: drawLamp(painter, box, QColor(30, 210, 30)); break;
        case StatusBitmap::ReservationOff: drawLamp(painter, box, QColor(60, 60, 60)); break;
        case StatusBitmap::ReservationOn: drawLamp(painter, box, QColor(255, 170, 0)); break;
        case StatusBitmap::BeforeFirstUpdate: painter.fillRect(box, QColor(0, 0, 64)); break;
        default: drawLine(painter, box, bitmap); break;
    }
    painter.restore();
}

}  // namespace fenta21::gui
