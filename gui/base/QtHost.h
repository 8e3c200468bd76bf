#pragma once

#include "core/base/Host.h"
#include "gui/base/GuiInbox.h"
#include "gui/base/StatusNotice.h"
#include "gui/base/WindowPlacement.h"

#include <QObject>
#include <QPointer>

#include <atomic>
#include <functional>
#include <vector>

class QWidget;

namespace fenta21::gui {

// The desktop program's Host: message boxes, questions, file dialogs, the status notice and
// the windows of long operations. The core calls it from any thread: on the GUI thread it
// acts at once; from a worker (the scheduler, a receiver's command wait, the panel's key
// worker) each call is handed to the GUI thread and the worker waits for its answer there.
class QtHost : public QObject, public Host {
    Q_OBJECT
public:
    explicit QtHost(QObject* parent = nullptr);
    ~QtHost() override;

    // The window the host's windows are centred on when no modal window is open.
    void setMainWindow(QWidget* window) {
        mainWindow_ = window;
        placement_.setMainWindow(window);
    }
    // Where the file dialogs start when the core names no folder (the resolved data folder).
    std::function<std::string()> startingFolder;

    // Once the program is closing, workers get no more windows: their questions are answered
    // "cancel", their reports are dropped and their long operations see the cancel flag set.
    // A worker already waiting for a window that has not opened is let go the same way.
    void closeDown();

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


    StatusNotice* notice() const { return notice_.data(); }

    // The caption of the program's message boxes and questions.
    static constexpr const char* kMessageCaption = "FENTA21通信ソフト";

    // The window the host's windows belong to: the open modal window, else the main window.
    QWidget* dialogParent() const;
    // Where work for the window thread goes; closed with the host.
    GuiInbox& inbox() { return inbox_; }

private:
    int runModalHere(const ModalSpec& spec, std::atomic<int>& cancelFlag,
                     const std::function<int(ModalContext&)>& worker);

    QPointer<QWidget> mainWindow_;
    // Sizes and places every window of the program as it opens.
    WindowPlacement placement_;
    // Owned by the main window once there is one, so it can go before the host.
    QPointer<StatusNotice> notice_;
    std::atomic<bool> closing_{false};
    // The cancel flags of the operations whose windows are open (GUI thread only).
    std::vector<std::atomic<int>*> openOperations_;
    // The host's own hand-offs, so that closing lets go of exactly its callers.
    GuiInbox inbox_;
};

// Turns a filter list as the core writes it (" Binary data (*.v38)|*.v38|...") into the
// form of the file dialogs (" Binary data (*.v38);;...").
QString fileDialogFilter(const std::string& coreFilter);

}  // namespace fenta21::gui
