// The item list each model family steps through with the previous and next keys.
#include "core/panel/PanelNavigation.h"
#include "core/protocol/ModelKinds.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21 {
namespace {

using namespace PanelItem;
using ::testing::ElementsAreArray;

// The whole ring the next key runs through from the banner, per family. Walking it backwards
// from the banner must give the same ring reversed (every skip works both ways).
TEST(PanelNavigation, EachFamilyShowsItsOwnItems) {
    const std::vector<int> common = {kBatt,     kMemo,      kRtcAdjust,  kData,     kMonitor,    kMode,
                                     kComSpeed, kAfterStart, kPresetTimer, kInterval, kTime,       kDate, kRomVersion};
    struct Row {
        const char* legend;
        int kind;
        std::vector<int> items;
    } rows[] = {
        {"wind", ModelKind::kWNDA, common},
        {"unknown family", ModelKind::kUnknown, common},
        {"water level: wave canceler and offset",
         ModelKind::kLVLA,
         {kBatt, kMemo, kRtcAdjust, kData, kMonitor, kWaveCanceler, kOffset, kMode, kComSpeed, kAfterStart,
          kPresetTimer, kInterval, kTime, kDate, kRomVersion}},
        {"level and rain, as LVLA",
         ModelKind::kLVPQ,
         {kBatt, kMemo, kRtcAdjust, kData, kMonitor, kWaveCanceler, kOffset, kMode, kComSpeed, kAfterStart,
          kPresetTimer, kInterval, kTime, kDate, kRomVersion}},
        {"snow: zero set",
         ModelKind::kQS,
         {kBatt, kMemo, kRtcAdjust, kData, kZeroSet, kMonitor, kMode, kComSpeed, kAfterStart, kPresetTimer,
          kInterval, kTime, kDate, kRomVersion}},
        {"strain: zero set",
         ModelKind::kRS8,
         {kBatt, kMemo, kRtcAdjust, kData, kZeroSet, kMonitor, kMode, kComSpeed, kAfterStart, kPresetTimer,
          kInterval, kTime, kDate, kRomVersion}},
        {"tide: no BATT, After Start, Preset Timer",
         ModelKind::kSEAL,
         {kMemo, kRtcAdjust, kData, kMonitor, kMode, kComSpeed, kInterval, kTime, kDate, kRomVersion}},
        {"tide 2, as SEAL",
         ModelKind::kSEAL2,
         {kMemo, kRtcAdjust, kData, kMonitor, kMode, kComSpeed, kInterval, kTime, kDate, kRomVersion}},
    };
    for (const Row& row : rows) {
        EXPECT_THAT(modelItems(row.kind), ElementsAreArray(row.items)) << row.legend;
        std::vector<int> backwards;
        int item = kBanner;
        for (std::size_t i = 0; i < row.items.size(); ++i) backwards.push_back(item = stepItem(item, PanelKey::Previous, row.kind));
        EXPECT_THAT(backwards, ElementsAreArray(row.items.rbegin(), row.items.rend())) << row.legend;
    }
}

TEST(PanelNavigation, FixedIntervalLoggersPassOverIntervalBothWays) {
    for (int kind : {ModelKind::kRGT1, ModelKind::kCMLOGR, ModelKind::kXCMLOGR}) {
        EXPECT_EQ(stepItem(kPresetTimer, PanelKey::Next, kind), kTime) << kind;
        EXPECT_EQ(stepItem(kTime, PanelKey::Previous, kind), kPresetTimer) << kind;
        auto items = modelItems(kind);
        EXPECT_EQ(std::count(items.begin(), items.end(), kInterval), 0) << kind;
    }
    // Others keep it.
    EXPECT_EQ(stepItem(kPresetTimer, PanelKey::Next, ModelKind::kCM), kInterval);
}

TEST(PanelNavigation, BannerLeadsToTheEndsOfTheList) {
    EXPECT_EQ(stepItem(kBanner, PanelKey::Next, ModelKind::kWNDA), kBatt);
    EXPECT_EQ(stepItem(kBanner, PanelKey::Previous, ModelKind::kWNDA), kRomVersion);
    EXPECT_EQ(stepItem(kBanner, PanelKey::Next, ModelKind::kSEAL), kMemo);
    EXPECT_EQ(stepItem(kRomVersion, PanelKey::Next, ModelKind::kSEAL), kMemo);
    EXPECT_EQ(stepItem(kMemo, PanelKey::Previous, ModelKind::kSEAL), kRomVersion);
    // The enter and collection keys do not move.
    EXPECT_EQ(stepItem(kMode, PanelKey::Enter, ModelKind::kWNDA), kMode);
    EXPECT_EQ(stepItem(kMode, PanelKey::CollectionMenu, ModelKind::kWNDA), kMode);
}

}  // namespace
}  // namespace fenta21
