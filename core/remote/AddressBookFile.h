#pragma once

#include "core/remote/Station.h"

#include <string>
#include <string_view>
#include <vector>

namespace fenta21 {

class AddressBook;
class Session;

// adr.csv: no heading, one line per place in order, the six fields joined by "," without
// quoting, CR LF line ends, code page 932. Always written with 100 lines.
inline constexpr const char* kAddressBookFileName = "adr.csv";

// The 100 entries a file's bytes describe. Line n fills place n; missing lines leave empty
// places and lines after the 100th are ignored. Missing fields are empty, text after a sixth
// comma is ignored, each field is cut at 131 bytes. A line is read whole, however long: six
// full fields make a line of 791 bytes, and what the program stores it must read back.
std::vector<Station> parseAddressBook(std::string_view bytes);
std::string formatAddressBook(const std::vector<Station>& stations);

// Fills the book from the file. When the file cannot be read the book stays as it was
// (empty at start-up) and false is returned; that is no error to show.
bool loadAddressBook(const std::string& path, AddressBook& book);

// Writes all 100 entries beside the old file and renames it over, so a failed write leaves
// the old adr.csv whole. False when nothing could be written.
bool saveAddressBook(const std::string& path, const AddressBook& book);

// saveAddressBook on the session's adr.csv; a failure is reported, since the user would
// otherwise believe the entries kept. The book in memory keeps the changes either way.
bool storeAddressBook(Session& session, const AddressBook& book);

inline constexpr const char* kAddressBookNotSavedText = "アドレス帳を保存できません!! ";

}  // namespace fenta21
