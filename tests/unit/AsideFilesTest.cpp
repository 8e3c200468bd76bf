// Files written aside in folders that other programs, and other users, share: where they are
// created, how they take their names, and what a later start clears away.
#include "core/app/LeftoverFiles.h"
#include "core/base/AsideFile.h"
#include "core/base/Files.h"
#include "core/collect/FileNaming.h"
#include "core/collect/TransferFile.h"
#include "tests/support/TempHome.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;
using ::testing::UnorderedElementsAreArray;

constexpr const char* kVictimBytes = "a file of someone else";

bool isLink(const std::string& path) { return fs::is_symlink(fs::symlink_status(path)); }

mode_t permissions(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// A process id that no process has: a child's, once it has ended and been waited for.
pid_t goneProcessId() {
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// Another user of a shared folder plants links where the program writes aside, so as to have
// it write over a file of their choosing: every such name is passed over, the file it leads
// to stays as it was, and the link stays a link.
TEST(AsideFiles, LinksPlantedWhereTheProgramWritesLeaveTheirTargetsUntouched) {
    const std::string pid = std::to_string(::getpid());
    const std::string drawnFirst = pid + "-0123456789abcdef";
    int draws = 0;
    UniqueNamePart scripted = [&] { return draws++ == 0 ? drawnFirst : pid + "-fedcba9876543210"; };
    struct Row {
        const char* legend;
        std::vector<std::string> planted;
        std::function<bool(const TempHome&)> write;
        const char* stored;
    } rows[] = {
        {"a settings file", {"adr.csv.tmp" + pid},
         [](const TempHome& home) { return writeFileAtomically(home.file("adr.csv"), "stored"); }, "adr.csv"},
        {"a transfer", {"XDM-0000.V38"},
         [](const TempHome& home) {
             TransferFile file;
             return file.create(home.path(), *tempNameParts(kDataTempPattern)) && file.write("stored") &&
                    file.commit({.path = home.file("S.v38")}) == TransferFile::Commit::Durable;
         },
         "S.v38"},
        {"a name drawn before", {"XDM-" + drawnFirst + ".V38"},
         [&](const TempHome& home) {
             AsideFile file;
             bool written = file.create(home.path(), "XDM-", ".V38", std::nullopt, scripted) && file.write("stored") &&
                            ::rename(file.path().c_str(), home.file("S.v38").c_str()) == 0;
             file.keep();
             return written;
         },
         "S.v38"},
    };
    for (const Row& row : rows) {
        TempHome home;
        const std::string victim = home.root() + "/victim";
        std::ofstream(victim) << kVictimBytes;
        for (const std::string& name : row.planted) fs::create_symlink(victim, home.file(name));
        EXPECT_TRUE(row.write(home)) << row.legend;
        EXPECT_EQ(readFileBytes(victim), kVictimBytes) << row.legend;
        EXPECT_EQ(home.read(row.stored), "stored") << row.legend;
        EXPECT_FALSE(isLink(home.file(row.stored))) << row.legend;
        for (const std::string& name : row.planted) EXPECT_TRUE(isLink(home.file(name))) << row.legend << " " << name;
    }
}

// A settings file shared through a link is edited where it lives, keeping its permission
// bits; a link that leads nowhere is a failure that changes nothing.
TEST(AsideFiles, ASettingsFileIsReplacedWhereItLivesWithItsMode) {
    struct Row {
        const char* legend;
        const char* link;  // where adr.csv leads, or nothing for a file of its own
        mode_t mode;
        bool saved;
    } rows[] = {
        {"a file of its own", nullptr, 0600, true},
        {"a link to a shared file", "../shared/adr.csv", 0640, true},
        {"a link that leads nowhere", "../shared/missing.csv", 0640, false},
    };
    for (const Row& row : rows) {
        TempHome home;
        const std::string shared = home.root() + "/shared";
        fs::create_directory(shared);
        std::string real = row.link ? shared + "/adr.csv" : home.file("adr.csv");
        std::ofstream(real) << "old";
        ::chmod(real.c_str(), row.mode);
        if (row.link) fs::create_symlink(row.link, home.file("adr.csv"));

        EXPECT_EQ(writeFileAtomically(home.file("adr.csv"), "new"), row.saved) << row.legend;
        EXPECT_EQ(readFileBytes(real), row.saved ? "new" : "old") << row.legend;
        EXPECT_EQ(permissions(real), row.mode) << row.legend;
        EXPECT_EQ(isLink(home.file("adr.csv")), row.link != nullptr) << row.legend;
        EXPECT_EQ(std::distance(fs::directory_iterator(shared), fs::directory_iterator()), row.link ? 1 : 0)
            << row.legend;
        EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1) << row.legend;
    }
}

// What a start clears: the program's own aside files whose writer is gone, and nothing else.
TEST(LeftoverFiles, OnlyTheProgramsOwnFilesOfWritersThatAreGoneAreRemoved) {
    TempHome home;
    const std::string gone = std::to_string(goneProcessId());
    const std::string alive = std::to_string(::getpid());
    enum Kind { File, Link, Folder, LockedHere, TwoHoursOld };
    struct Row {
        std::string name;
        Kind kind;
        bool removed;
    } rows[] = {
        {"XDM-" + gone + "-00000000000000aa.V38", File, true},
        {"XDM-" + gone + "-00000000000000ab.txt", File, true},
        {"adr.csv.tmp" + gone + "-00000000000000ac", File, true},
        {"S_261208_0930.csv.tmp" + gone, File, true},                // as older versions named it
        {"XDM-0000.txt", TwoHoursOld, true},                           // an older version's, long still
        {"XDM-0000.V38", File, false},                                 // ... perhaps still being written
        {"rsv.dat.tmp" + alive, File, false},                          // its writer is alive
        {"XDM-" + gone + "-00000000000000ad.V38", LockedHere, false},  // a writer another pid space shows
        {"XDM-" + gone + "-00000000000000ae.V38", Link, false},
        {"system.dat.tmp" + gone, Folder, false},
        {"notes.tmp" + gone, File, false},  // not a name of the program's
    };
    const std::string victim = home.root() + "/victim";
    std::ofstream(victim) << kVictimBytes;
    std::vector<int> locks;
    std::vector<std::string> expected;
    for (const Row& row : rows) {
        std::string path = home.file(row.name);
        if (row.kind == Link) fs::create_symlink(victim, path);
        else if (row.kind == Folder) fs::create_directory(path);
        else home.write(row.name, "aside");
        if (row.kind == TwoHoursOld) {
            struct timespec times[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
            ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        }
        if (row.kind == LockedHere) {
            locks.push_back(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
            ::flock(locks.back(), LOCK_EX);
        }
        if (row.removed) expected.push_back(row.name);
    }
    AsideFile writing;  // a live writer's file, under its lock
    ASSERT_TRUE(writing.create(home.path(), "XDM-", ".V38"));

    EXPECT_THAT(removeLeftoverFiles(home.path()), UnorderedElementsAreArray(expected));
    for (const Row& row : rows)
        EXPECT_EQ(fs::exists(fs::symlink_status(home.file(row.name))), !row.removed) << row.name;
    EXPECT_TRUE(fs::exists(writing.path()));
    EXPECT_EQ(readFileBytes(victim), kVictimBytes);
    for (int fd : locks) ::close(fd);
}

}  // namespace
}  // namespace fenta21::test
