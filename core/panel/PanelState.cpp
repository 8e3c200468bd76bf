#include "core/panel/PanelState.h"

#include "core/panel/PanelText.h"

namespace fenta21 {
namespace {

bool isItem(int item) { return item >= 0 && item < kPanelItemCount; }

std::string fitted(const std::string& line) { return leftAligned(line, kDisplayColumns); }

}  // namespace

std::string PanelState::value(int item) const {
    if (!isItem(item)) return {};
    return readTexts([item](const PanelTexts& t) { return t.values[static_cast<std::size_t>(item)]; });
}

void PanelState::setValue(int item, std::string text) {
    if (!isItem(item)) return;
    changeTexts([&](PanelTexts& t) { t.values[static_cast<std::size_t>(item)] = std::move(text); });
}

DisplayLines PanelState::display() const {
    return readTexts([](const PanelTexts& t) { return DisplayLines{t.line1, t.line2}; });
}

void PanelState::setDisplay(const std::string& line1, const std::string& line2) {
    std::string first = fitted(line1), second = fitted(line2);
    changeTexts([&](PanelTexts& t) {
        t.line1 = std::move(first);
        t.line2 = std::move(second);
    });
}

void PanelState::setLine1(const std::string& line) {
    std::string first = fitted(line);
    changeTexts([&](PanelTexts& t) { t.line1 = std::move(first); });
}

void PanelState::setLine2(const std::string& line) {
    std::string second = fitted(line);
    changeTexts([&](PanelTexts& t) { t.line2 = std::move(second); });
}

void PanelState::setLine2KeepingEnd(const std::string& line) { setLine2(keepEnd(line, kDisplayColumns)); }

}  // namespace fenta21
