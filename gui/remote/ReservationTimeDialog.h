#pragma once

#include "core/stations/Reservation.h"

#include <QDialog>

#include <optional>

class QComboBox;

namespace fenta21::gui {

// "予約回収時間の設定": the day, hour and minute lists; the positions are the stored values.
class ReservationTimeDialog : public QDialog {
    Q_OBJECT
public:
    ReservationTimeDialog(const ReservationTime& preset, QWidget* parent);

    // The chosen time, or nothing when cancelled. A new reservation starts at 0, 0, 0.
    static std::optional<ReservationTime> ask(const ReservationTime& preset, QWidget* parent);
    ReservationTime time() const;

    static constexpr const char* kTitle = "予約回収時間の設定";

private:
    QComboBox* days_;
    QComboBox* hours_;
    QComboBox* minutes_;
};

}  // namespace fenta21::gui
