#include "gui/app/MainCommands.h"

#include "core/app/Session.h"
#include "core/datafile/CFilCnv.h"
#include "core/datafile/DataFileDisplay.h"
#include "core/app/Folders.h"
#include "gui/app/CMainFrame.h"
#include "gui/app/Launchers.h"
#include "gui/app/ToolbarIcons.h"
#include "gui/base/BesideTheWindow.h"
#include "gui/datafile/DataFileViewerCommand.h"
#include "gui/remote/RemoteWindows.h"

#include <algorithm>

namespace fenta21::gui {

using namespace CommandId;

const std::vector<MainCommand>& mainCommands() {
    using W = CMainFrame;
    constexpr EnabledWhen always = EnabledWhen::Always;
    constexpr EnabledWhen idle = EnabledWhen::LineIdle;
    static const std::vector<MainCommand> commands = {
        // id, text, enabled, accelerator, function key, toolbar place, tip, icon, handler
        {kMonitor, "詳細", always, "X", 0, 0, "", nullptr, [](W& w, int) { w.toggleMonitor(); }},
        {kDataFileDisplay, "ﾃﾞｰﾀﾌｧｲﾙ表示(&O)...", always, "F2", 2, 2, "データファイル表示 (F2)", drawDataFileDisplay,
         // Both conversions may take long on a large file; the window goes on painting the
         // progress notice meanwhile.
         [](W& w, int) { besideTheWindow([&] { displayDataFile(w.session_); }); }},
        {kOptionPrograms, "ｵﾌﾟｼｮﾝ(&O)", always, "", 0, 0, "", nullptr, [](W& w, int) { w.launchers_->runOption(); }},
        {kSaveDestination, "保存先の設定(&F)...", always, "", 0, 0, "", nullptr,
         [](W& w, int) { w.saveDestinationCommand(); }},
        {kCsvConversion, "CSVﾌｧｲﾙ変換(&C)...", always, "", 7, 7, "CSVファイル変換 (F7)", drawCsvConversion,
         [](W& w, int) {
             std::string folder = resolveDataFolder(w.session_.homeFolder(), w.session_.settings.dataFolder);
             besideTheWindow([&] { CFilCnv(w.session_, w.session_.models).convertChosenFiles(folder); });
         }},
        {kAddressBook, "ｱﾄﾞﾚｽ帳(&A)...", always, "F5", 5, 5, "アドレス帳 (F5)", drawAddressBook,
         [](W& w, int) { w.remote_->addressBookCommand(); }},
        {kWebSite, "ホームページ", always, "", 0, 9, "ホームページ", drawWebSite,
         [](W& w, int) { w.launchers_->openWebSite(); }},
        {kDataFileViewer, "データファイルビューア", always, "Shift+F2", 0, 0, "", nullptr,
         [](W& w, int) { dataFileViewerCommand(w.session_, &w); }},
        {kCfCard, "CFカード初期化", always, "", 0, 0, "", nullptr, [](W& w, int) { w.cfCardCommand(); }},
        {kCollectNewOverLink, "最新ﾃﾞｰﾀ回収", always, "", 0, 0, "", nullptr, [](W& w, int c) { w.collectOverLinkCommand(c); }},
        {kCollectAllOverLink, "全ﾃﾞｰﾀ回収", always, "", 0, 0, "", nullptr, [](W& w, int c) { w.collectOverLinkCommand(c); }},
        {kCollectTextOverLink, "ﾃｷｽﾄ形式回収", always, "", 0, 0, "", nullptr, [](W& w, int c) { w.collectOverLinkCommand(c); }},
        {kArbitraryCollection, "任意回収(&A)...", always, "", 0, 0, "", nullptr,
         [](W& w, int) { w.remote_->arbitraryCollectionCommand(); }},
        {kReservation, "予約回収(&R)...", always, "F6", 6, 6, "予約回収 (F6)", drawReservation,
         [](W& w, int) { w.remote_->reservationCommand(); }},
        {kModemSettings, "モデムの設定(&M)...", always, "", 0, 0, "", nullptr,
         [](W& w, int) { w.remote_->modemSettingsCommand(); }},
        {kAutoLink, "自動リンク(&A)", idle, "F3", 3, 3, "自動リンク (F3)", drawAutoLink,
         [](W& w, int) { w.autoLinkCommand(); }},
        {kManualLink, "手動リンク(&M)...", idle, "", 0, 0, "", nullptr, [](W& w, int) { w.manualLinkCommand(); }},
        {kKeyboardMode, "ｷｰﾎﾞｰﾄﾞ直接ｺﾏﾝﾄﾞ入力(&K)...", always, "", 0, 0, "", nullptr,
         [](W& w, int) { w.keyboardModeCommand(); }},
        {kDisconnect, "回線切断(&C)", EnabledWhen::LineLinked, "F4", 4, 4, "回線切断 (F4)", drawDisconnect,
         [](W& w, int) { w.disconnectCommand(); }},
        {kDirectCollection, "接続開始(&A)", idle, "F1", 1, 1, "接続開始 (F1)", drawDirectCollection,
         [](W& w, int c) { w.directCollectionCommand(c); }},
        {kRemoteLink, "接続開始(&A)...", idle, "", 0, 0, "", nullptr, [](W& w, int) { w.remoteLinkCommand(); }},
        {kDirectCollectionAll, "全データ回収", always, "", 8, 8, "全データ回収 (F8)", drawDirectCollectionAll,
         [](W& w, int c) { w.directCollectionCommand(c); }},
        {kPanelPageUp, "32799", always, "PgUp", 0, 0, "", nullptr, [](W& w, int c) { w.panelKeyCommand(c); }},
        {kPanelPageDown, "32800", always, "PgDown", 0, 0, "", nullptr, [](W& w, int c) { w.panelKeyCommand(c); }},
        {kPanelEnter, "32801", always, "Return", 0, 0, "", nullptr, [](W& w, int c) { w.panelKeyCommand(c); }},
        {kPanelCollectKey, "32802", always, "C", 0, 0, "", nullptr, [](W& w, int c) { w.panelKeyCommand(c); }},
        {kAbout, "ﾊﾞｰｼﾞｮﾝ情報(&A)...", always, "", 0, 0, "", nullptr, [](W& w, int) { w.launchers_->showAbout(); }},
        {kExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&E)", always, "", 0, 0, "", nullptr, [](W& w, int) { w.close(); }},
        {kHelp, "ﾍﾙﾌﾟ(&H)", always, "", 0, 0, "", nullptr, [](W& w, int) { w.launchers_->openManual(); }},
    };
    return commands;
}

const MainCommand* findMainCommand(int id) {
    const auto& commands = mainCommands();
    auto found = std::find_if(commands.begin(), commands.end(), [id](const MainCommand& c) { return c.id == id; });
    return found == commands.end() ? nullptr : &*found;
}

std::vector<int> allCommandIds() {
    std::vector<int> ids;
    for (const MainCommand& command : mainCommands()) ids.push_back(command.id);
    return ids;
}

std::optional<int> functionKeyCommand(int virtualKey) {
    int number = virtualKey - kKeyF1 + 1;
    for (const MainCommand& command : mainCommands())
        if (command.functionKey != 0 && command.functionKey == number) return command.id;
    return std::nullopt;
}

}  // namespace fenta21::gui
