#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class QMenu;

namespace fenta21 {
class PanelDialogs;
class PanelSession;
class Session;
enum class PanelKey;
}

namespace fenta21::gui {

// The main window's client area: the remote operation panel. It draws the logger's front
// panel from the core's panel session, feeds it the clicks, the keys and the 465 ms timer,
// and opens the collection menu when the session asks for it. Every decision is the
// session's; the view only shows and hands on.
class CV38View : public QWidget {
    Q_OBJECT
public:
    // `functionKeyReleased` gets the virtual-key code of F1 ... F9 let go over the view;
    // `runCommand` runs a command of the main window (the collection menu's).
    CV38View(Session& session, PanelDialogs& dialogs, std::function<void(int virtualKey)> functionKeyReleased,
             std::function<void(int command)> runCommand, QWidget* parent = nullptr);
    ~CV38View() override;

    // After a link has been made.
    void startSession();
    // The disconnect: the session ends and takes its line down on the next ticks. False when
    // no session holds the line, which is then the caller's to take down.
    bool endSession();
    // The window's closing: the session ends now and its line is released. Runs the events
    // that a worker may be waiting for until both workers are done.
    void shutDown();

    // A press of a panel key from the keyboard or the main window's key commands: acts as
    // a click on that key.
    void keyCommand(PanelKey key);

    PanelSession& panel() { return *panel_; }
    QMenu* collectionMenu() const { return collectionMenu_; }
    // The timer's period as this program's clock counts it (465 ms, scaled in tests).
    int tickMilliseconds() const { return tickMilliseconds_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void openCollectionMenu();
    void redrawLater();

    Session& session_;
    std::function<void(int)> functionKeyReleased_;
    std::function<void(int)> runCommand_;
    std::unique_ptr<PanelSession> panel_;
    QMenu* collectionMenu_ = nullptr;
    int timerId_ = 0;
    int tickMilliseconds_ = 0;
    bool drawnActive_ = false;
};

}  // namespace fenta21::gui
