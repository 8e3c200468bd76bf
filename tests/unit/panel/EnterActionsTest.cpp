// The panel's reads, enter actions and sub-lists against the simulated logger in memory:
// what is sent, what the dialogs are given, and what the panel shows afterwards.
#include "core/panel/EnterActions.h"
#include "core/panel/PanelKeys.h"
#include "core/panel/SettingsReading.h"
#include "core/panel/SubLists.h"
#include "core/protocol/CommandExchange.h"
#include "tests/unit/panel/PanelBench.h"
#include "tests/unit/panel/ScriptedDialogs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace fenta21::test {
namespace {

using namespace PanelItem;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;
using ::testing::Not;

std::string right(const std::string& text) { return std::string(16 - text.size(), ' ') + text; }

// A bench whose panel has read the logger's settings, with the lines of that start forgotten.
class Panel {
public:
    explicit Panel(const std::string& model) : bench(model) {
        EXPECT_EQ(readAllSettings(*bench.session), kAccepted);
        bench.forgetSent();
    }
    // The enter key on an item, as the key worker presses it.
    int enter(int item) {
        bench.panel().currentItem.store(item);
        bench.panel().displayState.store(DisplayState::kShown);
        return pressEnter(*bench.session, dialogs);
    }
    // A key inside the sub-list now open.
    void key(PanelKey k) { handlePanelKey(*bench.session, dialogs, k); }
    // The lines sent, without the line guard's.
    std::vector<std::string> sent() const {
        auto lines = bench.sent();
        lines.erase(std::remove_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("comtm=", 0) == 0; }),
                    lines.end());
        return lines;
    }
    std::string value(int item) { return bench.panel().value(item); }

    PanelBench bench;
    ScriptedDialogs dialogs;
};

TEST(PanelStart, ReadsEverySettingInOrderAndWhatTheFamilyAdds) {
    struct Row {
        const char* model;
        std::vector<std::string> extra;
    } rows[] = {{"WNDA-01", {}}, {"LVLA-01", {"digit", "offs0", "wave"}}, {"QS-21", {"zero"}}, {"RS8-04", {"zero0"}}};
    for (const Row& row : rows) {
        PanelBench bench(row.model);
        ASSERT_EQ(readAllSettings(*bench.session), kAccepted) << row.model;
        std::vector<std::string> expected = {"eerm0", "xerm0", "rome", "batt", "memo1", "radj",
                                             "coms",  "after", "pretm", "intv", "time"};
        expected.insert(expected.end(), row.extra.begin(), row.extra.end());
        EXPECT_EQ(bench.sent(), expected) << row.model;
        EXPECT_EQ(bench.session->panelStationId.get(), "BENCH-01");
        EXPECT_EQ(bench.panel().model.get().code, row.model);
    }
}

TEST(PanelStart, ValuesAsThePanelShowsThem) {
    PanelBench bench("LVLA-01");
    bench.logger.setReply("batt", "55");
    bench.logger.setReply("pretm", "30");
    bench.logger.setReply("offs0", "-1.5");
    bench.logger.receive("wave=2\r\n");
    ASSERT_EQ(readAllSettings(*bench.session), kAccepted);
    PanelState& panel = bench.panel();
    EXPECT_EQ(panel.value(kBatt), right("[_____*****]"));
    EXPECT_EQ(panel.value(kPresetTimer), right("30min"));
    EXPECT_EQ(panel.value(kOffset), right("-01.500m"));  // the simulated logger's digit is 1
    EXPECT_EQ(panel.value(kWaveCanceler), right(" 10S"));
    EXPECT_EQ(panel.value(kMemo), "MEMO 1          ");
    EXPECT_EQ(panel.value(kInterval), right("10min"));
    EXPECT_EQ(panel.value(kAfterStart), right("01/01 00:00"));
}

TEST(PanelStart, AnUnknownModelOrASilentLoggerStopsTheReading) {
    PanelBench unknown("NOPE-99");
    EXPECT_EQ(readAllSettings(*unknown.session), kErrorReply);
    EXPECT_EQ(unknown.sent(), (std::vector<std::string>{"eerm0", "xerm0"}));

    PanelBench silent("WNDA-01");
    sim::LoggerFaults faults;
    faults.questionCommand = "radj";
    silent.logger.setFaults(faults);
    EXPECT_EQ(readAllSettings(*silent.session), kErrorReply);
    EXPECT_THAT(silent.sent(), Not(Contains("coms")));
}

TEST(PanelStart, ALoggerNamedWithUpToThirtyNineCharactersGetsItsPanel) {
    for (std::size_t length : {19u, 20u, 39u}) {
        PanelBench bench("WNDA-01");
        const std::string name(length, 'K');
        bench.logger.setIdentity(name, "WNDA-01");
        EXPECT_EQ(readAllSettings(*bench.session), kAccepted) << length;
        EXPECT_EQ(bench.session->panelStationId.get(), name);
        EXPECT_TRUE(bench.host.reports().empty()) << length;
    }
}

TEST(PanelStart, PresetTimerBeyondAnySettingLeavesTheValue) {
    PanelBench bench("WNDA-01");
    bench.logger.setReply("pretm", "2147483647sec");
    ASSERT_EQ(readAllSettings(*bench.session), kAccepted);
    EXPECT_EQ(bench.panel().value(kPresetTimer), std::string(16, ' '));
}

TEST(PanelReads, RepliesThatDoNotReadLeaveTheValuesTheyWouldChange) {
    Panel panel("WNDA-01");
    PanelState& state = panel.bench.panel();
    const std::string time = state.value(kTime), date = state.value(kDate), after = state.value(kAfterStart),
                      batt = state.value(kBatt);
    panel.bench.logger.setReply("time", "26120809");  // two fields short
    panel.bench.logger.setReply("batt", "LOW");
    panel.bench.logger.setReply("after=03151230", "0315");
    EXPECT_EQ(readLoggerTime(*panel.bench.session), kAccepted);
    refreshOnMove(*panel.bench.session, kBatt);
    panel.dialogs.enter({"03/15", "12:30"});
    EXPECT_EQ(panel.enter(kAfterStart), kAccepted);
    EXPECT_EQ(state.value(kTime), time);
    EXPECT_EQ(state.value(kDate), date);
    EXPECT_EQ(state.value(kBatt), batt);
    EXPECT_EQ(state.value(kAfterStart), after);
    // A reply longer than the reading allows is a failed read, not a cut-off value.
    panel.bench.logger.setReply("rome", std::string(30, 'R'));
    EXPECT_NE(readAllSettings(*panel.bench.session), kAccepted);
}

TEST(EnterActions, IntervalWritesTheCodeOfTheChosenLabel) {
    Panel panel("RGT1-01");
    panel.dialogs.choose(std::string("15min"));
    EXPECT_EQ(panel.enter(kInterval), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("intv", "intv=19"));
    EXPECT_EQ(panel.value(kInterval), right("15min"));
    auto shown = panel.dialogs.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].id, DialogId::kInterval);
    EXPECT_EQ(shown[0].entries.front(), "1min");  // RGT1 starts at code 11
    EXPECT_EQ(shown[0].entries[static_cast<std::size_t>(shown[0].preselected)], "10min");
}

TEST(EnterActions, IntervalCodeTheModelDoesNotOfferPreselectsNothing) {
    Panel panel("RGT1-01");
    panel.bench.logger.setReply("intv", "04 5sec");
    panel.dialogs.cancel();
    EXPECT_EQ(panel.enter(kInterval), kDialogNotOk);
    ASSERT_EQ(panel.dialogs.shown().size(), 1u);
    EXPECT_EQ(panel.dialogs.shown()[0].preselected, -1);
    EXPECT_THAT(panel.sent(), ElementsAre("intv"));  // cancelled: nothing written
}

TEST(EnterActions, ZeroPointOfQsIsPreselectedAndDefaultWritesOne) {
    Panel panel("QS-21");
    panel.dialogs.choose(std::string(" Default"));
    EXPECT_EQ(panel.enter(kZeroSet), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("zero", "zero=1"));
    EXPECT_EQ(panel.dialogs.shown()[0].preselected, 1);  // the simulated logger starts at its default
    EXPECT_EQ(panel.value(kZeroSet), right(" Default"));
}

TEST(EnterActions, PresetTimerPositionIsTheSettingSecondsIncluded) {
    Panel panel("RS8-04");
    panel.dialogs.choose(std::string("5sec"));
    EXPECT_EQ(panel.enter(kPresetTimer), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("pretm=65"));
    EXPECT_EQ(panel.value(kPresetTimer), right("5sec"));
    EXPECT_EQ(panel.dialogs.shown()[0].entries.size(), 91u);
    EXPECT_EQ(panel.dialogs.shown()[0].preselected, 0);  // OFF before
    // Opened again, the dialog starts from what the logger answered.
    panel.dialogs.cancel();
    panel.enter(kPresetTimer);
    EXPECT_EQ(panel.dialogs.shown()[1].preselected, 65);
}

TEST(EnterActions, WriteEchoThatDoesNotReadLeavesTheValue) {
    Panel panel("WNDA-01");
    panel.bench.logger.setReply("pretm=5", "OK");
    panel.dialogs.choose(std::string("5min"));
    EXPECT_EQ(panel.enter(kPresetTimer), kAccepted);
    EXPECT_EQ(panel.value(kPresetTimer), right("OFF"));
}

TEST(EnterActions, RtcAdjustmentOutOfRangeIsRefusedAndNothingWritten) {
    Panel panel("WNDA-01");
    panel.dialogs.enter({"64"});
    EXPECT_EQ(panel.enter(kRtcAdjust), kDialogNotOk);
    EXPECT_THAT(panel.dialogs.refusals(), ElementsAre("-64 から 63 までの整数を入力してください。"));
    EXPECT_TRUE(panel.sent().empty());
    EXPECT_EQ(panel.value(kRtcAdjust), right("0"));

    panel.dialogs.enter({"64"});  // refused, the dialog stays open ...
    panel.dialogs.enter({"-5"});  // ... and takes the next entry
    EXPECT_EQ(panel.enter(kRtcAdjust), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("radj=-5"));
    EXPECT_EQ(panel.value(kRtcAdjust), right("-5"));
    EXPECT_EQ(panel.dialogs.shown()[1].fields, (std::vector<std::string>{"0"}));
}

TEST(EnterActions, FailedWriteIsReportedAndLeavesTheValue) {
    Panel panel("WNDA-01");
    sim::LoggerFaults faults;
    faults.questionCommand = "radj=7";
    panel.bench.logger.setFaults(faults);
    panel.dialogs.enter({"7"});
    EXPECT_EQ(panel.enter(kRtcAdjust), kErrorReply);
    EXPECT_THAT(panel.bench.host.reports(), Contains(kErrorReplyMessage));
    EXPECT_EQ(panel.value(kRtcAdjust), right("0"));
}

TEST(EnterActions, OffsetIsBoundedByTheLoggersLimits) {
    Panel panel("LVLA-01");
    panel.dialogs.enter({"11"});
    panel.dialogs.enter({"-1.5"});
    EXPECT_EQ(panel.enter(kOffset), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("digit", "offs0", "limtu0", "limtl0", "offs0=-1.500000"));
    EXPECT_THAT(panel.dialogs.refusals(), ElementsAre("-10 から 10 までの数値を入力してください。"));
    EXPECT_EQ(panel.dialogs.shown()[0].fields, (std::vector<std::string>{"0.000"}));
    EXPECT_EQ(panel.value(kOffset), right("-01.500m"));
}

TEST(EnterActions, WaveCancelerWritesItsCode) {
    Panel panel("LVPQ-01");
    panel.dialogs.choose(std::string(" 25S"));
    EXPECT_EQ(panel.enter(kWaveCanceler), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("wave", "wave=5"));
    EXPECT_EQ(panel.value(kWaveCanceler), right(" 25S"));
}

TEST(EnterActions, MemoDialogWritesAllSixAndShowsMemoOne) {
    Panel panel("WNDA-01");
    panel.dialogs.enter({"KAWABE", "MEMO 2", "MEMO 3", "MEMO 4", "MEMO 5", "ﾒﾓ 6"});
    EXPECT_EQ(panel.enter(kMemo), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("memo1", "memo2", "memo3", "memo4", "memo5", "memo6", "memo1=KAWABE",
                                          "memo2=MEMO 2", "memo3=MEMO 3", "memo4=MEMO 4", "memo5=MEMO 5",
                                          "memo6=\xD2\xD3 6"));  // code page 932 on the line
    EXPECT_EQ(panel.value(kMemo), "KAWABE          ");
}

TEST(EnterActions, AfterStartAndTimeWriteWhatTheFieldsSay) {
    Panel panel("WNDA-01");
    panel.dialogs.enter({"3/15", "12:30"});
    EXPECT_EQ(panel.enter(kAfterStart), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("after", "after=03151230"));
    EXPECT_EQ(panel.value(kAfterStart), right("03/15 12:30"));

    panel.bench.forgetSent();
    panel.dialogs.enter({"27/01/02", "03:04:05"});
    EXPECT_EQ(panel.enter(kDate), kAccepted);
    EXPECT_THAT(panel.sent(), ElementsAre("time", "time=270102030405"));
    EXPECT_EQ(panel.value(kDate), right("'27/01/02"));

    // Cancelled: the clock is read again instead of written.
    panel.bench.forgetSent();
    panel.dialogs.cancel();
    EXPECT_EQ(panel.enter(kTime), kDialogNotOk);
    EXPECT_THAT(panel.sent(), ElementsAre("time", "time"));
}

TEST(EnterActions, PcClockButtonSetsTheClockAlthoughTheDialogEndsAsCancel) {
    Panel panel("WNDA-01");
    panel.bench.clock.runFrom({2027, 3, 4, 5, 6, 7});
    // The logger's clock stands still here, so what it was set to can be read back exactly.
    panel.bench.logger.setLoggerClockSource([] { return 0LL; });
    panel.dialogs.pressAction();
    EXPECT_EQ(panel.enter(kTime), kDialogNotOk);
    auto sent = panel.sent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[0], "time");
    EXPECT_EQ(sent[1].rfind("time=270304050", 0), 0u) << sent[1];
    EXPECT_EQ(sent[2], "time");  // the dialog did not end with OK: the clock is read again
    CalendarTime set = panel.bench.logger.loggerTime();
    char expected[32];
    std::snprintf(expected, sizeof expected, "time=%02d%02d%02d%02d%02d%02d", set.year % 100, set.month, set.day,
                  set.hour, set.minute, set.second);
    EXPECT_EQ(sent[1], expected);
    EXPECT_GT(set.second, 7);  // taken once the PC's second had changed
    EXPECT_EQ(panel.value(kTime).substr(8), std::string(expected + 11, 2) + ":" + std::string(expected + 13, 2) + ":" +
                                                std::string(expected + 15, 2));
}

TEST(SubLists, DataHistoryStepsBackFromTheNewestRecord) {
    Panel panel("WNDA-01");
    EXPECT_EQ(panel.enter(kData), kAccepted);
    EXPECT_EQ(panel.bench.panel().displayState.load(), DisplayState::kSubList);
    panel.key(PanelKey::Previous);  // at the newest already: stays there
    panel.key(PanelKey::Next);
    panel.key(PanelKey::Next);
    panel.key(PanelKey::Previous);
    EXPECT_THAT(panel.sent(), ElementsAre("data0", "data-1", "data-2", "data-1"));
    auto lines = panel.bench.panel().readTexts([](const PanelTexts& t) { return std::pair(t.dataLine1, t.dataLine2); });
    EXPECT_EQ(lines.first.substr(0, 5), "Data ");
    EXPECT_EQ(lines.second.substr(0, 7), " Mean  ");  // channel 0 of the record before the newest
    panel.key(PanelKey::Enter);
    EXPECT_EQ(panel.bench.panel().displayState.load(), DisplayState::kRefresh);
}

TEST(SubLists, ModeOfAChannelFromItsOwnList) {
    Panel panel("QS-21");
    panel.dialogs.choose(std::string("Disable"));
    EXPECT_EQ(panel.enter(kMode), kAccepted);
    panel.key(PanelKey::Previous);
    panel.key(PanelKey::Previous);
    panel.key(PanelKey::Enter);
    EXPECT_THAT(panel.sent(), ElementsAre("mode1", "mode2", "mode2=127"));
    auto shown = panel.dialogs.shown();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_THAT(shown[0].entries, ElementsAre("積雪深", "気温", "Disable"));
    EXPECT_EQ(shown[0].preselected, -1);  // the channel records the voltage, which it does not offer
    EXPECT_EQ(panel.bench.panel().readTexts([](const PanelTexts& t) { return t.modeLine; }), "  ch 3 Disable   ");
    EXPECT_EQ(panel.value(kMode), "  ch 3 Disable  ");
}

TEST(SubLists, ModeChoicesAreTheNamesOfTheKinds) {
    // QS channel 1 offers the model's third line: kind 0, named "電圧", labelled "電池電圧".
    Panel panel("QS-21");
    panel.dialogs.cancel();
    EXPECT_EQ(panel.enter(kMode), kAccepted);
    panel.key(PanelKey::Enter);
    ASSERT_EQ(panel.dialogs.shown().size(), 1u);
    EXPECT_THAT(panel.dialogs.shown()[0].entries, ElementsAre("電圧", "Disable"));
}

// A sub-list left after a write and entered again goes on where its line stands: what it
// shows is what the next key reads and what enter writes.
TEST(SubLists, ModeEnteredAgainWritesTheChannelItShows) {
    Panel panel("QS-21");
    panel.dialogs.choose(std::string("Disable"));
    EXPECT_EQ(panel.enter(kMode), kAccepted);
    panel.key(PanelKey::Previous);
    panel.key(PanelKey::Previous);
    panel.key(PanelKey::Enter);
    EXPECT_EQ(panel.bench.panel().readTexts([](const PanelTexts& t) { return t.modeLine; }), "  ch 3 Disable   ");

    panel.dialogs.choose(std::string("気温"));
    EXPECT_EQ(panel.enter(kMode), kAccepted);
    panel.key(PanelKey::Enter);
    EXPECT_THAT(panel.sent(), ElementsAre("mode1", "mode2", "mode2=127", "mode2=5"));
    auto shown = panel.dialogs.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_THAT(shown[1].entries, ElementsAre("積雪深", "気温", "Disable"));
    EXPECT_EQ(shown[1].preselected, 2);  // channel 3 is disabled now
}

TEST(SubLists, DataHistoryEnteredAgainStepsOnFromTheRecordItShows) {
    Panel panel("WNDA-01");
    EXPECT_EQ(panel.enter(kData), kAccepted);
    panel.key(PanelKey::Next);
    panel.key(PanelKey::Next);
    panel.key(PanelKey::Enter);
    EXPECT_EQ(panel.enter(kData), kAccepted);
    panel.key(PanelKey::Next);
    EXPECT_THAT(panel.sent(), ElementsAre("data-1", "data-2", "data-3"));
}

TEST(SubLists, ZeroDialogEnteredAgainIsForTheChannelItShows) {
    Panel panel("RS8-04");
    panel.dialogs.choose(std::string("    Zero"));
    EXPECT_EQ(panel.enter(kZeroSet), kAccepted);
    panel.key(PanelKey::Next);  // channel 10
    panel.key(PanelKey::Enter);

    panel.dialogs.choose(std::string(" Default"));
    EXPECT_EQ(panel.enter(kZeroSet), kAccepted);
    panel.key(PanelKey::Enter);
    EXPECT_THAT(panel.sent(), ElementsAre("zero9", "zero9=0", "zero9=1"));
    auto shown = panel.dialogs.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].preselected, 0);  // channel 10 was zeroed by the first write
}

TEST(SubLists, ZeroDialogOfAnotherChannelIsPreselectedWithThatChannelsZeroPoint) {
    Panel panel("RS8-04");
    panel.dialogs.choose(std::string("    Zero"));
    EXPECT_EQ(panel.enter(kZeroSet), kAccepted);
    panel.key(PanelKey::Next);
    panel.key(PanelKey::Enter);  // channel 10 zeroed
    // Away and back: the sub-list starts at channel 1 again, which still has its default.
    panel.key(PanelKey::Next);
    panel.key(PanelKey::Previous);
    ASSERT_EQ(panel.bench.panel().currentItem.load(), kZeroSet);
    panel.bench.forgetSent();
    panel.dialogs.cancel();
    EXPECT_EQ(panel.enter(kZeroSet), kAccepted);
    panel.key(PanelKey::Enter);
    EXPECT_THAT(panel.sent(), ElementsAre("zero0"));
    auto shown = panel.dialogs.shown();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].preselected, 1);
}

TEST(SubLists, ChannelsWrapWithinTheModelsCount) {
    Panel panel("RS8-04");
    panel.dialogs.choose(std::string("    Zero"));
    EXPECT_EQ(panel.enter(kZeroSet), kAccepted);
    panel.key(PanelKey::Next);  // below channel 1: the last of ten
    panel.key(PanelKey::Enter);
    EXPECT_THAT(panel.sent(), ElementsAre("zero9", "zero9=0"));
    EXPECT_EQ(panel.value(kZeroSet), right("    Zero"));
    EXPECT_EQ(wrapChannel(10, 10), 0);
    EXPECT_EQ(wrapChannel(-1, 10), 9);
    EXPECT_EQ(wrapChannel(-1, 0), 0);  // a model without a channel count stays at the first
}

TEST(SubLists, MovingToAnItemRefreshesBattDataAndMode) {
    Panel panel("WNDA-01");
    panel.bench.panel().currentItem.store(kBanner);
    for (int i = 0; i < 5; ++i) panel.key(PanelKey::Next);
    EXPECT_EQ(panel.bench.panel().currentItem.load(), kMonitor);  // no Zero Set for the wind logger
    EXPECT_THAT(panel.sent(), ElementsAre("batt", "data"));
    // Each move ran inside the line guard.
    auto all = panel.bench.sent();
    EXPECT_EQ(std::count(all.begin(), all.end(), "comtm=0"), 5);
}

}  // namespace
}  // namespace fenta21::test
