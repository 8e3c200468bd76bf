#include "gui/app/Accelerators.h"

#include "core/app/CommandTable.h"

namespace fenta21::gui {

std::vector<Accelerator> acceleratorTable() {
    using namespace CommandId;
    return {
        {QKeySequence(Qt::Key_F1), kDirectCollection, kKeyF1},
        {QKeySequence(Qt::Key_F2), kDataFileDisplay, kKeyF1 + 1},
        {QKeySequence(Qt::SHIFT | Qt::Key_F2), kDataFileViewer, 0},
        {QKeySequence(Qt::Key_F3), kAutoLink, kKeyF1 + 2},
        {QKeySequence(Qt::Key_F4), kDisconnect, kKeyF1 + 3},
        {QKeySequence(Qt::Key_F5), kAddressBook, kKeyF1 + 4},
        {QKeySequence(Qt::Key_F6), kReservation, kKeyF1 + 5},
        {QKeySequence(Qt::Key_X), kMonitor, 0},
        {QKeySequence(Qt::Key_PageUp), kPanelPageUp, 0},
        {QKeySequence(Qt::Key_PageDown), kPanelPageDown, 0},
        {QKeySequence(Qt::Key_Return), kPanelEnter, 0},
        {QKeySequence(Qt::Key_C), kPanelCollectKey, 0},
        // Alt+E, the exit, is not bound here: the menu bar's "ｱﾌﾟﾘｹｰｼｮﾝの終了(&E)" already
        // takes it (under both menus), and a second binding would make the key ambiguous,
        // so that its first press did nothing.
    };
}

}  // namespace fenta21::gui
