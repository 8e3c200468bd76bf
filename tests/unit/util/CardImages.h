#pragma once

// Card images in files, made by the real mkfs.fat, and what dosfstools' own checker says
// about them: the sizes the card window reads must agree with it.
#include "core/util/ChildProcess.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fenta21::test {

// A sparse file of `bytes` bytes: a 5 GB card costs only the blocks its tables take.
inline void makeBlankImage(const std::string& path, std::uint64_t bytes) {
    { std::ofstream create(path, std::ios::binary | std::ios::trunc); }
    std::filesystem::resize_file(path, bytes);
}

inline void formatImage(const std::string& path, const std::vector<std::string>& options) {
    std::vector<std::string> argv{"mkfs.fat"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(path);
    ChildResult made = runChild(argv, std::chrono::seconds(120));
    ASSERT_TRUE(made.succeeded()) << made.problem << made.output;
}

// What fsck.fat -n -v reports of a volume.
struct CheckerView {
    int fatBits = 0;
    std::uint64_t bytesPerCluster = 0;
    std::uint64_t dataClusters = 0;
    std::uint64_t usedClusters = 0;
};

inline CheckerView checkerView(const std::string& path) {
    ChildResult checked = runChild({"fsck.fat", "-n", "-v", path}, std::chrono::seconds(120));
    CheckerView view;
    std::smatch found;
    const std::string& text = checked.output;
    if (std::regex_search(text, found, std::regex(R"((\d+) bytes per cluster)"))) view.bytesPerCluster = std::stoull(found[1]);
    if (std::regex_search(text, found, std::regex(R"((\d+) bit entries)"))) view.fatBits = std::stoi(found[1]);
    if (std::regex_search(text, found, std::regex(R"((\d+) data clusters)"))) view.dataClusters = std::stoull(found[1]);
    if (std::regex_search(text, found, std::regex(R"(files, (\d+)/\d+ clusters)"))) view.usedClusters = std::stoull(found[1]);
    return view;
}

inline std::uint32_t bootField(const std::string& boot, std::size_t offset, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(boot[offset + i]);
    return value;
}

// Marks clusters as taken in every allocation table of a FAT12, FAT16 or FAT32 image, the way
// a file's chain would (each entry the end-of-chain mark), without touching anything else.
inline void markClustersUsed(const std::string& path, int fatBits, const std::vector<std::uint32_t>& clusters) {
    std::fstream image(path, std::ios::in | std::ios::out | std::ios::binary);
    std::string boot(512, '\0');
    image.read(boot.data(), 512);
    std::uint64_t sector = bootField(boot, 11, 2);
    std::uint64_t reserved = bootField(boot, 14, 2);
    std::uint64_t tables = static_cast<unsigned char>(boot[16]);
    std::uint64_t tableSectors = bootField(boot, 22, 2) != 0 ? bootField(boot, 22, 2) : bootField(boot, 36, 4);
    for (std::uint64_t table = 0; table < tables; ++table) {
        std::uint64_t start = (reserved + table * tableSectors) * sector;
        for (std::uint32_t cluster : clusters) {
            if (fatBits == 12) {
                std::uint64_t at = start + cluster * 3 / 2;
                unsigned char pair[2];
                image.seekg(static_cast<std::streamoff>(at));
                image.read(reinterpret_cast<char*>(pair), 2);
                if (cluster & 1) {
                    pair[0] = static_cast<unsigned char>(pair[0] | 0xF0);
                    pair[1] = 0xFF;
                } else {
                    pair[0] = 0xFF;
                    pair[1] = static_cast<unsigned char>(pair[1] | 0x0F);
                }
                image.seekp(static_cast<std::streamoff>(at));
                image.write(reinterpret_cast<char*>(pair), 2);
            } else {
                std::string mark = fatBits == 16 ? std::string("\xFF\xFF", 2) : std::string("\xFF\xFF\xFF\x0F", 4);
                image.seekp(static_cast<std::streamoff>(start + cluster * (fatBits / 8)));
                image.write(mark.data(), static_cast<std::streamsize>(mark.size()));
            }
        }
    }
}

// Links one FAT32 cluster to the next in every table (the root directory growing into a
// second cluster).
inline void linkCluster(const std::string& path, std::uint32_t from, std::uint32_t to) {
    std::fstream image(path, std::ios::in | std::ios::out | std::ios::binary);
    std::string boot(512, '\0');
    image.read(boot.data(), 512);
    std::uint64_t sector = bootField(boot, 11, 2);
    std::uint64_t reserved = bootField(boot, 14, 2);
    std::uint64_t tableSectors = bootField(boot, 36, 4);
    for (std::uint64_t table = 0; table < static_cast<unsigned char>(boot[16]); ++table) {
        char entry[4] = {static_cast<char>(to & 0xFF), static_cast<char>((to >> 8) & 0xFF),
                         static_cast<char>((to >> 16) & 0xFF), static_cast<char>((to >> 24) & 0x0F)};
        image.seekp(static_cast<std::streamoff>((reserved + table * tableSectors) * sector + from * 4));
        image.write(entry, 4);
    }
}

}  // namespace fenta21::test
