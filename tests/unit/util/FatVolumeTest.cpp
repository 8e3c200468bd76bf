// Reading a card's sizes from its FAT: clusters in use wherever they lie in the table, the
// FAT32 root directory, and damaged or foreign volumes that must read as "not readable".
#include "core/util/FatVolume.h"
#include "tests/support/TempHome.h"
#include "tests/unit/util/CardImages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace fenta21::test {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

struct MarkRow {
    const char* legend;
    std::uint64_t bytes;
    std::vector<std::string> options;
    int fatBits;
    std::vector<std::uint32_t> marked;  // 0 stands for the volume's last cluster
};

TEST(FatVolume, ClustersInUseAreCountedWhereverTheyLie) {
    const std::vector<MarkRow> rows = {
        // FAT12 packs two entries in three bytes: an even and an odd neighbour, and the last.
        {"FAT12", 4 * kMiB, {"-s", "4"}, 12, {5, 6, 9, 0}},
        {"FAT16", 64 * kMiB, {"-s", "4"}, 16, {2, 3, 20000, 0}},
        {"FAT32", 200 * kMiB, {"-s", "4", "-F", "32"}, 32, {3, 70000, 0}},
    };
    TempHome home;
    for (const MarkRow& row : rows) {
        SCOPED_TRACE(row.legend);
        std::string image = home.file("card.img");
        makeBlankImage(image, row.bytes);
        formatImage(image, row.options);
        std::optional<FatSizes> fresh = readFatSizes(image);
        ASSERT_TRUE(fresh);
        EXPECT_EQ(fresh->fatBits, row.fatBits);
        EXPECT_TRUE(fresh->empty());
        std::vector<std::uint32_t> marked = row.marked;
        for (auto& cluster : marked)
            if (cluster == 0) cluster = static_cast<std::uint32_t>(fresh->totalClusters + 1);
        markClustersUsed(image, row.fatBits, marked);
        std::optional<FatSizes> used = readFatSizes(image);
        ASSERT_TRUE(used);
        EXPECT_EQ(used->freeClusters, fresh->freeClusters - marked.size());
        EXPECT_EQ(used->totalClusters, fresh->totalClusters);
        EXPECT_FALSE(used->empty());
    }
}

TEST(FatVolume, Fat32RootDirectoryTakesItsChainAndNothingElse) {
    TempHome home;
    std::string image = home.file("card.img");
    makeBlankImage(image, 200 * kMiB);
    formatImage(image, {"-s", "4", "-F", "32"});
    std::optional<FatSizes> fresh = readFatSizes(image);
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->rootDirectoryClusters, 1u);
    EXPECT_EQ(fresh->freeClusters, fresh->totalClusters - 1);
    EXPECT_TRUE(fresh->empty());

    // The root directory grown into a second cluster is still no file's data.
    markClustersUsed(image, 32, {3});
    linkCluster(image, 2, 3);
    std::optional<FatSizes> grown = readFatSizes(image);
    ASSERT_TRUE(grown);
    EXPECT_EQ(grown->rootDirectoryClusters, 2u);
    EXPECT_TRUE(grown->empty());

    // A root directory whose chain runs in a circle ends where it comes round.
    linkCluster(image, 3, 2);
    std::optional<FatSizes> circle = readFatSizes(image);
    ASSERT_TRUE(circle);
    EXPECT_EQ(circle->rootDirectoryClusters, 2u);
}

// Rewrites little-endian bytes of the boot sector.
void patch(std::string& image, std::size_t offset, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) image[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

struct DamageRow {
    const char* legend;
    std::function<void(std::string& image)> damage;
    bool fat32 = false;  // starts from the FAT32 volume instead of the FAT16 one
};

TEST(FatVolume, DamagedOrForeignVolumesAreNotReadable) {
    TempHome home;
    std::string good16 = home.file("good16.img"), good32 = home.file("good32.img");
    makeBlankImage(good16, 4 * kMiB);
    formatImage(good16, {"-s", "1", "-F", "16"});  // small, and still FAT16 with 512-byte clusters
    makeBlankImage(good32, 200 * kMiB);
    formatImage(good32, {"-s", "4", "-F", "32"});
    std::string fat16 = readFileBytes(good16);
    // The FAT32 volume's first megabyte (its boot sector and tables), grown back to full
    // length with zeros once damaged.
    std::string fat32(kMiB, '\0');
    std::ifstream(good32, std::ios::binary).read(fat32.data(), static_cast<std::streamsize>(kMiB));

    std::mt19937 random(20261208);
    std::string garbage(kMiB, '\0');
    for (char& byte : garbage) byte = static_cast<char>(random());

    const std::vector<DamageRow> rows = {
        {"empty", [](std::string& image) { image.clear(); }},
        {"shorter than a sector", [](std::string& image) { image.resize(100); }},
        {"boot sector only", [](std::string& image) { image.resize(512); }},
        {"cut inside the table", [](std::string& image) { image.resize(4 * 512 + 3000); }},
        {"random bytes", [&](std::string& image) { image = garbage; }},
        {"random bytes with a boot signature", [&](std::string& image) { image = garbage; patch(image, 510, 0xAA55, 2); }},
        {"no boot signature", [](std::string& image) { patch(image, 510, 0, 2); }},
        {"no bytes per sector", [](std::string& image) { patch(image, 11, 0, 2); }},
        {"513 bytes per sector", [](std::string& image) { patch(image, 11, 513, 2); }},
        {"no sectors per cluster", [](std::string& image) { patch(image, 13, 0, 1); }},
        {"3 sectors per cluster", [](std::string& image) { patch(image, 13, 3, 1); }},
        {"no reserved sectors", [](std::string& image) { patch(image, 14, 0, 2); }},
        {"no tables", [](std::string& image) { patch(image, 16, 0, 1); }},
        {"a table too small for its clusters", [](std::string& image) { patch(image, 22, 1, 2); }},
        {"no sectors", [](std::string& image) { patch(image, 19, 0, 2); patch(image, 32, 0, 4); }},
        {"more sectors than the image", [](std::string& image) { patch(image, 19, 0, 2); patch(image, 32, 0xFFFFFFFF, 4); }},
        {"metadata beyond the volume", [](std::string& image) { patch(image, 14, 0xFFFF, 2); }},
        {"FAT32 with its root cluster 0", [](std::string& image) { patch(image, 44, 0, 4); }, true},
        {"FAT32 with its root beyond the volume", [](std::string& image) { patch(image, 44, 0x0FFFFFF0, 4); }, true},
        {"FAT32 with root entries", [](std::string& image) { patch(image, 17, 512, 2); }, true},
    };
    std::string image = home.file("damaged.img");
    for (const DamageRow& row : rows) {
        SCOPED_TRACE(row.legend);
        std::string bytes = row.fat32 ? fat32 : fat16;
        row.damage(bytes);
        home.write("damaged.img", bytes);
        if (row.fat32) std::filesystem::resize_file(image, 200 * kMiB);
        EXPECT_FALSE(readFatSizes(image));
    }
    EXPECT_FALSE(readFatSizes(home.file("absent.img")));
    EXPECT_FALSE(readFatSizes(home.path()));
}

TEST(FatVolume, AnyBrokenBootSectorFieldGivesNothingOrSizesWithinTheVolume) {
    TempHome home;
    std::string good = home.file("good.img");
    makeBlankImage(good, 4 * kMiB);
    formatImage(good, {"-s", "4"});
    std::string fresh = readFileBytes(good).substr(0, 512);
    std::fstream image(good, std::ios::in | std::ios::out | std::ios::binary);
    for (std::size_t offset = 11; offset < 64; ++offset) {
        for (unsigned char value : {0x00, 0x01, 0x80, 0xFF}) {
            SCOPED_TRACE(testing::Message() << "byte " << offset << " = " << int(value));
            std::string boot = fresh;
            boot[offset] = static_cast<char>(value);
            image.seekp(0);
            image.write(boot.data(), 512);
            image.flush();
            std::optional<FatSizes> sizes = readFatSizes(good);
            if (sizes) {
                EXPECT_LE(sizes->totalBytes(), 4 * kMiB);
                EXPECT_LE(sizes->freeClusters, sizes->totalClusters);
            }
        }
    }
}

}  // namespace
}  // namespace fenta21::test
