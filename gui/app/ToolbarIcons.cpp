#include "gui/app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace fenta21::gui {
namespace {

const QColor kInk(30, 30, 30);

void tray(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(2, 11, 12, 3));
}

void downArrow(QPainter& p, qreal x, qreal top, QColor color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPainterPath arrow;
    arrow.moveTo(x - 1.5, top);
    arrow.lineTo(x + 1.5, top);
    arrow.lineTo(x + 1.5, top + 4);
    arrow.lineTo(x + 4, top + 4);
    arrow.lineTo(x, top + 8);
    arrow.lineTo(x - 4, top + 4);
    arrow.lineTo(x - 1.5, top + 4);
    arrow.closeSubpath();
    p.drawPath(arrow);
}

void sheet(QPainter& p, QRectF box) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::white);
    p.drawRect(box);
}

void ring(QPainter& p, QRectF box, QColor color) {
    p.setPen(QPen(color, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(box, 2.5, 2.5);
}

}  // namespace

void drawDirectCollection(QPainter& p) {
    tray(p);
    downArrow(p, 8, 2, QColor(20, 120, 40));
}

void drawDirectCollectionAll(QPainter& p) {
    tray(p);
    downArrow(p, 5, 2, QColor(20, 80, 160));
    downArrow(p, 11, 2, QColor(20, 80, 160));
}

void drawDataFileDisplay(QPainter& p) {
    sheet(p, QRectF(2, 1.5, 9, 12));
    p.setPen(QPen(QColor(20, 60, 160), 1.6));
    p.drawEllipse(QRectF(7, 7, 5, 5));
    p.drawLine(QPointF(11.5, 11.5), QPointF(14.5, 14.5));
}

void drawAutoLink(QPainter& p) {
    ring(p, QRectF(1.5, 5, 8, 6), QColor(20, 120, 40));
    ring(p, QRectF(6.5, 5, 8, 6), QColor(20, 120, 40));
}

void drawDisconnect(QPainter& p) {
    ring(p, QRectF(0.5, 5, 6, 6), QColor(90, 90, 90));
    ring(p, QRectF(9.5, 5, 6, 6), QColor(90, 90, 90));
    p.setPen(QPen(QColor(200, 30, 30), 1.8));
    p.drawLine(QPointF(6, 2), QPointF(10, 14));
}

void drawAddressBook(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(170, 60, 40));
    p.drawRect(QRectF(3, 1.5, 10, 13));
    p.setBrush(QColor(240, 230, 200));
    p.drawRect(QRectF(5, 4, 6, 3));
    p.drawLine(QPointF(4.5, 1.5), QPointF(4.5, 14.5));
}

void drawReservation(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(200, 30, 30), 1.5));
    p.drawLine(QPointF(8, 8), QPointF(8, 3.5));
    p.drawLine(QPointF(8, 8), QPointF(11.5, 9.5));
}

void drawCsvConversion(QPainter& p) {
    sheet(p, QRectF(1.5, 2.5, 13, 11));
    p.setPen(QPen(QColor(20, 120, 40), 1));
    for (qreal y : {5.5, 8.5, 11.0}) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    for (qreal x : {6.0, 10.0}) p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
}

void drawWebSite(QPainter& p) {
    p.setPen(QPen(QColor(20, 80, 160), 1.2));
    p.setBrush(QColor(190, 220, 250));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
}

QIcon toolbarIcon(IconDrawing drawing) {
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        if (drawing != nullptr) drawing(painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace fenta21::gui
