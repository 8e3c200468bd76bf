#pragma once

#include "gui/app/StatusPictures.h"

#include <QWidget>

#include <memory>

class QAction;
class QLabel;
class QPushButton;

namespace fenta21 {
class Session;
class StatusDisplay;
}

namespace fenta21::gui {

// One picture of the status bar, drawn at its own size.
class PictureBox : public QWidget {
    Q_OBJECT
public:
    PictureBox(StatusBitmap bitmap, QSize size, QWidget* parent = nullptr);
    StatusBitmap bitmap() const { return bitmap_; }
    void setBitmap(StatusBitmap bitmap);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    StatusBitmap bitmap_;
};

// The bar on the right of the main window: the line's state picture, the reservation lamp,
// the line speed while a link is set up, the send and receive lamps and the button that
// opens and closes the monitor. Every tick it paints what the core's status logic says.
class StatusBar : public QWidget {
    Q_OBJECT
public:
    StatusBar(QAction* monitorCommand, QWidget* parent = nullptr);
    ~StatusBar() override;

    // One heartbeat tick; `slowTick` on every 11th.
    void refresh(Session& session, bool slowTick);
    void showReservation(bool running);
    void setMonitorOpen(bool open);

    PictureBox* statePicture() const { return state_; }
    PictureBox* reservationLamp() const { return reservation_; }
    PictureBox* sendLamp() const { return send_; }
    PictureBox* receiveLamp() const { return receive_; }
    QLabel* speedText() const { return speed_; }
    QPushButton* monitorButton() const { return button_; }

    static constexpr int kWidth = 112;

signals:
    // After each tick's painting, so that a test can follow the lamps.
    void refreshed();

private:
    // The meta-object compiler cannot read the core's headers, so the logic is held apart.
    std::unique_ptr<StatusDisplay> display_;
    PictureBox* state_;
    PictureBox* reservation_;
    PictureBox* send_;
    PictureBox* receive_;
    QLabel* speed_;
    QPushButton* button_;
};

}  // namespace fenta21::gui
