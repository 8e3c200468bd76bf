#pragma once

#include <array>
#include <string>
#include <string_view>

namespace fenta21 {

// The positions of the panel's item list. Item 1 is the start banner; 0 is an idle panel;
// -1 and -2 are the two steps of shutting a session down.
namespace PanelItem {
inline constexpr int kShutDown = -2;
inline constexpr int kShuttingDown = -1;
inline constexpr int kIdle = 0;
inline constexpr int kBanner = 1;
inline constexpr int kBatt = 2;
inline constexpr int kMemo = 3;
inline constexpr int kRtcAdjust = 4;
inline constexpr int kData = 5;
inline constexpr int kZeroSet = 6;
inline constexpr int kMonitor = 7;
inline constexpr int kWaveCanceler = 8;
inline constexpr int kOffset = 9;
inline constexpr int kMode = 10;
inline constexpr int kComSpeed = 11;
inline constexpr int kAfterStart = 12;
inline constexpr int kPresetTimer = 13;
inline constexpr int kInterval = 14;
inline constexpr int kTime = 15;
inline constexpr int kDate = 16;
inline constexpr int kRomVersion = 17;
}  // namespace PanelItem

inline constexpr int kPanelItemCount = 18;
inline constexpr int kFirstItem = PanelItem::kBatt;
inline constexpr int kLastItem = PanelItem::kRomVersion;

// The logger's own keys: previous item, next item, enter, and the collection menu.
enum class PanelKey { Previous = 0, Next = 1, Enter = 2, CollectionMenu = 3 };

// The display is two lines of sixteen columns.
inline constexpr std::size_t kDisplayColumns = 16;

// An item's name as the display shows it, padded to sixteen columns; the banner, the idle
// panel and anything outside the list have no name (sixteen blanks).
std::string panelItemName(int item);

// The names as they are stored in the panel at a session's start.
std::array<std::string, kPanelItemCount> panelItemNames();

// The start banner texts: line 1 (the HBLTZ family has its own) and line 2, each preceded by
// fifteen blanks so that it scrolls in from the right.
std::string_view seriesBanner(int modelKind);
std::string_view companyBanner();

}  // namespace fenta21
