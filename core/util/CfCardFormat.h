#pragma once

#include "core/util/FormatTarget.h"
#include "core/util/SystemRoots.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fenta21 {

class Session;

inline constexpr const char* kNoDriveText = "ドライブが選択されていません！！";
inline constexpr const char* kFormatWarningText =
    "警告：フォーマットすると【%s】ドライブの全てのデータが消去されます。よろしいですか？";
inline constexpr const char* kFormattingNoticeText = "ＣＦカード初期化中...（注意：カードを取り出さないでください）";
inline constexpr const char* kFormatFailedText = "フォーマットに失敗しました。　　";
inline constexpr const char* kFormatDoneText = "フォーマットが完了しました。　　";
inline constexpr const char* kFormatNotSupportedText =
    "フォーマットに失敗しました。\n本ソフトウェアはこのドライブに対応していない可能性があります。　";
inline constexpr const char* kProtectedDriveText =
    "【%s】はシステムまたはホームフォルダのあるディスクなので、フォーマットできません。";
inline constexpr const char* kNotADriveText = "【%s】はディスクでもディスクイメージでもないので、フォーマットできません。";
inline constexpr const char* kMissingDriveText = "【%s】が見つかりません。";

// The programs the format runs, by name or path; a test puts its own in their place.
struct FormatCommands {
    std::string mkfs = "mkfs.fat";     // dosfstools
    std::string udisksctl = "udisksctl";  // udisks2: unmounting and mounting without root
};

// Everything the CF card window works with besides the session.
struct CfCardTools {
    SystemRoots roots;
    FormatCommands commands;
};

// The three sizes the window shows, in bytes.
struct CfCardSizes {
    std::uint64_t totalBytes = 0;
    std::uint64_t freeBytes = 0;
    std::uint64_t allocationUnit = 0;
};

// How the sequence ended.
enum class CfCardOutcome {
    NotStarted,  // no drive, the user said No, or the drive may not be formatted: nothing touched
    Done,        // the volume is empty
    StillHoldsData,
    Failed,      // the formatter failed, or nothing could be read back
};

// The allocation unit a logger expects on its card.
inline constexpr std::uint32_t kCardAllocationUnit = 2048;

// The formatter's arguments: FAT with 2048-byte allocation units on the target as a whole
// (-I, so that a card without a partition table is formatted too). mkfs.fat picks FAT12 or
// FAT16 by size on its own, but with 2048-byte units it has no type for a volume between
// FAT16's largest and 512 MiB; FAT32 is asked for from FAT16's largest on.
std::vector<std::string> mkfsArguments(const std::string& mkfs, const FormatTarget& target);

// The nominal time the formatter is given before it is killed: the waits a card has always
// been given to come back after its format command (4 + 60 + 4 + 130 seconds).
inline constexpr std::chrono::seconds kFormatTimeLimit{198};

// "フォーマット実行": asks, formats the drive the text names, reads its sizes back and says how it
// went. `showSizes` is told the sizes before the closing message (zeros when nothing could be
// read), so that the window shows them while the message is up. Runs on any thread; all that
// it asks or tells goes through the session's host, all that it waits through its clock.
CfCardOutcome formatCfCard(Session& session, const std::string& driveText, const CfCardTools& tools,
                           const std::function<void(const CfCardSizes&)>& showSizes);

}  // namespace fenta21
