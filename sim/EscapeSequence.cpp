#include "sim/EscapeSequence.h"

namespace fenta21::sim {

void EscapeSequence::restart(TimePoint now) {
    held_ = 0;
    lastRead_ = now;
}

bool EscapeSequence::completedBy(TimePoint now) {
    // A byte after the third plus in its own read would already have released them, so three
    // held pluses always ended their read.
    if (held_ != 3 || now - lastPlus_ < guard_) return false;
    held_ = 0;
    return true;
}

std::string EscapeSequence::pass(std::string_view bytes, TimePoint now) {
    std::string data;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool plus = bytes[i] == '+';
        if (plus && held_ > 0 && held_ < 3 && (guard_.count() == 0 || now - lastPlus_ <= guard_)) {
            ++held_;
            lastPlus_ = now;
            continue;
        }
        // Anything else shows that the pluses held so far were data after all.
        data.append(static_cast<std::size_t>(held_), '+');
        held_ = 0;
        if (plus && mayStartEscape(i, now)) {
            held_ = 1;
            lastPlus_ = now;
            continue;
        }
        data.push_back(bytes[i]);
    }
    if (!bytes.empty()) lastRead_ = now;
    return data;
}

bool EscapeSequence::mayStartEscape(std::size_t indexInRead, TimePoint now) const {
    return indexInRead == 0 && now - lastRead_ >= guard_;
}

}  // namespace fenta21::sim
