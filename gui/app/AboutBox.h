#pragma once

#include <QDialog>

#include <string>

namespace fenta21::gui {

// "FENTA21(R) 通信ソフトVer情報": the program icon, its name and version, the fixed date and
// the modification time of rimo.exe in the home folder, with "OK".
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(const std::string& homeFolder, QWidget* parent = nullptr);

    static void run(const std::string& homeFolder, QWidget* parent);

    static constexpr const char* kTitle = "FENTA21(R) 通信ソフトVer情報";
    static constexpr const char* kProgramName = "FENTA21(R) 通信ソフト";
    static constexpr const char* kVersion = "RIMO Ver 3.01";
};

}  // namespace fenta21::gui
