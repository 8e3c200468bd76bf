#pragma once

#include "core/app/LineWords.h"

namespace fenta21 {

// The command ids of the main window, as menus, toolbar, accelerators and the function keys
// name them.
namespace CommandId {
inline constexpr int kDataFileDisplay = 32771;
inline constexpr int kOptionPrograms = 32775;
inline constexpr int kSaveDestination = 32777;
inline constexpr int kCsvConversion = 32778;
inline constexpr int kAddressBook = 32779;
inline constexpr int kWebSite = 32780;
inline constexpr int kDataFileViewer = 32781;
inline constexpr int kCfCard = 32782;
inline constexpr int kCollectNewOverLink = 32783;
inline constexpr int kCollectAllOverLink = 32784;
inline constexpr int kCollectTextOverLink = 32785;
inline constexpr int kArbitraryCollection = 32787;
inline constexpr int kReservation = 32788;
inline constexpr int kModemSettings = 32789;
inline constexpr int kAutoLink = 32791;
inline constexpr int kManualLink = 32792;
inline constexpr int kKeyboardMode = 32794;
inline constexpr int kDisconnect = 32795;
inline constexpr int kDirectCollection = 32796;
inline constexpr int kRemoteLink = 32797;
inline constexpr int kDirectCollectionAll = 32798;
inline constexpr int kPanelPageUp = 32799;
inline constexpr int kPanelPageDown = 32800;
inline constexpr int kPanelEnter = 32801;
inline constexpr int kPanelCollectKey = 32802;
inline constexpr int kMonitor = 1004;
inline constexpr int kAbout = 57664;
inline constexpr int kExit = 57665;
inline constexpr int kHelp = 57667;
}  // namespace CommandId

// When a command may start, from the line words alone: the commands that set up a link only
// while the line is idle, the disconnection only while it is linked, every other command
// always. The window asks before a menu opens, for the toolbar and before an accelerator
// runs; the function keys do not ask.
enum class EnabledWhen { Always, LineIdle, LineLinked };

bool enabledIn(EnabledWhen rule, LineState lineState);

// The virtual-key codes of F1 ... F9, as the view hands them to the heartbeat.
inline constexpr int kKeyF1 = 0x70;
inline constexpr int kKeyF9 = 0x78;

}  // namespace fenta21
