#include "core/collect/CollectionSession.h"

#include "core/app/Folders.h"
#include "core/app/Session.h"
#include "core/collect/CollectResult.h"
#include "core/collect/FileNaming.h"
#include "core/collect/Receivers.h"

namespace fenta21 {
namespace {

int runReceiver(Session& session, const std::string& command, const Destination& destination) {
    ModalSpec spec{ModalKind::Collection, "データ回収", ""};
    return session.host.runModal(spec, session.channel()->cancelFlag, [&](ModalContext& dialog) {
        return command == "text" ? textReceiver(session, dialog, destination)
                                 : blockReceiver(session, dialog, command, destination);
    });
}

}  // namespace

int collect(Session& session, int station) {
    std::string folder = resolveDataFolder(session.homeFolder(), collectionTarget(session, station).folderText);
    std::string command = collectCommandText(session.line.collectCommand.load());
    int result = kCollectNoFile;
    if (folderExists(folder)) {
        Destination destination;
        result = command == "text" ? nameTextFile(session, station, folder, destination)
                                   : nameDataFile(session, station, folder, destination);
        if (result == 0) result = runReceiver(session, command, destination);
    }
    if (result != kCollectOk) session.line.lastDataFile.set("");
    else if (session.fileStored) session.fileStored(session.line.lastDataFile.get());
    return result;
}

}  // namespace fenta21
