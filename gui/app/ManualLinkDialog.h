#pragma once

#include <QDialog>

#include <optional>

class QComboBox;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

// The port and speed the user chose for a manual link.
struct ManualLinkChoice {
    int portIndex = 0;   // 0 = COM1
    int speedIndex = 0;  // into the speed table
};

// "通信条件設定": the speed and the COM port of a manual link, preset to the saved direct
// settings. It only asks; the window stores the choice and links up.
class ManualLinkDialog : public QDialog {
    Q_OBJECT
public:
    explicit ManualLinkDialog(const Session& session, QWidget* parent = nullptr);

    ManualLinkChoice choice() const;
    // Runs the dialog; nothing when the user cancelled.
    static std::optional<ManualLinkChoice> ask(const Session& session, QWidget* parent);

    static constexpr const char* kTitle = "通信条件設定";

private:
    QComboBox* speeds_;
    QComboBox* ports_;
};

}  // namespace fenta21::gui
