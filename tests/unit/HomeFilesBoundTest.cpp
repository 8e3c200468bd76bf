// A home file padded far beyond its layout (3 GB, sparse) is read no further than its layout
// reaches: its records are loaded in the memory and time of the layout, not of the file. The
// lists take no more rows than their files are read for.
#include "core/session/Session.h"
#include "core/app/Startup.h"
#include "core/session/SystemSettings.h"
#include "core/base/Bytes.h"
#include "core/stations/AddressBook.h"
#include "core/remote/AddressBookFile.h"
#include "core/remote/ArbitraryList.h"
#include "core/remote/ArbitraryListFile.h"
#include "core/remote/ReservationFile.h"
#include "core/remote/ReservationList.h"
#include "core/serial/ComPortMap.h"
#include "tests/support/AddressSpaceLimit.h"
#include "tests/support/ScriptedHost.h"
#include "tests/support/TempHome.h"
#include "tests/support/TestClock.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

namespace fenta21::test {
namespace {

#ifndef FENTA21_UNDER_SANITIZER
struct PaddedFile {
    const char* name;
    std::string start;              // the file's first bytes; the rest up to 3 GB reads as zeros
    std::function<bool()> loaded;  // what the program loads from it, given the home folder
};

std::vector<PaddedFile> paddedFiles(const TempHome& home) {
    SystemSettings settings;
    settings.dataFileName = "KAWABE";
    settings.modemSpeedIndex = 5;
    std::string reservation;
    for (int field : {0, 1, 30, 7}) appendInt32LE(reservation, field);
    std::string listRow;
    appendInt32LE(listRow, 42);
    return {
        {"system.dat", formatSettings(settings),
         [&home, settings] {
             SystemSettings read;
             loadSettings(home.file("system.dat"), read);
             return read == settings;
         }},
        {"rsv.dat", reservation,
         [&home] {
             std::vector<Reservation> read = loadReservations(home.file("rsv.dat"));
             return read.size() == kMostReservations && read[0] == Reservation{{0, 1, 30}, 7};
         }},
        {"any.dat", listRow,
         [&home] {
             std::vector<int> read = loadArbitraryList(home.file("any.dat")).stations();
             return read.size() == kMostArbitraryRows && read[0] == 42;
         }},
        {"adr.csv", "KAWABE,0311112222,,,,modem\r\n",
         [&home] {
             AddressBook book;
             return loadAddressBook(home.file("adr.csv"), book) && book.station(0).name == "KAWABE";
         }},
        {"rsvflg.dat", std::string("\x01\x00", 2), [&home] { return readReservationFlag(home.file("rsvflg.dat")); }},
        {"comports.txt", "COM3 /dev/ttyS7\n",
         [&home] { return ComPortMap::load(home.file("comports.txt")).mappedPath(3) == "/dev/ttyS7"; }},
    };
}

// In a child process with far less memory than one such file: exits 0 when every file
// loaded its records, else says which did not.
[[noreturn]] void loadWithLittleMemory(const std::vector<PaddedFile>& files) {
    if (!limitAddressSpace(rlim_t{256} << 20)) ::_exit(100);
    int failed = 0;
    for (const PaddedFile& file : files)
        if (!file.loaded()) {
            std::fprintf(stderr, "%s was not loaded\n", file.name);
            ++failed;
        }
    ::_exit(failed);
}
#endif

TEST(HomeFilesDeathTest, AFilePaddedToGigabytesLoadsWhatItsLayoutHolds) {
#ifdef FENTA21_UNDER_SANITIZER
    GTEST_SKIP() << "a sanitizer cannot run with a limited address space";
#else
    TempHome home;
    const std::vector<PaddedFile> files = paddedFiles(home);
    for (const PaddedFile& file : files) {
        home.write(file.name, file.start);
        int fd = ::open(home.file(file.name).c_str(), O_WRONLY);
        ASSERT_GE(fd, 0) << file.name;
        ASSERT_EQ(::ftruncate(fd, off_t{3} << 30), 0) << file.name;
        ::close(fd);
    }
    EXPECT_EXIT(loadWithLittleMemory(files), ::testing::ExitedWithCode(0), "");
#endif
}

// A list never holds more rows than its file is read for, so what it stores is read back whole.
TEST(HomeFilesBound, AFullListRefusesAnotherRow) {
    TempHome home;
    TestClock clock;
    ScriptedHost host;
    Session session(home.path(), host, clock);
    session.addressBook.store(0, {"KAWABE", "0311112222"});
    session.reservations.replace(std::vector<Reservation>(kMostReservations, Reservation{{0, 0, 5}, 0}));
    ReservationList reservations(session, session.addressBook, session.reservations);
    EXPECT_TRUE(reservations.full());
    EXPECT_EQ(reservations.add(0, {0, 0, 6}), ReservationEdit::Refused);
    EXPECT_EQ(reservations.insertBefore(0, 0, {0, 0, 6}), ReservationEdit::Refused);
    EXPECT_EQ(reservations.editTime(0, {0, 0, 7}), ReservationEdit::Done) << "a change that adds no row is taken";

    ArbitraryList list(std::vector<int>(kMostArbitraryRows, 0));
    EXPECT_TRUE(list.full());
    EXPECT_FALSE(list.add(session.addressBook, 0));
    EXPECT_FALSE(list.insertBefore(session.addressBook, 0, 0));
    EXPECT_EQ(list.size(), kMostArbitraryRows);
}

}  // namespace
}  // namespace fenta21::test
