// "フォーマット実行" from the drive text to the closing message, over card images in files made
// by the real mkfs.fat, with stand-in programs where a test needs a formatter or udisks that
// misbehaves.
#include "core/session/Session.h"
#include "core/base/Cp932.h"
#include "core/util/CfCardFormat.h"
#include "core/util/FatVolume.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"
#include "tests/unit/util/CardImages.h"
#include "tests/unit/util/FakeSystemTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::uint64_t kMiB = 1024 * 1024;

// Records the order in which the user sees things, beside what the scripted host records.
class SequenceHost : public ScriptedHost {
public:
    void report(const std::string& text) override {
        events.push_back("report " + text);
        ScriptedHost::report(text);
    }
    Answer ask(Question kind, const std::string& text) override {
        events.push_back("ask");
        return ScriptedHost::ask(kind, text);
    }
    void showNotice(const std::string& text) override {
        events.push_back("notice " + text);
        ScriptedHost::showNotice(text);
    }
    void hideNotice() override { events.push_back("hide"); }

    std::vector<std::string> events;
};

class CfCardFormat : public ::testing::Test {
protected:
    CfCardFormat() : session(home.path(), host, clock) { tools.roots.protectedFolders = {}; }

    // A stand-in program: a shell script in the test's folder.
    std::string program(const std::string& name, const std::string& body) {
        std::string path = home.root() + "/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }
    // A formatter that notes it ran and does what `body` says.
    void standInFormatter(const std::string& body) {
        tools.commands.mkfs = program("fake-mkfs", "echo ran > " + marker() + "\n" + body);
    }
    std::string marker() const { return home.root() + "/formatter-ran"; }
    bool formatterRan() const { return std::filesystem::exists(marker()); }

    CfCardOutcome format(const std::string& drive) {
        return formatCfCard(session, drive, tools, [this](const CfCardSizes& sizes) {
            shown.push_back(sizes);
            host.events.push_back("sizes");
        });
    }
    std::string errorLog() { return home.exists("ERR.LOG") ? cp932ToUtf8(home.read("ERR.LOG")) : std::string(); }

    TempHome home;
    TestClock clock{0.05};
    SequenceHost host;
    Session session;
    CfCardTools tools;
    std::vector<CfCardSizes> shown;
};

struct CardRow {
    const char* legend;
    std::uint64_t bytes;
    int fatBits;
};

TEST_F(CfCardFormat, AFormattedCardIsEmptyWithTheSizesTheCheckerSees) {
    // The two sizes round the largest FAT16 volume with 2048-byte units, and a card of over
    // 4 GiB, whose sizes do not fit in 32 bits.
    const std::vector<CardRow> rows = {
        {"4 MiB", 4 * kMiB, 12},
        {"64 MiB", 64 * kMiB, 16},
        {"largest FAT16", 134479360, 16},
        {"one sector more", 134479360 + 512, 32},
        {"256 MiB", 256 * kMiB, 32},
        {"5 GiB", 5120 * kMiB, 32},
    };
    for (const CardRow& row : rows) {
        SCOPED_TRACE(row.legend);
        std::string image = home.file("card.img");
        makeBlankImage(image, row.bytes);
        host.answers = {Answer::Yes};
        shown.clear();
        EXPECT_EQ(format(image), CfCardOutcome::Done);
        CheckerView checker = checkerView(image);
        EXPECT_EQ(checker.fatBits, row.fatBits);
        EXPECT_EQ(checker.bytesPerCluster, 2048u);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].allocationUnit, 2048u);
        EXPECT_EQ(shown[0].totalBytes, checker.dataClusters * 2048);
        EXPECT_EQ(shown[0].freeBytes, (checker.dataClusters - checker.usedClusters) * 2048);
        EXPECT_EQ(host.reports().back(), kFormatDoneText);
        if (row.bytes > (std::uint64_t{1} << 32)) {
            EXPECT_GT(shown[0].totalBytes, std::uint64_t{1} << 32);
        }
    }
}

TEST_F(CfCardFormat, TheUserIsWarnedThenSeesTheNoticeThenTheSizesWithTheMessage) {
    std::string image = home.file("card.img");
    makeBlankImage(image, 8 * kMiB);
    host.answers = {Answer::Yes};
    format("  " + image + " ");
    EXPECT_THAT(host.questions(), ElementsAre("警告：フォーマットすると【" + image +
                                              "】ドライブの全てのデータが消去されます。よろしいですか？"));
    EXPECT_THAT(host.events, ElementsAre("ask", std::string("notice ") + kFormattingNoticeText, "hide", "sizes",
                                         std::string("report ") + kFormatDoneText));
}

TEST_F(CfCardFormat, ACardThatStillHoldsDataAfterTheFormatGetsTheSecondMessage) {
    std::string image = home.file("card.img");
    makeBlankImage(image, 64 * kMiB);
    formatImage(image, {"-s", "4"});
    markClustersUsed(image, 16, {2, 3, 4});
    standInFormatter("exit 0\n");  // says it formatted, and did not
    host.answers = {Answer::Yes};
    EXPECT_EQ(format(image), CfCardOutcome::StillHoldsData);
    EXPECT_TRUE(formatterRan());
    EXPECT_THAT(host.reports(), ElementsAre(kFormatNotSupportedText));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].allocationUnit, 2048u);
    EXPECT_EQ(shown[0].freeBytes, shown[0].totalBytes - 3 * 2048);
}

TEST_F(CfCardFormat, AFailingFormatterGetsTheFirstMessageAndWhatItSaidGoesToTheErrorLog) {
    std::string image = home.file("card.img");
    makeBlankImage(image, 64 * kMiB);
    formatImage(image, {"-s", "4"});  // an empty card: only the formatter's word counts
    standInFormatter("echo 'mkfs.fat 4.2 (2021-01-31)'\necho 'open: Permission denied' >&2\nexit 1\n");
    host.answers = {Answer::Yes};
    EXPECT_EQ(format(image), CfCardOutcome::Failed);
    EXPECT_THAT(host.reports(), ElementsAre(kFormatFailedText));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].totalBytes, 0u);
    EXPECT_EQ(shown[0].allocationUnit, 0u);
    std::string log = errorLog();
    EXPECT_THAT(log, HasSubstr("終了コード 1"));
    EXPECT_THAT(log, HasSubstr("open: Permission denied"));
}

TEST_F(CfCardFormat, AFormatterThatHangsIsStoppedAtTheTimeLimit) {
    TestClock fast(0.001);  // the 198 s limit lasts 0.2 s
    Session quick(home.path(), host, fast);
    std::string image = home.file("card.img");
    makeBlankImage(image, 4 * kMiB);
    tools.commands.mkfs = program("hanging-mkfs", "exec sleep 600\n");
    host.answers = {Answer::Yes};
    EXPECT_EQ(formatCfCard(quick, image, tools, {}), CfCardOutcome::Failed);
    EXPECT_THAT(host.reports(), ElementsAre(kFormatFailedText));
    EXPECT_THAT(errorLog(), HasSubstr("時間切れ"));
}

TEST_F(CfCardFormat, WithoutADriveNothingIsAskedOrRun) {
    standInFormatter("exit 0\n");
    for (const char* drive : {"", "   "}) {
        EXPECT_EQ(format(drive), CfCardOutcome::NotStarted);
    }
    EXPECT_THAT(host.reports(), ElementsAre(kNoDriveText, kNoDriveText));
    EXPECT_THAT(host.questions(), IsEmpty());
    EXPECT_THAT(host.notices(), IsEmpty());
    EXPECT_FALSE(formatterRan());
    EXPECT_THAT(errorLog(), HasSubstr(std::string("D]") + kNoDriveText));  // the shared report logs it
}

TEST_F(CfCardFormat, NoToTheWarningLeavesTheCardAsItWas) {
    std::string image = home.file("card.img");
    makeBlankImage(image, 64 * kMiB);
    formatImage(image, {"-s", "4"});
    markClustersUsed(image, 16, {7});
    std::string before = readFileBytes(image);
    standInFormatter("exit 0\n");
    host.answers = {Answer::No};
    EXPECT_EQ(format(image), CfCardOutcome::NotStarted);
    EXPECT_EQ(readFileBytes(image), before);
    EXPECT_FALSE(formatterRan());
    EXPECT_THAT(host.notices(), IsEmpty());
    EXPECT_THAT(host.reports(), IsEmpty());
    EXPECT_THAT(shown, IsEmpty());
}

TEST_F(CfCardFormat, TheSystemDiskIsRefusedBeforeTheWarningUnderAnyName) {
    FakeSystemTree tree;
    tree.disk("sda", 0, false, 976773168);
    tree.partition("sda", "sda1", 1, 1, 975724544);
    tree.mount("/dev/sda1", "/");
    tree.link("disk/by-id/ata-SYSTEM-part1", "../../sda1");
    tools.roots = tree.roots();
    standInFormatter("exit 0\n");
    host.answers = {Answer::Yes, Answer::Yes};
    std::string byId = tree.dev() + "/disk/by-id/ata-SYSTEM-part1";
    EXPECT_EQ(format(byId), CfCardOutcome::NotStarted);
    EXPECT_EQ(format(tree.node("sda")), CfCardOutcome::NotStarted);
    EXPECT_THAT(host.reports(),
                ElementsAre("【" + byId + "】はシステムまたはホームフォルダのあるディスクなので、フォーマットできません。",
                            "【" + tree.node("sda") + "】はシステムまたはホームフォルダのあるディスクなので、フォーマットできません。"));
    EXPECT_THAT(host.questions(), IsEmpty());
    EXPECT_FALSE(formatterRan());
}

// A card reader's disk in a laid tree whose partition nodes are image files, so that the
// real formatter works on them while a stand-in udisksctl notes what it was asked.
class CardOnBlockDevice : public CfCardFormat {
protected:
    CardOnBlockDevice() {
        tools.roots = tree.roots({});
        tree.disk("sdz", 16, true, 2 * 32 * kMiB / 512);
        for (int index : {1, 2}) {
            std::string name = "sdz" + std::to_string(index);
            tree.partition("sdz", name, index, 16 + index, 32 * kMiB / 512);
            makeBlankImage(tree.node(name), 32 * kMiB);
            formatImage(tree.node(name), {"-s", "4"});
            tree.mount("/dev/" + name, "/media/kawabe/CARD" + std::to_string(index));
        }
    }
    void standInUdisks(const std::string& failing) {
        tools.commands.udisksctl = program("fake-udisksctl", "echo \"$*\" >> " + udisksLog() + "\n" +
                                                                 "case \"$*\" in \"" + failing +
                                                                 "\") echo 'Error unmounting: target is busy' >&2; exit 1;; esac\n");
    }
    std::string udisksLog() const { return home.root() + "/udisks.log"; }
    std::vector<std::string> udisksCalls() const {
        std::vector<std::string> calls;
        std::ifstream in(udisksLog());
        for (std::string line; std::getline(in, line);) calls.push_back(line);
        return calls;
    }

    FakeSystemTree tree;
};

TEST_F(CardOnBlockDevice, APartitionIsUnmountedFormattedAndMountedAgain) {
    std::string card = tree.node("sdz1");
    markClustersUsed(card, 16, {2, 3});
    std::string neighbour = readFileBytes(tree.node("sdz2"));
    standInUdisks("none");
    host.answers = {Answer::Yes};
    EXPECT_EQ(format(card), CfCardOutcome::Done);
    EXPECT_THAT(udisksCalls(), ElementsAre("unmount -b " + card, "mount -b " + card));
    EXPECT_TRUE(readFatSizes(card)->empty());
    EXPECT_EQ(readFileBytes(tree.node("sdz2")), neighbour);
}

TEST_F(CardOnBlockDevice, ADiskThatCannotBeUnmountedIsNotFormattedAndWhatWasUnmountedComesBack) {
    std::string disk = tree.node("sdz");
    standInUdisks("unmount -b " + tree.node("sdz2"));
    standInFormatter("exit 0\n");
    host.answers = {Answer::Yes};
    EXPECT_EQ(format(disk), CfCardOutcome::Failed);
    EXPECT_THAT(udisksCalls(), ElementsAre("unmount -b " + tree.node("sdz1"), "unmount -b " + tree.node("sdz2"),
                                           "mount -b " + tree.node("sdz1")));
    EXPECT_FALSE(formatterRan());
    EXPECT_THAT(host.reports(), ElementsAre(kFormatFailedText));
    EXPECT_THAT(errorLog(), HasSubstr("target is busy"));
}

struct ArgumentsRow {
    const char* legend;
    std::uint64_t bytes;
    std::uint32_t sector;
    std::vector<std::string> expected;
};

TEST(MkfsArguments, TwoKilobyteUnitsOnAnySectorSize) {
    const std::vector<ArgumentsRow> rows = {
        {"512-byte sectors", 64 * kMiB, 512, {"mkfs.fat", "-I", "-s", "4", "/dev/sdz"}},
        {"1024-byte sectors", 64 * kMiB, 1024, {"mkfs.fat", "-I", "-s", "2", "/dev/sdz"}},
        {"2048-byte sectors", 64 * kMiB, 2048, {"mkfs.fat", "-I", "-s", "1", "/dev/sdz"}},
        {"4096-byte sectors", 64 * kMiB, 4096, {"mkfs.fat", "-I", "-s", "1", "/dev/sdz"}},
        {"FAT32 size", 256 * kMiB, 512, {"mkfs.fat", "-I", "-s", "4", "-F", "32", "/dev/sdz"}},
    };
    for (const ArgumentsRow& row : rows) {
        SCOPED_TRACE(row.legend);
        FormatTarget target;
        target.kind = TargetKind::BlockDevice;
        target.path = "/dev/sdz";
        target.sizeBytes = row.bytes;
        target.logicalBlockSize = row.sector;
        EXPECT_EQ(mkfsArguments("mkfs.fat", target), row.expected);
    }
}

}  // namespace
}  // namespace fenta21::test
