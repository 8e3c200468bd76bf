#include "companion/window/StationOverview.h"

#include "core/base/Clock.h"
#include "core/health/AttemptStrip.h"
#include "core/health/HealthTime.h"
#include "core/health/StoreHealth.h"
#include "core/store/RecordStore.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace fenta21::plot {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

constexpr int kSortRole = Qt::UserRole;
constexpr int kStripRole = Qt::UserRole + 1;

// An item that sorts by the value kept beside its text (a state's rank, a time), so that
// "failing" sorts before "late" and times in their order, whatever their text.
class SortItem : public QTableWidgetItem {
public:
    SortItem(const QString& text, const QVariant& key) : QTableWidgetItem(text) { setData(kSortRole, key); }
    bool operator<(const QTableWidgetItem& other) const override {
        return QVariant::compare(data(kSortRole), other.data(kSortRole)) == QPartialOrdering::Less;
    }
};

QColor stateColour(HealthState state) {
    switch (state) {
        case HealthState::Failing: return QColor(0xf4, 0xb4, 0xb4);
        case HealthState::Late: return QColor(0xff, 0xdd, 0x99);
        case HealthState::Unknown: return QColor(0xdd, 0xdd, 0xdd);
        case HealthState::Normal: break;
    }
    return QColor(0xc8, 0xeb, 0xc8);
}

QString stateText(HealthState state) {
    switch (state) {
        case HealthState::Failing: return QStringLiteral("異常");
        case HealthState::Late: return QStringLiteral("遅延");
        case HealthState::Unknown: return QStringLiteral("未回収");
        case HealthState::Normal: break;
    }
    return QStringLiteral("正常");
}

QColor markColour(StripMark mark) {
    switch (mark) {
        case StripMark::Collected: return QColor(0x2e, 0x9e, 0x44);
        case StripMark::NothingNew: return QColor(0x3b, 0x7d, 0xd8);
        case StripMark::Failed: break;
    }
    return QColor(0xd6, 0x2d, 0x2d);
}

QString timeText(const std::optional<EpochSeconds>& time) {
    if (!time) return QStringLiteral("-");
    return QDateTime::fromSecsSinceEpoch(*time).toString("yyyy/MM/dd HH:mm");
}

// The 24-hour strip: a mark for each attempt where it started, quarter days ticked.
class StripDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QRectF area = QRectF(option.rect).adjusted(4, 4, -4, -4);
        painter->save();
        painter->fillRect(area, QColor(0xf7, 0xf7, 0xf7));
        painter->setPen(QColor(0xbb, 0xbb, 0xbb));
        for (int quarter = 0; quarter <= 4; ++quarter) {
            double x = area.left() + area.width() * quarter / 4;
            painter->drawLine(QPointF(x, area.bottom() - 3), QPointF(x, area.bottom()));
        }
        const QVariantList marks = index.data(kStripRole).toList();
        for (const QVariant& each : marks) {
            const QPointF mark = each.toPointF();  // x: position along the day, y: the mark
            double x = area.left() + mark.x() * area.width();
            painter->fillRect(QRectF(x - 1.5, area.top() + 1, 3, area.height() - 5),
                              markColour(static_cast<StripMark>(static_cast<int>(mark.y()))));
        }
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QStyledItemDelegate::sizeHint(option, index).expandedTo(QSize(240, 22));
    }
};

}  // namespace

StationOverview::StationOverview(const std::string& homeFolder, QWidget* parent)
    : QWidget(parent), homeFolder_(homeFolder) {
    setObjectName("stationOverview");
    table_ = new QTableWidget(0, Columns);
    table_->setObjectName("stationTable");
    table_->setHorizontalHeaderLabels({QStringLiteral("状態"), QStringLiteral("局名"), QStringLiteral("ﾕﾆｯﾄ"),
                                       QStringLiteral("回収PC"), QStringLiteral("最終回収"), QStringLiteral("最終成功"),
                                       QStringLiteral("連続失敗"), QStringLiteral("24時間"), QStringLiteral("結果")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setItemDelegateForColumn(Strip, new StripDelegate(table_));
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        QString station = table_->item(row, Name)->data(kStripRole).toString();
        if (!station.isEmpty()) emit plotRequested(station);
    });

    note_ = new QLabel;
    note_->setObjectName("overviewNote");
    auto* again = new QPushButton(QStringLiteral("更新"));
    again->setObjectName("refreshOverview");
    connect(again, &QPushButton::clicked, this, &StationOverview::refresh);
    auto* bar = new QHBoxLayout;
    bar->addWidget(note_, 1);
    bar->addWidget(again);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(table_);

    auto* minute = new QTimer(this);
    connect(minute, &QTimer::timeout, this, [this] {
        if (isVisible()) refresh();
    });
    minute->start(60'000);
}

void StationOverview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shown_) refresh();
    shown_ = true;
}

void StationOverview::refresh() {
    std::unique_ptr<store::RecordStore> records;
    HomeHealth health;
    // The programs' clock, so that FENTA21_START_TIME shows a demo at its own time.
    std::unique_ptr<SystemClock> clock = clockFromEnvironment();
    const EpochSeconds now = epochOfLocalTime(clock ? clock->localTime() : SystemClock().localTime());
    try {
        records = store::openHomeStore(homeFolder_);
        if (records) health = storeHealthOfHome(*records, homeFolder_, now);
    } catch (const store::StoreError& e) {
        note_->setText(QStringLiteral("記録ｽﾄｱを読めません!! ") + qs(e.what()));
        return;
    }
    if (!records) {
        note_->setText(QStringLiteral("記録ｽﾄｱが設定されていません!! (fenta21-cli db init で設定します)"));
        return;
    }
    table_->setSortingEnabled(false);
    table_->setRowCount(static_cast<int>(health.stations.size()));
    int worst = 0;
    for (std::size_t i = 0; i < health.stations.size(); ++i) {
        const StationHealth& station = health.stations[i];
        const int row = static_cast<int>(i);
        std::optional<EpochSeconds> lastAttempt;
        if (station.tally.lastAttempt) lastAttempt = station.tally.lastAttempt->ended;
        QVariantList strip;
        for (const StripEntry& entry : attemptStrip(station.lastDay, now))
            strip << QPointF(entry.position, static_cast<int>(entry.mark));
        auto* name = new SortItem(qs(station.key().station), qs(station.key().station));
        name->setData(kStripRole, qs(station.recordsStation));
        auto* marks = new SortItem(QString(), static_cast<int>(strip.size()));
        marks->setData(kStripRole, strip);
        const QList<QTableWidgetItem*> items{
            new SortItem(stateText(station.state), static_cast<int>(station.state)),
            name,
            new SortItem(QString::number(station.key().unit), station.key().unit),
            new SortItem(qs(station.key().machine), qs(station.key().machine)),
            new SortItem(timeText(lastAttempt), QVariant::fromValue<qlonglong>(lastAttempt.value_or(0))),
            new SortItem(timeText(station.tally.lastSuccess),
                         QVariant::fromValue<qlonglong>(station.tally.lastSuccess.value_or(0))),
            new SortItem(QString::number(station.tally.consecutiveFailures), station.tally.consecutiveFailures),
            marks,
            new SortItem(station.tally.lastAttempt ? qs(station.tally.lastAttempt->message).trimmed() : QString(),
                         station.tally.lastAttempt ? qs(station.tally.lastAttempt->message) : QString()),
        };
        for (int column = 0; column < Columns; ++column) {
            items[column]->setBackground(stateColour(station.state));
            table_->setItem(row, column, items[column]);
        }
        if (station.state == HealthState::Failing || station.state == HealthState::Late) ++worst;
    }
    table_->setSortingEnabled(true);
    table_->sortItems(State, Qt::AscendingOrder);
    table_->resizeColumnsToContents();
    note_->setText(QStringLiteral("%1局 (異常・遅延 %2局)  %3 更新")
                       .arg(health.stations.size())
                       .arg(worst)
                       .arg(QDateTime::fromSecsSinceEpoch(now).toString("yyyy/MM/dd HH:mm")));
}

}  // namespace fenta21::plot
