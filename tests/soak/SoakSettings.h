#pragma once

#include <cstdlib>
#include <random>
#include <string>

namespace fenta21::test {

// A whole number from the environment (how many runs, which seed), or `fallback` when the
// variable is unset or not a number.
inline long soakNumber(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    return *end == '\0' ? value : fallback;
}

// The seeded choices of a soak: the same seed gives the same runs.
class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    int pick(int from, int to) { return std::uniform_int_distribution<int>(from, to)(engine_); }
    std::string text(int from, int to, const std::string& alphabet) {
        std::string out(static_cast<std::size_t>(pick(from, to)), ' ');
        for (char& c : out) c = alphabet[static_cast<std::size_t>(pick(0, static_cast<int>(alphabet.size()) - 1))];
        return out;
    }

private:
    std::mt19937 engine_;
};

}  // namespace fenta21::test
