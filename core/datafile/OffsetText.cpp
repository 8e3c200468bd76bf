#include "core/datafile/OffsetText.h"

namespace fenta21 {

std::string offsetText(std::size_t offset) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kHex[offset & 0xF]);
        offset >>= 4;
    } while (offset != 0);
    if (text.size() < 6) text.insert(0, 6 - text.size(), '0');
    return text;
}

}  // namespace fenta21
