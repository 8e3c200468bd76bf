// fenta21-data-screenshots: pictures of the data program's window on the golden data files of
// the plots, for a person to look at.
#include "companion/window/DataWindow.h"
#include "companion/window/PlotView.h"
#include "companion/window/StationOverview.h"
#include "companion/window/StoreDialog.h"
#include "core/base/Clock.h"
#include "core/collect/CollectResult.h"
#include "core/health/HealthTime.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ConnectionResult.h"
#include "core/remote/ReservationFile.h"
#include "gui/base/ProgramIcon.h"
#include "tests/gui/screenshots/WindowCaption.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

namespace {

void settle() {
    QEventLoop loop;
    QTimer::singleShot(400, &loop, &QEventLoop::quit);
    loop.exec();
}

// The window on one file, with the crosshair at a share of the plot's width; with `hours`, the
// range narrowed to that many hours about the crosshair first.
bool picture(const QString& home, const QString& file, double share, double hours, const QString& out) {
    using namespace fenta21;
    plot::DataWindow window(home.toStdString());
    window.resize(1280, 800);
    window.show();
    settle();
    if (!window.openFiles({file}).isEmpty()) return false;
    if (hours > 0) {
        plot::TimeWindow& range = window.timeWindow();
        double middle = range.extentFrom() + share * (range.extentTo() - range.extentFrom());
        window.showRange(middle - hours * 1800, middle + hours * 1800);
        share = 0.5;
    }
    settle();
    plot::PlotView* view = window.plotView();
    const QRectF area = view->geometry().plotArea;
    view->pointAt(QPoint(int(area.left() + share * area.width()), int(area.top() + area.height() / 3)));
    settle();
    bool saved = screenshots::withCaption(&window).save(out);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
    return saved;
}

// The record store's dialog over the window, on the station the store of HOME holds.
bool storeDialog(const QString& home, const QString& out) {
    using namespace fenta21;
    std::unique_ptr<store::RecordStore> records;
    try {
        records = store::openHomeStore(home.toStdString());
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "fenta21-data-screenshots: %s\n", e.what());
    }
    if (!records) return false;
    plot::DataWindow window(home.toStdString());
    window.resize(1280, 800);
    window.show();
    plot::StoreDialog dialog(*records, &window);
    dialog.show();
    settle();
    bool saved = screenshots::withCaption(&dialog).save(out);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
    return saved;
}

// The station overview on HOME's store, after a day of collections of four stations of its
// address book, each reserved once an hour: one collected every time (the wind station, whose
// files are in the store), one with nothing new now and then, one that stopped answering three
// hours ago, and one last reached in the morning.
bool overview(const QString& home, const QString& out) {
    using namespace fenta21;
    const std::string folder = home.toStdString();
    AddressBook book;
    const char* names[] = {"河辺", "山田", "川口", "北浜"};
    std::vector<Reservation> reservations;
    for (int station = 0; station < 4; ++station) {
        book.store(station, {names[station], "031111222" + std::to_string(station), "", "", "", "modem"});
        reservations.push_back({{0, 0, 30 + station}, station});
    }
    saveAddressBook(folder + "/adr.csv", book);
    saveReservations(folder + "/rsv.dat", reservations);
    std::unique_ptr<store::RecordStore> records;
    try {
        records = store::openHomeStore(folder);
        std::unique_ptr<SystemClock> clock = clockFromEnvironment();
        const CalendarTime now = clock ? clock->localTime() : SystemClock().localTime();
        for (int hoursAgo = 24; hoursAgo >= 1; --hoursAgo) {
            for (int station = 0; station < 4; ++station) {
                CollectionFinished c;
                c.origin = CollectionOrigin::Reservation;
                c.station = station;
                c.stationName = names[station];
                c.started = addSeconds(now, -hoursAgo * 3600 + station * 60);
                c.finished = addSeconds(c.started, 45);
                c.result = kCollectOk;
                if (station == 1 && hoursAgo % 5 == 0) c.result = kCollectNothingNew;
                if (station == 2 && hoursAgo <= 3) c.result = kNoModemAnswer;
                if (station == 3 && hoursAgo <= 7) continue;
                if (station == 2 && hoursAgo == 9) c.result = kCollectTransferFailed;
                c.message = c.result == kNoModemAnswer ? linkErrorMessage(c.result) : collectResultMessage(c.result);
                if (station == 0) c.dataFile = "/data/KAWABE-01_261208_1030.v38";
                records->recordCollection(c, thisMachineName());
            }
        }
    } catch (const store::StoreError& e) {
        std::fprintf(stderr, "fenta21-data-screenshots: %s\n", e.what());
        return false;
    }
    plot::DataWindow window(folder);
    window.resize(1280, 800);
    window.show();
    window.findChild<QTabWidget*>("views")->setCurrentWidget(window.stationOverview());
    settle();
    bool saved = screenshots::withCaption(&window).save(out);
    std::printf("%s %s\n", saved ? "saved" : "could not save", qPrintable(out));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStringList arguments = QApplication::arguments();
    if (arguments.size() != 4) {
        std::fputs("usage: fenta21-data-screenshots HOME DATA-FOLDER OUTPUT-FOLDER\n\n"
                   "Opens the data program's window on wind_station.v38, water_level.v38 and strain_rs8.v38\n"
                   "of DATA-FOLDER (made from tests/golden/plot) with HOME's model files, reads the\n"
                   "crosshair somewhere, and saves a PNG of each into OUTPUT-FOLDER, the wind station also\n"
                   "zoomed to a day; then the record store's dialog on HOME's store, and the station\n"
                   "overview after a day of collections recorded into it.\n",
                   stderr);
        return 2;
    }
    QApplication::setWindowIcon(fenta21::gui::programIcon());
    const QString home = arguments[1], data = arguments[2], out = arguments[3];
    QDir().mkpath(out);
    bool ok = picture(home, data + "/wind_station.v38", 0.62, 0, out + "/fenta21-data-wind_station.png");
    ok = picture(home, data + "/wind_station.v38", 0.40, 24, out + "/fenta21-data-wind_station-day.png") && ok;
    ok = picture(home, data + "/water_level.v38", 0.71, 0, out + "/fenta21-data-water_level.png") && ok;
    ok = picture(home, data + "/strain_rs8.v38", 0.30, 0, out + "/fenta21-data-strain_rs8.png") && ok;
    ok = storeDialog(home, out + "/fenta21-data-store.png") && ok;
    ok = overview(home, out + "/fenta21-data-overview.png") && ok;
    return ok ? 0 : 1;
}
