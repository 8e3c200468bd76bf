#pragma once

#include <QWidget>

#include <string>

class QLabel;
class QTableWidget;

namespace fenta21::plot {

// The station overview: every station of the home's record store and address book with its
// health, worst first, coloured by state, with its attempts of the last 24 hours as a strip
// (collected, nothing new, failed). The columns sort by a click on their header; a double-click
// on a station asks for its plot. It reads the store when first shown, on "更新" and every minute.
class StationOverview : public QWidget {
    Q_OBJECT
public:
    explicit StationOverview(const std::string& homeFolder, QWidget* parent = nullptr);

    // Reads the store again; says why it could not in the overview itself.
    void refresh();

    enum Column { State, Name, Unit, Machine, LastAttempt, LastSuccess, FailuresInARow, Strip, Result, Columns };

signals:
    // The record store's station whose records the double-clicked station's files went to.
    void plotRequested(const QString& recordsStation);

protected:
    void showEvent(QShowEvent* event) override;

private:
    const std::string homeFolder_;
    QTableWidget* table_ = nullptr;
    QLabel* note_ = nullptr;
    bool shown_ = false;
};

}  // namespace fenta21::plot
