#include "gui/app/CMainFrame.h"

#include "core/app/CommandTable.h"
#include "core/app/DirectCollection.h"
#include "core/app/Folders.h"
#include "core/app/Heartbeat.h"
#include "core/app/LineClaim.h"
#include "core/app/Session.h"
#include "core/datafile/CFilCnv.h"
#include "core/datafile/DataFileDisplay.h"
#include "core/panel/PanelItems.h"
#include "core/remote/ConnectionResult.h"
#include "core/remote/Disconnect.h"
#include "core/remote/RemoteLink.h"
#include "gui/app/Accelerators.h"
#include "gui/app/Launchers.h"
#include "gui/app/ManualLinkDialog.h"
#include "gui/app/MonitorBar.h"
#include "gui/app/SaveDestinationDialog.h"
#include "gui/app/StatusBar.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/base/BesideTheWindow.h"
#include "gui/base/ProgramIcon.h"
#include "gui/base/QtHost.h"
#include "gui/datafile/DataFileViewerCommand.h"
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

#include <filesystem>

namespace fenta21::gui {
namespace {

using namespace CommandId;

// Texts of the commands that no menu item names.
QString unlistedCommandText(int command) {
    switch (command) {
        case kDirectCollectionAll: return QStringLiteral("全データ回収");
        case kWebSite: return QStringLiteral("ホームページ");
        case kDataFileViewer: return QStringLiteral("データファイルビューア");
        case kCfCard: return QStringLiteral("CFカード初期化");
        case kCollectNewOverLink: return QStringLiteral("最新ﾃﾞｰﾀ回収");
        case kCollectAllOverLink: return QStringLiteral("全ﾃﾞｰﾀ回収");
        case kCollectTextOverLink: return QStringLiteral("ﾃｷｽﾄ形式回収");
        case kMonitor: return QStringLiteral("詳細");
        default: return QString::number(command);
    }
}

void collectMenuTexts(const std::vector<MenuEntry>& entries, std::map<int, QString>& texts) {
    for (const auto& entry : entries) {
        if (entry.command != 0) texts.emplace(entry.command, entry.text.section('\t', 0, 0));
        collectMenuTexts(entry.children, texts);
    }
}

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
    handlers_[kDirectCollection] = [this] { directCollectionCommand(kDirectCollection); };
    handlers_[kDirectCollectionAll] = [this] { directCollectionCommand(kDirectCollectionAll); };
    handlers_[kAutoLink] = [this] { autoLinkCommand(); };
    handlers_[kDisconnect] = [this] { disconnectCommand(); };
    handlers_[kSaveDestination] = [this] { saveDestinationCommand(); };
    // Both may convert a large file; the window goes on painting the progress notice meanwhile.
    handlers_[kDataFileDisplay] = [this] { besideTheWindow([&] { displayDataFile(session_); }); };
    handlers_[kCsvConversion] = [this] {
        std::string folder = resolveDataFolder(session_.homeFolder(), session_.settings.dataFolder);
        besideTheWindow([&] { CFilCnv(session_, session_.models).convertChosenFiles(folder); });
    };
    handlers_[kManualLink] = [this] { manualLinkCommand(); };
    handlers_[kKeyboardMode] = [this] { keyboardModeCommand(); };
    for (int command : {kCollectNewOverLink, kCollectAllOverLink, kCollectTextOverLink})
        handlers_[command] = [this, command] { collectOverLinkCommand(command); };
    for (int command : {kPanelPageUp, kPanelPageDown, kPanelEnter, kPanelCollectKey})
        handlers_[command] = [this, command] { panelKeyCommand(command); };
    handlers_[kExit] = [this] { close(); };
    handlers_[kMonitor] = [this] { toggleMonitor(); };
    auto* launchers = new Launchers(session_, this, [this](int command) { runCommand(command); });
    handlers_[kOptionPrograms] = [launchers] { launchers->runOption(); };
    handlers_[kWebSite] = [launchers] { launchers->openWebSite(); };
    handlers_[kHelp] = [launchers] { launchers->openManual(); };
    handlers_[kAbout] = [launchers] { launchers->showAbout(); };
    remote_ = new RemoteWindows(session_, this);
    handlers_[kAddressBook] = [this] { remote_->addressBookCommand(); };
    handlers_[kModemSettings] = [this] { remote_->modemSettingsCommand(); };
    handlers_[kRemoteLink] = [this] { remoteLinkCommand(); };
    handlers_[kArbitraryCollection] = [this] { remote_->arbitraryCollectionCommand(); };
    handlers_[kReservation] = [this] { remote_->reservationCommand(); };
    handlers_[kCfCard] = [this] { cfCardCommand(); };
    handlers_[kDataFileViewer] = [this] { dataFileViewerCommand(session_, this); };

    std::map<int, QString> texts;
    collectMenuTexts(mainMenu(MainMenuKind::WithOptions), texts);
    for (int command : allCommandIds()) {
        auto known = texts.find(command);
        auto* action = new QAction(known != texts.end() ? known->second : unlistedCommandText(command), this);
        action->setObjectName(QString("cmd%1").arg(command));
        connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
        actions_[command] = action;
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
    for (int command : toolbarCommands()) {
        QAction* action = actions_.at(command);
        action->setIcon(toolbarIcon(command));
        action->setToolTip(toolbarTip(command));
        toolbar_->addAction(action);
    }
}

void CMainFrame::buildAccelerators() {
    for (const Accelerator& accelerator : acceleratorTable()) {
        auto* shortcut = new QShortcut(accelerator.key, this);
        shortcut->setAutoRepeat(false);
        int command = accelerator.command;
        int functionKey = accelerator.functionKey;
        connect(shortcut, &QShortcut::activated, this, [this, command, functionKey] {
            updateCommandStates();
            QAction* action = actions_.at(command);
            bool runs = action->isEnabled();
            if (functionKey != 0) pressRanCommand_[static_cast<std::size_t>(functionKey - kKeyF1)] = runs;
            if (runs) action->trigger();
        });
    }
}

void CMainFrame::updateCommandStates() {
    LineState state = session_.line.lineState.load();
    for (auto& [command, action] : actions_)
        action->setEnabled(handlers_.count(command) != 0 && commandEnabled(command, state));
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
    auto handler = handlers_.find(command);
    if (handler == handlers_.end()) return;
    bool outer = !commandRunning_;
    commandRunning_ = true;
    handler->second();
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
