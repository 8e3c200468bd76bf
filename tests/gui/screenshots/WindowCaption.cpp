#include "tests/gui/screenshots/WindowCaption.h"

#include "gui/base/Captions.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <algorithm>

namespace fenta21::screenshots {

QImage withCaption(QWidget* window) {
    QPixmap contents = window->grab();
    constexpr int kBar = 24;
    constexpr int kButton = 20;
    // Drawn in the window's own pixels, on a scaled screen (QT_SCALE_FACTOR) as many as it has.
    const QSize size = contents.deviceIndependentSize().toSize();
    const int width = size.width();
    QImage picture(QSize(width, size.height() + kBar) * contents.devicePixelRatio(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(contents.devicePixelRatio());
    picture.fill(QColor(0xd8, 0xd8, 0xd8));
    QPainter painter(&picture);
    window->windowIcon().paint(&painter, QRect(4, 4, 16, 16));
    painter.setFont(gui::captionFont());
    painter.setPen(Qt::black);
    const int room = std::max(0, width - gui::kTitleBarAllowance);
    QString caption = QFontMetrics(painter.font()).elidedText(window->windowTitle(), Qt::ElideMiddle, room);
    painter.drawText(QRect(26, 0, room, kBar), Qt::AlignVCenter | Qt::AlignLeft, caption);
    painter.setFont(QFont());
    int x = width - 4;
    for (const char* button : {"×", "□", "_"}) {
        x -= kButton + 4;
        painter.drawRect(x, 2, kButton, kBar - 5);
        painter.drawText(QRect(x, 2, kButton, kBar - 5), Qt::AlignCenter, QString::fromUtf8(button));
    }
    painter.setPen(QColor(0x90, 0x90, 0x90));
    painter.drawLine(0, kBar - 1, width, kBar - 1);
    painter.drawPixmap(0, kBar, contents);
    return picture;
}

}  // namespace fenta21::screenshots
