// The commands' enabled rules over the line state.
#include "core/app/CommandTable.h"

#include <gtest/gtest.h>

namespace fenta21 {
namespace {

TEST(CommandTable, EachRuleInEveryLineState) {
    constexpr LineState kStates[] = {LineState::Idle, LineState::Connecting, LineState::Linked,
                                     LineState::Disconnecting};
    struct RuleRow {
        EnabledWhen rule;
        bool idle, connecting, linked, disconnecting;
    };
    const RuleRow rows[] = {
        {EnabledWhen::Always, true, true, true, true},
        {EnabledWhen::LineIdle, true, false, false, false},
        {EnabledWhen::LineLinked, false, false, true, false},
    };
    for (const RuleRow& row : rows) {
        const bool expected[] = {row.idle, row.connecting, row.linked, row.disconnecting};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(enabledIn(row.rule, kStates[i]), expected[i]) << static_cast<int>(row.rule) << " in state " << i;
    }
}

}  // namespace
}  // namespace fenta21
