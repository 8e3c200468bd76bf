#include "gui/app/StatusBar.h"

#include "core/session/Session.h"
#include "core/app/StatusDisplay.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace fenta21::gui {
namespace {

constexpr QSize kStateSize(88, 40);
constexpr QSize kReservationSize(16, 16);
constexpr QSize kActivitySize(14, 14);

StatusBitmap bitmapOf(StatePicture picture) {
    switch (picture) {
        case StatePicture::Idle: return StatusBitmap::Idle;
        case StatePicture::Linked: return StatusBitmap::Linked;
        case StatePicture::SettingUpAlternate: return StatusBitmap::SettingUp;
        case StatePicture::TakingDownAlternate: return StatusBitmap::TakingDown;
        default: return StatusBitmap::BeforeFirstUpdate;
    }
}

StatusBitmap bitmapOf(ActivityLamp lamp) {
    switch (lamp) {
        case ActivityLamp::Sending: return StatusBitmap::LampSending;
        case ActivityLamp::Receiving: return StatusBitmap::LampReceiving;
        default: return StatusBitmap::LampDark;
    }
}

}  // namespace

PictureBox::PictureBox(StatusBitmap bitmap, QSize size, QWidget* parent) : QWidget(parent), bitmap_(bitmap) {
    setFixedSize(size);
}

void PictureBox::setBitmap(StatusBitmap bitmap) {
    if (bitmap == bitmap_) return;
    bitmap_ = bitmap;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawStatusBitmap(painter, rect(), bitmap_);
}

StatusBar::StatusBar(QAction* monitorCommand, QWidget* parent)
    : QWidget(parent), display_(std::make_unique<StatusDisplay>()) {
    setObjectName("statusBar");
    setFixedWidth(kWidth);
    state_ = new PictureBox(StatusBitmap::BeforeFirstUpdate, kStateSize, this);
    state_->setObjectName("statePicture");
    reservation_ = new PictureBox(StatusBitmap::ReservationOff, kReservationSize, this);
    reservation_->setObjectName("reservationLamp");
    reservation_->setToolTip(QStringLiteral("予約回収"));
    send_ = new PictureBox(StatusBitmap::LampDark, kActivitySize, this);
    send_->setObjectName("sendLamp");
    receive_ = new PictureBox(StatusBitmap::LampDark, kActivitySize, this);
    receive_->setObjectName("receiveLamp");
    speed_ = new QLabel(this);
    speed_->setObjectName("speedText");
    speed_->setFrameShape(QFrame::StyledPanel);
    speed_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    button_ = new QPushButton(QStringLiteral("詳細"), this);
    button_->setObjectName("monitorButton");
    button_->setFocusPolicy(Qt::NoFocus);
    connect(button_, &QPushButton::clicked, monitorCommand, &QAction::trigger);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setVerticalSpacing(3);
    layout->addWidget(state_, 0, 0, 1, 3, Qt::AlignLeft);
    layout->addWidget(reservation_, 0, 3, Qt::AlignTop);
    layout->addWidget(new QLabel(QStringLiteral("接続速度"), this), 1, 0, 1, 2);
    layout->addWidget(speed_, 1, 2, 1, 2);
    layout->addWidget(new QLabel(QStringLiteral("送信"), this), 2, 0);
    layout->addWidget(send_, 2, 1);
    layout->addWidget(new QLabel(QStringLiteral("受信"), this), 2, 2, Qt::AlignRight);
    layout->addWidget(receive_, 2, 3);
    layout->addWidget(button_, 3, 0, 1, 4);
    layout->setRowStretch(4, 1);
}

StatusBar::~StatusBar() = default;

void StatusBar::refresh(Session& session, bool slowTick) {
    TTYInfo* channel = session.channel();
    StatusFrame frame = display_->update(channel ? &channel->capture : nullptr, session.line.state(),
                                        session.line.speed(), slowTick, session.reservationRunning.load());
    send_->setBitmap(bitmapOf(frame.sendLamp));
    receive_->setBitmap(bitmapOf(frame.receiveLamp));
    // The speed stays until a new one replaces it.
    if (frame.speed) speed_->setText(QString::number(*frame.speed));
    if (frame.state) state_->setBitmap(bitmapOf(*frame.state));
    if (frame.reservationLamp) showReservation(*frame.reservationLamp);
    emit refreshed();
}

void StatusBar::showReservation(bool running) {
    reservation_->setBitmap(running ? StatusBitmap::ReservationOn : StatusBitmap::ReservationOff);
}

void StatusBar::setMonitorOpen(bool open) { button_->setText(open ? QStringLiteral(" Ｘ ") : QStringLiteral("詳細")); }

}  // namespace fenta21::gui
