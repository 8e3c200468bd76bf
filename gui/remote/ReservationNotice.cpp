#include "gui/remote/ReservationNotice.h"

#include "core/session/Session.h"
#include "gui/base/ProgramIcon.h"
#include "gui/base/Text.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <filesystem>

namespace fenta21::gui {

ReservationNotice::ReservationNotice(Session& session, QWidget* parent) : QDialog(parent), session_(session) {
    setObjectName("reservationNotice");
    setWindowTitle(kTitle);
    setModal(false);
    // It opens while the user works elsewhere and must not take the keyboard from there.
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    text_ = new QLabel(this);
    text_->setObjectName("noticeText");
    text_->setWordWrap(true);
    text_->setMinimumSize(300, 2 * fontMetrics().lineSpacing());
    auto* log = new QPushButton(QStringLiteral("予約回収ログ表示"), this);
    log->setObjectName("showLogButton");
    connect(log, &QPushButton::clicked, this, &ReservationNotice::openLog);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(text_, 0, 1);
    layout->addWidget(log, 1, 0, 1, 2, Qt::AlignHCenter);
    refresh();
}

void ReservationNotice::refresh() {
    std::vector<std::string> notices = session_.reports.reservationNotices.get();
    text_->setText(notices.empty() ? QString() : qs(notices.back()));
}

QString ReservationNotice::text() const { return text_->text(); }

void ReservationNotice::openLog() {
    openReservationLog(session_);
    close();
}

bool openReservationLog(Session& session) {
    std::string path = session.homeFile("RSV.LOG");
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return false;
    session.host.openTextFile(path);
    return true;
}

}  // namespace fenta21::gui
