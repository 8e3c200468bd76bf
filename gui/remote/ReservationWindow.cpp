#include "gui/remote/ReservationWindow.h"

#include "core/session/Session.h"
#include "core/remote/ReservationRows.h"
#include "core/remote/Scheduler.h"
#include "gui/base/Text.h"
#include "gui/remote/CollectionListModel.h"
#include "gui/remote/ReservationNotice.h"
#include "gui/remote/ReservationTimeDialog.h"
#include "gui/remote/StationListModel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeView>

#include <filesystem>

namespace fenta21::gui {
ReservationWindow::ReservationWindow(Session& session, StationListModel& stations, ReservationScheduler* scheduler,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      session_(session), stations_(stations), scheduler_(scheduler),
      list_(session, session.addressBook, session.reservations),
      panes_(session, stations, reservationColumns(), QStringLiteral("予約回収リスト"), "reservationList",
             "stationPropertiesButton", this) {
    setObjectName("reservationWindow");
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    QPushButton* timeProperties = addWindowButton(panes_.right, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), "timePropertiesButton", this);
    auto* bottom = new QHBoxLayout;
    QPushButton* showLog = addWindowButton(bottom, QStringLiteral("予約回収ログ表示"), "showLogButton", this);
    QPushButton* clearLog = addWindowButton(bottom, QStringLiteral("ログクリア"), "clearLogButton", this);
    bottom->addStretch();
    startStop_ = addWindowButton(bottom, QString(), "startStopButton", this);
    startStop_->setEnabled(scheduler_ != nullptr);
    QPushButton* close = addWindowButton(bottom, QStringLiteral("閉じる"), "closeButton", this);

    auto* layout = new QGridLayout(this);
    panes_.placeIn(layout);
    layout->addLayout(bottom, 1, 0, 1, 3);

    connect(panes_.add, &QPushButton::clicked, this, [this] { addReservation(false); });
    connect(panes_.insert, &QPushButton::clicked, this, [this] { addReservation(true); });
    connect(panes_.remove, &QPushButton::clicked, this, &ReservationWindow::remove);
    connect(panes_.clear, &QPushButton::clicked, this, &ReservationWindow::clear);
    connect(timeProperties, &QPushButton::clicked, this, &ReservationWindow::editTime);
    connect(panes_.listView, &QTreeView::doubleClicked, this, &ReservationWindow::editTime);
    connect(showLog, &QPushButton::clicked, this, [this] { openReservationLog(session_); });
    connect(clearLog, &QPushButton::clicked, this, &ReservationWindow::clearLog);
    connect(startStop_, &QPushButton::clicked, this, &ReservationWindow::startOrStop);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&stations_, &QAbstractItemModel::dataChanged, this, &ReservationWindow::showRows);

    showRows();
    showStartStop();
    showRunning(panes_.listView, panes_.listModel, session_.reservationRunning.load());
}

void ReservationWindow::showRows() {
    std::vector<QStringList> rows;
    for (const Reservation& reservation : list_.rows()) {
        QStringList texts;
        for (const std::string& text : reservationRow(reservation, session_.addressBook)) texts << qs(text);
        rows.push_back(texts);
    }
    panes_.showRows(std::move(rows));
}

void ReservationWindow::tableReread() { showRows(); }

void ReservationWindow::showStartStop() {
    startStop_->setText(session_.reservationRunning.load() ? QStringLiteral("予約停止") : QStringLiteral("予約回収"));
}

void ReservationWindow::schedulerRunning(bool running) {
    if (!running) panes_.listModel->setHotRow(-1);
    showRunning(panes_.listView, panes_.listModel, running);
}

void ReservationWindow::reservationStarted(int row) { panes_.listModel->setHotRow(row); }

void ReservationWindow::addReservation(bool beforeSelected) {
    int station = panes_.chosenStation();
    int row = selectedRow(panes_.listView);
    if (!session_.addressBook.hasName(station) || (beforeSelected && row < 0)) return;
    std::optional<ReservationTime> time = ReservationTimeDialog::ask(ReservationTime{}, this);
    if (!time) return;
    // A list that could not be saved is reported by the core and left as it was.
    if (beforeSelected) list_.insertBefore(row, station, *time);
    else list_.add(station, *time);
    showRows();
}

void ReservationWindow::editTime() {
    int row = selectedRow(panes_.listView);
    std::vector<Reservation> rows = list_.rows();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    std::optional<ReservationTime> time =
        ReservationTimeDialog::ask(rows[static_cast<std::size_t>(row)].time, this);
    if (!time) return;
    list_.editTime(row, *time);
    showRows();
}

void ReservationWindow::remove() {
    int row = selectedRow(panes_.listView);
    if (row < 0) return;
    list_.remove(row);
    showRows();
}

void ReservationWindow::clear() {
    list_.clear();
    showRows();
}

void ReservationWindow::startOrStop() {
    if (scheduler_ == nullptr) return;
    if (session_.reservationRunning.load()) scheduler_->switchOff();
    else if (!scheduler_->switchOn())
        session_.host.report(otherSchedulerNotice(scheduler_->otherScheduler().value_or(SchedulerHolder{})));
    showStartStop();
}

void ReservationWindow::clearLog() {
    if (session_.host.ask(Question::YesNo, kLogClearQuestion) != Answer::Yes) return;
    std::error_code ec;
    std::filesystem::remove(session_.homeFile("RSV.LOG"), ec);
}

}  // namespace fenta21::gui
