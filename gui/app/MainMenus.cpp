#include "gui/app/MainMenus.h"

#include "core/app/CommandTable.h"

namespace fenta21::gui {
namespace {

using namespace CommandId;

MenuEntry item(const char* text, int command) { return MenuEntry{QString::fromUtf8(text), command, {}, false}; }
MenuEntry submenu(const char* text, std::vector<MenuEntry> children) {
    return MenuEntry{QString::fromUtf8(text), 0, std::move(children), false};
}
MenuEntry separator() { return MenuEntry{{}, 0, {}, true}; }

}  // namespace

std::vector<MenuEntry> mainMenu(MainMenuKind kind) {
    std::vector<MenuEntry> menu{
        submenu("自動接続回収(&A)",
                {submenu("直接接続(&D)", {item("接続開始(&A)", kDirectCollection), item("保存先の設定(&F)...", kSaveDestination)}),
                 submenu("遠隔接続(&R)", {item("任意回収(&A)...", kArbitraryCollection), item("予約回収(&R)...", kReservation),
                                         item("モデムの設定(&M)...", kModemSettings)})}),
        submenu("手動接続回収(&M)",
                {submenu("直接接続(&D)", {item("自動リンク(&A)", kAutoLink), item("手動リンク(&M)...", kManualLink),
                                         item("保存先の設定(&F)...", kSaveDestination)}),
                 submenu("遠隔接続(&R)", {item("接続開始(&A)...", kRemoteLink), item("モデムの設定(&M)...", kModemSettings)}),
                 item("ｷｰﾎﾞｰﾄﾞ直接ｺﾏﾝﾄﾞ入力(&K)...", kKeyboardMode), item("回線切断(&C)", kDisconnect)}),
        // "Ctrl+O" and "Ctrl+C" are labels only: no key is bound to these two commands.
        submenu("ﾌｧｲﾙ(&F)", {item("ﾃﾞｰﾀﾌｧｲﾙ表示(&O)...\tCtrl+O", kDataFileDisplay),
                            item("CSVﾌｧｲﾙ変換(&C)...\tCtrl+C", kCsvConversion), item("ｱﾄﾞﾚｽ帳(&A)...", kAddressBook)}),
    };
    if (kind == MainMenuKind::WithOptions) menu.push_back(item("ｵﾌﾟｼｮﾝ(&O)", kOptionPrograms));
    menu.push_back(submenu("ﾍﾙﾌﾟ(&H)", {item("ﾍﾙﾌﾟ(&H)", kHelp), separator(), item("ﾊﾞｰｼﾞｮﾝ情報(&A)...", kAbout)}));
    menu.push_back(item("ｱﾌﾟﾘｹｰｼｮﾝの終了(&E)", kExit));
    return menu;
}

}  // namespace fenta21::gui
