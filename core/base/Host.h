#pragma once

#include "core/base/Results.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace fenta21 {

// What a long operation's window looks like while its worker runs.
enum class ModalKind {
    Wait,        // "FENTA21通信ソフト": one text line and a cancel button
    Connection,  // connection progress
    Collection,  // "データ回収": animation, progress bar, text line, cancel button
};

struct ModalSpec {
    ModalKind kind = ModalKind::Wait;
    std::string caption;
    std::string text;
};

// Handed to the worker of a modal operation. The cancel request is the shared cancel flag of
// the line: the window's cancel button sets it to 27 and the worker sees it wherever it polls.
class ModalContext {
public:
    explicit ModalContext(std::atomic<int>& cancelFlag) : cancelFlag_(cancelFlag) {}
    virtual ~ModalContext() = default;

    bool cancelled() const { return cancelFlag_.load() == kCancelled; }
    // What the window's cancel button does; the window stays until the worker ends it.
    void requestCancel() { cancelFlag_.store(kCancelled); }

    virtual void setText(const std::string& /*text*/) {}
    // The device the operation now works on ("/dev/ttyUSB0" behind "(COM1)" in the text), for
    // a host that shows it beside the next text; the window's own text stays as it is.
    virtual void setLineDevice(const std::string& /*devicePath*/) {}
    virtual void setProgress(int /*percent*/) {}
    virtual void startAnimation() {}

protected:
    std::atomic<int>& cancelFlag_;
};

enum class Answer { Yes, No, YesToAll, Cancel };

// What a file-open dialog offers. Chosen files always exist.
struct OpenFileRequest {
    std::string folder;  // where the dialog starts; empty: the host's own choice (the data folder)
    std::string name;    // the name filled in at the start, if any
    // Descriptions and patterns in turn: " CSV data (*.csv)|*.csv| Binary data (*.v38)|*.v38".
    std::string filter;
    bool multiple = false;  // several files may be chosen at once
};

enum class Question {
    YesNo,          // a plain yes/no question
    OverwriteFile,  // the converter's four-button question: yes, no, yes to all, cancel
};

// The only way the core asks or tells a person anything. The desktop program shows windows,
// the command-line program prints and takes its answers from options, tests record.
class Host {
public:
    virtual ~Host() = default;

    // A failure message (message box, stderr line, recorded in tests).
    virtual void report(const std::string& text) = 0;
    virtual Answer ask(Question kind, const std::string& text) = 0;

    // The chosen files, in the order the dialog returns them; none when the user cancels.
    virtual std::vector<std::string> chooseOpenFiles(const OpenFileRequest& request) = 0;
    virtual std::string chooseSaveFile(const std::string& title, const std::string& suggested) = 0;
    virtual std::string chooseFolder(const std::string& title) = 0;

    virtual void showNotice(const std::string& text) = 0;
    virtual void hideNotice() = 0;

    // Runs a long operation: the worker runs while the host shows the window of `spec`;
    // the worker's return value ends the window and is the result. The host resets the
    // cancel flag to 0 when the window opens. Callable from any thread.
    virtual int runModal(const ModalSpec& spec, std::atomic<int>& cancelFlag,
                         const std::function<int(ModalContext&)>& worker) = 0;

    // Shows a text, CSV or log file and returns at once, without waiting for the user.
    virtual void openTextFile(const std::string& path) = 0;
};

}  // namespace fenta21
