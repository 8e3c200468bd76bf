#include "core/collect/CollectionSession.h"

#include "core/base/Folders.h"
#include "core/collect/CollectionContext.h"
#include "core/collect/CollectResult.h"
#include "core/collect/FileNaming.h"
#include "core/collect/Receivers.h"
#include "core/serial/TTYInfo.h"

namespace fenta21 {
namespace {

int runReceiver(CollectionContext& session, const std::string& command, const Destination& destination, TransferTally& tally) {
    ModalSpec spec{ModalKind::Collection, "データ回収", ""};
    return session.host.runModal(spec, session.channel()->cancelFlag, [&](ModalContext& dialog) {
        return command == "text" ? textReceiver(session, dialog, destination, tally)
                                 : blockReceiver(session, dialog, command, destination, tally);
    });
}

// Who was collected, over which port, from when: known before the transfer starts.
CollectionFinished beginOutcome(CollectionContext& session, int station, CollectionOrigin origin) {
    CollectionFinished outcome;
    outcome.origin = origin;
    outcome.station = station;
    if (station >= 0 && session.reports.stationLabel) outcome.stationName = session.reports.stationLabel(station).name;
    outcome.unit = session.reports.currentUnit.load();
    if (TTYInfo* channel = session.channel(); channel && channel->connected.load()) outcome.port = channel->portNumber.load();
    outcome.started = session.clock.localTime();
    return outcome;
}

void finishOutcome(CollectionContext& session, CollectionFinished& outcome, int result, TransferTally& tally) {
    outcome.finished = session.clock.localTime();
    outcome.result = result;
    outcome.message = collectResultMessage(result);
    if (result == kCollectOk) outcome.dataFile = session.line.lastDataFile.get();
    if (tally.conversion && tally.conversion->outcome == CsvFileOutcome::Converted) outcome.csvFile = tally.conversion->csvFile;
    outcome.conversion = std::move(tally.conversion);
    outcome.bytesReceived = tally.bytesReceived;
    outcome.blocksReceived = tally.blocksReceived;
    outcome.retries = tally.retries;
    outcome.clearSent = tally.clearSent;
    outcome.clearAnswered = tally.clearAnswered;
}

}  // namespace

void announceUnreached(CollectionContext& session, int station, int unit, CollectionOrigin origin, const CalendarTime& started,
                       int result, const std::string& message) {
    CollectionFinished outcome = beginOutcome(session, station, origin);
    outcome.unit = unit;
    outcome.started = started;
    outcome.finished = session.clock.localTime();
    outcome.result = result;
    outcome.message = message;
    session.events.publish(std::move(outcome));
}

int collect(CollectionContext& session, int station, CollectionOrigin origin) {
    CollectionFinished outcome = beginOutcome(session, station, origin);
    TransferTally tally;
    std::string folder = resolveDataFolder(session.homeFolder(), collectionTarget(session, station).folderText);
    std::string command = collectCommandText(session.line.collectCommand());
    int result = kCollectNoFile;
    if (folderExists(folder)) {
        Destination destination;
        result = command == "text" ? nameTextFile(session, station, folder, destination)
                                   : nameDataFile(session, station, folder, destination);
        if (result == 0) result = runReceiver(session, command, destination, tally);
    }
    if (result != kCollectOk) session.line.lastDataFile.set("");
    finishOutcome(session, outcome, result, tally);
    session.events.publish(std::move(outcome));
    return result;
}

}  // namespace fenta21
