#include "companion/window/StoreDialog.h"

#include "core/store/StoreTime.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimeZone>
#include <QVBoxLayout>

namespace fenta21::plot {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

// A time on the station's clock is shown as it reads, whatever the computer's own zone.
QDateTime clockTime(std::int64_t seconds) { return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc()); }

QDateTimeEdit* timeField(const char* name) {
    auto* field = new QDateTimeEdit;
    field->setObjectName(name);
    field->setTimeSpec(Qt::UTC);
    field->setDisplayFormat(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    field->setCalendarPopup(true);
    return field;
}

}  // namespace

StoreDialog::StoreDialog(store::RecordStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setObjectName("storeDialog");
    setWindowTitle(QStringLiteral("記録ｽﾄｱを開く"));
    stationList_ = new QComboBox;
    stationList_->setObjectName("stations");
    seriesList_ = new QListWidget;
    seriesList_->setObjectName("series");
    from_ = timeField("from");
    to_ = timeField("to");
    offset_ = new QLabel;
    problem_ = new QLabel;
    problem_->setObjectName("problem");
    problem_->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("観測局:"), stationList_);
    form->addRow(QStringLiteral("系列:"), seriesList_);
    form->addRow(QStringLiteral("開始:"), from_);
    form->addRow(QStringLiteral("終了:"), to_);
    form->addRow(QStringLiteral("時刻:"), offset_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("表示"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("ｷｬﾝｾﾙ"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(problem_);
    layout->addWidget(buttons);

    try {
        stations_ = store_.stations();
    } catch (const store::StoreError& e) {
        problem_->setText(qs(e.what()));
    }
    for (const store::StationRow& station : stations_) stationList_->addItem(qs(station.name));
    connect(stationList_, &QComboBox::currentIndexChanged, this, &StoreDialog::showStation);
    if (stations_.empty() && problem_->text().isEmpty()) problem_->setText(QStringLiteral("記録ｽﾄｱに観測局がありません"));
    buttons->button(QDialogButtonBox::Ok)->setEnabled(!stations_.empty());
    showStation(stationList_->currentIndex());
    resize(460, 480);
}

void StoreDialog::showStation(int index) {
    seriesList_->clear();
    series_.clear();
    if (index < 0 || index >= static_cast<int>(stations_.size())) return;
    const store::StationRow& station = stations_[static_cast<std::size_t>(index)];
    const std::int64_t offset = station.utcOffsetMinutes * 60LL;
    offset_->setText(QStringLiteral("UTC") + qs(store::utcOffsetText(station.utcOffsetMinutes)));
    if (station.firstUtc && station.lastUtc) {
        for (QDateTimeEdit* field : {from_, to_})
            field->setDateTimeRange(clockTime(*station.firstUtc + offset), clockTime(*station.lastUtc + offset));
        from_->setDateTime(clockTime(*station.firstUtc + offset));
        to_->setDateTime(clockTime(*station.lastUtc + offset));
    }
    try {
        series_ = store_.series(station.name);
    } catch (const store::StoreError& e) {
        problem_->setText(qs(e.what()));
    }
    for (const store::SeriesRow& row : series_) {
        auto* item = new QListWidgetItem(qs(row.name) + QStringLiteral(" (CH") + QString::number(row.channel + 1) +
                                         QStringLiteral(", ") + QString::number(row.records) + QStringLiteral("件)"));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
        seriesList_->addItem(item);
    }
}

StationChoice StoreDialog::choice() const {
    StationChoice chosen;
    int index = stationList_->currentIndex();
    if (index < 0 || index >= static_cast<int>(stations_.size())) return chosen;
    chosen.station = stations_[static_cast<std::size_t>(index)].name;
    for (int row = 0; row < seriesList_->count() && row < static_cast<int>(series_.size()); ++row)
        if (seriesList_->item(row)->checkState() == Qt::Checked) chosen.seriesIds.push_back(series_[static_cast<std::size_t>(row)].id);
    // None switched on is no series at all, not every one.
    if (chosen.seriesIds.empty()) chosen.seriesIds.push_back(-1);
    chosen.from = from_->dateTime().toSecsSinceEpoch();
    chosen.to = to_->dateTime().toSecsSinceEpoch();
    return chosen;
}

}  // namespace fenta21::plot
