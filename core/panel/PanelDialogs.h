#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fenta21 {

// The settings dialogs of the panel, as the core describes them: the desktop program shows
// each as a modal window, the command-line program fills it from its arguments, the tests
// from a script. The core only says what a dialog shows and how an entry is checked, and
// acts on what comes back.

// The dialog numbers the panel has always used.
namespace DialogId {
inline constexpr int kMemo = 111;
inline constexpr int kRtcAdjust = 1012;
inline constexpr int kAfterStart = 1013;
inline constexpr int kPresetTimer = 1014;
inline constexpr int kInterval = 1015;
inline constexpr int kDateTime = 1016;
inline constexpr int kMode = 1019;
inline constexpr int kOffset = 1025;
inline constexpr int kWaveCanceler = 1026;
inline constexpr int kZero = 1027;
}  // namespace DialogId

enum class DialogEnd { Ok, Cancel };

// A fixed list (no typing) with one position preselected, or none (-1).
struct ListDialog {
    int id = 0;
    std::string caption;
    std::vector<std::string> entries;
    int preselected = -1;
    // After OK: the chosen position, within the entries.
    int chosen = -1;
};

// Edit boxes. `fields` holds the initial texts and, after OK, the entries.
struct EditDialog {
    int id = 0;
    std::string caption;
    std::vector<std::string> labels;  // one per edit box
    std::vector<std::string> fields;
    std::string unit;                 // shown after the last box ("m" for the offset)
    // Called when OK is pressed: an empty text accepts the entries; any other text is the
    // range message, and the dialog stays open.
    std::function<std::string(const std::vector<std::string>& fields)> check;
    // A button that acts by itself (the date and time dialog's PC clock): after its action
    // the dialog ends as Cancel.
    std::string actionButton;
    std::function<void()> action;
};

// Called on the panel's key worker thread (or the command-line program's only thread); a
// window front end shows the dialog on its own thread and waits for it to close.
class PanelDialogs {
public:
    virtual ~PanelDialogs() = default;
    virtual DialogEnd choose(ListDialog& dialog) = 0;
    virtual DialogEnd edit(EditDialog& dialog) = 0;
};

// Opens the list; the chosen position when the user ended it with OK on one of its entries,
// nothing for a cancel or a position the list does not have.
std::optional<std::size_t> chooseEntry(PanelDialogs& dialogs, ListDialog& dialog);

// A preselection the list can show: the position, or -1 when the entries do not have it.
int preselectable(int position, const std::vector<std::string>& entries);

}  // namespace fenta21
