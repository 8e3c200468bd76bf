#pragma once

#include <QDialog>

class QLabel;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

// The reserved-collection notice: the latest message of an unattended collection, in place of
// the message box nobody would be there to confirm. "予約回収ログ表示" opens RSV.LOG and closes.
class ReservationNotice : public QDialog {
    Q_OBJECT
public:
    ReservationNotice(Session& session, QWidget* parent);

    // Shows the latest notice text.
    void refresh();
    QString text() const;

    static constexpr const char* kTitle = "FENTA21(R)通信ソフト";

private:
    void openLog();

    Session& session_;
    QLabel* text_;
};

// Opens RSV.LOG in the text viewer when it exists; false when there is none.
bool openReservationLog(Session& session);

}  // namespace fenta21::gui
