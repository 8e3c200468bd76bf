#include "core/health/HealthLedger.h"

#include "core/base/Files.h"

#include <charconv>
#include <optional>

namespace fenta21 {
namespace {

constexpr const char* kHeader =
    "# fenta21 station health: station, unit, announced state, attempts, failures, failures in a row, last "
    "contact, last attempt's start, end, result, contact and message\n";
constexpr std::size_t kFields = 12;

// Names and messages may hold anything but are one field of one line.
std::string escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\': out += '\\'; break;
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            default: return std::nullopt;
        }
    }
    return out;
}

template <typename Number>
std::optional<Number> number(std::string_view text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string timeField(const std::optional<EpochSeconds>& time) { return time ? std::to_string(*time) : "-"; }

// Nothing for "-"; an empty optional inside for a field that is not a time.
std::optional<std::optional<EpochSeconds>> readTime(std::string_view text) {
    if (text == "-") return std::optional<EpochSeconds>();
    auto time = number<EpochSeconds>(text);
    if (!time) return std::nullopt;
    return time;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::optional<LedgerEntry> readEntry(std::string_view line, const std::string& machine) {
    std::vector<std::string_view> f = fieldsOf(line);
    if (f.size() != kFields) return std::nullopt;
    auto station = unescaped(f[0]);
    auto unit = number<int>(f[1]);
    auto announced = healthStateNamed(f[2]);
    auto attempts = number<long>(f[3]);
    auto failures = number<long>(f[4]);
    auto inRow = number<int>(f[5]);
    auto lastSuccess = readTime(f[6]);
    auto started = readTime(f[7]);
    auto ended = readTime(f[8]);
    auto result = number<int>(f[9]);
    auto message = unescaped(f[11]);
    if (!station || !unit || !announced || !attempts || !failures || !inRow || !lastSuccess || !started || !ended ||
        !result || !message || (f[10] != "0" && f[10] != "1") || started->has_value() != ended->has_value())
        return std::nullopt;
    LedgerEntry entry;
    entry.tally.key = {machine, *station, *unit};
    entry.announced = *announced;
    entry.tally.attempts = *attempts;
    entry.tally.failures = *failures;
    entry.tally.consecutiveFailures = *inRow;
    entry.tally.lastSuccess = *lastSuccess;
    if (started->has_value())
        entry.tally.lastAttempt = CollectionAttempt{entry.tally.key, **started, **ended, *result, *message, f[10] == "1"};
    return entry;
}

}  // namespace

LedgerEntry* HealthLedger::find(const StationKey& key) {
    for (LedgerEntry& known : entries)
        if (known.tally.key == key) return &known;
    return nullptr;
}

LedgerEntry& HealthLedger::entry(const StationKey& key) {
    if (LedgerEntry* known = find(key)) return *known;
    LedgerEntry& added = entries.emplace_back();
    added.tally.key = key;
    return added;
}

std::vector<StationTally> HealthLedger::tallies() const {
    std::vector<StationTally> all;
    for (const LedgerEntry& known : entries) all.push_back(known.tally);
    return all;
}

HealthLedger parseHealthLedger(std::string_view text, const std::string& machine) {
    HealthLedger ledger;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.empty() || line.front() == '#') continue;
        if (auto entry = readEntry(line, machine)) ledger.entries.push_back(std::move(*entry));
        else ledger.unreadLines.emplace_back(line);
    }
    return ledger;
}

std::string formatHealthLedger(const HealthLedger& ledger) {
    std::string text = kHeader;
    for (const LedgerEntry& entry : ledger.entries) {
        const StationTally& t = entry.tally;
        const std::optional<CollectionAttempt>& last = t.lastAttempt;
        std::vector<std::string> fields{escaped(t.key.station),
                                        std::to_string(t.key.unit),
                                        healthStateName(entry.announced),
                                        std::to_string(t.attempts),
                                        std::to_string(t.failures),
                                        std::to_string(t.consecutiveFailures),
                                        timeField(t.lastSuccess),
                                        last ? std::to_string(last->started) : "-",
                                        last ? std::to_string(last->ended) : "-",
                                        std::to_string(last ? last->result : 0),
                                        last && last->contacted ? "1" : "0",
                                        last ? escaped(last->message) : ""};
        for (std::size_t i = 0; i < fields.size(); ++i) text += (i == 0 ? "" : "\t") + fields[i];
        text += "\n";
    }
    for (const std::string& line : ledger.unreadLines) text += line + "\n";
    return text;
}

HealthLedger loadHealthLedger(const std::string& homeFolder, const std::string& machine) {
    FileContent content = readRegularFilePrefix(joinPath(homeFolder, kHealthLedgerFileName), kHealthLedgerBytes);
    return content.bytes ? parseHealthLedger(*content.bytes, machine) : HealthLedger{};
}

bool neverReachedHere(const HealthLedger& ledger, const std::string& machine, const StationKey& key) {
    if (key.machine != machine) return false;
    for (const LedgerEntry& entry : ledger.entries)
        if (entry.tally.key == key) return !entry.tally.lastSuccess.has_value();
    return true;
}

}  // namespace fenta21
