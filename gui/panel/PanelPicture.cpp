#include "gui/panel/PanelPicture.h"

#include "core/panel/PanelLayout.h"
#include "core/panel/PanelSession.h"
#include "core/panel/PanelText.h"
#include "gui/base/Text.h"

#include <QFontInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace fenta21::gui {
namespace {

// One column of the display: sixteen of them fill the display from line's start to just
// short of its right edge.
constexpr int kCellWidth = 19;
constexpr int kCellHeight = 32;
constexpr int kGlyphPixels = 26;

// The colours of a backlit yellow-green character LCD and of an unlit one.
const QColor kLitGlass(0xa8, 0xc8, 0x3c);
const QColor kLitCell(0x9c, 0xbc, 0x34);
const QColor kLitInk(0x1c, 0x2c, 0x10);
const QColor kUnlitGlass(0x5c, 0x64, 0x50);
const QColor kCaseTop(0x4a, 0x55, 0x60);
const QColor kCaseBottom(0x2a, 0x32, 0x3a);
const QColor kUnlitCaseTop(0x6a, 0x6e, 0x72);
const QColor kUnlitCaseBottom(0x50, 0x54, 0x58);

QRectF rectOf(const PanelRect& r) { return QRectF(r.left, r.top, r.width(), r.height()); }

void drawCase(QPainter& painter, QSize size, bool active) {
    QLinearGradient body(0, 0, 0, size.height());
    body.setColorAt(0, active ? kCaseTop : kUnlitCaseTop);
    body.setColorAt(1, active ? kCaseBottom : kUnlitCaseBottom);
    painter.fillRect(QRect(QPoint(0, 0), size), body);
    // The bezel that holds the display glass.
    QRectF bezel = rectOf(PanelLayout::kDisplay).adjusted(-6, -6, 6, 6);
    painter.setPen(QPen(QColor(0x18, 0x1c, 0x20), 2));
    painter.setBrush(QColor(0x20, 0x24, 0x28));
    painter.drawRoundedRect(bezel, 6, 6);
}

void drawDisplay(QPainter& painter, const PanelSnapshot& snapshot) {
    const QRectF glass = rectOf(PanelLayout::kDisplay);
    if (!snapshot.active) {
        painter.fillRect(glass, kUnlitGlass);
        return;
    }
    QRadialGradient light(glass.center(), glass.width() * 0.6);
    light.setColorAt(0, kLitGlass.lighter(112));
    light.setColorAt(1, kLitGlass);
    painter.fillRect(glass, light);

    painter.setFont(displayFont());
    const PanelPoint origins[] = {PanelLayout::kLine1, PanelLayout::kLine2};
    const std::string* lines[] = {&snapshot.line1, &snapshot.line2};
    for (int row = 0; row < 2; ++row) {
        const PanelPoint origin = origins[row];
        // The unlit character cells show faintly through the glass, as on the logger.
        painter.setPen(Qt::NoPen);
        painter.setBrush(kLitCell);
        for (std::size_t column = 0; column < kDisplayColumns; ++column)
            painter.drawRect(QRectF(origin.x + column * kCellWidth, origin.y, kCellWidth - 2, kCellHeight));
        painter.setPen(kLitInk);
        for (const DisplayCell& cell : displayCells(*lines[row])) {
            if (cell.column >= kDisplayColumns) break;
            QRectF box(origin.x + cell.column * kCellWidth, origin.y, cell.width * kCellWidth - 2, kCellHeight);
            painter.drawText(box, Qt::AlignCenter, qs(cell.text));
        }
    }
}

void drawKeyFace(QPainter& painter, const QRectF& face, bool active, bool pressed, const QString& label) {
    QLinearGradient shine(face.topLeft(), face.bottomLeft());
    QColor base = !active ? QColor(0x80, 0x84, 0x88) : QColor(0x3a, 0x7a, 0xc8);
    shine.setColorAt(0, pressed ? base.darker(140) : base.lighter(130));
    shine.setColorAt(1, pressed ? base.darker(110) : base.darker(120));
    painter.setPen(QPen(QColor(0x10, 0x14, 0x18), 1));
    painter.setBrush(shine);
    painter.drawRoundedRect(face, 4, 4);
    QFont font = painter.font();
    // The small keys take a symbol or three letters; the collection key its name.
    font.setPixelSize(face.height() > 30 ? 14 : label.size() > 1 ? 10 : 13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(active ? Qt::white : QColor(0xc8, 0xcc, 0xd0));
    painter.drawText(face.translated(pressed ? 1 : 0, pressed ? 1 : 0), Qt::AlignCenter, label);
}

void drawKeys(QPainter& painter, const PanelSnapshot& snapshot) {
    const QString labels[] = {QStringLiteral("▲"), QStringLiteral("▼"), QStringLiteral("ENT"),
                              QString::fromUtf8(kCollectionKeyText)};
    for (std::size_t key = 0; key < PanelLayout::kKeyAreas.size(); ++key)
        drawKeyFace(painter, rectOf(PanelLayout::kKeyAreas[key]), snapshot.active, false, labels[key]);
    // The held key: its pressed picture, three pixels larger on every side than the key.
    if (snapshot.active && snapshot.pressedKey >= 0 && snapshot.pressedKey < 3) {
        const std::size_t key = static_cast<std::size_t>(snapshot.pressedKey);
        const PanelRect& area = PanelLayout::kKeyAreas[key];
        QRectF picture(PanelLayout::kPressedKeyX[key], PanelLayout::kPressedKeyY, area.width() + 6, area.height() + 6);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x10, 0x14, 0x18, 0xa0));
        painter.drawRoundedRect(picture, 6, 6);
        drawKeyFace(painter, picture.adjusted(3, 3, -3, -3), true, true, labels[key]);
    }
}

}  // namespace

QFont displayFont() {
    QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(kGlyphPixels);
    return font;
}

void drawPanel(QPainter& painter, QSize size, const PanelSnapshot& snapshot) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawCase(painter, size, snapshot.active);
    drawDisplay(painter, snapshot);
    drawKeys(painter, snapshot);
}

}  // namespace fenta21::gui
