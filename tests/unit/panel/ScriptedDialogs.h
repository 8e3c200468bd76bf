#pragma once

#include "core/panel/PanelDialogs.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace fenta21::test {

// Settings dialogs answered from a script, in order, with a record of what each showed. An
// entry that the dialog's check refuses keeps the dialog open, as a window does: the refusal
// is recorded and the next answer is tried; with no answers left the dialog is cancelled.
// A test can also hold the next dialog open to keep the key worker busy.
class ScriptedDialogs : public PanelDialogs {
public:
    struct Answer {
        DialogEnd end = DialogEnd::Ok;
        int position = -1;                        // a list: the chosen position ...
        std::string entry;                        // ... or the entry with this text
        std::vector<std::string> fields;          // edit boxes: the entries (empty keeps them)
        bool pressAction = false;                 // the dialog's own button
    };
    struct Shown {
        int id = 0;
        std::vector<std::string> entries;
        int preselected = -1;
        std::vector<std::string> fields;
    };

    void answer(Answer a) {
        std::lock_guard lock(mutex_);
        answers_.push_back(std::move(a));
    }
    void choose(int position) { answer({DialogEnd::Ok, position, {}, {}, false}); }
    void choose(std::string entry) { answer({DialogEnd::Ok, -1, std::move(entry), {}, false}); }
    void enter(std::vector<std::string> fields) { answer({DialogEnd::Ok, -1, {}, std::move(fields), false}); }
    void cancel() { answer({DialogEnd::Cancel, -1, {}, {}, false}); }
    void pressAction() { answer({DialogEnd::Cancel, -1, {}, {}, true}); }

    void holdNextDialog() {
        std::lock_guard lock(mutex_);
        hold_ = true;
    }
    void release() {
        std::lock_guard lock(mutex_);
        hold_ = false;
        changed_.notify_all();
    }
    bool holding() const {
        std::lock_guard lock(mutex_);
        return waiting_;
    }

    std::vector<Shown> shown() const {
        std::lock_guard lock(mutex_);
        return shown_;
    }
    std::vector<std::string> refusals() const {
        std::lock_guard lock(mutex_);
        return refusals_;
    }

    DialogEnd choose(ListDialog& dialog) override {
        std::unique_lock lock(mutex_);
        record({dialog.id, dialog.entries, dialog.preselected, {}}, lock);
        if (answers_.empty()) return DialogEnd::Cancel;
        Answer a = takeAnswer();
        if (a.end != DialogEnd::Ok) return a.end;
        dialog.chosen = a.position;
        for (std::size_t i = 0; i < dialog.entries.size() && !a.entry.empty(); ++i)
            if (dialog.entries[i] == a.entry) dialog.chosen = static_cast<int>(i);
        return DialogEnd::Ok;
    }

    DialogEnd edit(EditDialog& dialog) override {
        std::unique_lock lock(mutex_);
        record({dialog.id, {}, -1, dialog.fields}, lock);
        while (!answers_.empty()) {
            Answer a = takeAnswer();
            if (a.pressAction) {
                lock.unlock();
                if (dialog.action) dialog.action();
                return DialogEnd::Cancel;
            }
            if (a.end != DialogEnd::Ok) return a.end;
            std::vector<std::string> fields = a.fields.empty() ? dialog.fields : a.fields;
            std::string complaint = dialog.check ? dialog.check(fields) : std::string();
            if (complaint.empty()) {
                dialog.fields = fields;
                return DialogEnd::Ok;
            }
            refusals_.push_back(complaint);
        }
        return DialogEnd::Cancel;
    }

private:
    void record(Shown shown, std::unique_lock<std::mutex>& lock) {
        shown_.push_back(std::move(shown));
        waiting_ = hold_;
        changed_.wait(lock, [this] { return !hold_; });
        waiting_ = false;
    }
    Answer takeAnswer() {
        Answer a = answers_.front();
        answers_.pop_front();
        return a;
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
    std::vector<std::string> refusals_;
    bool hold_ = false;
    bool waiting_ = false;
};

}  // namespace fenta21::test
