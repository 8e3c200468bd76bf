#include "gui/app/CMainFrame.h"

#include "core/app/CommandTable.h"
#include "core/app/DirectCollection.h"
#include "core/app/Folders.h"
#include "core/app/Heartbeat.h"
#include "core/app/LineClaim.h"
#include "core/app/Session.h"
#include "core/panel/PanelItems.h"
#include "core/remote/ConnectionResult.h"
#include "core/remote/Disconnect.h"
#include "core/remote/RemoteLink.h"
#include "gui/app/MainCommands.h"
#include "gui/app/Launchers.h"
#include "gui/app/ManualLinkDialog.h"
#include "gui/app/MonitorBar.h"
#include "gui/app/SaveDestinationDialog.h"
#include "gui/app/StatusBar.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/base/BesideTheWindow.h"
#include "gui/base/ProgramIcon.h"
#include "gui/base/QtHost.h"
#include "gui/panel/CV38View.h"
#include "gui/protocol/KeyboardModeDialog.h"
#include "gui/remote/RemoteWindows.h"
#include "gui/util/CfCardDialog.h"
#include "gui/util/CfCardSetup.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>

#include <algorithm>
#include <filesystem>

namespace fenta21::gui {
namespace {

using namespace CommandId;

void fillMenu(QMenu* menu, const std::vector<MenuEntry>& entries, const std::map<int, QAction*>& actions) {
    for (const auto& entry : entries) {
        if (entry.separator) menu->addSeparator();
        else if (entry.command != 0) {
            // The menu shows its own text (with the key label); the action is the command.
            QAction* item = menu->addAction(entry.text);
            QAction* command = actions.at(entry.command);
            item->setObjectName(QString("menu%1").arg(entry.command));
            item->setProperty("command", entry.command);
            item->setEnabled(command->isEnabled());
            QObject::connect(command, &QAction::changed, item, [item, command] { item->setEnabled(command->isEnabled()); });
            QObject::connect(item, &QAction::triggered, command, [command] {
                if (command->isEnabled()) command->trigger();
            });
        } else fillMenu(menu->addMenu(entry.text), entry.children, actions);
    }
}

}  // namespace

CMainFrame::CMainFrame(Session& session, QtHost& host, MainMenuKind menuKind, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      host_(host),
      panelDialogs_(host),
      menuKind_(menuKind),
      cfCard_(std::make_unique<CfCardSetup>(systemCfCardSetup(session.homeFolder()))) {
    setObjectName("mainFrame");
    setWindowTitle(kTitle);
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFixedSize(kWidth, kHeight);
    host_.setMainWindow(this);

    // The remote-operation view first, then the bars, then the heartbeat, as the program has
    // always built its window.
    view_ = new CV38View(
        session_, panelDialogs_, [this](int key) { functionKeyReleased(key); }, [this](int command) { runCommand(command); },
        this);
    setCentralWidget(view_);
    buildActions();
    buildMenus();
    buildToolbar();
    buildBars();
    if (menuKind_ == MainMenuKind::WithoutOptions) buildAccelerators();

    connect(&heartbeat_, &QTimer::timeout, this, &CMainFrame::heartbeat);
    heartbeat_.start(kHeartbeatMilliseconds);
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    view_->shutDown();
    host_.setMainWindow(nullptr);
}

QAction* CMainFrame::action(int command) const {
    auto found = actions_.find(command);
    return found == actions_.end() ? nullptr : found->second;
}

void CMainFrame::buildActions() {
    launchers_ = new Launchers(session_, this, [this](int command) { runCommand(command); });
    remote_ = new RemoteWindows(session_, this);
    for (const MainCommand& command : mainCommands()) {
        auto* action = new QAction(QString::fromUtf8(command.text), this);
        action->setObjectName(QString("cmd%1").arg(command.id));
        connect(action, &QAction::triggered, this, [this, id = command.id] { runCommand(id); });
        actions_[command.id] = action;
    }
}

void CMainFrame::buildMenus() {
    for (const auto& entry : mainMenu(menuKind_)) {
        if (entry.command != 0) {
            // A top-level command ("ｵﾌﾟｼｮﾝ(&O)", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&E)") stands in the bar itself.
            QAction* item = menuBar()->addAction(entry.text);
            QAction* command = actions_.at(entry.command);
            item->setObjectName(QString("menu%1").arg(entry.command));
            item->setProperty("command", entry.command);
            connect(command, &QAction::changed, item, [item, command] { item->setEnabled(command->isEnabled()); });
            connect(item, &QAction::triggered, command, [command] {
                if (command->isEnabled()) command->trigger();
            });
            continue;
        }
        QMenu* menu = menuBar()->addMenu(entry.text);
        // The rules are asked again before a menu opens, as the line may have changed since
        // the last tick.
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
        fillMenu(menu, entry.children, actions_);
    }
}

void CMainFrame::buildToolbar() {
    toolbar_ = addToolBar(QString());
    toolbar_->setObjectName("toolbar");
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setIconSize(QSize(16, 16));
    std::vector<const MainCommand*> buttons;
    for (const MainCommand& command : mainCommands())
        if (command.toolbarPlace != 0) buttons.push_back(&command);
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->toolbarPlace < b->toolbarPlace; });
    for (const MainCommand* command : buttons) {
        QAction* action = actions_.at(command->id);
        action->setIcon(toolbarIcon(command->icon));
        action->setToolTip(QString::fromUtf8(command->tip));
        toolbar_->addAction(action);
    }
}

void CMainFrame::buildAccelerators() {
    // The edit keys belong to the view, and Alt+E is the menu bar's: a second binding of it
    // would make the key ambiguous, so that its first press did nothing.
    for (const MainCommand& row : mainCommands()) {
        if (*row.key == '\0') continue;
        auto* shortcut = new QShortcut(QKeySequence(QString::fromUtf8(row.key)), this);
        shortcut->setAutoRepeat(false);
        // A function key's press that runs its command here must not run it again when the
        // view hands its release to the heartbeat.
        int functionKey = QString::fromUtf8(row.key).startsWith('F') ? row.functionKey : 0;
        connect(shortcut, &QShortcut::activated, this, [this, command = row.id, functionKey] {
            updateCommandStates();
            QAction* action = actions_.at(command);
            bool runs = action->isEnabled();
            if (functionKey != 0) pressRanCommand_[static_cast<std::size_t>(functionKey - 1)] = runs;
            if (runs) action->trigger();
        });
    }
}

void CMainFrame::updateCommandStates() {
    LineState state = session_.line.lineState.load();
    for (const MainCommand& command : mainCommands())
        actions_.at(command.id)->setEnabled(enabledIn(command.enabled, state));
}

void CMainFrame::heartbeat() {
    HeartbeatTick tick = heartbeatTick(session_);
    if (monitorShown_) monitorBar_->refresh(session_);
    statusBar_->refresh(session_, tick.slowStatus);
    if (tick.noticeChanged) remote_->showReservationNotice();
    // The toolbar follows the line state on every tick.
    updateCommandStates();
    // A key pressed while a command runs waits for it to end, as it would in a busy window.
    // The key's command runs after this tick has returned: a timer does not fire again while
    // its own tick is running, and the heartbeat must go on during the command's windows.
    if (tick.functionKey != 0 && !commandRunning_ && !functionKeyQueued_) {
        functionKeyQueued_ = true;
        QTimer::singleShot(0, this, [this, key = tick.functionKey] {
            if (auto command = functionKeyCommand(key)) runCommand(*command);
            session_.line.pendingFunctionKey.store(0);
            functionKeyQueued_ = false;
            updateCommandStates();
        });
    }
}

void CMainFrame::runCommand(int command) {
    const MainCommand* row = findMainCommand(command);
    if (row == nullptr) return;
    bool outer = !commandRunning_;
    commandRunning_ = true;
    row->run(*this, command);
    if (outer) commandRunning_ = false;
    updateCommandStates();
}

void CMainFrame::functionKeyReleased(int virtualKey) {
    std::size_t index = static_cast<std::size_t>(virtualKey - kKeyF1);
    if (index < pressRanCommand_.size() && pressRanCommand_[index]) {
        pressRanCommand_[index] = false;
        return;
    }
    session_.line.pendingFunctionKey.store(virtualKey);
}

void CMainFrame::directCollectionCommand(int command) {
    CollectCommand kind = command == kDirectCollectionAll ? CollectCommand::AllCopy : CollectCommand::Copy;
    besideTheWindow([&] { directCollection(session_, kind); });
}

void CMainFrame::autoLinkCommand() {
    if (session_.line.lineState.load() != LineState::Idle) return;
    int result = kLinkFailed;
    besideTheWindow([&] { result = linkUp(session_, LinkRequest{}); });
    if (result == kLinkUp) startPanel();
}

void CMainFrame::startPanel() { view_->startSession(); }

void CMainFrame::disconnectCommand() {
    if (session_.line.lineState.load() == LineState::Idle) return;
    bool userLink = userLinkUp(session_);
    // The panel's refresher takes its link down on the ticks after its session ends. A link
    // that no panel session holds is the user's to drop here; a link that another operation
    // holds is left to that operation.
    bool panelHoldsLine = view_->endSession();
    session_.line.panelLinkActive.store(0);
    if (userLink && !panelHoldsLine) besideTheWindow([&] { disconnectLine(session_); });
}

void CMainFrame::collectOverLinkCommand(int command) {
    CollectCommand collect = command == kCollectAllOverLink    ? CollectCommand::AllCopy
                             : command == kCollectTextOverLink ? CollectCommand::Text
                                                               : CollectCommand::Copy;
    besideTheWindow([&] { collectOverLink(session_, collect); });
}

void CMainFrame::panelKeyCommand(int command) {
    PanelKey key = command == kPanelPageUp     ? PanelKey::Previous
                   : command == kPanelPageDown ? PanelKey::Next
                   : command == kPanelEnter    ? PanelKey::Enter
                                               : PanelKey::CollectionMenu;
    view_->keyCommand(key);
}

void CMainFrame::saveDestinationCommand() { SaveDestinationDialog::edit(session_, this); }

void CMainFrame::manualLinkCommand() {
    if (session_.line.lineState.load() != LineState::Idle) return;
    std::optional<ManualLinkChoice> choice = ManualLinkDialog::ask(session_, this);
    if (!choice) return;
    rememberManualLink(session_, choice->portIndex, choice->speedIndex);
    LinkRequest request{choice->portIndex + 1, choice->speedIndex};
    int result = kLinkFailed;
    besideTheWindow([&] { result = linkUp(session_, request); });
    if (result == kLinkUp) startPanel();
}

void CMainFrame::remoteLinkCommand() {
    if (session_.line.lineState.load() != LineState::Idle) return;
    std::optional<int> station = remote_->chooseStation();
    if (!station || !session_.addressBook.hasName(*station)) return;
    int result = -1;
    besideTheWindow([&] { result = linkToStation(session_, *station); });
    if (result == 0) startPanel();
}

void CMainFrame::cfCardCommand() {
    // The card window has always started from the home folder as the working directory.
    std::error_code ignored;
    std::filesystem::current_path(session_.homeFolder(), ignored);
    CfCardDialog dialog(session_, *cfCard_, this);
    dialog.exec();
}

void CMainFrame::keyboardModeCommand() {
    KeyboardModeDialog dialog(session_, this);
    dialog.run();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    // Nothing is saved at exit; a worker still running gets no more windows, and the panel
    // lets go of its line.
    host_.closeDown();
    heartbeat_.stop();
    view_->shutDown();
    event->accept();
}

}  // namespace fenta21::gui
