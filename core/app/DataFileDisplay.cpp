#include "core/app/DataFileDisplay.h"

#include "core/base/Folders.h"
#include "core/session/Session.h"
#include "core/datafile/CFilCnv.h"
#include "core/datafile/CsvName.h"
#include "core/datafile/DataFileMessages.h"
#include "core/protocol/LineGuard.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fenta21 {
namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool fileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

OpenFileRequest dataFileDisplayRequest(const std::string& lastDataFile, const std::string& dataFolder) {
    OpenFileRequest request{.folder = dataFolder, .name = "", .filter = kDisplayFileFilter, .multiple = false};
    if (lastDataFile.empty()) return request;
    std::size_t cut = lastDataFile.find_last_of('/');
    request.folder = cut == std::string::npos ? dataFolder : lastDataFile.substr(0, cut);
    request.name = cut == std::string::npos ? lastDataFile : lastDataFile.substr(cut + 1);
    // Only a data file's name is turned into its CSV's: a text collection's file is offered as itself.
    std::string extension = extensionOf(request.name);
    if (extension.empty() || sameIgnoringCase(extension, kViewerFileExtension))
        request.name = withExtension(request.name, ".csv");
    return request;
}

std::string displayDataFile(Session& session) {
    PanelPollingPause pause(session);
    const OpenFileRequest request = dataFileDisplayRequest(
        session.line.lastDataFile.get(), resolveDataFolder(session.homeFolder(), session.settings.dataFolder));
    while (true) {
        std::vector<std::string> chosen = session.host.chooseOpenFiles(request);
        if (chosen.empty()) return {};
        const std::string& file = chosen.front();
        if (extensionOf(file) == ".txt") {
            if (!fileExists(file)) continue;
            session.host.openTextFile(file);
            return file;
        }
        const std::string csv = csvNameFor(file);
        if (!fileExists(csv)) {
            if (session.host.ask(Question::YesNo, kCreateCsvQuestion) != Answer::Yes) continue;
            CFilCnv converter(session, session.models);
            CsvFileResult made = converter.convertFile(withExtension(file, kViewerFileExtension));
            // A conversion that failed has said so; a CSV that is not there is not shown.
            if (made.outcome == CsvFileOutcome::Failed && !fileExists(csv)) return {};
        }
        session.host.openTextFile(csv);
        return csv;
    }
}

std::string chooseViewerFile(Host& host, const std::string& folder) {
    const OpenFileRequest request{.folder = folder, .name = "", .filter = kDataFileFilter, .multiple = false};
    while (true) {
        std::vector<std::string> chosen = host.chooseOpenFiles(request);
        if (chosen.empty()) return {};
        if (sameIgnoringCase(extensionOf(chosen.front()), kViewerFileExtension)) return chosen.front();
    }
}

}  // namespace fenta21
