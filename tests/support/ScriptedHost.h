#pragma once

#include "core/base/Host.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace fenta21::test {

// A host that records what the core told and asked, answers from a script, and runs modal
// workers inline on the calling thread.
class ScriptedHost : public Host {
public:
    struct Modal {
        ModalSpec spec;
        int result;
        std::vector<std::string> texts;
        std::vector<int> progress;
    };

    void report(const std::string& text) override;
    Answer ask(Question kind, const std::string& text) override;
    std::vector<std::string> chooseOpenFiles(const OpenFileRequest& request) override;
    std::string chooseSaveFile(const std::string& title, const std::string& suggested) override;
    std::string chooseFolder(const std::string& title) override;
    void showNotice(const std::string& text) override;
    void hideNotice() override;
    int runModal(const ModalSpec& spec, std::atomic<int>& cancelFlag,
                 const std::function<int(ModalContext&)>& worker) override;
    void openTextFile(const std::string& path) override;

    // Script.
    std::deque<Answer> answers;                 // Yes/No questions answered in order (default No)
    std::deque<std::vector<std::string>> openFiles;
    std::deque<std::string> saveFiles;
    std::deque<std::string> folders;
    bool cancelModals = false;                  // press cancel as soon as a modal window opens

    // Record (guarded: workers may report from their own threads).
    std::vector<std::string> reports() const;
    std::vector<std::string> questions() const;
    std::vector<Modal> modals() const;
    std::vector<std::string> notices() const;
    std::vector<std::string> openedFiles() const;
    std::vector<OpenFileRequest> openRequests() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> reports_;
    std::vector<std::string> questions_;
    std::vector<Modal> modals_;
    std::vector<std::string> notices_;
    std::vector<std::string> opened_;
    std::vector<OpenFileRequest> openRequests_;
};

}  // namespace fenta21::test
