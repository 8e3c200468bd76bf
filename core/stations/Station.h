#pragma once

#include <string>
#include <string_view>

namespace fenta21 {

// The address book has a fixed number of places; every list names a station by its place.
inline constexpr int kStationCount = 100;

// adr.csv keeps each field in a buffer of this many code page 932 bytes.
inline constexpr std::size_t kStationFieldBytes = 131;

// The connection method texts stored in the sixth field. Only exactly "com" means a direct
// serial link; anything else (also "COM" or "com ") is dialled through the modem.
inline constexpr const char* kDirectMethodText = "com";
inline constexpr const char* kModemMethodText = "modem";

// One address-book entry. In memory the texts are UTF-8; adr.csv holds them in code page 932.
struct Station {
    std::string name{};
    std::string telephone{};  // dial number, optionally followed by "_unit" parts
    std::string remark{};
    std::string fileName{};   // base name of the station's data files; a leading blank means none
    std::string folder{};     // as the user typed it; empty means the data folder beside home
    std::string method{};     // "modem", "com", or empty for an empty entry

    // An entry without a name is empty: the lists refuse it and the collections skip it.
    bool hasName() const { return !name.empty(); }
    bool isDirect() const { return method == kDirectMethodText; }

    bool operator==(const Station&) const = default;
};

// A field as adr.csv can hold it and give it back unchanged: a comma would split the field and
// a line break would end the entry, so they become a full-width comma and a blank; the text is
// then cut to the field's bytes without splitting a double-byte character.
std::string fitStationField(std::string_view utf8);
Station fitStation(const Station& station);

// "%03d" of index + 1: how the user sees a station's place (001 to 100).
std::string stationNumberText(int index);

inline bool isStationIndex(int index) { return index >= 0 && index < kStationCount; }

}  // namespace fenta21
