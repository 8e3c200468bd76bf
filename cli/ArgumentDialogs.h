#pragma once

#include "core/panel/PanelDialogs.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace fenta21::cli {

// The panel's settings dialogs answered from the command line: "set" says what the dialog
// gets, and the dialog's own check decides whether it is taken, exactly as when a person
// types it. A refused entry ends the dialog without a write and keeps the message.
class ArgumentDialogs : public PanelDialogs {
public:
    struct Entry {
        // A list dialog: the entry with this text (blanks around it and letter case aside).
        std::optional<std::string> listEntry;
        // An edit dialog: every box, in order ...
        std::optional<std::vector<std::string>> fields;
        // ... or one box (counted from 0) changed and the rest kept as the logger gave them.
        std::optional<std::pair<std::size_t, std::string>> field;
        // Press the dialog's own button (the PC clock) instead of OK.
        bool pressAction = false;
    };

    explicit ArgumentDialogs(Entry entry) : entry_(std::move(entry)) {}

    DialogEnd choose(ListDialog& dialog) override;
    DialogEnd edit(EditDialog& dialog) override;

    bool shown() const { return shown_; }
    bool refused() const { return !message_.empty(); }
    const std::string& message() const { return message_; }

private:
    Entry entry_;
    bool shown_ = false;
    std::string message_;
};

// A list entry as typed and as listed are the same when they agree without the blanks around
// them and without regard to letter case ("10s" is " 10S", "default" is " Default").
bool sameEntry(const std::string& typed, const std::string& listed);

}  // namespace fenta21::cli
