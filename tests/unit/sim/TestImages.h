#pragma once

#include "sim/CollectionImage.h"

#include <cstdint>
#include <string>

namespace fenta21::sim::test {

// A memory image of `blocks` 1024-byte blocks whose header says the records run from
// `startOffset` to `endOffset`; every byte past the header tells its own position, so a block
// sent twice or out of place shows.
inline std::string testImage(std::size_t blocks, std::uint32_t startOffset, std::uint32_t endOffset) {
    std::string image(blocks * 1024, '\0');
    for (std::size_t i = kImageHeaderSize; i < image.size(); ++i) image[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    for (int i = 0; i < 4; ++i) {
        image[kEndOffsetField + i] = static_cast<char>((endOffset >> (8 * i)) & 0xFF);
        image[kStartOffsetField + i] = static_cast<char>((startOffset >> (8 * i)) & 0xFF);
    }
    return image;
}

}  // namespace fenta21::sim::test
