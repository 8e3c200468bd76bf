#include "core/datafile/HeaderListing.h"

#include "core/base/Files.h"
#include "core/datafile/DataFileHeader.h"
#include "core/datafile/DataFileMessages.h"
#include "core/datafile/HeaderReference.h"
#include "core/datafile/OffsetText.h"

#include <optional>

namespace fenta21 {

HeaderListing listHeader(std::string_view image, const std::string& homeFolder) {
    HeaderListing listing;
    std::optional<std::string> code = readModelCode(image);
    if (!code) {
        listing.messages.push_back(kHeaderReadAbortedMessage);
        return listing;
    }
    HeaderReference reference = loadHeaderReference(homeFolder, *code);
    if (reference.ownFileMissing) listing.messages.push_back(kNoHeaderReferenceMessage);
    std::size_t offset = 0;
    for (const HeaderItem& item : reference.items) {
        std::size_t bytes = headerItemBytes(item.type);
        if (bytes > image.size() - offset) {
            listing.messages.push_back(kHeaderReadAbortedMessage);
            break;
        }
        listing.rows.push_back(HeaderRow{static_cast<std::uint32_t>(offset), offsetText(offset), item.label,
                                         headerItemValue(item, image.substr(offset, bytes))});
        offset += bytes;
    }
    return listing;
}

HeaderListing listHeaderOfFile(const std::string& dataFile, const std::string& homeFolder) {
    std::optional<std::string> image = readWholeFile(dataFile);
    if (!image) return HeaderListing{{}, {kHeaderReadAbortedMessage}};
    return listHeader(*image, homeFolder);
}

}  // namespace fenta21
