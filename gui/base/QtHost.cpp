#include "gui/base/QtHost.h"

#include "core/collect/SaveFilter.h"
#include "core/protocol/CommandExchange.h"
#include "gui/base/GuiThread.h"
#include "gui/base/ModalWindow.h"
#include "gui/base/QuestionBoxes.h"
#include "gui/base/StatusNotice.h"
#include "gui/base/Text.h"
#include "gui/base/TextFileViewer.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <thread>

namespace fenta21::gui {
namespace {

// Hands the worker's window updates to the GUI thread; the window outlives every update,
// because the host joins the worker before it destroys the window.
class WindowContext : public ModalContext {
public:
    WindowContext(std::atomic<int>& flag, ModalWindow* window) : ModalContext(flag), window_(window) {}

    void setText(const std::string& text) override {
        QString line = qs(text);
        post([line](ModalWindow* window) { window->showText(line); });
    }
    void setProgress(int percent) override {
        post([percent](ModalWindow* window) { window->showProgress(percent); });
    }
    void startAnimation() override {
        post([](ModalWindow* window) { window->startAnimation(); });
    }

private:
    template <class Change>
    void post(Change change) {
        postTo(window_, std::move(change));
    }
    ModalWindow* window_;
};

}  // namespace

QString fileDialogFilter(const std::string& coreFilter) {
    QStringList parts = qs(coreFilter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        // The dialog reads the patterns from the parentheses; add them when the text has none.
        if (!description.contains('(')) description += " (" + parts[i + 1] + ")";
        filters << description;
    }
    return filters.join(";;");
}

QtHost::QtHost(QObject* parent) : QObject(parent) {
    // The program's inbox for window updates is made here, on the GUI thread, before any
    // worker can hand it work.
    GuiInbox::instance();
}

QtHost::~QtHost() { delete notice_.data(); }

void QtHost::closeDown() {
    closing_.store(true);
    inbox_.close();
    // An operation whose window is open stops at its next check instead of holding the exit.
    for (std::atomic<int>* cancelFlag : openOperations_) cancelFlag->store(kCancelled);
}

QWidget* QtHost::dialogParent() const {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return mainWindow_.data();
}

void QtHost::report(const std::string& text) {
    onGuiThreadVoid(inbox_, [&] {
        QMessageBox box(QMessageBox::NoIcon, kMessageCaption, qs(text), QMessageBox::NoButton, dialogParent());
        box.setObjectName("reportBox");
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
    });
}

Answer QtHost::ask(Question kind, const std::string& text) {
    return onGuiThread(
        inbox_, [&] { return askQuestion(kind, qs(text), dialogParent()); },
        kind == Question::YesNo ? Answer::No : Answer::Cancel);
}

std::vector<std::string> QtHost::chooseOpenFiles(const OpenFileRequest& request) {
    return onGuiThread(inbox_, [&] {
        QString folder = qs(request.folder);
        if (folder.isEmpty() && startingFolder) folder = qs(startingFolder());
        QFileDialog dialog(dialogParent(), QString(), folder, fileDialogFilter(request.filter));
        dialog.setObjectName("openFileDialog");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        if (!request.name.empty()) dialog.selectFile(qs(request.name));
        std::vector<std::string> files;
        if (dialog.exec() != QDialog::Accepted) return files;
        for (const QString& file : dialog.selectedFiles()) files.push_back(utf8(file));
        return files;
    });
}

std::string QtHost::chooseSaveFile(const std::string& title, const std::string& suggested) {
    return onGuiThread(inbox_, [&] {
        QFileDialog dialog(dialogParent(), qs(title), QString(), fileDialogFilter(saveFilterFor(suggested)));
        dialog.setObjectName("saveFileDialog");
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.selectFile(qs(suggested));
        if (dialog.exec() != QDialog::Accepted) return std::string();
        return utf8(dialog.selectedFiles().value(0));
    });
}

std::string QtHost::chooseFolder(const std::string& title) {
    return onGuiThread(inbox_, [&] {
        QString start = startingFolder ? qs(startingFolder()) : QString();
        return utf8(QFileDialog::getExistingDirectory(dialogParent(), qs(title), start,
                                                      QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog));
    });
}

void QtHost::showNotice(const std::string& text) {
    onGuiThreadVoid(inbox_, [&] {
        // Above the window in front, which is usually the modal window of the work that
        // shows the notice (the modem port search, a collection): under it the notice would
        // not be seen while the work runs.
        if (!notice_) notice_ = new StatusNotice(mainWindow_.data());
        keepAbove(notice_, frontWindow(mainWindow_.data(), notice_.data()));
        notice_->showText(qs(text));
    });
}

void QtHost::hideNotice() {
    onGuiThreadVoid(inbox_, [&] {
        if (notice_) notice_->hide();
    });
}

int QtHost::runModal(const ModalSpec& spec, std::atomic<int>& cancelFlag,
                     const std::function<int(ModalContext&)>& worker) {
    if (closing_.load() && !inbox_.onGuiThread()) {
        // No window any more: the worker runs here and sees the cancel at its first check.
        cancelFlag.store(kCancelled);
        ModalContext context(cancelFlag);
        return worker(context);
    }
    return onGuiThread(inbox_, [&] { return runModalHere(spec, cancelFlag, worker); }, kCancelled);
}

int QtHost::runModalHere(const ModalSpec& spec, std::atomic<int>& cancelFlag,
                         const std::function<int(ModalContext&)>& worker) {
    cancelFlag.store(closing_.load() ? kCancelled : 0);
    openOperations_.push_back(&cancelFlag);
    ModalWindow window(spec, cancelFlag, dialogParent());
    WindowContext context(cancelFlag, &window);
    std::thread thread;
    // The worker starts once the window's event loop runs, so that its first update and its
    // end always find the window.
    QTimer::singleShot(0, &window, [&] {
        thread = std::thread([&] {
            int result = worker(context);
            postTo(&window, [result](ModalWindow* target) { target->finish(result); });
        });
    });
    int result = window.exec();
    if (!window.finishedByWorker()) {
        // The loop can also end when the program quits: the worker is told to stop and ends
        // at its next check, before the window it reports to goes away.
        cancelFlag.store(kCancelled);
        result = kCancelled;
    }
    if (thread.joinable()) thread.join();
    std::erase(openOperations_, &cancelFlag);
    return result;
}

void QtHost::openTextFile(const std::string& path) {
    onGuiThreadVoid(inbox_, [&] { TextFileViewer::open(qs(path), mainWindow_.data()); });
}

}  // namespace fenta21::gui
