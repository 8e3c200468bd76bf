#pragma once

#include <QDialog>

class QLabel;

namespace fenta21::gui {

// The small status notice "FENTA21(R)通信ソフト": the program icon and one line of text, no
// buttons. An operation shows it while it waits (the hang-up, a link just made) and removes it.
class StatusNotice : public QDialog {
    Q_OBJECT
public:
    explicit StatusNotice(QWidget* parent = nullptr);

    void showText(const QString& text);
    QString text() const;

    // The notice has room for one line of this many characters.
    static constexpr int kMaxCharacters = 60;

private:
    QLabel* text_;
};

}  // namespace fenta21::gui
