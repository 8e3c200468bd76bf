#include "cli/CliHost.h"

#include <unistd.h>

#include <csignal>
#include <optional>

namespace fenta21::cli {
namespace {

// The cancel flag of the long operation now running, for the signal handler.
std::atomic<std::atomic<int>*> activeCancelFlag{nullptr};
std::atomic<int> cancelledBy{0};
std::atomic<bool> firstSignalStops{false};
std::atomic<int> stoppedBy{0};
static_assert(std::atomic<std::atomic<int>*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

// Only lock-free atomics and _exit here: the handler may interrupt anything.
extern "C" void onSignal(int signalNumber) {
    if (firstSignalStops.load()) {
        int none = 0;
        if (stoppedBy.compare_exchange_strong(none, signalNumber)) return;
    }
    int none = 0;
    cancelledBy.compare_exchange_strong(none, signalNumber);
    std::atomic<int>* flag = activeCancelFlag.load();
    if (flag != nullptr) flag->store(kCancelled);
    else if (!firstSignalStops.load()) _exit(128 + signalNumber);
}

// Shows the progress of a long operation on one terminal line, or as plain lines when the
// messages go to a file.
class TerminalContext : public ModalContext {
public:
    TerminalContext(std::atomic<int>& flag, std::FILE* out) : ModalContext(flag), out_(out), tty_(isatty(fileno(out))) {}
    ~TerminalContext() override {
        // A log ends on the last percentage, which may have come after the last text.
        if (!tty_ && drawn_ && drawnPercent_ != percent_) draw();
        if (tty_ && drawn_) std::fputc('\n', out_);
    }

    void setText(const std::string& text) override {
        if (text == text_ && device_ == drawnDevice_) return;
        text_ = text;
        draw();
    }
    // Shown with the next text, so that a line never pairs one port's text with another's
    // device; only a line that names no device yet is drawn again at once.
    void setLineDevice(const std::string& devicePath) override {
        device_ = devicePath;
        if (drawn_ && !drawnDevice_) draw();
    }
    // Without a terminal the percentage waits for the text that follows it: drawn at once, it
    // would make a line pairing the new percentage with the old text.
    void setProgress(int percent) override {
        if (percent == percent_) return;
        percent_ = percent;
        if (tty_) draw();
    }

private:
    void draw() {
        if (tty_) std::fputs("\r\033[K", out_);
        if (percent_ >= 0) std::fprintf(out_, "%3d%% ", percent_);
        drawnPercent_ = percent_;
        std::fputs(text_.c_str(), out_);
        if (device_) std::fputs(device_->empty() ? " (no device)" : (" on " + *device_).c_str(), out_);
        drawnDevice_ = device_;
        if (!tty_) std::fputc('\n', out_);
        std::fflush(out_);
        drawn_ = true;
    }

    std::FILE* out_;
    bool tty_;
    bool drawn_ = false;
    std::string text_;
    std::optional<std::string> device_;
    std::optional<std::string> drawnDevice_;
    int percent_ = -1;
    int drawnPercent_ = -1;
};

}  // namespace

CliHost::CliHost(std::FILE* messages) : out_(messages) {}

void CliHost::installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, signalNumber);
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) sigaction(signalNumber, &action, nullptr);
}

int CliHost::cancellingSignal() { return cancelledBy.load(); }

int CliHost::exitStatus(int commandStatus) {
    int signalNumber = cancellingSignal();
    return signalNumber != 0 ? 128 + signalNumber : commandStatus;
}

void CliHost::stopOnFirstSignal() { firstSignalStops.store(true); }

int CliHost::stopSignal() { return stoppedBy.load(); }

void CliHost::report(const std::string& text) {
    {
        std::lock_guard lock(mutex_);
        reports_.push_back(text);
    }
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

std::vector<std::string> CliHost::reports() const {
    std::lock_guard lock(mutex_);
    return reports_;
}

Answer CliHost::ask(Question kind, const std::string& text) {
    Answer answer = kind == Question::OverwriteFile ? overwriteAnswer : (answerYes ? Answer::Yes : Answer::No);
    const char* word = answer == Answer::Yes ? "yes" : answer == Answer::No ? "no" : answer == Answer::YesToAll ? "yes to all" : "cancel";
    std::fprintf(out_, "%s -> %s\n", text.c_str(), word);
    return answer;
}

std::vector<std::string> CliHost::chooseOpenFiles(const OpenFileRequest&) { return openFiles; }

std::string CliHost::chooseSaveFile(const std::string&, const std::string& suggested) {
    return saveFile.empty() ? suggested : saveFile;
}

std::string CliHost::chooseFolder(const std::string&) { return folder; }

void CliHost::showNotice(const std::string& text) {
    std::fprintf(out_, "%s\n", text.c_str());
    std::fflush(out_);
}

void CliHost::hideNotice() {}

int CliHost::runModal(const ModalSpec& spec, std::atomic<int>& cancelFlag,
                      const std::function<int(ModalContext&)>& worker) {
    std::atomic<int>* previous = activeCancelFlag.exchange(&cancelFlag);
    // Once a signal has cancelled, every operation after it (a reply wait inside the transfer,
    // the next station) starts cancelled: resetting the flag here would undo the signal.
    cancelFlag.store(cancelledBy.load() != 0 ? kCancelled : 0);
    TerminalContext context(cancelFlag, out_);
    context.setText(spec.text);
    int result = worker(context);
    activeCancelFlag.store(previous);
    return result;
}

void CliHost::openTextFile(const std::string& path) { std::fprintf(stdout, "%s\n", path.c_str()); }

}  // namespace fenta21::cli
