#include "gui/util/CfCardPicture.h"

#include <QPainter>
#include <QPainterPath>

namespace fenta21::gui {
namespace {

// A CF card is 43 x 36 mm; drawn at two pixels a millimetre, with room for the arrow.
constexpr int kCardWidth = 86;
constexpr int kCardHeight = 72;
constexpr int kMargin = 6;
constexpr int kArrow = 18;
constexpr int kPinsPerRow = 25;

}  // namespace

CfCardPicture::CfCardPicture(QWidget* parent) : QWidget(parent) {
    setObjectName("cfCardPicture");
    setFixedSize(sizeHint());
}

QSize CfCardPicture::sizeHint() const { return {kCardWidth + 2 * kMargin, kCardHeight + kArrow + 2 * kMargin}; }

void CfCardPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF card(kMargin, kMargin + kArrow, kCardWidth, kCardHeight);

    // The body, with the bevelled corner that keeps the card from going in the wrong way.
    QPainterPath body;
    body.moveTo(card.left() + 6, card.top());
    body.lineTo(card.right(), card.top());
    body.lineTo(card.right(), card.bottom());
    body.lineTo(card.left(), card.bottom());
    body.lineTo(card.left(), card.top() + 6);
    body.closeSubpath();
    painter.setPen(QPen(QColor(0x30, 0x30, 0x30), 1.5));
    painter.setBrush(QColor(0x4a, 0x4f, 0x58));
    painter.drawPath(body);

    // The two rows of pin holes along the top edge.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1c, 0x1c, 0x1c));
    qreal step = (kCardWidth - 12) / qreal(kPinsPerRow);
    for (int row = 0; row < 2; ++row)
        for (int pin = 0; pin < kPinsPerRow; ++pin)
            painter.drawEllipse(QPointF(card.left() + 6 + step * (pin + 0.5) + row * step / 2, card.top() + 4 + row * 4), 1.1, 1.1);

    // The label.
    QRectF label = card.adjusted(8, 16, -8, -8);
    painter.setBrush(QColor(0xe8, 0xec, 0xf2));
    painter.drawRoundedRect(label, 3, 3);
    painter.setPen(QColor(0x1d, 0x4e, 0x9e));
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(20);
    painter.setFont(font);
    painter.drawText(label.adjusted(0, 0, 0, -12), Qt::AlignCenter, QStringLiteral("CF"));
    font.setPixelSize(9);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(label.adjusted(0, 24, 0, 0), Qt::AlignCenter, QStringLiteral("CompactFlash"));

    // The arrow: pins first into the reader.
    painter.setPen(QPen(QColor(0x1d, 0x4e, 0x9e), 2));
    qreal middle = card.center().x();
    painter.drawLine(QPointF(middle, card.top() - 2), QPointF(middle, kMargin));
    painter.drawLine(QPointF(middle, kMargin), QPointF(middle - 5, kMargin + 6));
    painter.drawLine(QPointF(middle, kMargin), QPointF(middle + 5, kMargin + 6));
}

}  // namespace fenta21::gui
