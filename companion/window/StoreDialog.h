#pragma once

#include "core/plot/store/StationSeries.h"
#include "core/store/RecordStore.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QListWidget;

namespace fenta21::plot {

// The choice of what to plot from the record store: a station from the list, its series (each
// switched on to start with) and the stretch of time in the station's own clock, from its first
// record to its last to start with. It only asks; the window reads the records.
class StoreDialog : public QDialog {
    Q_OBJECT
public:
    StoreDialog(store::RecordStore& store, QWidget* parent = nullptr);

    StationChoice choice() const;

private:
    void showStation(int index);

    store::RecordStore& store_;
    std::vector<store::StationRow> stations_;
    std::vector<store::SeriesRow> series_;
    QComboBox* stationList_ = nullptr;
    QListWidget* seriesList_ = nullptr;
    QDateTimeEdit* from_ = nullptr;
    QDateTimeEdit* to_ = nullptr;
    QLabel* offset_ = nullptr;
    QLabel* problem_ = nullptr;
};

}  // namespace fenta21::plot
