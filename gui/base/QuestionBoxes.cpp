#include "gui/base/QuestionBoxes.h"

#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace fenta21::gui {
namespace {

constexpr const char* kCaption = "FENTA21通信ソフト";

}  // namespace

Answer askQuestion(Question kind, const QString& text, QWidget* parent) {
    // The core ends lines as the files do; a label wants a plain line feed.
    QString shown = text;
    shown.replace("\r\n", "\n");
    QMessageBox box(QMessageBox::Question, kCaption, shown, QMessageBox::NoButton, parent);
    box.setObjectName(kind == Question::YesNo ? "yesNoQuestion" : "overwriteQuestion");

    std::vector<std::pair<QPushButton*, Answer>> buttons;
    auto add = [&](const QString& label, QMessageBox::ButtonRole role, Answer answer) {
        buttons.emplace_back(box.addButton(label, role), answer);
    };
    add(QStringLiteral("はい"), QMessageBox::YesRole, Answer::Yes);
    if (kind == Question::OverwriteFile) add(QStringLiteral("すべて上書き"), QMessageBox::YesRole, Answer::YesToAll);
    add(QStringLiteral("いいえ"), QMessageBox::NoRole, Answer::No);
    if (kind == Question::OverwriteFile) add(QStringLiteral("ｷｬﾝｾﾙ"), QMessageBox::RejectRole, Answer::Cancel);
    box.setDefaultButton(buttons.front().first);
    box.setEscapeButton(buttons.back().first);
    box.exec();

    for (const auto& [button, answer] : buttons)
        if (box.clickedButton() == button) return answer;
    return kind == Question::YesNo ? Answer::No : Answer::Cancel;
}

}  // namespace fenta21::gui
