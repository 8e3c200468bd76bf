#pragma once

#include <QDialog>

class QLineEdit;

namespace fenta21 {
class Session;
}

namespace fenta21::gui {

// "保存先の設定": the data file name and the folder of direct collections. "参照" picks the
// folder with the host's folder browser; "OK" leaves the check and the saving to the core and
// stays open, with the folder field reset, when the core refuses the folder.
class SaveDestinationDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveDestinationDialog(Session& session, QWidget* parent = nullptr);

    // Runs the dialog; true when the user confirmed and the settings were saved.
    static bool edit(Session& session, QWidget* parent);

    static constexpr const char* kTitle = "保存先の設定";

private:
    void browse();
    void confirm();

    Session& session_;
    QLineEdit* fileName_;
    QLineEdit* folder_;
};

}  // namespace fenta21::gui
