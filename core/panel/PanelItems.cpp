#include "core/panel/PanelItems.h"

#include "core/protocol/ModelKinds.h"

namespace fenta21 {
namespace {

constexpr std::string_view kNames[kPanelItemCount] = {
    "",          "",          "BATT",      "Memo 1",       "RTC Adjust", "Data",
    "Zero Set",  "Monitor",   "Wave Canceler", "Offset",   "Mode",       "COM Speed",
    "After Start", "Preset Timer", "Interval", "Time",      "Date",       "ROM Version",
};

}  // namespace

std::string panelItemName(int item) {
    std::string name(item >= 0 && item < kPanelItemCount ? kNames[item] : std::string_view());
    name.resize(kDisplayColumns, ' ');
    return name;
}

std::array<std::string, kPanelItemCount> panelItemNames() {
    std::array<std::string, kPanelItemCount> names;
    for (int item = 0; item < kPanelItemCount; ++item) names[static_cast<std::size_t>(item)] = panelItemName(item);
    return names;
}

std::string_view seriesBanner(int modelKind) {
    return modelKind == ModelKind::kHBLTZ ? "               FENTA(R) Series" : "               FENTA21 Series";
}

std::string_view companyBanner() { return "               Brightlow CO.,LTD   Brightlow CO.,LTD"; }

}  // namespace fenta21
