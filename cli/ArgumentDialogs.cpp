#include "cli/ArgumentDialogs.h"

#include "core/panel/PanelText.h"

#include <cctype>

namespace fenta21::cli {

bool sameEntry(const std::string& typed, const std::string& listed) {
    std::string_view a = trimmed(typed), b = trimmed(listed);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

DialogEnd ArgumentDialogs::choose(ListDialog& dialog) {
    shown_ = true;
    if (!entry_.listEntry) {
        message_ = "this setting takes one of: ";
    } else {
        for (std::size_t i = 0; i < dialog.entries.size(); ++i) {
            if (sameEntry(*entry_.listEntry, dialog.entries[i])) {
                dialog.chosen = static_cast<int>(i);
                return DialogEnd::Ok;
            }
        }
        message_ = "\"" + *entry_.listEntry + "\" is not offered; the logger offers: ";
    }
    for (std::size_t i = 0; i < dialog.entries.size(); ++i)
        message_ += (i > 0 ? ", " : "") + std::string(trimmed(dialog.entries[i]));
    return DialogEnd::Cancel;
}

DialogEnd ArgumentDialogs::edit(EditDialog& dialog) {
    shown_ = true;
    if (entry_.pressAction) {
        if (!dialog.action) {
            message_ = "this setting has no such button";
            return DialogEnd::Cancel;
        }
        dialog.action();
        return DialogEnd::Cancel;
    }
    std::vector<std::string> fields = dialog.fields;
    if (entry_.fields) fields = *entry_.fields;
    if (entry_.field) {
        if (entry_.field->first >= fields.size()) {
            message_ = "this setting has no field " + std::to_string(entry_.field->first + 1);
            return DialogEnd::Cancel;
        }
        fields[entry_.field->first] = entry_.field->second;
    }
    if (fields.size() != dialog.fields.size()) {
        message_ = "this setting takes " + std::to_string(dialog.fields.size()) + " value(s)";
        return DialogEnd::Cancel;
    }
    if (dialog.check) {
        std::string complaint = dialog.check(fields);
        if (!complaint.empty()) {
            message_ = complaint;
            return DialogEnd::Cancel;
        }
    }
    dialog.fields = std::move(fields);
    return DialogEnd::Ok;
}

}  // namespace fenta21::cli
