#pragma once

#include "core/base/Host.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fenta21::fuzz {

// A host that answers every question from a list taken from the input (in turn, over and
// over), runs modal workers inline, and keeps count of what it was told.
class FuzzHost : public Host {
public:
    std::vector<Answer> answers{Answer::Yes};
    std::vector<std::string> openFiles;
    std::size_t reportCount = 0;
    std::size_t questionCount = 0;
    std::size_t yesNoQuestions = 0;  // of them, plain yes/no questions

    void report(const std::string&) override { ++reportCount; }
    Answer ask(Question kind, const std::string&) override {
        if (kind == Question::YesNo) ++yesNoQuestions;
        return answers.empty() ? Answer::No : answers[questionCount++ % answers.size()];
    }
    std::vector<std::string> chooseOpenFiles(const OpenFileRequest&) override { return openFiles; }
    std::string chooseSaveFile(const std::string&, const std::string& suggested) override { return suggested; }
    std::string chooseFolder(const std::string&) override { return {}; }
    void showNotice(const std::string&) override {}
    void hideNotice() override {}
    int runModal(const ModalSpec&, std::atomic<int>& cancelFlag,
                 const std::function<int(ModalContext&)>& worker) override {
        cancelFlag.store(0);
        ModalContext context(cancelFlag);
        return worker(context);
    }
    void openTextFile(const std::string&) override {}
};

}  // namespace fenta21::fuzz
