// The launchers' own logic: the about box's time text in local time, the program file's time,
// and which option entry opens the data file viewer.
#include "core/app/Launchers.h"
#include "core/base/CalendarTime.h"
#include "tests/support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace fenta21::test {
namespace {

// Runs a test in a fixed time zone, so that local time differs from UTC by a known amount.
class InTimeZone {
public:
    explicit InTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) saved_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~InTimeZone() {
        if (saved_) setenv("TZ", saved_->c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> saved_;
};

std::time_t utc(const CalendarTime& time) { return static_cast<std::time_t>(calendarSeconds(time)); }

struct TimeRow {
    const char* legend;
    CalendarTime utc;
    const char* shown;  // in Japan, nine hours ahead
};

TEST(AboutTime, WritesLocalTimeWithDotsBetweenTheTimeFields) {
    InTimeZone japan("JST-9");
    const TimeRow rows[] = {
        {"the fixed date's moment", {2017, 3, 9, 3, 0, 0}, "2017-03-09 12.00.00"},
        {"single digits are padded", {2009, 1, 2, 0, 4, 5}, "2009-01-02 09.04.05"},
        {"local time is already the next year", {2016, 12, 31, 20, 4, 5}, "2017-01-01 05.04.05"},
    };
    for (const auto& row : rows) EXPECT_EQ(aboutTimeText(utc(row.utc)), row.shown) << row.legend;
}

TEST(AboutTime, ProgramFileTimeIsItsModificationTime) {
    InTimeZone japan("JST-9");
    TempHome home;
    home.write("rimo.exe", "MZ");
    utimbuf times{};
    times.actime = utc({2020, 6, 1, 0, 0, 0});
    times.modtime = utc({2018, 10, 20, 14, 15, 16});
    ASSERT_EQ(utime(home.file("rimo.exe").c_str(), &times), 0);
    EXPECT_EQ(modificationTimeText(home.file("rimo.exe")), "2018-10-20 23.15.16");
}

TEST(AboutTime, MissingProgramFileGivesNoText) {
    TempHome home;
    EXPECT_EQ(modificationTimeText(home.file("rimo.exe")), "");
}

TEST(OptionLaunch, OnlyTheExactViewerNameOpensTheViewer) {
    const std::pair<const char*, OptionLaunch> rows[] = {
        {"binary.exe", OptionLaunch::DataFileViewer},
        {"Binary.exe", OptionLaunch::StartProgram},
        {"BINARY.EXE", OptionLaunch::StartProgram},
        {"binary2.exe", OptionLaunch::StartProgram},
        {"tool.exe", OptionLaunch::StartProgram},
    };
    for (const auto& [file, launch] : rows)
        EXPECT_EQ(optionLaunch(OptionProgram{"name", file}), launch) << file;
}

}  // namespace
}  // namespace fenta21::test
