// The health of a station from its collection attempts and its reservations.
#include "core/collect/CollectResult.h"
#include "core/health/AttemptStrip.h"
#include "core/health/HistoryHealth.h"
#include "core/health/ReservedIntervals.h"
#include "core/health/StationHealth.h"

#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

constexpr EpochSeconds kMinute = 60;
constexpr EpochSeconds kHour = 60 * kMinute;
constexpr EpochSeconds kDay = 24 * kHour;
constexpr EpochSeconds kNow = 1'800'000'000;

CollectionAttempt attempt(const StationKey& key, EpochSeconds ended, bool contacted) {
    return {key, ended - kMinute, ended, contacted ? 1 : 7, contacted ? "" : "モデム応答なし !!       ", contacted};
}

TEST(StationHealth, StateFollowsTheAttemptsAndTheReservedGap) {
    struct Row {
        const char* what;
        std::vector<std::pair<EpochSeconds, bool>> attempts;  // seconds before now, contacted
        std::optional<EpochSeconds> interval;
        HealthThresholds thresholds;
        HealthState state;
        int consecutiveFailures;
    };
    const HealthThresholds usual;
    const std::vector<Row> rows = {
        {"never tried", {}, kHour, usual, HealthState::Unknown, 0},
        {"tried, never reached", {{kMinute, false}, {2 * kMinute, false}}, kHour, usual, HealthState::Unknown, 2},
        {"reached in the hour", {{10 * kMinute, true}}, kHour, usual, HealthState::Normal, 0},
        {"two failures after a contact", {{2 * kHour, true}, {kHour, false}, {kMinute, false}}, 3 * kHour, usual,
         HealthState::Normal, 2},
        {"three failures in a row", {{3 * kHour, true}, {2 * kHour, false}, {kHour, false}, {kMinute, false}},
         10 * kHour, usual, HealthState::Failing, 3},
        {"failing wins over late", {{kDay, true}, {3 * kHour, false}, {2 * kHour, false}, {kHour, false}}, kHour,
         usual, HealthState::Failing, 3},
        {"a contact ends the failures", {{3 * kHour, false}, {2 * kHour, false}, {kHour, false}, {kMinute, true}},
         kHour, usual, HealthState::Normal, 0},
        {"the settings ask for five", {{4 * kHour, false}, {3 * kHour, false}, {2 * kHour, false}, {kHour, false}},
         std::nullopt, {5, 15 * kMinute}, HealthState::Unknown, 4},
        {"within the gap and margin", {{kHour + 15 * kMinute, true}}, kHour, usual, HealthState::Normal, 0},
        {"a second past them", {{kHour + 15 * kMinute + 1, true}}, kHour, usual, HealthState::Late, 0},
        {"a larger margin", {{kHour + 15 * kMinute + 1, true}}, kHour, {3, kHour}, HealthState::Normal, 0},
        {"not reserved is never late", {{30 * kDay, true}}, std::nullopt, usual, HealthState::Normal, 0},
        // Nothing new to collect is a contact, and so counts as a success.
        {"nothing new", {{kDay, false}, {kMinute, true}}, kHour, usual, HealthState::Normal, 0},
    };
    const StationKey key{"pc1", "河辺", 0};
    for (const Row& row : rows) {
        std::vector<CollectionAttempt> attempts;
        for (auto [before, contacted] : row.attempts) attempts.push_back(attempt(key, kNow - before, contacted));
        std::vector<StationTally> tallies = tallyAttempts(attempts);
        StationTally tally = tallies.empty() ? StationTally{} : tallies.front();
        EXPECT_EQ(stationState(tally, row.interval, kNow, row.thresholds), row.state) << row.what;
        EXPECT_EQ(tally.consecutiveFailures, row.consecutiveFailures) << row.what;
        EXPECT_EQ(tally.attempts, static_cast<long>(row.attempts.size())) << row.what;
    }
}

TEST(StationHealth, LongestReservedGapWrapsRoundTheDayOrTheYearAndYieldsToRowsAbove) {
    struct Row {
        const char* what;
        std::vector<Reservation> reservations;
        std::map<int, EpochSeconds> gaps;
    };
    const std::vector<Row> rows = {
        {"none", {}, {}},
        {"every hour", {{{0, 0, 30}, 4}}, {{4, kHour}}},
        {"twice an hour, unevenly", {{{0, 0, 10}, 4}, {{0, 0, 20}, 4}}, {{4, 50 * kMinute}}},
        {"two hours a day, round midnight", {{{0, 7, 0}, 1}, {{0, 19, 0}, 1}}, {{1, 12 * kHour}}},
        {"once a day", {{{0, 24, 59}, 2}}, {{2, kDay}}},
        {"two stations", {{{0, 0, 0}, 1}, {{0, 3, 30}, 2}}, {{1, kHour}, {2, kDay}}},
        // In 2:00 the row above runs instead: the station waits from 1:00 to 3:00 once a day.
        {"a row above takes a minute", {{{0, 3, 0}, 9}, {{0, 0, 0}, 1}}, {{1, 2 * kHour}, {9, kDay}}},
        {"on the 31st: two months at most", {{{31, 1, 0}, 5}}, {{5, 61 * kDay}}},
        {"every day and on the 1st", {{{1, 13, 0}, 3}, {{0, 1, 0}, 3}}, {{3, kDay}}},
        {"times that never run", {{{0, 25, 0}, 6}, {{32, 0, 0}, 6}, {{0, 0, 60}, 6}}, {}},
    };
    for (const Row& row : rows) EXPECT_EQ(longestReservedGaps(row.reservations), row.gaps) << row.what;
}

TEST(StationHealth, StationsAreListedWorstFirstWithTheExpectedOnesNeverTried) {
    const StationKey failing{"pc1", "A", 0}, late{"pc1", "B", 0}, normal{"pc1", "C", 0}, older{"pc1", "D", 0},
        expectedUnit{"pc1", "E", 2}, otherMachine{"pc2", "A", 0};
    std::vector<CollectionAttempt> attempts;
    for (EpochSeconds before : {3 * kHour, 2 * kHour, kHour}) attempts.push_back(attempt(failing, kNow - before, false));
    attempts.push_back(attempt(late, kNow - 2 * kDay, true));
    attempts.push_back(attempt(normal, kNow - kMinute, true));
    attempts.push_back(attempt(older, kNow - kHour, true));
    attempts.push_back(attempt(otherMachine, kNow - kHour, true));
    std::vector<ExpectedStation> expected{{late, kDay}, {expectedUnit, kDay},
                                          {normal, kDay}};
    std::vector<StationRecords> records{{normal, kNow - 10 * kMinute, 140, 10 * kMinute}};

    std::vector<StationHealth> health = assessStations(tallyAttempts(attempts), expected, records, kNow, {});
    std::vector<std::pair<StationKey, HealthState>> listed;
    for (const StationHealth& station : health) listed.emplace_back(station.key(), station.state);
    EXPECT_EQ(listed, (std::vector<std::pair<StationKey, HealthState>>{{failing, HealthState::Failing},
                                                                        {late, HealthState::Late},
                                                                        {expectedUnit, HealthState::Unknown},
                                                                        {older, HealthState::Normal},
                                                                        {otherMachine, HealthState::Normal},
                                                                        {normal, HealthState::Normal}}));
    const StationHealth& recorded = health.back();
    EXPECT_EQ(recorded.expectedInterval, kDay);
    EXPECT_EQ(recorded.newestRecord, kNow - 10 * kMinute);
    EXPECT_EQ(recorded.recordsLastDay, 140);
    EXPECT_EQ(recorded.expectedRecordsLastDay, 144);
}

TEST(StationHealth, HistoryIsReadBackOnlyAsFarAsTheLastContacts) {
    const StationKey daily{"pc1", "A", 0}, silent{"pc1", "B", 0}, never{"pc1", "C", 0};
    std::vector<CollectionAttempt> all;
    for (EpochSeconds day = 30; day >= 0; --day) all.push_back(attempt(daily, kNow - day * kDay - kHour, true));
    all.push_back(attempt(silent, kNow - 10 * kDay, true));
    for (EpochSeconds hour : {30, 20, 5, 1}) all.push_back(attempt(silent, kNow - hour * kHour, false));
    std::vector<EpochSeconds> asked;
    AttemptHistory history = [&](EpochSeconds since) {
        asked.push_back(since);
        std::vector<CollectionAttempt> read;
        for (const CollectionAttempt& each : all)
            if (each.started >= since) read.push_back(each);
        return read;
    };

    std::vector<StationHealth> health = healthFromHistory(history, kNow, {{daily, kDay}, {silent, kDay}}, {}, {});
    EXPECT_EQ(asked, (std::vector<EpochSeconds>{kNow - 2 * kDay, kNow - 16 * kDay}));
    ASSERT_EQ(health.size(), 2u);
    EXPECT_EQ(health[0].key(), silent);
    EXPECT_EQ(health[0].state, HealthState::Failing);
    EXPECT_EQ(health[0].tally.lastSuccess, kNow - 10 * kDay);
    EXPECT_EQ(health[0].tally.consecutiveFailures, 4);
    EXPECT_EQ(health[0].lastDay.size(), 3u);  // 20, 5 and 1 hours ago, not 30
    EXPECT_EQ(health[1].key(), daily);
    EXPECT_EQ(health[1].lastDay.size(), 1u);

    // A station never collected at all takes the whole history to be sure of.
    asked.clear();
    health = healthFromHistory(history, kNow, {{daily, kDay}, {never, kDay}}, {}, {});
    EXPECT_EQ(asked.back(), 0);
    EXPECT_EQ(health[0].key(), silent);
    EXPECT_EQ(health[1].key(), never);
    EXPECT_EQ(health[1].state, HealthState::Unknown);
    // Unless it is known that it never answered: then only the silent one is looked for.
    asked.clear();
    health = healthFromHistory(history, kNow, {{daily, kDay}, {never, kDay}}, {}, {},
                               [&](const StationKey& key) { return key == never; });
    EXPECT_EQ(asked, (std::vector<EpochSeconds>{kNow - 2 * kDay, kNow - 16 * kDay}));
    EXPECT_EQ(health[1].state, HealthState::Unknown);
}

TEST(StationHealth, StripPlacesTheDaysAttemptsByTheirStartAndKind) {
    const StationKey key{"pc1", "A", 0};
    CollectionAttempt quiet = attempt(key, kNow - 6 * kHour + kMinute, true);
    quiet.result = kCollectNothingNew;
    std::vector<CollectionAttempt> day{attempt(key, kNow - 25 * kHour, true), attempt(key, kNow - 18 * kHour + kMinute, true),
                                       quiet, attempt(key, kNow + kMinute, false)};
    EXPECT_EQ(attemptStrip(day, kNow), (std::vector<StripEntry>{{0.25, StripMark::Collected},
                                                                 {0.75, StripMark::NothingNew},
                                                                 {1.0, StripMark::Failed}}));
}

}  // namespace
}  // namespace fenta21::test
