// The home's lock: one holder at a time, and a lock file that cannot be turned elsewhere.
#include "core/base/HomeLock.h"
#include "tests/support/TempHome.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <thread>

namespace fenta21::test {
namespace {

using namespace std::chrono_literals;

TEST(HomeLock, ASecondHolderWaitsUntilTheFirstLetsGo) {
    TempHome home;
    std::optional<HomeLock> first(std::in_place, home.path());
    ASSERT_TRUE(first->held()) << first->problem();
    std::atomic<bool> secondHeld{false};
    // Another thread opens the file on its own, as another program does.
    std::thread second([&] {
        HomeLock lock(home.path());
        secondHeld = lock.held();
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(secondHeld.load());
    first.reset();
    second.join();
    EXPECT_TRUE(secondHeld.load());
    EXPECT_TRUE(home.exists(kHomeLockFileName)) << "the lock file stays for the next program";
}

TEST(HomeLock, ALinkAPipeOrAMissingHomeIsNotLocked) {
    TempHome home;
    const std::string elsewhere = home.root() + "/elsewhere";
    const struct {
        const char* legend;
        std::string folder;
        std::function<void(const std::string& lockFile)> prepare;
    } rows[] = {
        {"a link in the lock file's place", home.path(),
         [&](const std::string& lockFile) { std::filesystem::create_symlink(elsewhere, lockFile); }},
        {"a pipe in the lock file's place", home.root() + "/piped",
         [](const std::string& lockFile) {
             std::filesystem::create_directory(std::filesystem::path(lockFile).parent_path());
             ::mkfifo(lockFile.c_str(), 0600);
         }},
        {"a home that is gone", home.root() + "/gone", [](const std::string&) {}},
    };
    for (const auto& row : rows) {
        row.prepare(row.folder + "/" + kHomeLockFileName);
        HomeLock lock(row.folder);
        EXPECT_FALSE(lock.held()) << row.legend;
        EXPECT_NE(lock.problem().find(kHomeLockFileName), std::string::npos) << row.legend << ": " << lock.problem();
    }
    EXPECT_FALSE(std::filesystem::exists(elsewhere)) << "a link is never followed to make a file";
}

}  // namespace
}  // namespace fenta21::test
