#pragma once

#include "gui/app/MainMenus.h"
#include "gui/panel/PanelDialogWindows.h"

#include <QMainWindow>
#include <QTimer>

#include <array>
#include <functional>
#include <map>
#include <vector>
#include <memory>

class QAction;
class QDockWidget;
class QToolBar;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

class CV38View;
class Launchers;
struct CfCardSetup;
struct MainCommand;
class MonitorBar;
class QtHost;
class RemoteWindows;
class StatusBar;

// The main window: menus, toolbar, accelerators and function keys all trigger one action per
// command id (object name "cmd<id>"); each action is enabled by the core's rule over the line
// words, and its handler calls the core. The 100 ms heartbeat samples the clock, keeps the
// enabled states current and runs the function key that the view left for it.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(Session& session, QtHost& host, MainMenuKind menuKind, QWidget* parent = nullptr);
    ~CMainFrame() override;

    static constexpr const char* kTitle = "FENTA21通信ソフト for Brightlow Ver3.02";
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 216;
    static constexpr int kHeightWithMonitor = 439;

    QAction* action(int command) const;
    QToolBar* toolbar() const { return toolbar_; }
    CV38View* view() const { return view_; }
    MainMenuKind menuKind() const { return menuKind_; }
    bool heartbeatRunning() const { return heartbeat_.isActive(); }
    StatusBar* statusBar() const { return statusBar_; }
    MonitorBar* monitorBar() const { return monitorBar_; }
    RemoteWindows* remoteWindows() const { return remote_; }
    bool monitorShown() const { return monitorShown_; }
    // The disks and programs the CF card window works with.
    CfCardSetup& cfCardSetup() { return *cfCard_; }

    // Re-evaluates every command's enabled rule.
    void updateCommandStates();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The command table's handlers run the window's own commands.
    friend const std::vector<MainCommand>& mainCommands();

    void buildActions();
    void buildMenus();
    void buildToolbar();
    void buildAccelerators();
    void buildBars();
    void toggleMonitor();
    void heartbeat();
    // A command's own work, without the enabled check (the function keys skip that check).
    void runCommand(int command);
    void functionKeyReleased(int virtualKey);

    void directCollectionCommand(int command);
    void autoLinkCommand();
    void disconnectCommand();
    void saveDestinationCommand();
    void manualLinkCommand();
    void keyboardModeCommand();
    void collectOverLinkCommand(int command);
    void panelKeyCommand(int command);
    // After the automatic, manual or remote link is up: the panel runs on it.
    void startPanel();
    void remoteLinkCommand();
    void cfCardCommand();

    Session& session_;
    QtHost& host_;
    PanelDialogWindows panelDialogs_;
    const MainMenuKind menuKind_;
    std::map<int, QAction*> actions_;
    Launchers* launchers_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    CV38View* view_ = nullptr;
    RemoteWindows* remote_ = nullptr;
    std::unique_ptr<CfCardSetup> cfCard_;
    QTimer heartbeat_;
    StatusBar* statusBar_ = nullptr;
    MonitorBar* monitorBar_ = nullptr;
    QWidget* monitorDock_ = nullptr;
    bool monitorShown_ = false;
    // Whether the last press of F1 ... F9 ran its command through the accelerator table, so
    // that its release does not run it a second time through the heartbeat.
    std::array<bool, 9> pressRanCommand_{};
    // True while a command's handler runs (its windows and waits included).
    bool commandRunning_ = false;
    bool functionKeyQueued_ = false;
};

}  // namespace fenta21::gui
