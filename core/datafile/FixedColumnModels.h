#pragma once

#include <string_view>
#include <vector>

namespace fenta21 {

// Three weather station models always get the same CSV columns, whatever their records say:
// a column per kind in a fixed order, under a fixed heading pair written once per file.
struct FixedColumnLayout {
    std::string_view codeContains;
    std::vector<int> kinds;    // the columns, in order
    std::string_view heading;  // UTF-8, without a line end
    std::string_view units;    // UTF-8, without a line end
};

// The layout for a model code, or null for a model whose columns come from its records.
// "XCMLOGR" is tested before "CMLOGR", which it contains.
const FixedColumnLayout* fixedColumnLayoutFor(std::string_view modelCode);

}  // namespace fenta21
