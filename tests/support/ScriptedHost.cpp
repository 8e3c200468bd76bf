#include "tests/support/ScriptedHost.h"

namespace fenta21::test {
namespace {

class RecordingContext : public ModalContext {
public:
    RecordingContext(std::atomic<int>& flag, ScriptedHost::Modal& modal) : ModalContext(flag), modal_(modal) {}
    void setText(const std::string& text) override { modal_.texts.push_back(text); }
    void setProgress(int percent) override { modal_.progress.push_back(percent); }

private:
    ScriptedHost::Modal& modal_;
};

template <typename T>
T takeFront(std::deque<T>& queue, T fallback) {
    if (queue.empty()) return fallback;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
}

}  // namespace

void ScriptedHost::report(const std::string& text) {
    std::lock_guard lock(mutex_);
    reports_.push_back(text);
}

Answer ScriptedHost::ask(Question, const std::string& text) {
    std::lock_guard lock(mutex_);
    questions_.push_back(text);
    return takeFront(answers, Answer::No);
}

std::vector<std::string> ScriptedHost::chooseOpenFiles(const OpenFileRequest& request) {
    std::lock_guard lock(mutex_);
    openRequests_.push_back(request);
    return takeFront(openFiles, {});
}

std::string ScriptedHost::chooseSaveFile(const std::string&, const std::string&) {
    std::lock_guard lock(mutex_);
    return takeFront(saveFiles, std::string());
}

std::string ScriptedHost::chooseFolder(const std::string&) {
    std::lock_guard lock(mutex_);
    return takeFront(folders, std::string());
}

void ScriptedHost::showNotice(const std::string& text) {
    std::lock_guard lock(mutex_);
    notices_.push_back(text);
}

void ScriptedHost::hideNotice() {}

int ScriptedHost::runModal(const ModalSpec& spec, std::atomic<int>& cancelFlag,
                           const std::function<int(ModalContext&)>& worker) {
    Modal modal{spec, 0, {}, {}};
    cancelFlag.store(0);
    RecordingContext context(cancelFlag, modal);
    if (cancelModals) context.requestCancel();
    modal.result = worker(context);
    std::lock_guard lock(mutex_);
    modals_.push_back(modal);
    return modal.result;
}

void ScriptedHost::openTextFile(const std::string& path) {
    std::lock_guard lock(mutex_);
    opened_.push_back(path);
}

std::vector<std::string> ScriptedHost::reports() const {
    std::lock_guard lock(mutex_);
    return reports_;
}
std::vector<std::string> ScriptedHost::questions() const {
    std::lock_guard lock(mutex_);
    return questions_;
}
std::vector<ScriptedHost::Modal> ScriptedHost::modals() const {
    std::lock_guard lock(mutex_);
    return modals_;
}
std::vector<std::string> ScriptedHost::notices() const {
    std::lock_guard lock(mutex_);
    return notices_;
}
std::vector<std::string> ScriptedHost::openedFiles() const {
    std::lock_guard lock(mutex_);
    return opened_;
}

std::vector<OpenFileRequest> ScriptedHost::openRequests() const {
    std::lock_guard lock(mutex_);
    return openRequests_;
}

}  // namespace fenta21::test
