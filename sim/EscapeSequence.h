#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace fenta21::sim {

// The "+++" that takes an on-line modem back to its commands without ending the call.
//
// The modem only learns of bytes when a read brings them, so time is measured between reads:
// every byte of one read arrived at the same moment. Three pluses are an escape when the
// first comes at the start of a read after at least `guard` of silence, each follows the one
// before within `guard` (any number of reads, or one read for all three), and no byte follows
// the third for `guard` again. A guard of zero keeps only the read boundaries: the pluses must
// come in reads of their own. That is what a program that pauses around the escape always
// gives, whatever its clock's scale, so zero is the robust choice when the program under test
// runs on a shortened clock; a real guard time checks the pauses as a modem would.
//
// Pluses that may still turn out to be an escape are held back, not passed on: a logger that
// heard them would glue them to the next command it gets on a later call.
class EscapeSequence {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    explicit EscapeSequence(std::chrono::nanoseconds guard = {}) : guard_(guard) {}

    // A call begins (or resumes) at `now`: its silence counts from here.
    void restart(TimePoint now);
    // True when the three pluses were followed by `guard` of silence up to `now`: the modem
    // is taking commands since then. The held pluses are forgotten.
    bool completedBy(TimePoint now);
    // The bytes of one read that go on to the far end: earlier held pluses that proved to be
    // data come first; pluses that may be an escape stay behind.
    std::string pass(std::string_view bytes, TimePoint now);

private:
    bool mayStartEscape(std::size_t indexInRead, TimePoint now) const;

    std::chrono::nanoseconds guard_;
    TimePoint lastRead_{};
    TimePoint lastPlus_{};
    int held_ = 0;
};

}  // namespace fenta21::sim
