#pragma once

#include "core/session/OptionPrograms.h"

#include <QDialog>

#include <optional>
#include <vector>

class QListWidget;

namespace fenta21::gui {

// The option list: the display names of the option programs in table order, "OK" and
// "ｷｬﾝｾﾙ". Only "OK" with an entry selected is a choice.
class OptionListDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionListDialog(const std::vector<OptionProgram>& programs, QWidget* parent = nullptr);

    // Runs the dialog; the index of the chosen entry, or nothing.
    static std::optional<std::size_t> choose(const std::vector<OptionProgram>& programs, QWidget* parent);

    std::optional<std::size_t> chosen() const;

    static constexpr const char* kTitle = "FENTA21通信ソフト";

private:
    QListWidget* list_;
};

}  // namespace fenta21::gui
