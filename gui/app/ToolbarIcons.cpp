#include "gui/app/ToolbarIcons.h"

#include "core/app/CommandTable.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace fenta21::gui {
namespace {

using namespace CommandId;
using Drawing = std::function<void(QPainter&)>;

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

Drawing drawingFor(int command) {
    switch (command) {
        case kDirectCollection:
            return [](QPainter& p) {
                tray(p);
                downArrow(p, 8, 2, QColor(20, 120, 40));
            };
        case kDirectCollectionAll:
            return [](QPainter& p) {
                tray(p);
                downArrow(p, 5, 2, QColor(20, 80, 160));
                downArrow(p, 11, 2, QColor(20, 80, 160));
            };
        case kDataFileDisplay:
            return [](QPainter& p) {
                sheet(p, QRectF(2, 1.5, 9, 12));
                p.setPen(QPen(QColor(20, 60, 160), 1.6));
                p.drawEllipse(QRectF(7, 7, 5, 5));
                p.drawLine(QPointF(11.5, 11.5), QPointF(14.5, 14.5));
            };
        case kAutoLink:
            return [](QPainter& p) {
                ring(p, QRectF(1.5, 5, 8, 6), QColor(20, 120, 40));
                ring(p, QRectF(6.5, 5, 8, 6), QColor(20, 120, 40));
            };
        case kDisconnect:
            return [](QPainter& p) {
                ring(p, QRectF(0.5, 5, 6, 6), QColor(90, 90, 90));
                ring(p, QRectF(9.5, 5, 6, 6), QColor(90, 90, 90));
                p.setPen(QPen(QColor(200, 30, 30), 1.8));
                p.drawLine(QPointF(6, 2), QPointF(10, 14));
            };
        case kAddressBook:
            return [](QPainter& p) {
                p.setPen(QPen(kInk, 1));
                p.setBrush(QColor(170, 60, 40));
                p.drawRect(QRectF(3, 1.5, 10, 13));
                p.setBrush(QColor(240, 230, 200));
                p.drawRect(QRectF(5, 4, 6, 3));
                p.drawLine(QPointF(4.5, 1.5), QPointF(4.5, 14.5));
            };
        case kReservation:
            return [](QPainter& p) {
                p.setPen(QPen(kInk, 1.2));
                p.setBrush(Qt::white);
                p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
                p.setPen(QPen(QColor(200, 30, 30), 1.5));
                p.drawLine(QPointF(8, 8), QPointF(8, 3.5));
                p.drawLine(QPointF(8, 8), QPointF(11.5, 9.5));
            };
        case kCsvConversion:
            return [](QPainter& p) {
                sheet(p, QRectF(1.5, 2.5, 13, 11));
                p.setPen(QPen(QColor(20, 120, 40), 1));
                for (qreal y : {5.5, 8.5, 11.0}) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
                for (qreal x : {6.0, 10.0}) p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
            };
        case kWebSite:
            return [](QPainter& p) {
                p.setPen(QPen(QColor(20, 80, 160), 1.2));
                p.setBrush(QColor(190, 220, 250));
                p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
                p.setBrush(Qt::NoBrush);
                p.drawEllipse(QRectF(5, 1.5, 6, 13));
                p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
            };
        default: return [](QPainter&) {};
    }
}

QPixmap drawIcon(int command, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    drawingFor(command)(painter);
    return pixmap;
}

}  // namespace

std::array<int, 9> toolbarCommands() {
    return {kDirectCollection, kDataFileDisplay, kAutoLink,           kDisconnect, kAddressBook,
            kReservation,      kCsvConversion,   kDirectCollectionAll, kWebSite};
}

QIcon toolbarIcon(int command) {
    QIcon icon;
    for (int size : {16, 24, 32}) icon.addPixmap(drawIcon(command, size));
    return icon;
}

QString toolbarTip(int command) {
    switch (command) {
        case kDirectCollection: return QStringLiteral("接続開始 (F1)");
        case kDataFileDisplay: return QStringLiteral("データファイル表示 (F2)");
        case kAutoLink: return QStringLiteral("自動リンク (F3)");
        case kDisconnect: return QStringLiteral("回線切断 (F4)");
        case kAddressBook: return QStringLiteral("アドレス帳 (F5)");
        case kReservation: return QStringLiteral("予約回収 (F6)");
        case kCsvConversion: return QStringLiteral("CSVファイル変換 (F7)");
        case kDirectCollectionAll: return QStringLiteral("全データ回収 (F8)");
        case kWebSite: return QStringLiteral("ホームページ");
        default: return {};
    }
}

}  // namespace fenta21::gui
