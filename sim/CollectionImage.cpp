#include "sim/CollectionImage.h"

#include "sim/BlockFrame.h"

#include <algorithm>

namespace fenta21::sim {
namespace {

std::uint32_t readU32(const std::string& image, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4 && at + i < image.size(); ++i)
        value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(image[at + i])) << (8 * i);
    return value;
}

void writeU32(std::string& image, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4 && at + i < image.size(); ++i) image[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::uint32_t imageEndOffset(const std::string& image) { return readU32(image, kEndOffsetField); }

std::uint32_t imageStartOffset(const std::string& image) { return readU32(image, kStartOffsetField); }

std::uint32_t collectionCount(const std::string& image, std::uint32_t firstRecord) {
    const std::uint32_t end = imageEndOffset(image);
    return kImageHeaderSize + (end > firstRecord ? end - firstRecord : 0);
}

std::string collectionImage(const std::string& image, std::uint32_t firstRecord) {
    std::string sent = wholeBlocks(image);
    writeU32(sent, kStartOffsetField, firstRecord);
    const std::size_t end = imageEndOffset(image);
    const std::size_t blocks = std::max<std::size_t>(1, (end + kBlockPayload - 1) / kBlockPayload);
    sent.resize(std::min(sent.size(), blocks * kBlockPayload));
    return sent;
}

std::string wholeBlocks(std::string image) {
    const std::size_t blocks = std::max<std::size_t>(1, (image.size() + kBlockPayload - 1) / kBlockPayload);
    image.resize(blocks * kBlockPayload, '\xFF');
    return image;
}

}  // namespace fenta21::sim
