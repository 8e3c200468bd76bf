#include "gui/remote/ReservationWindow.h"

#include "core/app/Session.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ReservationRows.h"
#include "core/remote/Scheduler.h"
#include "gui/base/Text.h"
#include "gui/remote/CollectionListModel.h"
#include "gui/remote/ReservationNotice.h"
#include "gui/remote/ReservationTimeDialog.h"
#include "gui/remote/StationEditorDialog.h"
#include "gui/remote/StationListModel.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <filesystem>

namespace fenta21::gui {
namespace {

QStringList reservationHeadings() {
    QStringList headings;
    for (const ListColumn& column : reservationColumns()) headings << qs(column.heading);
    return headings;
}

std::vector<int> reservationWidths() {
    std::vector<int> widths;
    for (const ListColumn& column : reservationColumns()) widths.push_back(column.widthPixels);
    return widths;
}

}  // namespace

ReservationWindow::ReservationWindow(Session& session, StationListModel& stations, ReservationScheduler* scheduler,
                                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint),
      session_(session), stations_(stations), scheduler_(scheduler),
      list_(session, session.addressBook, session.reservations) {
    setObjectName("reservationWindow");
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    stationView_ = makeStationView(&stations_, "stationList", this);
    reservationModel_ = new CollectionListModel(reservationHeadings(), this);
    reservationView_ = makeListView("reservationList", this);
    reservationView_->setModel(reservationModel_);
    setColumnWidths(reservationView_, reservationWidths());
    for (QTreeView* view : {stationView_, reservationView_}) view->setMinimumSize(360, 300);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("アドレス帳の入力/選択"), this));
    left->addWidget(stationView_);
    QPushButton* stationProperties = addWindowButton(left, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), "stationPropertiesButton", this);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    QPushButton* add = addWindowButton(middle, QStringLiteral("追加 ->"), "addButton", this);
    QPushButton* insert = addWindowButton(middle, QStringLiteral("挿入 ->"), "insertButton", this);
    QPushButton* remove = addWindowButton(middle, QStringLiteral("削除 <-"), "removeButton", this);
    QPushButton* clear = addWindowButton(middle, QStringLiteral("全て削除"), "clearButton", this);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("予約回収リスト"), this));
    right->addWidget(reservationView_);
    QPushButton* timeProperties = addWindowButton(right, QStringLiteral("ﾌﾟﾛﾊﾟﾃｨ"), "timePropertiesButton", this);
    auto* bottom = new QHBoxLayout;
    QPushButton* showLog = addWindowButton(bottom, QStringLiteral("予約回収ログ表示"), "showLogButton", this);
    QPushButton* clearLog = addWindowButton(bottom, QStringLiteral("ログクリア"), "clearLogButton", this);
    bottom->addStretch();
    startStop_ = addWindowButton(bottom, QString(), "startStopButton", this);
    startStop_->setEnabled(scheduler_ != nullptr);
    QPushButton* close = addWindowButton(bottom, QStringLiteral("閉じる"), "closeButton", this);

    auto* layout = new QGridLayout(this);
    layout->addLayout(left, 0, 0);
    layout->addLayout(middle, 0, 1);
    layout->addLayout(right, 0, 2);
    layout->addLayout(bottom, 1, 0, 1, 3);

    connect(stationView_, &QTreeView::clicked, this, &ReservationWindow::stationClicked);
    connect(stationView_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
        stationClicked(index);
        editStation();
    });
    connect(stationProperties, &QPushButton::clicked, this, &ReservationWindow::editStation);
    connect(add, &QPushButton::clicked, this, [this] { addReservation(false); });
    connect(insert, &QPushButton::clicked, this, [this] { addReservation(true); });
    connect(remove, &QPushButton::clicked, this, &ReservationWindow::remove);
    connect(clear, &QPushButton::clicked, this, &ReservationWindow::clear);
    connect(timeProperties, &QPushButton::clicked, this, &ReservationWindow::editTime);
    connect(reservationView_, &QTreeView::doubleClicked, this, &ReservationWindow::editTime);
    connect(showLog, &QPushButton::clicked, this, [this] { openReservationLog(session_); });
    connect(clearLog, &QPushButton::clicked, this, &ReservationWindow::clearLog);
    connect(startStop_, &QPushButton::clicked, this, &ReservationWindow::startOrStop);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(&stations_, &QAbstractItemModel::dataChanged, this, &ReservationWindow::showRows);

    showRows();
    showStartStop();
    showRunning(reservationView_, reservationModel_, session_.reservationRunning.load());
}

void ReservationWindow::showRows() {
    std::vector<QStringList> rows;
    for (const Reservation& reservation : list_.rows()) {
        QStringList texts;
        for (const std::string& text : reservationRow(reservation, session_.addressBook)) texts << qs(text);
        rows.push_back(texts);
    }
    int selected = selectedRow(reservationView_);
    int hot = reservationModel_->hotRow();
    reservationModel_->setRows(std::move(rows));
    reservationModel_->setHotRow(hot);
    if (selected >= 0 && selected < reservationModel_->rowCount())
        reservationView_->setCurrentIndex(reservationModel_->index(selected, 0));
}

void ReservationWindow::showStartStop() {
    startStop_->setText(session_.reservationRunning.load() ? QStringLiteral("予約停止") : QStringLiteral("予約回収"));
}

void ReservationWindow::schedulerRunning(bool running) {
    if (!running) reservationModel_->setHotRow(-1);
    showRunning(reservationView_, reservationModel_, running);
}

void ReservationWindow::reservationStarted(int row) { reservationModel_->setHotRow(row); }

void ReservationWindow::stationClicked(const QModelIndex& index) {
    if (index.isValid()) session_.reports.currentStation.store(index.row());
}

void ReservationWindow::editStation() {
    int station = session_.reports.currentStation.load();
    if (!isStationIndex(station)) return;
    if (!StationEditorDialog::edit(session_, station, this)) return;
    storeAddressBook(session_, session_.addressBook);
    stations_.refreshRow(station);
}

void ReservationWindow::addReservation(bool beforeSelected) {
    int station = session_.reports.currentStation.load();
    int row = selectedRow(reservationView_);
    if (!session_.addressBook.hasName(station) || (beforeSelected && row < 0)) return;
    std::optional<ReservationTime> time = ReservationTimeDialog::ask(ReservationTime{}, this);
    if (!time) return;
    // A list that could not be saved is reported by the core and left as it was.
    if (beforeSelected) list_.insertBefore(row, station, *time);
    else list_.add(station, *time);
    showRows();
}

void ReservationWindow::editTime() {
    int row = selectedRow(reservationView_);
    std::vector<Reservation> rows = list_.rows();
    if (row < 0 || row >= static_cast<int>(rows.size())) return;
    std::optional<ReservationTime> time =
        ReservationTimeDialog::ask(rows[static_cast<std::size_t>(row)].time, this);
    if (!time) return;
    list_.editTime(row, *time);
    showRows();
}

void ReservationWindow::remove() {
    int row = selectedRow(reservationView_);
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
    else scheduler_->switchOn();
    showStartStop();
}

void ReservationWindow::clearLog() {
    if (session_.host.ask(Question::YesNo, kLogClearQuestion) != Answer::Yes) return;
    std::error_code ec;
    std::filesystem::remove(session_.homeFile("RSV.LOG"), ec);
}

}  // namespace fenta21::gui
