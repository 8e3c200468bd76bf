// The data program's window on a golden data file: what it draws, how the mouse and keys move
// the visible range, and that the crosshair and the side table tell what the CSV converter
// makes of the same records.
#include "tests/gui/DataPlotWindowTest.h"

#include "companion/window/DataWindow.h"
#include "companion/window/PlotView.h"
#include "companion/window/SeriesTable.h"
#include "companion/window/StationOverview.h"
#include "companion/window/StoreDialog.h"
#include "core/base/Cp932.h"
#include "core/collect/CollectResult.h"
#include "core/base/Files.h"
#include "core/datafile/CsvConversion.h"
#include "core/plot/LoggerSeconds.h"
#include "core/plot/TimeText.h"
#include "core/store/StoreSettings.h"
#include "sim/image/DataImage.h"
#include "sim/image/ImageRecipeText.h"
#include "tests/support/TempHome.h"

#include <QAction>
#include <QDateTimeEdit>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QMimeData>
#include <QSvgRenderer>
#include <QUrl>
#include <QXmlStreamReader>
#include <QtTest>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>

using namespace fenta21;
using namespace fenta21::plot;
using fenta21::test::TempHome;

namespace {

// The wind station's week: ten-minute records with seven hours missing on the fourth day.
constexpr const char* kGolden = "wind_station";
constexpr double kInterval = 600;

std::string goldenImage() {
    std::string recipe = test::readFileBytes(std::string(FENTA21_GOLDEN_DIR) + "/plot/" + kGolden + ".recipe");
    sim::ParsedRecipe parsed = sim::parseImageRecipe(recipe);
    if (!parsed.error.empty()) qFatal("%s", parsed.error.c_str());
    return sim::buildDataImage(parsed.recipe);
}

// The CSV converter's view of the same file: each time with its cells, by column name.
struct CsvRecords {
    std::vector<std::string> names;
    std::map<std::int64_t, std::vector<std::string>> rows;

    int column(const std::string& name) const {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return static_cast<int>(i);
        return -1;
    }
};

std::vector<std::string> cells(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = line.find(',', start);
        out.push_back(line.substr(start, comma - start));
        if (comma == std::string::npos) return out;
        start = comma + 1;
    }
}

std::string trimmed(std::string text) {
    while (!text.empty() && text.front() == ' ') text.erase(text.begin());
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

CsvRecords convertedRecords(const std::string& image) {
    ModelRegistry models(FENTA21_CONFIG_DIR);
    models.loadModelTable();
    CsvConversion conversion = convertImageToCsv(image, "golden.v38", {identifyThrough(models), {}});
    if (conversion.outcome != ConversionOutcome::Completed) qFatal("%s", conversion.failure.c_str());
    CsvRecords records;
    std::string text = cp932ToUtf8(conversion.csv);
    std::size_t start = 0;
    for (int line = 0; start < text.size(); ++line) {
        std::size_t end = text.find("\r\n", start);
        std::vector<std::string> row = cells(text.substr(start, end - start));
        start = end + 2;
        if (line == 7) records.names.assign(row.begin() + 2, row.end());
        if (line < 9) continue;  // the model, six memo lines and the heading pair
        int y, mo, d, h, mi, s;
        std::sscanf((row[0] + " " + row[1]).c_str(), "%d/%d/%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
        records.rows[civilSeconds(y, mo, d, h, mi, s)].assign(row.begin() + 2, row.end());
    }
    return records;
}

class OpenWindow {
public:
    OpenWindow() : image(goldenImage()), file(home.file("KAWABE_260408.v38")) {
        writeFileAtomically(file, image);
        window = std::make_unique<DataWindow>(FENTA21_CONFIG_DIR);
        window->resize(1400, 900);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) qFatal("the window did not show");
        QStringList problems = window->openFiles({QString::fromStdString(file)});
        if (!problems.isEmpty()) qFatal("%s", qPrintable(problems.join('\n')));
        QApplication::processEvents();
    }

    PlotView* view() const { return window->plotView(); }
    const PictureGeometry& geometry() const { return view()->geometry(); }
    double xOf(double t) const { return geometry().xOf(t); }
    std::size_t series(const std::string& name) const {
        for (std::size_t i = 0; i < window->document().series().size(); ++i)
            if (window->document().series()[i].info.name == name) return i;
        qFatal("no series %s", name.c_str());
    }

    TempHome home;
    std::string image;
    std::string file;
    std::unique_ptr<DataWindow> window;
};

void sendMouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(at), widget->mapToGlobal(QPointF(at)), button, held, modifiers);
    QApplication::sendEvent(widget, &event);
}

void drag(QWidget* widget, QPoint from, QPoint to, Qt::MouseButton button) {
    sendMouse(widget, QEvent::MouseButtonPress, from, button, button);
    sendMouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
    sendMouse(widget, QEvent::MouseMove, to, Qt::NoButton, button);
    sendMouse(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

// Pixels of a colour within a rectangle of a picture.
int pixelsOf(const QImage& picture, QRect area, QColor colour) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (picture.pixelColor(x, y) == colour) ++count;
    return count;
}

}  // namespace

void DataPlotWindowTest::droppedGoldenFileShowsTracesAxesAndGap() {
    TempHome home;
    std::string file = home.file("KAWABE_260408.v38");
    writeFileAtomically(file, goldenImage());
    DataWindow window(FENTA21_CONFIG_DIR);
    window.resize(1400, 900);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QMimeData dropped;
    dropped.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QVERIFY(window.windowTitle().contains(QStringLiteral("KAWABE_260408.v38")));

    // Seven series in five panes: the two wind speeds share m/s, the two directions the
    // compass, then the gust's time of day, the temperature and the battery.
    const PlotDocument& document = window.document();
    QCOMPARE(document.series().size(), std::size_t{7});
    QApplication::processEvents();
    QImage picture = window.plotView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const PictureGeometry& g = window.plotView()->geometry();
    QCOMPARE(g.panes.size(), std::size_t{5});
    const std::vector<std::string> units{"m/s", "", "", "ﾟC", "mV"};
    const double first = static_cast<double>(document.extent()->first), last = static_cast<double>(document.extent()->second);
    QCOMPARE(g.from, first);
    QCOMPARE(g.to, last);
    QVERIFY(g.timeTicks.size() >= 4);
    for (std::size_t p = 0; p < g.panes.size(); ++p) {
        const PaneGeometry& pane = g.panes[p];
        QCOMPARE(pane.pane.unit, units[p]);
        QVERIFY(pane.axis.ticks.size() >= 2);
        // Every trace's records lie within its pane's scale, and each trace is drawn in it.
        for (std::size_t i : pane.pane.series) {
            RangeStats stats = document.stats(i, first, last);
            QVERIFY(stats.min >= pane.axis.low && stats.max <= pane.axis.high);
            QVERIFY2(pixelsOf(picture, pane.rect.toAlignedRect().adjusted(1, 1, -1, -1), seriesColor(i)) > 200,
                     document.label(i).c_str());
        }
    }
    // No trace crosses the seven hours without records (instants 470 to 511).
    const double gapFrom = first + 471 * kInterval, gapTo = first + 510 * kInterval;
    const QRectF& speeds = g.panes[0].rect;
    QRect gapArea(QPoint(int(g.xOf(gapFrom)) + 2, int(speeds.top()) + 1), QPoint(int(g.xOf(gapTo)) - 2, int(speeds.bottom()) - 1));
    QCOMPARE(pixelsOf(picture, gapArea, seriesColor(0)) + pixelsOf(picture, gapArea, seriesColor(1)), 0);
}

void DataPlotWindowTest::mouseAndKeysChangeTheRange_data() {
    QTest::addColumn<QString>("gesture");
    QTest::newRow("wheel forward zooms in about the cursor") << "wheel";
    QTest::newRow("a drag to the right shows earlier records") << "drag";
    QTest::newRow("a right drag zooms to the band") << "band";
    QTest::newRow("Right moves on by a tenth") << "right";
    QTest::newRow("Home shows all again") << "home";
}

void DataPlotWindowTest::mouseAndKeysChangeTheRange() {
    QFETCH(QString, gesture);
    OpenWindow open;
    PlotView* view = open.view();
    TimeWindow& range = open.window->timeWindow();
    // From the middle third of the week, so that every gesture has room either way.
    const double first = range.extentFrom(), last = range.extentTo(), week = last - first;
    open.window->showRange(first + week / 3, first + 2 * week / 3);
    (void)view->grab();
    const double from = range.from(), to = range.to(), span = to - from;
    const QRectF area = open.geometry().plotArea;
    const QPoint at(int(area.left() + area.width() / 4), int(area.center().y()));
    const double timeAtCursor = open.geometry().timeAt(at.x());

    if (gesture == "wheel") {
        QWheelEvent wheel(QPointF(at), view->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
        QVERIFY(range.span() < span * 0.9);
        QVERIFY(std::abs(open.geometry().timeAt(at.x()) - timeAtCursor) < span / 1000);
    } else if (gesture == "drag") {
        drag(view, at, at + QPoint(200, 0), Qt::LeftButton);
        QVERIFY(std::abs(range.from() - (from - 200 * span / area.width())) < span / 1000);
        QVERIFY(std::abs(range.span() - span) < 1e-6);
    } else if (gesture == "band") {
        drag(view, at, at + QPoint(300, 0), Qt::RightButton);
        QVERIFY(std::abs(range.from() - timeAtCursor) < span / 1000);
        QVERIFY(std::abs(range.span() - 300 * span / area.width()) < span / 1000);
    } else if (gesture == "right") {
        QTest::keyClick(view, Qt::Key_Right);
        QVERIFY(std::abs(range.from() - (from + span / 10)) < 1e-6);
    } else {
        QTest::keyClick(view, Qt::Key_Home);
        QCOMPARE(range.from(), first);
        QCOMPARE(range.to(), last);
    }
    // What is drawn, and the range the window shows beneath it, follow.
    QApplication::processEvents();
    (void)view->grab();
    QCOMPARE(open.geometry().from, range.from());
    QCOMPARE(open.geometry().to, range.to());
    QVERIFY(open.window->findChild<QLabel*>("visibleRange")->text().contains(
        QString::fromStdString(timeText(static_cast<std::int64_t>(std::floor(range.from()))))));
}

void DataPlotWindowTest::crosshairReadsTheRecordsOfTheCsv_data() {
    QTest::addColumn<int>("instant");
    QTest::addColumn<int>("zoomHours");  // 0: the whole week
    QTest::newRow("first record, whole week") << 0 << 0;
    QTest::newRow("a record among many per pixel") << 301 << 0;
    QTest::newRow("just before the gap, zoomed to a day") << 469 << 24;
    QTest::newRow("just after the gap, zoomed to six hours") << 512 << 6;
    QTest::newRow("last record, zoomed to two hours") << 1007 << 2;
}

void DataPlotWindowTest::crosshairReadsTheRecordsOfTheCsv() {
    QFETCH(int, instant);
    QFETCH(int, zoomHours);
    OpenWindow open;
    CsvRecords csv = convertedRecords(open.image);
    TimeWindow& range = open.window->timeWindow();
    const double at = range.extentFrom() + instant * kInterval;
    if (zoomHours > 0) open.window->showRange(at - zoomHours * 1800.0, at + zoomHours * 1800.0);
    (void)open.view()->grab();
    open.view()->pointAt(QPoint(int(std::lround(open.xOf(at))), int(open.geometry().panes[0].rect.center().y())));

    const Readout& readout = open.view()->readout();
    QVERIFY(readout.at.has_value());
    QCOMPARE(static_cast<double>(*readout.at), at);
    const std::vector<std::string>& row = csv.rows.at(*readout.at);
    QCOMPARE(readout.rows.size(), std::size_t{7});
    for (const ReadoutRow& shown : readout.rows) {
        const SeriesInfo& info = open.window->document().series()[shown.series].info;
        int column = csv.column(info.name);
        QVERIFY2(column >= 0, info.name.c_str());
        std::string cell = trimmed(row[static_cast<std::size_t>(column)]);
        if (info.type == ValueType::Number) QCOMPARE(std::stod(shown.text), std::stod(cell));
        else QCOMPARE(shown.text, cell);
    }
    // The status bar reads the same.
    QVERIFY(open.window->findChild<QLabel*>("readout")->text().startsWith(QString::fromStdString(readout.timeText)));
}

void DataPlotWindowTest::sideTableAgreesWithTheCsvOverTheRange() {
    OpenWindow open;
    CsvRecords csv = convertedRecords(open.image);
    TimeWindow& range = open.window->timeWindow();
    // Two days and a bit across the gap, from a time between records to one on a record.
    const double from = range.extentFrom() + 401.5 * kInterval, to = range.extentFrom() + 700 * kInterval;
    open.window->showRange(from, to);
    QCOMPARE(range.from(), from);

    SeriesTable* table = open.window->seriesTable();
    for (const char* name : {"平均風速", "最大瞬間風速", "気温", "電圧"}) {
        int column = csv.column(name);
        double min = 1e300, max = -1e300, sum = 0;
        int count = 0;
        for (const auto& [time, cellsOfRow] : csv.rows) {
            if (time < from || time > to) continue;
            double value = std::stod(cellsOfRow[static_cast<std::size_t>(column)]);
            min = std::min(min, value), max = std::max(max, value), sum += value, ++count;
        }
        int row = static_cast<int>(open.series(name));
        QCOMPARE(table->item(row, SeriesTable::Min)->text().toDouble(), min);
        QCOMPARE(table->item(row, SeriesTable::Max)->text().toDouble(), max);
        QCOMPARE(table->item(row, SeriesTable::Count)->text().toInt(), count);
        // The mean is shown to one decimal more than the records.
        const double shownMean = table->item(row, SeriesTable::Mean)->text().toDouble();
        const int decimals = open.window->document().series()[open.series(name)].info.decimals;
        QVERIFY2(std::abs(shownMean - sum / count) <= 0.5 * std::pow(10.0, -(decimals + 1)) + 1e-9, name);
    }
    // A series switched off leaves the plot but keeps its row.
    table->item(0, SeriesTable::Name)->setCheckState(Qt::Unchecked);
    QVERIFY(!open.window->document().visible(0));
    QCOMPARE(table->rowCount(), 7);
}

void DataPlotWindowTest::exportsTheVisibleRange() {
    OpenWindow open;
    TimeWindow& range = open.window->timeWindow();
    open.window->showRange(range.extentFrom() + 100 * kInterval, range.extentFrom() + 159 * kInterval);
    for (const char* name : {"range.png", "range.svg", "range.pdf", "range.csv"}) {
        QString path = QString::fromStdString(open.home.file(name));
        QCOMPARE(open.window->exportVisible(path), QString());
        std::string bytes = test::readFileBytes(path.toStdString());
        QVERIFY2(!bytes.empty(), name);
        if (path.endsWith(".png")) {
            QImage picture(path);
            QCOMPARE(picture.size(), open.view()->size());
        } else if (path.endsWith(".svg")) {
            QXmlStreamReader xml(QByteArray::fromStdString(bytes));
            while (!xml.atEnd()) xml.readNext();
            QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
            QVERIFY(QSvgRenderer(path).isValid());
        } else if (path.endsWith(".pdf")) {
            QVERIFY(bytes.rfind("%PDF-", 0) == 0);
        } else {
            // A line per record time in the range, under the names and the units.
            std::string text = cp932ToUtf8(bytes);
            int lines = 0;
            for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
            QCOMPARE(lines, 2 + 60);
            QVERIFY(text.rfind("date,time,平均風速,最大瞬間風速,", 0) == 0);
            QVERIFY(text.find("2026/04/01,16:40:00,") != std::string::npos);
        }
    }
}

void DataPlotWindowTest::stationOfTheStoreOpensThroughItsDialog() {
    TempHome home;
    const std::string file = home.file("KAWABE_260408_0000.v38");
    writeFileAtomically(file, goldenImage());
    ModelRegistry models(FENTA21_CONFIG_DIR);
    models.loadModelTable();
    std::unique_ptr<store::RecordStore> records = store::openRecordStore("records.sqlite", home.path());
    store::ImportOptions options;
    options.identifyModel = identifyThrough(models);
    records->importFile(file, options);
    std::string problem;
    QVERIFY(store::saveStoreLocation(home.path(), "records.sqlite", problem));
    records.reset();

    DataWindow window(home.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The dialog lists the station with its seven series and its first and last record; the
    // directions are switched off and the range starts a day later.
    QStringList listed;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<StoreDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) return;
        auto* series = dialog->findChild<QListWidget*>("series");
        for (int row = 0; row < series->count(); ++row) listed << series->item(row)->text();
        for (int row : {2, 3}) series->item(row)->setCheckState(Qt::Unchecked);
        auto* from = dialog->findChild<QDateTimeEdit*>("from");
        listed << from->dateTime().toString("yyyy/MM/dd HH:mm:ss")
               << dialog->findChild<QDateTimeEdit*>("to")->dateTime().toString("yyyy/MM/dd HH:mm:ss");
        from->setDateTime(from->dateTime().addDays(1));
        dialog->accept();
    });
    window.findChild<QAction*>("openStore")->trigger();
    QCOMPARE(listed.size(), 9);
    QCOMPARE(listed[0], QStringLiteral("平均風速 (CH1, 966件)"));
    QCOMPARE(listed[7], QStringLiteral("2026/04/01 00:00:00"));
    QCOMPARE(listed[8], QStringLiteral("2026/04/07 23:50:00"));

    const PlotDocument& document = window.document();
    QCOMPARE(document.series().size(), std::size_t{5});
    QCOMPARE(document.series()[2].info.name, std::string("最大瞬間起時"));
    QCOMPARE(document.extent()->first, civilSeconds(2026, 4, 2, 0, 0, 0));
    QCOMPARE(document.extent()->second, civilSeconds(2026, 4, 7, 23, 50, 0));
    QVERIFY(window.windowTitle().contains(QStringLiteral("KAWABE")));
}

void DataPlotWindowTest::stationOverviewListsWorstFirstAndPlotsADoubleClickedStation() {
    TempHome home;
    const std::string file = home.file("KAWABE_260408_0000.v38");
    writeFileAtomically(file, goldenImage());
    ModelRegistry models(FENTA21_CONFIG_DIR);
    models.loadModelTable();
    std::unique_ptr<store::RecordStore> records = store::openRecordStore("records.sqlite", home.path());
    store::ImportOptions options;
    options.identifyModel = identifyThrough(models);
    records->importFile(file, options);
    // 河辺 collected an hour ago, and had nothing new since; 山田 has failed three times.
    std::time_t now = std::time(nullptr);
    auto at = [&](int hoursAgo) {
        std::time_t moment = now - hoursAgo * 3600;
        std::tm local{};
        localtime_r(&moment, &local);
        return CalendarTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
    };
    auto collection = [&](const char* name, int station, int hoursAgo, int result, const std::string& stored) {
        CollectionFinished c;
        c.station = station;
        c.stationName = name;
        c.started = c.finished = at(hoursAgo);
        c.result = result;
        c.dataFile = stored;
        return c;
    };
    for (const CollectionFinished& c : {collection("河辺", 0, 2, kCollectOk, file), collection("河辺", 0, 1, kCollectNothingNew, ""),
                                        collection("山田", 1, 3, kCollectTransferFailed, ""),
                                        collection("山田", 1, 2, kCollectTransferFailed, ""),
                                        collection("山田", 1, 1, kCollectTransferFailed, "")})
        records->recordCollection(c, "pc1");
    std::string problem;
    QVERIFY(store::saveStoreLocation(home.path(), "records.sqlite", problem));
    records.reset();

    DataWindow window(home.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.findChild<QTabWidget*>("views")->setCurrentWidget(window.stationOverview());
    auto* table = window.stationOverview()->findChild<QTableWidget*>("stationTable");
    QTRY_COMPARE(table->rowCount(), 2);
    auto rowText = [&](int row) {
        return table->item(row, StationOverview::State)->text() + " " + table->item(row, StationOverview::Name)->text() +
               " " + table->item(row, StationOverview::FailuresInARow)->text();
    };
    QCOMPARE(rowText(0), QStringLiteral("異常 山田 3"));
    QCOMPARE(rowText(1), QStringLiteral("正常 河辺 0"));
    QVERIFY(table->item(0, 0)->background().color() != table->item(1, 0)->background().color());
    QCOMPARE(table->item(0, StationOverview::Strip)->data(Qt::UserRole + 1).toList().size(), 3);
    // Sorted by the last contact, the station never reached comes last when it goes down.
    table->sortItems(StationOverview::LastSuccess, Qt::DescendingOrder);
    QCOMPARE(rowText(0), QStringLiteral("正常 河辺 0"));

    emit table->cellDoubleClicked(0, StationOverview::Name);
    QCOMPARE(window.findChild<QTabWidget*>("views")->currentIndex(), 0);
    QCOMPARE(window.document().series().size(), std::size_t{7});
    QVERIFY(window.windowTitle().contains(QStringLiteral("KAWABE")));
}

QTEST_MAIN(DataPlotWindowTest)
