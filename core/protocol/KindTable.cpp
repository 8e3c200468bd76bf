#include "core/protocol/KindTable.h"

#include "core/base/Cp932.h"
#include "core/base/Files.h"
#include "core/protocol/TableText.h"

#include <algorithm>
#include <optional>

namespace fenta21 {

KindFormat parseKindTemplate(std::string_view cp932Template) {
    KindFormat format;
    if (cp932Template.empty() || cp932Template.front() == '-') return format;
    format.type = cp932Template.front();
    if (format.type == '$' || format.type == 'h') return format;
    std::size_t width = format.type == '+' ? 7 : 6;
    std::size_t point = cp932Template.find('.');
    // A point beyond the number's width belongs to the unit, not to the number.
    format.decimals = point != std::string_view::npos && point < width ? static_cast<int>(width - point - 1) : 0;
    std::string_view unit = cp932Template.substr(std::min(width, cp932Template.size()));
    format.unit = cp932ToUtf8(cp932FixedField(unit, kKindUnitBytes));
    return format;
}

KindTable parseKindTable(std::string_view text, std::string_view fileName) {
    KindTable table;
    std::vector<std::string_view> lines = splitTableLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i == kKindTableLines) {
            table.problems.push_back(tableProblem(fileName, i, "128行を超える行は使われません"));
            break;
        }
        if (lines[i].empty()) continue;
        std::vector<std::string_view> fields = splitTableFields(lines[i]);
        std::optional<int> kind = parseTableInteger(fields[0]);
        if (!kind || *kind < 0 || *kind >= kKindCount) {
            table.problems.push_back(tableProblem(fileName, i, "測定モード番号が0～127の数字ではないため、この行は使われません"));
            continue;
        }
        KindFormat format;
        if (fields.size() > 2) {
            format = parseKindTemplate(fields[2]);
        } else {
            table.problems.push_back(tableProblem(fileName, i, "表示形式がないため、この測定モードは表示されません"));
        }
        if (fields.size() > 1) {
            FittedField name = fitTableField(fields[1], kKindNameBytes);
            if (name.cut) table.problems.push_back(tableProblem(fileName, i, "名称が19バイトを超えるため、切り詰めます"));
            format.name = cp932ToUtf8(name.bytes);
        }
        KindLine line{*kind, {}};
        if (fields.size() > 3) {
            FittedField label = fitTableField(fields[3], kKindNameBytes);
            if (label.cut) table.problems.push_back(tableProblem(fileName, i, "表示名が19バイトを超えるため、切り詰めます"));
            line.label = cp932ToUtf8(label.bytes);
        }
        table.kinds[static_cast<std::size_t>(*kind)] = std::move(format);
        table.lines.push_back(std::move(line));
    }
    return table;
}

KindTable loadKindTable(const std::string& path) {
    std::optional<std::string> text = readWholeFile(path);
    if (!text) return KindTable{};
    std::string_view fileName = path;
    if (std::size_t slash = fileName.rfind('/'); slash != std::string_view::npos) fileName.remove_prefix(slash + 1);
    return parseKindTable(*text, fileName);
}

}  // namespace fenta21
