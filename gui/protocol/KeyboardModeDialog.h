#pragma once

#include <QDialog>

#include <memory>
#include <string>

class QComboBox;
class QListWidget;

namespace fenta21 {
class KeyboardMode;
class Session;
}

namespace fenta21::gui {

// "コマンド入力モード": a terminal on the serial line. The core's keyboard mode opens the
// port when the line is idle, sends what the user types or the control bytes, and receives
// every line on its own worker; a received line reaches the list through a queued call.
class KeyboardModeDialog : public QDialog {
    Q_OBJECT
public:
    explicit KeyboardModeDialog(Session& session, QWidget* parent = nullptr);
    ~KeyboardModeDialog() override;

    // The whole command: opens the mode (a port that cannot be opened is reported and no
    // window shows), runs the window, and ends the mode when it closes.
    void run();

    static constexpr const char* kTitle = "コマンド入力モード";

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void sendTyped(bool byEnter);
    void showReceived(const std::string& line);

    Session& session_;
    std::unique_ptr<KeyboardMode> mode_;
    QComboBox* command_;
    QListWidget* received_;
};

}  // namespace fenta21::gui
