#pragma once

#include <QDialog>

class QComboBox;
class QRadioButton;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

// What "モデムの設定" leaves the caller to store on "OK".
struct ModemChoice {
    int speedIndex = 0;
    int portIndex = 0;
    int dialMethod = 0;  // 0 tone, 1 pulse
};

// "モデムの設定": the line speed, the modem's COM port and the dial method. "検索" runs the
// core's modem port search from the selected port; a modem found there only moves the port
// selection, so the settings change only when the user then presses "OK".
class ModemSettingsDialog : public QDialog {
    Q_OBJECT
public:
    ModemSettingsDialog(Session& session, QWidget* parent);

    // Runs the dialog; on "OK" stores the three values and saves system.dat.
    static bool edit(Session& session, QWidget* parent);

    ModemChoice choice() const;

    static constexpr const char* kTitle = "モデムの設定";

private:
    void search();

    Session& session_;
    QComboBox* speeds_;
    QComboBox* ports_;
    QRadioButton* tone_;
    QRadioButton* pulse_;
};

}  // namespace fenta21::gui
