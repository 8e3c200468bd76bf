#include "core/plot/PlotRequest.h"

#include "core/plot/TimeText.h"

#include <charconv>

namespace fenta21::plot {
namespace {

bool parseSide(std::string_view text, int& value) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value >= 16 && value <= kLargestPictureSide;
}

std::vector<std::string> splitAtCommas(const std::string& text) {
    std::vector<std::string> words;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        if (comma > start) words.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return words;
}

}  // namespace

ParsedPlotRequest parsePlotRequest(const std::vector<std::string>& args) {
    ParsedPlotRequest parsed;
    PlotRequest& r = parsed.request;
    auto fail = [&](std::string text) {
        parsed.error = std::move(text);
        return parsed;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool hasValue = i + 1 < args.size();
        if (word == "--json") {
            r.json = true;
        } else if (word == "--out" || word == "--station" || word == "--series" || word == "--from" || word == "--to" ||
                   word == "--size") {
            if (!hasValue) return fail(word + " needs a value");
            const std::string& value = args[++i];
            if (word == "--out") {
                r.out = value;
            } else if (word == "--station") {
                r.station = value;
            } else if (word == "--series") {
                for (std::string& name : splitAtCommas(value)) r.series.push_back(std::move(name));
            } else if (word == "--size") {
                std::size_t x = value.find('x');
                if (x == std::string::npos || !parseSide(std::string_view(value).substr(0, x), r.width) ||
                    !parseSide(std::string_view(value).substr(x + 1), r.height))
                    return fail("--size needs WIDTHxHEIGHT in pixels, each from 16 to " +
                                std::to_string(kLargestPictureSide) + " (\"" + value + "\")");
            } else {
                std::optional<std::int64_t> time = parseTimeText(value);
                if (!time) return fail(word + " needs a time such as 2026-04-01T00:10:00 (\"" + value + "\")");
                (word == "--from" ? r.from : r.to) = time;
            }
        } else if (word.rfind("--", 0) == 0) {
            return fail("unknown option " + word);
        } else {
            r.files.push_back(word);
        }
    }
    if (r.out.empty()) return fail("--out names the picture to write (.png, .svg or .pdf)");
    if (r.files.empty() == r.station.empty()) return fail("give data files or --station NAME, not both or neither");
    if (r.from && r.to && *r.to <= *r.from) return fail("--to must come after --from");
    return parsed;
}

std::string chooseSeries(PlotDocument& document, const std::vector<std::string>& wanted) {
    if (wanted.empty()) return {};
    const std::size_t count = document.series().size();
    std::vector<bool> chosen(count, false);
    std::string unknown;
    for (const std::string& word : wanted) {
        bool matched = false;
        std::size_t number = 0;
        auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
        bool isNumber = error == std::errc() && end == word.data() + word.size();
        for (std::size_t i = 0; i < count; ++i) {
            if ((isNumber && number == i + 1) || word == document.label(i) || word == document.series()[i].info.name) {
                chosen[i] = true;
                matched = true;
            }
        }
        if (!matched) unknown += (unknown.empty() ? "" : ", ") + word;
    }
    if (!unknown.empty()) {
        std::string there;
        for (std::size_t i = 0; i < count; ++i) there += "\n  " + std::to_string(i + 1) + " " + document.label(i);
        return "no series " + unknown + "; there are:" + there;
    }
    for (std::size_t i = 0; i < count; ++i) document.setVisible(i, chosen[i]);
    return {};
}

}  // namespace fenta21::plot
