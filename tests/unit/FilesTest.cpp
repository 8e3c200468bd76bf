#include "core/base/Files.h"
#include "tests/support/AddressSpaceLimit.h"
#include "tests/support/TempHome.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

namespace fenta21 {
namespace {

TEST(ReadRegularFile, ReadsAFileWholeAndAnEmptyOneAsEmpty) {
    test::TempHome home;
    std::string bytes(200000, 'x');
    bytes[123456] = '\0';
    home.write("big", bytes);
    home.write("empty", "");
    FileContent big = readRegularFile(home.file("big"));
    ASSERT_TRUE(big.bytes) << big.problem;
    EXPECT_EQ(*big.bytes, bytes);
    EXPECT_EQ(readRegularFile(home.file("empty")).bytes, std::string());
}

// None of these is read from: a pipe without a writer, a device that never ends.
TEST(ReadRegularFile, RefusesFoldersPipesAndDevicesSayingWhy) {
    test::TempHome home;
    std::filesystem::create_directory(home.file("folder"));
    ASSERT_EQ(::mkfifo(home.file("pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", home.file("zero"));
    const std::pair<const char*, const char*> rows[] = {
        {"folder", "is a folder, not a file"},
        {"pipe", "is not a regular file (a device, a pipe or a socket)"},
        {"zero", "is not a regular file (a device, a pipe or a socket)"},
        {"missing", "cannot be opened: No such file or directory"},
    };
    for (const auto& [name, problem] : rows) {
        FileContent content = readRegularFile(home.file(name));
        EXPECT_FALSE(content.bytes) << name;
        EXPECT_EQ(content.problem, problem) << name;
        EXPECT_FALSE(readWholeFile(home.file(name))) << name;
    }
}

#ifndef FENTA21_UNDER_SANITIZER
// In a child process: limits the address space, reads, and exits 0 when both reads failed
// whole, another code naming what went wrong.
[[noreturn]] void readWithLittleMemory(const std::string& sparse) {
    if (!test::limitAddressSpace(rlim_t{256} << 20)) ::_exit(3);
    if (readWholeFile(sparse)) ::_exit(1);
    if (readWholeFile("/dev/zero")) ::_exit(2);
    ::_exit(readRegularFile(sparse).problem == "is too large to be held in memory" ? 0 : 4);
}
#endif

// With memory for far less than the file, the read fails as a whole: a part of the file is
// never handed out as if it were all of it, and a device that never ends is not read at all.
TEST(ReadRegularFileDeathTest, AFileLargerThanTheMemoryLeftIsAFailureNotAPart) {
#ifdef FENTA21_UNDER_SANITIZER
    GTEST_SKIP() << "a sanitizer cannot run with a limited address space";
#else
    test::TempHome home;
    std::string sparse = home.file("sparse");
    int fd = ::open(sparse.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, off_t{1} << 30), 0);
    ::close(fd);
    EXPECT_EXIT(readWithLittleMemory(sparse), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
}  // namespace fenta21
