#include "companion/window/SeriesTable.h"

#include "companion/plot/PlotPicture.h"
#include "core/plot/SampleText.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QPainter>
#include <QPixmap>

namespace fenta21::plot {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

// The trace's colour beside its name, so that the row and the legend are found together.
QIcon swatch(std::size_t series) {
    QPixmap picture(14, 14);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.fillRect(QRect(1, 5, 12, 4), seriesColor(series));
    return QIcon(picture);
}

}  // namespace

SeriesTable::SeriesTable(PlotDocument& document, QWidget* parent) : QTableWidget(parent), document_(document) {
    setObjectName("seriesTable");
    setColumnCount(6);
    setHorizontalHeaderLabels({QStringLiteral("系列"), QStringLiteral("単位"), QStringLiteral("最小"),
                               QStringLiteral("最大"), QStringLiteral("平均"), QStringLiteral("件数")});
    verticalHeader()->hide();
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    connect(this, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (filling_ || item->column() != Name) return;
        document_.setVisible(static_cast<std::size_t>(item->row()), item->checkState() == Qt::Checked);
        emit visibilityChanged();
    });
}

void SeriesTable::rebuild() {
    filling_ = true;
    setRowCount(static_cast<int>(document_.series().size()));
    for (std::size_t i = 0; i < document_.series().size(); ++i) {
        int row = static_cast<int>(i);
        auto* name = new QTableWidgetItem(swatch(i), qs(document_.label(i)));
        name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        name->setCheckState(document_.visible(i) ? Qt::Checked : Qt::Unchecked);
        setItem(row, Name, name);
        setItem(row, Unit, new QTableWidgetItem(qs(document_.series()[i].info.unit)));
        for (int column : {Min, Max, Mean, Count}) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(row, column, cell);
        }
    }
    filling_ = false;
    fitWidth();
}

void SeriesTable::fitWidth() {
    // Wide enough for every column: the plot beside it gives way, not the numbers.
    setMinimumWidth(horizontalHeader()->length() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
}

void SeriesTable::showRange(double from, double to) {
    filling_ = true;
    for (std::size_t i = 0; i < document_.series().size() && i < static_cast<std::size_t>(rowCount()); ++i) {
        StatsText text = statsText(document_.series()[i].info, document_.stats(i, from, to));
        int row = static_cast<int>(i);
        item(row, Min)->setText(qs(text.min));
        item(row, Max)->setText(qs(text.max));
        item(row, Mean)->setText(qs(text.mean));
        item(row, Count)->setText(qs(text.count));
    }
    filling_ = false;
    fitWidth();
}

}  // namespace fenta21::plot
