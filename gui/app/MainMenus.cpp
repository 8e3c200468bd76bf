#include "gui/app/MainMenus.h"

#include "gui/app/MainCommands.h"

namespace fenta21::gui {
namespace {

using namespace CommandId;

// A command's item shows the command's own text, and after it the label of a key if any.
MenuEntry item(int command, const char* keyLabel = "") {
    return MenuEntry{QString::fromUtf8(findMainCommand(command)->text) + QString::fromUtf8(keyLabel), command, {}, false};
}
MenuEntry submenu(const char* text, std::vector<MenuEntry> children) {
    return MenuEntry{QString::fromUtf8(text), 0, std::move(children), false};
}
MenuEntry separator() { return MenuEntry{{}, 0, {}, true}; }

}  // namespace

std::vector<MenuEntry> mainMenu(MainMenuKind kind) {
    std::vector<MenuEntry> menu{
        submenu("自動接続回収(&A)",
                {submenu("直接接続(&D)", {item(kDirectCollection), item(kSaveDestination)}),
                 submenu("遠隔接続(&R)", {item(kArbitraryCollection), item(kReservation),
                                         item(kModemSettings)})}),
        submenu("手動接続回収(&M)",
                {submenu("直接接続(&D)", {item(kAutoLink), item(kManualLink),
                                         item(kSaveDestination)}),
                 submenu("遠隔接続(&R)", {item(kRemoteLink), item(kModemSettings)}),
                 item(kKeyboardMode), item(kDisconnect)}),
        // "Ctrl+O" and "Ctrl+C" are labels only: no key is bound to these two commands.
        submenu("ﾌｧｲﾙ(&F)", {item(kDataFileDisplay, "\tCtrl+O"),
                            item(kCsvConversion, "\tCtrl+C"), item(kAddressBook)}),
    };
    if (kind == MainMenuKind::WithOptions) menu.push_back(item(kOptionPrograms));
    menu.push_back(submenu("ﾍﾙﾌﾟ(&H)", {item(kHelp), separator(), item(kAbout)}));
    menu.push_back(item(kExit));
    return menu;
}

}  // namespace fenta21::gui
