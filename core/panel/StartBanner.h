#pragma once

#include <optional>
#include <string>

namespace fenta21 {

// The start banner: the series name scrolls in on line 1 from the right, then the maker's
// name runs round on line 2 at half the pace, without end.
struct BannerStep {
    int counter = 0;                   // the banner counter after this step
    std::optional<std::string> line1;  // the lines this step changes
    std::optional<std::string> line2;
};

BannerStep stepBanner(int counter, int modelKind);

}  // namespace fenta21
