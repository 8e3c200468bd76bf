#include "core/panel/StartBanner.h"

#include "core/panel/PanelItems.h"

#include <string_view>

namespace fenta21 {
namespace {

constexpr int kSeriesSteps = 16;
// The company text repeats after its first copy: position 36 looks like position 16, so the
// run starts again from just before it.
constexpr int kLastCompanyPosition = 36;
constexpr int kCompanyRestart = 46;

std::string sixteenFrom(std::string_view text, int position) {
    std::string part(position < static_cast<int>(text.size()) ? text.substr(static_cast<std::size_t>(position)) : "");
    part.resize(kDisplayColumns, ' ');
    return part;
}

}  // namespace

BannerStep stepBanner(int counter, int modelKind) {
    BannerStep step;
    int n = counter + 1;
    if (n < 1) n = 1;  // a counter that ran past its range starts over rather than indexing before the text
    if (n <= kSeriesSteps) {
        step.line1 = sixteenFrom(seriesBanner(modelKind), n - 1);
    } else if (n % 2 == 0) {
        int position = n / 2 - 8;
        if (position > kLastCompanyPosition) {
            n = kCompanyRestart;
            position = n / 2 - 8;
        }
        step.line2 = sixteenFrom(companyBanner(), position);
    }
    step.counter = n;
    return step;
}

}  // namespace fenta21
