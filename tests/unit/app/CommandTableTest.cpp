// The commands' enabled rules over the line state, and what the function keys run.
#include "core/app/CommandTable.h"

#include <gtest/gtest.h>

#include <set>

namespace fenta21 {
namespace {

using namespace CommandId;

constexpr LineState kStates[] = {LineState::Idle, LineState::Connecting, LineState::Linked, LineState::Disconnecting};

// The commands with a rule; every other command is enabled in every state.
struct RuleRow {
    int command;
    bool idle, connecting, linked, disconnecting;
};

const RuleRow kRuled[] = {
    {kDirectCollection, true, false, false, false},
    {kAutoLink, true, false, false, false},
    {kManualLink, true, false, false, false},
    {kRemoteLink, true, false, false, false},
    {kDisconnect, false, false, true, false},
};

TEST(CommandTable, EveryCommandInEveryLineState) {
    std::set<int> ruled;
    for (const RuleRow& row : kRuled) {
        ruled.insert(row.command);
        const bool expected[] = {row.idle, row.connecting, row.linked, row.disconnecting};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(commandEnabled(row.command, kStates[i]), expected[i]) << row.command << " in state " << i;
    }
    for (int command : allCommandIds()) {
        if (ruled.count(command)) continue;
        for (LineState state : kStates) EXPECT_TRUE(commandEnabled(command, state)) << command;
    }
}

TEST(CommandTable, EveryRuledCommandHasAnAction) {
    std::set<int> all(allCommandIds().begin(), allCommandIds().end());
    for (const RuleRow& row : kRuled) EXPECT_TRUE(all.count(row.command)) << row.command;
    EXPECT_TRUE(all.count(kCfCard));  // reached by its id only, but an action all the same
    EXPECT_EQ(all.size(), allCommandIds().size());
}

TEST(CommandTable, FunctionKeysRunTheirCommands) {
    const std::pair<int, std::optional<int>> rows[] = {
        {0x70, kDirectCollection}, {0x71, kDataFileDisplay}, {0x72, kAutoLink},
        {0x73, kDisconnect},       {0x74, kAddressBook},     {0x75, kReservation},
        {0x76, kCsvConversion},    {0x77, kDirectCollectionAll},
        {0x78, std::nullopt},  // F9
        {0x6F, std::nullopt},      {0x79, std::nullopt},     {0, std::nullopt},
    };
    for (const auto& [key, command] : rows) EXPECT_EQ(functionKeyCommand(key), command) << std::hex << key;
}

}  // namespace
}  // namespace fenta21
