#include "core/stations/ModemParameters.h"

#include "core/base/Files.h"

#include <locale>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

namespace fenta21 {
namespace {

constexpr long kLongestWaitSeconds = 24L * 60 * 60;
constexpr long kMostAttempts = 1'000'000;

// The number a word begins with (optional sign, then digits), kept within `ceiling`.
std::optional<long> leadingNumber(std::string_view word, long ceiling) {
    std::size_t at = 0;
    bool negative = false;
    if (at < word.size() && (word[at] == '+' || word[at] == '-')) negative = word[at++] == '-';
    if (at >= word.size() || word[at] < '0' || word[at] > '9') return std::nullopt;
    long value = 0;
    for (; at < word.size() && word[at] >= '0' && word[at] <= '9'; ++at)
        value = value > ceiling ? value : value * 10 + (word[at] - '0');
    if (negative) return 0;
    return value > ceiling ? ceiling : value;
}

}  // namespace

ModemParameters loadModemParameters(const std::string& path) {
    ModemParameters parameters;
    auto content = readWholeFile(path);
    if (!content) return parameters;
    std::istringstream in(*content);
    in.imbue(std::locale::classic());
    std::vector<std::string> words;
    for (std::string word; words.size() < 4 && in >> word;) words.push_back(word);
    if (words.size() > 1) {
        if (auto count = leadingNumber(words[1], kMostAttempts)) parameters.retryCount = static_cast<int>(*count);
    }
    if (words.size() > 3) {
        if (auto seconds = leadingNumber(words[3], kLongestWaitSeconds))
            parameters.redialWaitTicks = static_cast<int>(*seconds * 10);
    }
    return parameters;
}

}  // namespace fenta21
