#include "core/collect/CollectionContext.h"

#include "core/base/Files.h"
#include "core/datafile/CFilCnv.h"
#include "core/report/Logs.h"
#include "core/report/Report.h"

namespace fenta21 {

CollectionContext::CollectionContext(std::string homeFolder, Host& host, const Clock& clock)
    : LineContext(std::move(homeFolder), host, clock), models(this->homeFolder()) {
    csvConverter = [this](const std::string& dataFile) {
        CFilCnv converter(*this, models);
        // A reserved collection runs on the scheduler's thread with the line held: a question
        // would hold both until someone came by to answer it.
        if (reports.reservedCollectionMode.load())
            converter.goOnWithoutAsking([this](const std::string& note) { logReservation(*this, stationTag(*this) + note); });
        return converter.convertFile(dataFile);
    };
    syncFolder = fenta21::syncFolder;
}

}  // namespace fenta21
