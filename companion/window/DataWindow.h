#pragma once

#include "core/plot/PlotDocument.h"
#include "core/plot/store/StationSeries.h"
#include "core/plot/TimeWindow.h"
#include "core/protocol/ModelRegistry.h"

#include <QMainWindow>
#include <QStringList>

#include <string>

class QLabel;
class QMenu;
class QTabWidget;

namespace fenta21::plot {

class PlotView;
class SeriesTable;
class StationOverview;

// The data program's window: the plot of the open data files with the side table of its
// series, in a tab of its own so that other views (the station overview) can stand beside it,
// each listed in the "ｳｨﾝﾄﾞｳ(&W)" menu. Files are opened from the menu or dropped on the window,
// stations from the home folder's record store.
class DataWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit DataWindow(const std::string& homeFolder, QWidget* parent = nullptr);

    // Adds the series of data files to the plot and shows all. Files that cannot be read are
    // said in one message box; returns what was wrong with them, one line each.
    QStringList openFiles(const QStringList& paths);
    // Adds the series of a station of the record store; returns why it could not, or "" (the
    // window says it too).
    QString openStation(store::RecordStore& store, const StationChoice& choice);
    // The plot of a station of the home's record store alone, all of its series and records,
    // as a double-click in the station overview asks for it.
    void plotStation(const std::string& station);
    // Shows [from, to] (logger seconds) within the data, as a rubber band would.
    void showRange(double from, double to);
    // Closes every file.
    void closeAll();
    // Writes the visible range: the picture as it is on the screen (.png, .svg, .pdf) or the
    // visible records (.csv, code page 932 like the program's other CSV files). Returns why it
    // failed, or "".
    QString exportVisible(const QString& path);

    // Another view in a tab of its own, with its entry in the "ｳｨﾝﾄﾞｳ(&W)" menu.
    void addView(QWidget* view, const QString& title);

    PlotDocument& document() { return document_; }
    TimeWindow& timeWindow() { return window_; }
    PlotView* plotView() const { return plot_; }
    SeriesTable* seriesTable() const { return table_; }
    StationOverview* stationOverview() const { return overview_; }

    static constexpr const char* kCaption = "FENTA21(R) ﾃﾞｰﾀｸﾞﾗﾌ";

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildMenus();
    void chooseFiles();
    void chooseStation();
    void chooseExport(const QString& title, const QString& extension, const QString& filter);
    void documentChanged();
    void rangeChanged();
    void showReadout();
    QString sourcesText() const;

    const std::string homeFolder_;
    ModelRegistry models_;
    PlotDocument document_;
    TimeWindow window_;
    QTabWidget* tabs_ = nullptr;
    PlotView* plot_ = nullptr;
    StationOverview* overview_ = nullptr;
    SeriesTable* table_ = nullptr;
    QMenu* viewsMenu_ = nullptr;
    QLabel* readoutLabel_ = nullptr;
    QLabel* rangeLabel_ = nullptr;
    QString lastFolder_;
};

}  // namespace fenta21::plot
