// The drives the CF card window offers and the drive texts it refuses, over a laid sysfs tree:
// a laptop with its system on one disk, its home folder on an encrypted USB disk, swap on a
// third, two card readers with cards, an empty reader slot, and the devices that are never drives.
#include "core/util/DriveList.h"
#include "core/util/FormatTarget.h"
#include "tests/unit/util/FakeSystemTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class DriveList : public ::testing::Test {
protected:
    DriveList() {
        tree.disk("sda", 0, false, 976773168);  // the system disk
        tree.partition("sda", "sda1", 1, 1, 1048576);
        tree.partition("sda", "sda2", 2, 2, 975724544);
        tree.mount("/dev/sda2", "/");
        tree.mount("/dev/sda1", "/boot/efi");
        tree.link("disk/by-id/ata-SYSTEM", "../../sda");

        tree.disk("sdb", 16, true, 125000);  // a 64 MB card in a USB reader, mounted
        tree.partition("sdb", "sdb1", 1, 17, 124928);
        tree.link("disk/by-label/KAWABE\\x2001", "../../sdb1");
        tree.mount("/dev/sdb1", "/media/kawabe/KAWABE\\04001");

        tree.disk("sdc", 32, false, 1953525168);  // a data disk
        tree.partition("sdc", "sdc1", 1, 33, 1953523120);

        tree.disk("sdd", 48, true, 62533296);  // the home folder, on LUKS on a USB disk
        tree.partition("sdd", "sdd1", 1, 49, 62531248);
        tree.disk("dm-0", 64, false, 62498480);
        tree.slave("dm-0", "sdd1");
        tree.link("mapper/home", "../dm-0");
        tree.mount("/dev/mapper/home", "/home");

        tree.disk("sde", 80, true, 0);  // a reader slot with no card
        tree.disk("sdf", 96, false, 488397168);  // swap
        tree.partition("sdf", "sdf1", 1, 97, 480000000);
        tree.partition("sdf", "sdf2", 2, 98, 8388608);
        tree.swap("/dev/sdf2");

        tree.disk("mmcblk0", 112, true, 15523840);  // an 8 GB card in the built-in slot
        tree.partition("mmcblk0", "mmcblk0p1", 1, 113, 15521792);

        for (const char* never : {"loop0", "zram0", "sr0", "ram0"}) tree.disk(never, 200 + never[0], true, 2048);
    }

    std::string node(const std::string& name) { return tree.node(name); }

    FakeSystemTree tree;
};

TEST_F(DriveList, RemovableFirstEachWithItsPartitionsAndNeverTheSystemHomeOrSwapDisk) {
    std::vector<Drive> drives = listDrives(BlockDevices(tree.roots()));
    std::vector<std::string> devices;
    for (const Drive& drive : drives) devices.push_back(drive.device);
    EXPECT_THAT(devices, ElementsAre(node("mmcblk0"), node("mmcblk0p1"), node("sdb"), node("sdb1"), node("sdc"),
                                     node("sdc1")));
    ASSERT_EQ(drives.size(), 6u);
    EXPECT_TRUE(drives[3].removable);
    EXPECT_FALSE(drives[4].removable);
    EXPECT_EQ(drives[3].label, "KAWABE 01");
    EXPECT_EQ(drives[3].sizeBytes, 124928u * 512u);
    EXPECT_EQ(drives[3].displayText, node("sdb1") + "  64 MB  KAWABE 01");
    EXPECT_EQ(drives[0].displayText, node("mmcblk0") + "  7.9 GB");
    EXPECT_EQ(drives[5].displayText, node("sdc1") + "  1000.2 GB");
}

TEST_F(DriveList, WithoutProtectedFoldersOnlyTheSwapDiskIsHeldBack) {
    // The same tree seen from a system whose root and home lie elsewhere: the disks that held
    // them come back, which shows it was those folders that kept them out.
    std::vector<Drive> drives = listDrives(BlockDevices(tree.roots({})));
    std::vector<std::string> devices;
    for (const Drive& drive : drives) devices.push_back(drive.device);
    EXPECT_THAT(devices, ElementsAre(node("mmcblk0"), node("mmcblk0p1"), node("sdb"), node("sdb1"), node("sdd"),
                                     node("sdd1"), node("sda"), node("sda1"), node("sda2"), node("sdc"), node("sdc1")));
}

struct TargetRow {
    const char* legend;
    std::string text;  // "@" stands for the tree's dev root
    TargetKind kind;
    std::vector<std::string> mounted;  // names under the dev root
};

TEST_F(DriveList, DriveTextsAreJudgedAfterTheirLinksAndNames) {
    std::string image = tree.dev() + "/../card.img";
    std::ofstream(image) << "card";
    const std::vector<TargetRow> rows = {
        {"the system disk", "@/sda", TargetKind::Protected, {}},
        {"another partition of the system disk", "@/sda1", TargetKind::Protected, {}},
        {"the system disk by its id", "@/disk/by-id/ata-SYSTEM", TargetKind::Protected, {}},
        {"the kernel's name for the root partition", "/dev/sda2", TargetKind::Protected, {}},
        {"the member under the home folder's mapper", "@/sdd1", TargetKind::Protected, {}},
        {"the home folder's mapper", "@/mapper/home", TargetKind::Protected, {}},
        {"the swap disk", "@/sdf1", TargetKind::Protected, {}},
        {"a mounted card partition", "@/sdb1", TargetKind::BlockDevice, {"sdb1"}},
        {"the whole card, its partition mounted", "@/sdb", TargetKind::BlockDevice, {"sdb1"}},
        {"the card by its label", "@/disk/by-label/KAWABE\\x2001", TargetKind::BlockDevice, {"sdb1"}},
        {"an unmounted card", "@/mmcblk0", TargetKind::BlockDevice, {}},
        {"a card image", image, TargetKind::ImageFile, {}},
        {"a folder", tree.sysfs(), TargetKind::NotADrive, {}},
        {"nothing there", "@/sdz", TargetKind::Missing, {}},
    };
    BlockDevices devices(tree.roots());
    for (const TargetRow& row : rows) {
        SCOPED_TRACE(row.legend);
        std::string text = row.text;
        if (text.front() == '@') text = tree.dev() + text.substr(1);
        FormatTarget target = checkFormatTarget(text, devices);
        EXPECT_EQ(target.kind, row.kind);
        std::vector<std::string> mounted;
        for (const std::string& name : row.mounted) mounted.push_back(node(name));
        EXPECT_EQ(target.mounted, mounted);
    }
}

TEST_F(DriveList, CardSizeAndSectorSizeComeFromTheDiskTheTextNames) {
    tree.disk("sdg", 128, true, 8388608, 4096);
    tree.partition("sdg", "sdg1", 1, 129, 8386560);
    FormatTarget target = checkFormatTarget(node("sdg1"), BlockDevices(tree.roots()));
    ASSERT_EQ(target.kind, TargetKind::BlockDevice);
    EXPECT_EQ(target.path, node("sdg1"));
    EXPECT_EQ(target.sizeBytes, 8386560u * 512u);
    EXPECT_EQ(target.logicalBlockSize, 4096u);
}

TEST(SizeText, DecimalUnitsAsOnTheCardsLabel) {
    EXPECT_EQ(sizeText(0), "0 KB");
    EXPECT_EQ(sizeText(512 * 1024), "524 KB");
    EXPECT_EQ(sizeText(999499), "999 KB");
    EXPECT_EQ(sizeText(64000000), "64 MB");
    EXPECT_EQ(sizeText(999999), "1 MB");
    EXPECT_EQ(sizeText(999999999), "1.0 GB");
    EXPECT_EQ(sizeText(1000000000), "1.0 GB");
    EXPECT_EQ(sizeText(4294967296ULL * 2), "8.6 GB");
}

}  // namespace
}  // namespace fenta21::test
