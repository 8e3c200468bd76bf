#pragma once

#include "core/base/Host.h"

#include <QString>

class QWidget;

namespace fenta21::gui {

// A question of the core as a modal box: "はい"/"いいえ" with the question icon, or the
// converter's overwrite question with "はい", "すべて上書き", "いいえ" and "ｷｬﾝｾﾙ".
// Closing the box without a button is "いいえ" for a yes/no question and "ｷｬﾝｾﾙ" for the other.
Answer askQuestion(Question kind, const QString& text, QWidget* parent);

}  // namespace fenta21::gui
