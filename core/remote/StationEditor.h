#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace fenta21 {

class AddressBook;
class Session;

// The entry editor ("アドレス帳の設定") without its window: the dialog or the command line
// hands in what was typed and gets the outcome; the window only shows the fields.

enum class StationField { Name, Telephone, Remark, FileName, Folder };

// What the editor's fields hold; `direct` is the choice "COMﾀﾞｲﾚｸﾄ" (else "モデム").
struct StationForm {
    std::string name;
    std::string telephone;
    std::string remark;
    std::string fileName;
    std::string folder;
    bool direct = false;

    bool operator==(const StationForm&) const = default;
};

// The field limits count code page 932 bytes, not characters: the texts live in fixed byte
// buffers in adr.csv and the dial number buffer, so a name may hold 30 single-byte or 15
// double-byte characters. 30 for name, telephone, remark and file name, 64 for the folder.
std::size_t stationFieldLimit(StationField field);
// Whether a text fits its field; a dialog refuses the keystroke that would make it false.
bool fitsStationField(StationField field, std::string_view utf8);
const char* stationFieldLabel(StationField field);
// The text of one field of a form.
const std::string& formText(const StationForm& form, StationField field);

enum class EditorOutcome {
    Stored,         // the entry was changed; the caller saves adr.csv where its window does
    FieldTooLong,   // reported; nothing stored, the editor stays open
    CommaInField,   // reported; nothing stored, the editor stays open
    LineBreakInField,  // reported; nothing stored, the editor stays open
    NoCp932Form,    // a character adr.csv cannot hold: reported; nothing stored, the editor stays open
    FolderMissing,  // reported; the folder field now reads "../data/", the editor stays open
};

inline constexpr const char* kFolderMissingText = "設定したフォルダがありません!! ";
// adr.csv separates fields by commas without quoting: a typed comma would shift the entry's
// fields when the file is read back, so it is refused.
inline constexpr const char* kCommaRefusedText = "「,」は入力できません!! ";
// A line break would end the entry's line there: a window's one-line field cannot hold one,
// but a field given on the command line can.
inline constexpr const char* kLineBreakRefusedText = "改行は入力できません!! ";

class StationEditor {
public:
    // An editor for place `index` (0-99), its fields showing the entry; nothing otherwise.
    static std::optional<StationEditor> open(Session& session, AddressBook& book, int index);

    int index() const { return index_; }
    // "Ｎｏ． : " shows "%03d" of index + 1.
    std::string numberText() const;
    // The fields as the window should show them now.
    const StationForm& form() const { return form_; }

    // "参照": the host's folder browser; a chosen folder replaces the folder field. A folder
    // longer than the field is reported and the field keeps its text.
    void browseFolder();

    // "OK": checks the typed texts and stores them into the entry. The folder is checked in
    // its completed form (blank start = empty, empty = the data folder beside home, final
    // separator added) but stored as typed; the method text follows the choice.
    EditorOutcome confirm(const StationForm& typed);

private:
    StationEditor(Session& session, AddressBook& book, int index, StationForm form);

    Session* session_;
    AddressBook* book_;
    int index_;
    StationForm form_;
};

}  // namespace fenta21
