#pragma once

#include <QRect>

class QPainter;

namespace fenta21::gui {

// The status bar's pictures, by the numbers the program has always given them.
enum class StatusBitmap {
    Linked = 138,
    LampDark = 142,
    LampSending = 143,
    LampReceiving = 144,
    Idle = 147,
    TakingDown = 148,
    SettingUp = 149,
    ReservationOff = 150,
    ReservationOn = 151,
    BeforeFirstUpdate = 152,
};

// Drawn, not loaded: each picture fills `area` and looks the same at any screen scale.
void drawStatusBitmap(QPainter& painter, const QRect& area, StatusBitmap bitmap);

}  // namespace fenta21::gui
