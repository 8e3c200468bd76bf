// Reserved collections through the simulated modem, watched by the health monitor: a station
// that stops answering becomes failing after three attempts and normal with its next contact;
// each change runs its alert command once, and the metrics file follows every collection.
#include "core/base/Cp932.h"
#include "core/collect/CollectResult.h"
#include "core/health/HealthMonitor.h"
#include "core/health/HealthSettings.h"
#include "core/health/HealthTime.h"
#include "core/remote/ConnectionResult.h"
#include "core/remote/Scheduler.h"
#include "sim/RemoteStation.h"
#include "sim/SimModem.h"
#include "sim/image/DataImage.h"
#include "tests/support/HeardCollections.h"
#include "tests/support/SimLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;
namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kNumber = "0312345678";

// A command that appends its FENTA21_ variables and a separator to a file, then does `then`.
std::string recordingCommand(const std::string& file, const std::string& then) {
    return "{ env | grep '^FENTA21_' | sort; echo ---; } >> '" + file + "'; " + then;
}

int blocks(const std::string& text) {
    int count = 0;
    for (std::size_t at = text.find("---\n"); at != std::string::npos; at = text.find("---\n", at + 1)) ++count;
    return count;
}

TEST(StationHealthAlerts, AStationThatStopsAnsweringFailsOnceAndRecoversOnce) {
    // Waiting out a station that never answers costs many reads: a fine scale keeps it short.
    SimLine line{0.02};
    Session& session = *line.session;
    std::string modemPath = line.home.file("ttyMODEM");
    sim::SimModem modem{true};
    sim::PtyServer modemPort(modemPath, modem);
    ASSERT_TRUE(modemPort.start());
    line.home.write("comports.txt", "COM2 " + modemPath + "\n");
    session.settings.modemPortIndex = 1;
    session.settings.modemSpeedIndex = 5;
    session.modem = ModemParameters{1, 10};
    fs::create_directory(line.home.root() + "/data");
    session.addressBook.store(0, {"河辺", kNumber, "", "KAWABE", "", "modem"});
    sim::RemoteStation& remote = modem.addStation(kNumber, 1);
    sim::ImageRecipe recipe;
    recipe.instants = 30;
    recipe.channels = {{0, 20, 10, 1, 0}};
    remote.unit(1).setMemoryImage(sim::buildDataImage(recipe));

    const std::string root = line.home.root();
    // The failed command hangs until its time limit; the recovered one fails.
    ASSERT_TRUE(storeHealthSetting(session.homeFolder(), "on-failed", recordingCommand(root + "/failed.env", "sleep 1000")).written());
    ASSERT_TRUE(storeHealthSetting(session.homeFolder(), "on-recovered", recordingCommand(root + "/recovered.env", "exit 3")).written());
    ASSERT_TRUE(storeHealthSetting(session.homeFolder(), "on-late", "echo late >> '" + root + "/late.env'").written());
    ASSERT_TRUE(storeHealthSetting(session.homeFolder(), "metrics-file", "../health.prom").written());

    HeardCollections heard(session);
    // The next minute is set only once the scheduler has done with the last: a minute that
    // begins while it still hangs up is not caught up.
    std::atomic<std::size_t> reservationsRun{0};
    EventHub::Subscription finished = session.events.subscribe<ReservationFinished>(
        std::function<void(const ReservationFinished&)>([&](const ReservationFinished&) { ++reservationsRun; }));
    auto watch = [&](std::optional<HealthMonitor>& monitor) {
        monitor.emplace(session.events, session.clock, session.homeFolder(), session.addressBook, session.reservations);
    };
    std::optional<HealthMonitor> monitor;
    watch(monitor);
    session.reservations.replace({{{0, 0, 31}, 0}, {{0, 0, 32}, 0}, {{0, 0, 33}, 0}, {{0, 0, 34}, 0}, {{0, 0, 35}, 0}});
    line.clock.setLocalTime({2026, 12, 8, 10, 31, 0});
    ReservationScheduler scheduler(session);
    ASSERT_TRUE(scheduler.switchOn());

    struct Step {
        int minute;
        bool answers;
        int result;
        const char* state;
        int failures;
        int inRow;
    };
    const Step steps[] = {
        {31, true, kCollectOk, "normal", 0, 0},
        {32, false, kLinkFailed, "normal", 1, 1},
        {33, false, kLinkFailed, "normal", 2, 2},
        {34, false, kLinkFailed, "failing", 3, 3},
        {35, true, kCollectNothingNew, "normal", 3, 0},  // nothing new is a contact
    };
    const std::string labels = "{station=\"河辺\",unit=\"0\"}";
    const std::string lastSuccess = std::to_string(epochOfLocalTime({2026, 12, 8, 10, 31, 0}));
    std::size_t attempts = 0;
    for (const Step& step : steps) {
        remote.setFaults({.neverAnswers = !step.answers});
        line.clock.setLocalTime({2026, 12, 8, 10, step.minute, 0});
        for (int i = 0; i < 3000 && reservationsRun.load() == attempts; ++i) std::this_thread::sleep_for(10ms);
        std::vector<CollectionFinished> all = heard.all();
        ASSERT_EQ(all.size(), ++attempts) << step.minute;
        EXPECT_EQ(all.back().result, step.result) << step.minute;
        monitor->settle();

        std::string metrics = readFileBytes(root + "/health.prom");
        for (const std::string& sample : std::vector<std::string>{
             "# TYPE fenta21_station_last_success_timestamp_seconds gauge\n",
              "fenta21_station_attempts_total" + labels + " " + std::to_string(attempts) + "\n",
              "fenta21_station_failures_total" + labels + " " + std::to_string(step.failures) + "\n",
              "fenta21_station_consecutive_failures" + labels + " " + std::to_string(step.inRow) + "\n",
              "fenta21_station_state{station=\"河辺\",unit=\"0\",state=\"" + std::string(step.state) + "\"} 1\n",
              "fenta21_station_last_success_timestamp_seconds" + labels + " " +
                  (step.minute == 35 ? std::to_string(epochOfLocalTime({2026, 12, 8, 10, 35, 0})) : lastSuccess) + "\n"})
            EXPECT_THAT(metrics, HasSubstr(sample)) << step.minute;
    }
    session.reservationRunning.store(false);
    scheduler.waitForWorker();

    std::string failed = readFileBytes(root + "/failed.env");
    EXPECT_EQ(blocks(failed), 1) << failed;
    for (const char* variable :
         {"FENTA21_STATION=河辺\n", "FENTA21_UNIT=0\n", "FENTA21_STATE=failing\n", "FENTA21_PREVIOUS_STATE=normal\n",
          "FENTA21_RESULT=回線接続　エラー !!     \n", "FENTA21_CONSECUTIVE_FAILURES=3\n",
          "FENTA21_LAST_ATTEMPT=2026-12-08T10:34:00", "FENTA21_LAST_SUCCESS=2026-12-08T10:31:00"})
        EXPECT_THAT(failed, HasSubstr(variable));
    std::string recovered = readFileBytes(root + "/recovered.env");
    EXPECT_EQ(blocks(recovered), 1) << recovered;
    for (const char* variable :
         {"FENTA21_STATION=河辺\n", "FENTA21_STATE=normal\n", "FENTA21_PREVIOUS_STATE=failing\n",
          "FENTA21_RESULT=前回のデータ回収時以降に新しく記録されているデータがありません!!\n",
          "FENTA21_CONSECUTIVE_FAILURES=0\n", "FENTA21_LAST_SUCCESS=2026-12-08T10:35:00"})
        EXPECT_THAT(recovered, HasSubstr(variable));
    EXPECT_FALSE(fs::exists(root + "/late.env"));
    std::string errors = cp932ToUtf8(line.home.read("ERR.LOG"));
    EXPECT_THAT(errors, HasSubstr("on-failed 河辺 unit 0: killed after 60 s"));
    EXPECT_THAT(errors, HasSubstr("on-recovered 河辺 unit 0: exit status 3"));

    // Another program on the home (or this one started again) does not announce them again.
    monitor.reset();
    watch(monitor);
    monitor->settle();
    EXPECT_EQ(readFileBytes(root + "/failed.env"), failed);
    EXPECT_EQ(readFileBytes(root + "/recovered.env"), recovered);
    modemPort.stop();
}

}  // namespace
}  // namespace fenta21::test
