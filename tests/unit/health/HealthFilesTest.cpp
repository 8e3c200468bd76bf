// What the health keeps in the home: the ledger of stations and the metrics file's labels.
#include "core/health/HealthLedger.h"
#include "core/health/HealthMetrics.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fenta21::test {
namespace {

using ::testing::HasSubstr;

TEST(HealthFiles, LedgerKeepsAnyNameAndMessageAndTheLinesItCannotRead) {
    HealthLedger ledger;
    LedgerEntry& odd = ledger.entry({"pc1", "a\tb\\n\nc", 3});
    odd.announced = HealthState::Failing;
    odd.tally = {{"pc1", "a\tb\\n\nc", 3}, 12, 5, 3,
                 CollectionAttempt{{"pc1", "a\tb\\n\nc", 3}, 100, 160, 7, "モデム応答なし !!\t\r\n", false}, 40};
    ledger.entry({"pc1", "河辺", 0});  // never tried
    ledger.unreadLines = {"a line of a later version\twith\tmore\tfields", "河辺\t0\tbroken"};

    std::string text = formatHealthLedger(ledger);
    HealthLedger read = parseHealthLedger(text, "pc1");
    EXPECT_EQ(read.entries, ledger.entries);
    EXPECT_EQ(read.unreadLines, ledger.unreadLines);
    EXPECT_EQ(formatHealthLedger(read), text);
    // Read on another machine's name, the stations are that machine's.
    EXPECT_EQ(parseHealthLedger(text, "pc2").entries.front().tally.key.machine, "pc2");
}

TEST(HealthFiles, MetricLabelsEscapeBackslashQuoteAndLineFeed) {
    const std::pair<const char*, const char*> rows[] = {
        {"河辺", "河辺"}, {"a\"b", "a\\\"b"}, {"c:\\d", "c:\\\\d"}, {"x\ny", "x\\ny"}, {"t\tab", "t\tab"}};
    for (auto [name, label] : rows) {
        EXPECT_EQ(metricLabelValue(name), label);
        StationHealth station;
        station.tally.key = {"pc1", name, 1};
        EXPECT_THAT(formatHealthMetrics({station}),
                    HasSubstr(std::string("fenta21_station_state{station=\"") + label + "\",unit=\"1\",state=\"unknown\"} 1\n"));
    }
}

}  // namespace
}  // namespace fenta21::test
