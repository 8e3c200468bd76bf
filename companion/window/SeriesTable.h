#pragma once

#include "core/plot/PlotDocument.h"

#include <QTableWidget>

namespace fenta21::plot {

// The side table: a row per series with its switch, its unit, and its minimum, maximum, mean
// and record count over the visible range.
class SeriesTable : public QTableWidget {
    Q_OBJECT
public:
    enum Column { Name, Unit, Min, Max, Mean, Count };

    SeriesTable(PlotDocument& document, QWidget* parent = nullptr);

    // The series were added or removed: a row for each, switched as the document has it.
    void rebuild();
    // The visible range changed: its statistics afresh.
    void showRange(double from, double to);

signals:
    // A series was switched on or off from its row.
    void visibilityChanged();

private:
    void fitWidth();

    PlotDocument& document_;
    bool filling_ = false;
};

}  // namespace fenta21::plot
