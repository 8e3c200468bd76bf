// The list files the program both reads and writes: adr.csv, rsv.dat and any.dat. The first
// byte chooses the file, the rest is its content, or for the address book also the texts a
// user typed into the editor (fields split at 0x1F, entries at 0x1E). Storing what was loaded
// or typed and loading it again must give back exactly what was stored.
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ReservationFile.h"
#include "tests/fuzz/support/FuzzCheck.h"
#include "tests/fuzz/support/FuzzHome.h"
#include "tests/fuzz/support/FuzzText.h"

using namespace fenta21;

namespace {

void storeThenLoad(const AddressBook& book) {
    const std::string path = fuzz::fuzzHome() + "/" + kAddressBookFileName;
    FUZZ_CHECK(saveAddressBook(path, book));
    AddressBook loaded;
    FUZZ_CHECK(loadAddressBook(path, loaded));
    FUZZ_CHECK(loaded.stations() == book.stations());
    for (const Station& station : loaded.stations())
        for (const std::string* field : {&station.name, &station.telephone, &station.remark, &station.fileName,
                                         &station.folder, &station.method})
            FUZZ_CHECK(fuzz::isValidUtf8(*field));
}

void addressBookFile(std::string_view bytes) {
    AddressBook book;
    book.replaceAll(parseAddressBook(bytes));
    storeThenLoad(book);
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t end; (end = text.find(separator)) != std::string_view::npos; text.remove_prefix(end + 1))
        parts.push_back(text.substr(0, end));
    parts.push_back(text);
    return parts;
}

void typedEntries(std::string_view bytes) {
    AddressBook book;
    int place = 0;
    for (std::string_view entry : split(bytes, '\x1e')) {
        std::vector<std::string_view> f = split(entry, '\x1f');
        f.resize(6);
        FUZZ_CHECK(book.store(place++ % kStationCount, Station{std::string(f[0]), std::string(f[1]), std::string(f[2]),
                                                               std::string(f[3]), std::string(f[4]), std::string(f[5])}));
    }
    storeThenLoad(book);
}

void reservations(std::string_view bytes) {
    std::vector<Reservation> parsed = parseReservations(bytes);
    FUZZ_CHECK(parsed.size() <= bytes.size() / kReservationRecordBytes);
    for (const Reservation& reservation : parsed) FUZZ_CHECK(isStationIndex(reservation.station));
    const std::string path = fuzz::fuzzHome() + "/" + kReservationFileName;
    FUZZ_CHECK(saveReservations(path, parsed));
    FUZZ_CHECK(loadReservations(path) == parsed);
}

void arbitraryList(std::string_view bytes) {
    ArbitraryList parsed = parseArbitraryList(bytes);
    for (int station : parsed.stations()) FUZZ_CHECK(isStationIndex(station));
    const std::string path = fuzz::fuzzHome() + "/" + kArbitraryListFileName;
    FUZZ_CHECK(saveArbitraryList(path, parsed));
    FUZZ_CHECK(loadArbitraryList(path).stations() == parsed.stations());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 4) {
    case 0: addressBookFile(bytes); break;
    case 1: typedEntries(bytes); break;
    case 2: reservations(bytes); break;
    case 3: arbitraryList(bytes); break;
    }
    return 0;
}
