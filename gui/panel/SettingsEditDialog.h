#pragma once

#include "core/panel/PanelDialogs.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLineEdit;

namespace fenta21::gui {

// A settings dialog of edit boxes (the memos, the clock correction, the after-start time,
// the date and time, the offset): one box per field under its label, the unit after the
// last one. OK runs the core's check: a complaint is shown with the standard range message
// box and the dialog stays open. The date and time dialog's own button runs its action
// away from the window's thread (the logger is set over the line meanwhile) and ends the
// dialog as Cancel.
class SettingsEditDialog : public QDialog {
    Q_OBJECT
public:
    // Runs an action off the window's thread and returns when it is done.
    using ActionRunner = std::function<void(const std::function<void()>& action)>;

    SettingsEditDialog(const EditDialog& dialog, ActionRunner runAction, QWidget* parent = nullptr);

    std::vector<std::string> fields() const;
    QLineEdit* field(int index) const;

    // Runs the dialog modally; after OK the entries are in `dialog.fields`.
    static DialogEnd run(EditDialog& dialog, const ActionRunner& runAction, QWidget* parent);

public slots:
    void accept() override;

private:
    void runAction();

    const EditDialog& dialog_;
    ActionRunner runAction_;
    std::vector<QLineEdit*> edits_;
};

// The object name of the range message box.
inline constexpr const char* kRangeMessageName = "rangeMessage";

}  // namespace fenta21::gui
