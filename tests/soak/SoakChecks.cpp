#include "tests/soak/SoakChecks.h"

#include "core/collect/Block.h"
#include "core/report/Logs.h"
#include "sim/CollectionImage.h"
#include "tests/support/TempHome.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fenta21::test {
namespace {

namespace fs = std::filesystem;

bool digitsAt(const std::string& text, std::size_t at, std::size_t count) {
    if (at + count > text.size()) return false;
    return std::all_of(text.begin() + static_cast<long>(at), text.begin() + static_cast<long>(at + count),
                       [](unsigned char c) { return std::isdigit(c); });
}

// "YYYYMMDD HHMMSS NNNN\r\n", or from 10000 on "YYYYMMDD HHMM NNNNN \r\n": the next line number.
std::optional<int> countLineNumber(const std::string& line) {
    if (line.size() != kFirstEntryOffset - kCountLineOffset || line.substr(20) != "\r\n") return std::nullopt;
    if (digitsAt(line, 0, 8) && line[8] == ' ' && digitsAt(line, 9, 6) && line[15] == ' ' && digitsAt(line, 16, 4))
        return std::stoi(line.substr(16, 4));
    if (digitsAt(line, 0, 8) && line[8] == ' ' && digitsAt(line, 9, 4) && line[13] == ' ' && digitsAt(line, 14, 5) &&
        line[19] == ' ')
        return std::stoi(line.substr(14, 5));
    return std::nullopt;
}

// "YYYY/MM/DD HH:MM:SS " at the start of an entry line.
bool stamped(const std::string& line) {
    return digitsAt(line, 0, 4) && line[4] == '/' && digitsAt(line, 5, 2) && line[7] == '/' && digitsAt(line, 8, 2) &&
           line[10] == ' ' && digitsAt(line, 11, 2) && line[13] == ':' && digitsAt(line, 14, 2) && line[16] == ':' &&
           digitsAt(line, 17, 2) && line[19] == ' ';
}

std::uint32_t u32At(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i])) << (8 * i);
    return value;
}

}  // namespace

std::string fixedLogProblem(const std::string& bytes, const FixedLogLayout& layout) {
    // A log created on a disk without room holds nothing yet; its first entry brings the header.
    if (bytes.empty()) return "";
    if (bytes.size() < kFirstEntryOffset) return "shorter than its header and count line";
    std::string header = layout.header;
    header.resize(kCountLineOffset, '\0');
    if (bytes.compare(0, kCountLineOffset, header) != 0) return "header is not the program's";
    auto next = countLineNumber(bytes.substr(kCountLineOffset, kFirstEntryOffset - kCountLineOffset));
    if (!next) return "count line is damaged";
    std::size_t body = bytes.size() - kFirstEntryOffset;
    if (body % layout.lineBytes != 0) return "ends inside a line";
    int lines = static_cast<int>(body / layout.lineBytes);
    // Only a log that has wrapped holds more lines than its count says.
    if (*next - kFirstEntryLine > lines || (*next - kFirstEntryLine < lines && lines < layout.ringLines))
        return "count line says " + std::to_string(*next) + ", the file holds " + std::to_string(lines) + " lines";
    int continuations = 0;
    for (int i = 0; i < lines; ++i) {
        std::string line = bytes.substr(kFirstEntryOffset + static_cast<std::size_t>(i) * layout.lineBytes, layout.lineBytes);
        std::string where = "line " + std::to_string(i + kFirstEntryLine) + " ";
        if (line.compare(line.size() - 2, 2, "\r\n") != 0) return where + "does not end in CR LF";
        if (line.find_first_of(std::string("\r\n\0", 3)) < line.size() - 2) return where + "holds a CR, LF or NUL";
        if (stamped(line)) {
            continuations = 0;
        } else if (i == 0 || ++continuations > layout.maxContinuations) {
            return where + "is neither an entry nor a continuation";
        }
    }
    return "";
}

std::vector<std::string> logLayoutProblems(const std::string& homeFolder) {
    std::vector<std::string> problems;
    for (auto [name, layout] : {std::pair{"ERR.LOG", &kErrorLog}, std::pair{"RSV.LOG", &kReservationLog}}) {
        std::string path = homeFolder + "/" + name;
        if (!fs::exists(path)) continue;
        std::string problem = fixedLogProblem(readFileBytes(path), *layout);
        if (!problem.empty()) problems.push_back(std::string(name) + ": " + problem);
    }
    return problems;
}

std::optional<RecordSpan> recordSpan(const std::string& dataFile) {
    if (dataFile.size() < sim::kImageHeaderSize) return std::nullopt;
    std::uint32_t end = std::min<std::uint32_t>(u32At(dataFile, sim::kEndOffsetField), static_cast<std::uint32_t>(dataFile.size()));
    return RecordSpan{u32At(dataFile, sim::kStartOffsetField), end};
}

std::string wholeCopyProblem(const std::string& dataFile, const std::string& image) {
    if (dataFile.size() < sim::kImageHeaderSize) return "shorter than a header";
    auto span = RecordSpan{u32At(dataFile, sim::kStartOffsetField), u32At(dataFile, sim::kEndOffsetField)};
    std::size_t blocks = std::max<std::size_t>(1, (span.end + kBlockPayload - 1) / kBlockPayload);
    if (dataFile.size() != blocks * kBlockPayload)
        return std::to_string(dataFile.size()) + " bytes where its end field needs " + std::to_string(blocks * kBlockPayload);
    if (span.end > image.size() || dataFile.compare(sim::kImageHeaderSize, span.end - sim::kImageHeaderSize, image,
                                                    sim::kImageHeaderSize, span.end - sim::kImageHeaderSize) != 0)
        return "its records are not the logger's";
    if (dataFile.find_first_not_of('\xFF', span.end) != std::string::npos) return "its unwritten memory is not 0xFF";
    return "";
}

std::string coverageGap(std::vector<RecordSpan> spans, std::uint32_t first, std::uint32_t end) {
    std::sort(spans.begin(), spans.end(), [](const RecordSpan& a, const RecordSpan& b) { return a.first < b.first; });
    std::uint32_t covered = first;
    for (const auto& span : spans) {
        if (span.first > covered) break;
        covered = std::max(covered, span.end);
    }
    if (covered >= end) return "";
    return "records from byte " + std::to_string(covered) + " to " + std::to_string(end) + " are in no stored file";
}

std::vector<std::string> folderEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator(); ++it)
        if (it->is_regular_file()) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace fenta21::test
