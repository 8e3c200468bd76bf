#include "core/remote/StationEditor.h"

#include "core/base/Folders.h"
#include "core/session/Session.h"
#include "core/base/Cp932.h"
#include "core/report/Report.h"
#include "core/stations/AddressBook.h"

#include <array>
#include <utility>

namespace fenta21 {
namespace {

constexpr std::array<StationField, 5> kAllFields = {StationField::Name, StationField::Telephone,
                                                    StationField::Remark, StationField::FileName,
                                                    StationField::Folder};


std::string tooLongText(StationField field) {
    return std::string(stationFieldLabel(field)) + "は" + std::to_string(stationFieldLimit(field)) +
           "バイトまでです!! ";
}

}  // namespace

std::size_t stationFieldLimit(StationField field) { return field == StationField::Folder ? 64 : 30; }

bool fitsStationField(StationField field, std::string_view utf8) {
    return utf8ToCp932(utf8).size() <= stationFieldLimit(field);
}

const std::string& formText(const StationForm& form, StationField field) {
    switch (field) {
        case StationField::Name: return form.name;
        case StationField::Telephone: return form.telephone;
        case StationField::Remark: return form.remark;
        case StationField::FileName: return form.fileName;
        case StationField::Folder: break;
    }
    return form.folder;
}

const char* stationFieldLabel(StationField field) {
    switch (field) {
        case StationField::Name: return "地点名";
        case StationField::Telephone: return "電話番号";
        case StationField::Remark: return "備考";
        case StationField::FileName: return "ﾌｧｲﾙ名";
        case StationField::Folder: break;
    }
    return "ﾌｫﾙﾀﾞ名";
}

std::optional<StationEditor> StationEditor::open(Session& session, AddressBook& book, int index) {
    if (!isStationIndex(index)) return std::nullopt;
    Station station = book.station(index);
    StationForm form{station.name,   station.telephone, station.remark,
                     station.fileName, station.folder,  station.isDirect()};
    return StationEditor(session, book, index, std::move(form));
}

StationEditor::StationEditor(Session& session, AddressBook& book, int index, StationForm form)
    : session_(&session), book_(&book), index_(index), form_(std::move(form)) {}

std::string StationEditor::numberText() const { return stationNumberText(index_); }

void StationEditor::browseFolder() {
    std::string chosen = session_->host.chooseFolder("");
    if (chosen.empty()) return;
    if (!fitsStationField(StationField::Folder, chosen)) {
        report(*session_, tooLongText(StationField::Folder));
        return;
    }
    if (!hasCp932Form(chosen)) {
        report(*session_, kNoCp932FormText);
        return;
    }
    form_.folder = chosen;
}

EditorOutcome StationEditor::confirm(const StationForm& typed) {
    form_ = typed;
    for (StationField field : kAllFields) {
        const std::string& text = formText(typed, field);
        if (!fitsStationField(field, text)) {
            report(*session_, tooLongText(field));
            return EditorOutcome::FieldTooLong;
        }
        if (text.find(',') != std::string::npos) {
            report(*session_, kCommaRefusedText);
            return EditorOutcome::CommaInField;
        }
        if (text.find_first_of("\r\n") != std::string::npos) {
            report(*session_, kLineBreakRefusedText);
            return EditorOutcome::LineBreakInField;
        }
        if (!hasCp932Form(text)) {
            report(*session_, kNoCp932FormText);
            return EditorOutcome::NoCp932Form;
        }
    }
    if (!folderExists(resolveDataFolder(session_->homeFolder(), typed.folder))) {
        report(*session_, kFolderMissingText);
        form_.folder = kDataFolderResetText;
        return EditorOutcome::FolderMissing;
    }
    book_->store(index_, Station{typed.name, typed.telephone, typed.remark, typed.fileName, typed.folder,
                                 typed.direct ? kDirectMethodText : kModemMethodText});
    return EditorOutcome::Stored;
}

}  // namespace fenta21
