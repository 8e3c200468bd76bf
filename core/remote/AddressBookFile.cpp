#include "core/remote/AddressBookFile.h"

#include "core/session/Session.h"
#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/base/HomeFileEdit.h"
#include "core/base/ThreeWayMerge.h"
#include "core/report/Report.h"
#include "core/stations/AddressBook.h"

#include <array>

namespace fenta21 {
namespace {

constexpr std::size_t kFieldsPerLine = 6;

std::string fieldText(std::string_view cp932) {
    return cp932ToUtf8(cp932.substr(0, cp932PrefixLength(cp932, kStationFieldBytes)));
}

Station parseLine(std::string_view line) {
    std::array<std::string, kFieldsPerLine> fields;
    for (std::size_t i = 0; i < kFieldsPerLine; ++i) {
        std::size_t comma = line.find(',');
        fields[i] = fieldText(line.substr(0, comma));
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

}  // namespace

std::vector<Station> parseAddressBook(std::string_view bytes) {
    std::vector<Station> stations(kStationCount);
    for (std::size_t place = 0; place < stations.size() && !bytes.empty(); ++place) {
        std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        stations[place] = parseLine(line);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    }
    return stations;
}

std::string formatAddressBook(const std::vector<Station>& stations) {
    std::string out;
    for (int place = 0; place < kStationCount; ++place) {
        Station station = place < static_cast<int>(stations.size()) ? fitStation(stations[place]) : Station{};
        for (const std::string* field : {&station.name, &station.telephone, &station.remark, &station.fileName,
                                         &station.folder, &station.method}) {
            if (field != &station.name) out.push_back(',');
            out += utf8ToCp932(*field);
        }
        out += "\r\n";
    }
    return out;
}

bool loadAddressBook(const std::string& path, AddressBook& book) {
    auto bytes = readRegularFilePrefix(path, kAddressBookFileBytes).bytes;
    if (!bytes) return false;
    book.replaceAll(parseAddressBook(*bytes));
    return true;
}

bool rereadAddressBook(const std::string& path, AddressBook& book) {
    bool read = false;
    readHomeFile(path, kAddressBookFileBytes, [&](const FileOnDisk& now) {
        if (now) book.takeFromFile(parseAddressBook(*now));
        read = now.has_value();
    });
    return read;
}

bool saveAddressBook(const std::string& path, const AddressBook& book) {
    return writeFileAtomically(path, formatAddressBook(book.stations()));
}

bool storeAddressBook(Session& session, AddressBook& book) {
    std::vector<Station> merged;
    auto merge = [&](const FileOnDisk& now) -> std::optional<std::string> {
        // A file that is not there holds no other program's entries.
        std::vector<Station> stored = book.storedStations();
        merged = mergeByPlace(stored, book.stations(), now ? parseAddressBook(*now) : stored);
        return formatAddressBook(merged);
    };
    auto written = [&] { book.takeFromFile(merged); };
    if (editHomeFile(session.homeFile(kAddressBookFileName), kAddressBookFileBytes, merge, written).written())
        return true;
    report(session, kAddressBookNotSavedText);
    return false;
}

}  // namespace fenta21
