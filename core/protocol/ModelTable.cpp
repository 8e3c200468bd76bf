#include "core/protocol/ModelTable.h"

#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/protocol/TableText.h"

namespace fenta21 {
namespace {

// A channel is addressed by one byte in a record, so no model has more than 256.
constexpr int kMaxChannels = 256;

}  // namespace

const ModelEntry* ModelTable::find(std::string_view code) const {
    for (const ModelEntry& entry : entries)
        if (entry.code == code) return &entry;
    return nullptr;
}

ModelTable parseModelTable(std::string_view text, std::string_view fileName) {
    ModelTable table;
    std::vector<std::string_view> lines = splitTableLines(text);
    bool ended = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == kModelTableLines) {
            table.problems.push_back(tableProblem(fileName, i, "128行を超える行は使われません"));
            break;
        }
        std::vector<std::string_view> fields = splitTableFields(lines[i]);
        if (ended) {
            if (!fields[0].empty()) {
                table.problems.push_back(tableProblem(fileName, i, "空行より後の行は使われません"));
                break;
            }
            continue;
        }
        if (fields[0].empty()) {
            ended = true;
            continue;
        }
        if (fields[0].size() > kModelCodeBytes) {
            table.problems.push_back(tableProblem(fileName, i, "機種コードが19バイトを超えるため、この行は使われません"));
            continue;
        }
        ModelEntry entry;
        entry.code = std::string(fields[0]);
        std::optional<int> channels = fields.size() > 1 ? parseTableInteger(fields[1]) : std::nullopt;
        if (!channels || *channels < 0 || *channels > kMaxChannels) {
            table.problems.push_back(tableProblem(fileName, i, "チャンネル数が0～256の数字ではないため、0とします"));
            channels = 0;
        }
        entry.channelCount = *channels;
        if (fields.size() > 2) {
            FittedField name = fitTableField(fields[2], kModelNameBytes);
            if (name.cut) table.problems.push_back(tableProblem(fileName, i, "機種名が19バイトを超えるため、切り詰めます"));
            entry.name = cp932ToUtf8(name.bytes);
        } else {
            table.problems.push_back(tableProblem(fileName, i, "機種名がありません"));
        }
        table.entries.push_back(std::move(entry));
    }
    return table;
}

ModelTable loadModelTable(const std::string& path) {
    std::optional<std::string> text = readWholeFile(path);
    if (!text) return ModelTable{};
    std::string_view fileName = path;
    if (std::size_t slash = fileName.rfind('/'); slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    return parseModelTable(*text, fileName);
}

}  // namespace fenta21
