#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace fenta21 {
class Session;
struct CfCardSizes;
}

namespace fenta21::gui {

struct CfCardSetup;

// "CFｶｰﾄﾞ初期化": the drive the card sits in, "フォーマット実行", and the sizes the format leaves.
// The format runs on its own thread beside the window, so the notice is painted and the
// window stays alive through the formatter's minutes; it stays open for the next card.
class CfCardDialog : public QDialog {
    Q_OBJECT
public:
    CfCardDialog(Session& session, const CfCardSetup& setup, QWidget* parent = nullptr);

    // The device the drive field names: the chosen entry's device, or the text as typed.
    QString driveText() const;
    bool formatting() const { return formatting_; }

    static constexpr const char* kTitle = "CFｶｰﾄﾞ初期化";

protected:
    void reject() override;

private:
    void formatCommand();
    void showSizes(std::uint64_t total, std::uint64_t free, std::uint64_t unit);

    Session& session_;
    const CfCardSetup& setup_;
    QComboBox* drives_;
    QPushButton* format_;
    QPushButton* close_;
    QLineEdit* total_;
    QLineEdit* free_;
    QLineEdit* unit_;
    bool formatting_ = false;
};

}  // namespace fenta21::gui
