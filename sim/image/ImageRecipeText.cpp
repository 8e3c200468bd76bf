#include "sim/image/ImageRecipeText.h"

#include "core/base/Cp932.h"
#include "sim/image/RecordBytes.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace fenta21::sim {
namespace {

bool parseNumber(const std::string& word, long long& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    value = std::strtoll(word.c_str(), &end, 0);
    return end != nullptr && *end == '\0';
}

bool parseTime(const std::string& date, const std::string& clock, CalendarTime& time) {
    char tail = 0;
    return std::sscanf(date.c_str(), "%d-%d-%d%c", &time.year, &time.month, &time.day, &tail) == 3 &&
           std::sscanf(clock.c_str(), "%d:%d:%d%c", &time.hour, &time.minute, &time.second, &tail) == 3;
}

// The rest of a line after its first `words` words, for texts that may hold spaces.
std::string restAfter(const std::string& line, int words) {
    std::size_t at = 0;
    for (int i = 0; i < words; ++i) {
        at = line.find_first_not_of(' ', at);
        at = line.find(' ', at);
        if (at == std::string::npos) return {};
    }
    return line.substr(at + 1);
}

}  // namespace

ParsedRecipe parseImageRecipe(std::string_view text, bool keepOtherLines) {
    ParsedRecipe parsed;
    ImageRecipe& r = parsed.recipe;
    std::istringstream lines{std::string(text)};
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream in(line);
        std::string key;
        if (!(in >> key) || key[0] == '#') continue;
        std::vector<std::string> words;
        for (std::string word; in >> word;) words.push_back(word);
        std::vector<long long> n(words.size());
        auto numbers = [&](std::size_t from, std::size_t count) {
            if (words.size() < from + count) return false;
            for (std::size_t i = from; i < from + count; ++i)
                if (!parseNumber(words[i], n[i])) return false;
            return true;
        };
        bool ok = true;
        if (key == "model") r.modelCode = utf8ToCp932(restAfter(line, 1));
        else if (key == "station") r.stationName = utf8ToCp932(restAfter(line, 1));
        else if (key == "memo") {
            ok = numbers(0, 1) && n[0] >= 1 && n[0] <= 6;
            if (ok) r.memo[static_cast<std::size_t>(n[0] - 1)] = utf8ToCp932(restAfter(line, 2));
        } else if (key == "battery") {
            ok = !words.empty();
            if (ok) r.batteryVolts = std::strtof(words[0].c_str(), nullptr);
        } else if (key == "area-start") {
            ok = numbers(0, 1);
            if (ok) r.recordAreaStart = static_cast<std::uint32_t>(n[0]);
        } else if (key == "start-markers") {
            ok = numbers(0, 1);
            if (ok) r.startMarkers = static_cast<int>(n[0]);
        } else if (key == "first") {
            ok = words.size() == 2 && parseTime(words[0], words[1], r.firstInstant);
        } else if (key == "interval") {
            ok = numbers(0, 1) && n[0] > 0;
            if (ok) r.intervalSeconds = static_cast<int>(n[0]);
        } else if (key == "instants") {
            ok = numbers(0, 1);
            if (ok) r.instants = static_cast<int>(n[0]);
        } else if (key == "channel") {
            ok = numbers(0, 4);
            ImageChannel channel{static_cast<int>(n[0]), static_cast<int>(n[1]), static_cast<int>(n[2]),
                                 static_cast<int>(n[3])};
            // Then "from INSTANT", "wave AMPLITUDE PERIOD" and "noise AMPLITUDE", each at most once.
            for (std::size_t at = 4; ok && at < words.size();) {
                if (words[at] == "from" && numbers(at + 1, 1)) {
                    channel.fromInstant = static_cast<int>(n[at + 1]);
                    at += 2;
                } else if (words[at] == "wave" && numbers(at + 1, 2) && n[at + 2] > 0) {
                    channel.waveAmplitude = static_cast<int>(n[at + 1]);
                    channel.wavePeriod = static_cast<int>(n[at + 2]);
                    at += 3;
                } else if (words[at] == "noise" && numbers(at + 1, 1) && n[at + 1] >= 0) {
                    channel.noise = static_cast<int>(n[at + 1]);
                    at += 2;
                } else {
                    ok = false;
                }
            }
            if (ok) r.channels.push_back(channel);
        } else if (key == "gap") {
            ok = numbers(0, 2) && n[1] > 0;
            if (ok) r.gaps.push_back(InstantGap{static_cast<int>(n[0]), static_cast<int>(n[1])});
        } else if (key == "missing" || key == "damaged") {
            ok = numbers(0, 2);
            if (ok) (key == "missing" ? r.missing : r.damaged).push_back(RecordSlot{static_cast<int>(n[0]), static_cast<int>(n[1])});
        } else if (key == "trailing-record") {
            CalendarTime time;
            ok = words.size() == 5 && parseTime(words[0], words[1], time) && numbers(2, 3);
            if (ok) r.trailingRecords.push_back(encodeRecord(time, static_cast<int>(n[2]), static_cast<int>(n[3]), static_cast<int>(n[4])));
        } else if (key == "trailing-marker" || key == "trailing-unwritten") {
            ok = numbers(0, 1);
            for (long long i = 0; ok && i < n[0]; ++i)
                r.trailingRecords.push_back(key == "trailing-marker" ? startMarkerRecord() : unwrittenRecord());
        } else if (key == "end-offset" || key == "start-offset") {
            ok = numbers(0, 1);
            if (ok) (key == "end-offset" ? r.endOffset : r.startOffset) = static_cast<std::uint32_t>(n[0]);
        } else if (key == "minimum-bytes") {
            ok = numbers(0, 1);
            if (ok) r.minimumBytes = static_cast<std::size_t>(n[0]);
        } else if (keepOtherLines) {
            parsed.otherLines.push_back(line);
        } else {
            ok = false;
        }
        if (!ok && parsed.error.empty()) parsed.error = "line " + std::to_string(lineNumber) + ": " + line;
    }
    return parsed;
}

}  // namespace fenta21::sim
