#pragma once

#include "core/stations/Station.h"

#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

class AddressBook;
class Session;

// adr.csv: no heading, one line per place in order, the six fields joined by "," without
// quoting, CR LF line ends, code page 932. Always written with 100 lines.
inline constexpr const char* kAddressBookFileName = "adr.csv";
// The most a file of 100 lines of six fields of 131 bytes, their commas and CR LF can hold;
// bytes past it are not read.
inline constexpr std::size_t kAddressBookFileBytes = kStationCount * (6 * kStationFieldBytes + 5 + 2);

// The 100 entries a file's bytes describe. Line n fills place n; missing lines leave empty
// places and lines after the 100th are ignored. Missing fields are empty, text after a sixth
// comma is ignored, each field is cut at 131 bytes. A line is read whole, however long: six
// full fields make a line of 791 bytes, and what the program stores it must read back.
std::vector<Station> parseAddressBook(std::string_view bytes);
std::string formatAddressBook(const std::vector<Station>& stations);

// Fills the book from the file. When the file cannot be read the book stays as it was
// (empty at start-up) and false is returned; that is no error to show.
bool loadAddressBook(const std::string& path, AddressBook& book);

// Takes in what another program stored in the file since this one last read or wrote it,
// under the home's lock (AddressBook::takeFromFile): the places this program changed and
// has not stored yet stay its own. False when there was no file to read.
bool rereadAddressBook(const std::string& path, AddressBook& book);

// Writes all 100 entries beside the old file and renames it over, so a failed write leaves
// the old adr.csv whole. False when nothing could be written.
bool saveAddressBook(const std::string& path, const AddressBook& book);

// Stores the book's changes in the session's adr.csv under the home's lock: the file as it is
// then, with every place this program changed since it last read or wrote it taken from the
// book (a place another program changed meanwhile stays theirs). The book then holds what the
// file holds. A failure is reported, since the user would otherwise believe the entries kept;
// the book in memory keeps its changes either way and the old file stays whole.
bool storeAddressBook(Session& session, AddressBook& book);

inline constexpr const char* kAddressBookNotSavedText = "アドレス帳を保存できません!! ";

}  // namespace fenta21
