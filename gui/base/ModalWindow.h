#pragma once

#include "core/base/Host.h"

#include <QDialog>

#include <atomic>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace fenta21::gui {

class CopyAnimation;

// The window a long operation runs in: the wait window, the connection window or the
// "データ回収" window. Only the worker ends it, with its result; the cancel button, Escape and
// the close box just set the cancel flag, which the worker polls.
class ModalWindow : public QDialog {
    Q_OBJECT
public:
    ModalWindow(const ModalSpec& spec, std::atomic<int>& cancelFlag, QWidget* parent);

    // The worker's end: the window closes and its event loop returns `result`.
    void finish(int result);
    bool finishedByWorker() const { return finished_; }

    void showText(const QString& text);
    void showProgress(int percent);
    void startAnimation();

    QPushButton* cancelButton() const { return cancel_; }

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::atomic<int>& cancelFlag_;
    QLabel* text_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    CopyAnimation* animation_ = nullptr;
    bool finished_ = false;
};

// The object names tests and screenshots find the windows by.
inline constexpr const char* kWaitWindowName = "waitWindow";
inline constexpr const char* kConnectionWindowName = "connectionWindow";
inline constexpr const char* kCollectionWindowName = "collectionWindow";

}  // namespace fenta21::gui
