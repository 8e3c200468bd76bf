#pragma once

#include <QValidator>

#include <functional>
#include <string>

namespace fenta21::gui {

// Refuses an edit whose text would not fit its stored field. The program's fields are counted
// in code page 932 bytes, so the limit cannot be a character count of the line edit: the core
// says whether a text fits, and a keystroke that would overfill the field does not enter it.
class FittingValidator : public QValidator {
public:
    FittingValidator(std::function<bool(const std::string& utf8)> fits, QObject* parent)
        : QValidator(parent), fits_(std::move(fits)) {}

    State validate(QString& input, int& /*position*/) const override {
        return fits_(input.toStdString()) ? Acceptable : Invalid;
    }

private:
    std::function<bool(const std::string&)> fits_;
};

}  // namespace fenta21::gui
