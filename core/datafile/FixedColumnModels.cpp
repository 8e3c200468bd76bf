#include "core/datafile/FixedColumnModels.h"

namespace fenta21 {
namespace {

// The rows as they have always been stored, without the trailing blank that each stored row
// carries in place of its line end.
const FixedColumnLayout kLayouts[] = {
    {"RGT1",
     {20, 72, 22, 73, 24, 5, 105, 0},
     "date,time,平均風速,平均風向,最大瞬間風速,最大瞬間風向,最大瞬間起時,温度(新jis),積雪,電圧",
     ",,m/s,ﾟ  ,m/s,ﾟ  ,   ,ﾟC ,cm ,mV"},
    {"XCMLOGR",
     {20, 72, 22, 73, 24, 5, 0, 105, 38},
     "date,time,平均風速,平均風向,最大瞬間風速,最大瞬間風向,最大瞬間起時,温度(新jis),電圧,積雪,雨量",
     ",,m/s,ﾟ  ,m/s,ﾟ  ,   ,ﾟC ,mV ,cm ,mm"},
    {"CMLOGR",
     {20, 72, 22, 73, 24, 5, 8, 105, 38},
     "date,time,平均風速,平均風向,最大瞬間風速,最大瞬間風向,最大瞬間起時,温度(新jis),湿度,積雪,雨量",
     ",,m/s,ﾟ  ,m/s,ﾟ  ,   ,ﾟC ,% ,cm ,mm"},
};

}  // namespace

const FixedColumnLayout* fixedColumnLayoutFor(std::string_view modelCode) {
    for (const FixedColumnLayout& layout : kLayouts)
        if (modelCode.find(layout.codeContains) != std::string_view::npos) return &layout;
    return nullptr;
}

}  // namespace fenta21
