#include "core/store/ImportQueue.h"

#include "core/base/Files.h"
#include "core/base/HomeFileEdit.h"

#include <charconv>

namespace fenta21::store {
namespace {

// The queue grows by a line a collection; a home whose store is away for a year of hourly
// collections of a hundred stations still fits.
constexpr std::size_t kMostQueueBytes = 512u * 1024 * 1024;
constexpr char kSeparator = '\t';

// Fields never hold a tab or a line end: those (and the escape itself) are written %XX.
std::string escaped(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (char c : text) {
        if (c == '\t' || c == '\n' || c == '\r' || c == '%') {
            out += '%';
            out += kHex[static_cast<unsigned char>(c) >> 4];
            out += kHex[static_cast<unsigned char>(c) & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size()) return std::nullopt;
        auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (error != std::errc() || end != text.data() + i + 3) return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

std::string timeField(const CalendarTime& t) {
    return std::to_string(t.year) + '-' + std::to_string(t.month) + '-' + std::to_string(t.day) + '-' +
           std::to_string(t.hour) + '-' + std::to_string(t.minute) + '-' + std::to_string(t.second);
}

template <typename Number>
bool numberField(std::string_view text, Number& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool timeFromField(std::string_view text, CalendarTime& t) {
    int* parts[] = {&t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second};
    for (std::size_t i = 0; i < 6; ++i) {
        std::size_t dash = i < 5 ? text.find('-') : text.size();
        if (dash == std::string_view::npos || !numberField(text.substr(0, dash), *parts[i])) return false;
        text.remove_prefix(i < 5 ? dash + 1 : dash);
    }
    return true;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        std::size_t end = line.find(kSeparator, start);
        fields.push_back(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) return fields;
        start = end + 1;
    }
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string queuePath(const std::string& homeFolder) { return joinPath(homeFolder, kImportQueueFileName); }

}  // namespace

std::string queueLine(const QueuedCollection& queued) {
    const CollectionFinished& c = queued.collection;
    // The conversion's outcome only tells a data file from a text listing here.
    std::string conversion = c.conversion ? std::to_string(static_cast<int>(c.conversion->outcome)) : "-";
    std::vector<std::string> fields = {
        escaped(queued.id),           std::to_string(static_cast<int>(c.origin)), std::to_string(c.station),
        escaped(c.stationName),       std::to_string(c.unit),                     std::to_string(c.port),
        timeField(c.started),         timeField(c.finished),                      std::to_string(c.result),
        escaped(c.message),           escaped(c.dataFile),                        escaped(c.csvFile),
        conversion,                   std::to_string(c.bytesReceived),            std::to_string(c.blocksReceived),
        std::to_string(c.retries),    c.clearSent ? "1" : "0",                    c.clearAnswered ? "1" : "0"};
    std::string line;
    for (const std::string& field : fields) {
        if (!line.empty()) line += kSeparator;
        line += field;
    }
    return line;
}

std::optional<QueuedCollection> parseQueueLine(std::string_view line) {
    std::vector<std::string_view> f = fieldsOf(line);
    if (f.size() != 18) return std::nullopt;
    QueuedCollection queued;
    CollectionFinished& c = queued.collection;
    std::optional<std::string> id = unescaped(f[0]), name = unescaped(f[3]), message = unescaped(f[9]),
                               dataFile = unescaped(f[10]), csvFile = unescaped(f[11]);
    int origin = 0;
    int sent = 0;
    int answered = 0;
    if (!id || id->empty() || !name || !message || !dataFile || !csvFile || !numberField(f[1], origin) || origin < 0 ||
        origin > static_cast<int>(CollectionOrigin::Reservation) || !numberField(f[2], c.station) ||
        !numberField(f[4], c.unit) || !numberField(f[5], c.port) || !timeFromField(f[6], c.started) ||
        !timeFromField(f[7], c.finished) || !numberField(f[8], c.result) || !numberField(f[13], c.bytesReceived) ||
        !numberField(f[14], c.blocksReceived) || !numberField(f[15], c.retries) || !numberField(f[16], sent) ||
        !numberField(f[17], answered))
        return std::nullopt;
    if (f[12] != "-") {
        int outcome = 0;
        if (!numberField(f[12], outcome)) return std::nullopt;
        c.conversion = CsvFileResult{};
        c.conversion->outcome = static_cast<CsvFileOutcome>(outcome);
        c.conversion->dataFile = *dataFile;
        c.conversion->csvFile = *csvFile;
    }
    queued.id = *id;
    c.origin = static_cast<CollectionOrigin>(origin);
    c.stationName = *name;
    c.message = *message;
    c.dataFile = *dataFile;
    c.csvFile = *csvFile;
    c.clearSent = sent != 0;
    c.clearAnswered = answered != 0;
    return queued;
}

std::vector<QueuedCollection> queuedCollections(const std::string& homeFolder) {
    std::vector<QueuedCollection> queued;
    readHomeFile(queuePath(homeFolder), kMostQueueBytes, [&](const FileOnDisk& now) {
        if (!now) return;
        for (std::string_view line : linesOf(*now))
            if (std::optional<QueuedCollection> entry = parseQueueLine(line)) queued.push_back(std::move(*entry));
    });
    return queued;
}

bool queueCollection(const std::string& homeFolder, const QueuedCollection& queued, std::string& problem) {
    HomeFileEdit edit = editHomeFile(queuePath(homeFolder), kMostQueueBytes, [&](const FileOnDisk& now) {
        std::string text = now.value_or(std::string());
        if (!text.empty() && text.back() != '\n') text += '\n';
        return std::optional<std::string>(text + queueLine(queued) + "\n");
    });
    if (!edit.written()) problem = edit.problem;
    return edit.written();
}

bool unqueueCollection(const std::string& homeFolder, const std::string& id) {
    bool found = false;
    HomeFileEdit edit = editHomeFile(queuePath(homeFolder), kMostQueueBytes, [&](const FileOnDisk& now) -> std::optional<std::string> {
        if (!now) return std::nullopt;
        std::string kept;
        for (std::string_view line : linesOf(*now)) {
            std::optional<QueuedCollection> entry = parseQueueLine(line);
            if (entry && entry->id == id) {
                found = true;
                continue;
            }
            kept.append(line);
            kept += '\n';
        }
        return found ? std::optional(kept) : std::nullopt;
    });
    return edit.written() || (edit.outcome == HomeFileEdit::Outcome::Declined);
}

}  // namespace fenta21::store
