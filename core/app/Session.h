#pragma once

#include "core/app/LineWords.h"
#include "core/app/OptionPrograms.h"
#include "core/app/SystemSettings.h"
#include "core/base/Clock.h"
#include "core/base/Guarded.h"
#include "core/base/Host.h"
#include "core/events/EventHub.h"
#include "core/panel/PanelState.h"
#include "core/protocol/ModelRegistry.h"
#include "core/protocol/RetrySettings.h"
#include "core/remote/AddressBook.h"
#include "core/remote/ModemParameters.h"
#include "core/remote/ReservationTable.h"
#include "core/serial/TTYInfo.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace fenta21 {

// What the report needs to tag a message of an unattended collection.
struct StationLabel {
    int number = 0;  // counted from 1
    std::string name;
};

// Where a collection stores its file: the folder text (resolved at every use) and the base name.
struct CollectionTarget {
    std::string folderText;
    std::string baseName;
};

// State shared by the reports: the message-box guard and the reserved-collection routing.
struct ReportState {
    // True while a message box of the shared report is open.
    std::atomic<bool> errorDisplayed{false};
    // True while the scheduler runs a collection: reports go to RSV.LOG and the notice list.
    std::atomic<bool> reservedCollectionMode{false};
    std::atomic<int> currentStation{-1};
    std::atomic<int> currentUnit{0};
    // The texts of the reserved-collection notice, and the word that tells the heartbeat.
    Guarded<std::vector<std::string>> reservationNotices;
    std::atomic<bool> noticeChanged{false};
    // Looks a station up for the tag "[%03d %s]"; the address book provides it.
    std::function<StationLabel(int stationIndex)> stationLabel;
    // Keeps two threads' log entries from sharing a line number.
    std::mutex logMutex;
    // Told once per log file when an entry of ERR.LOG or RSV.LOG could not be written (the
    // file's path and the system's error number), so that lost entries are never silent. The
    // desktop program and the command-line program say it in their own way.
    std::function<void(const std::string& path, int errorNumber)> logNotWritten;
    std::atomic<bool> errorLogFailed{false};
    std::atomic<bool> reservationLogFailed{false};
};

// The words the line guard shares with the panel's polling worker.
struct LineGuardWords {
    // 0 the line is free, 1 a worker is exchanging commands, -1 the panel asks for a redraw.
    std::atomic<int> guard{0};
    // Panel ticks since its last completed key action.
    std::atomic<int> panelTicks{0};
};

// One program's state, passed by reference: the settings, the home folder, the serial
// channel, the shared line words, the clock and the host. Tests build as many as they need.
class Session {
public:
    Session(std::string homeFolder, Host& host, const Clock& clock);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const std::string& homeFolder() const { return homeFolder_; }
    // A settings, list or log file in the home folder.
    std::string homeFile(const std::string& name) const;

    Host& host;
    const Clock& clock;
    // What happened, for whoever listens: collections, line changes, reservations, notices.
    EventHub events;

    SystemSettings settings;
    RetrySettings retry;
    ModemParameters modem;
    ModelRegistry models;
    AddressBook addressBook;
    ReservationTable reservations;
    LineWords line;
    LineGuardWords lineGuard;
    ReportState reports;
    std::atomic<bool> reservationRunning{false};

    // How the line in use was set up (1 tone, 2 pulse, 3 direct); the hang-up reads it.
    std::atomic<std::int16_t> connectionKind{3};
    // The option programs found beside the program at start-up, in the order the option list
    // shows them; the table is not scanned again while the program runs.
    std::vector<OptionProgram> optionPrograms;
    // The logger's "eerm0" name as the panel read it when it connected.
    Guarded<std::string> panelStationId;
    // The remote operation panel: its item, keys, display lines and value texts.
    PanelState panel;

    // The folder and base name of an address-book station (the address book provides it);
    // station -1 is the direct line and uses the save-destination settings.
    std::function<CollectionTarget(int stationIndex)> stationTarget;
    // Converts a freshly collected data file to CSV beside it and says how that ended: the
    // CSV converter, unless a test puts something else here (or nothing: no conversion).
    std::function<CsvFileResult(const std::string& dataFile)> csvConverter;
    // Makes a folder's new entries durable (an fsync of the folder). A collection has the
    // logger clear its records only after this succeeded for the file it stored; a test puts
    // a failing disk here.
    std::function<bool(const std::string& folder)> syncFolder;
    // Told which device a port open could not use and why (the error log keeps only the
    // fixed line with the system's error number).
    std::function<void(const PortOpenFailure& failure)> portNotOpened;

    TTYInfo* channel() { return channel_.get(); }
    // Creates the serial channel record (start-up); replaces an existing one.
    void createSerialChannel();
    void destroySerialChannel();

    // Refreshes the clock sample from the clock and returns it. The window's heartbeat calls
    // it every 11th tick; the logs call it too, so that a program without a heartbeat never
    // stamps a stale time.
    CalendarTime sampleClock();

private:
    std::string homeFolder_;
    std::unique_ptr<TTYInfo> channel_;
};

}  // namespace fenta21
