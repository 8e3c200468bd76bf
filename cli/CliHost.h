#pragma once

#include "core/base/Host.h"

#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace fenta21::cli {

// The host of the command-line program: messages and progress go to stderr (UTF-8),
// questions are answered by options, and Ctrl+C (or SIGTERM, SIGHUP) during a long operation
// cancels it the way the cancel button of a wait window would.
class CliHost : public Host {
public:
    explicit CliHost(std::FILE* messages = stderr);

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

    // How questions are answered: with --yes every yes/no question gets yes, else no.
    bool answerYes = false;
    // The converter's overwrite question: Yes (overwrite), No (keep) or Cancel (stop) when
    // neither --overwrite nor --skip-existing was given.
    Answer overwriteAnswer = Answer::No;
    // Files the command was given, handed to the core when it asks for files to open.
    std::vector<std::string> openFiles;
    // The name a save question gets; empty takes the name the core suggested.
    std::string saveFile;
    std::string folder;

    // True when any report was made (a failure the user was told about).
    bool reported() const { return !reports().empty(); }
    // Every report so far, in order: the --json result repeats them.
    std::vector<std::string> reports() const;

    // Installs the handler of SIGINT, SIGTERM and SIGHUP. Outside a long operation such a
    // signal ends the program at once (status 128 + the signal's number); inside one it
    // cancels the operation, and every later one starts cancelled, so that the command winds
    // down (no "clear", no temporary file, the line released) and then ends with that status.
    static void installSignalHandlers();
    // The signal that cancelled the command's work, or 0.
    static int cancellingSignal();
    // The status the program ends with when the command returned `commandStatus`: a command
    // that a signal cancelled has wound down, and 128 + the signal says what ended it.
    static int exitStatus(int commandStatus);
    // For a command that ends itself when asked (the scheduler): from now on the first signal
    // only asks it to stop (stopSignal()), and a second one cancels as above.
    static void stopOnFirstSignal();
    static int stopSignal();

private:
    std::FILE* out_;
    // A reserved collection reports from the scheduler's worker.
    mutable std::mutex mutex_;
    std::vector<std::string> reports_;
};

}  // namespace fenta21::cli
