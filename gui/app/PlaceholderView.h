#pragma once

#include <QWidget>

#include <functional>

namespace fenta21::gui {

// The client area of the main window until the remote-operation panel takes its place: it
// takes the focus and the keys, and hands the release of F1 ... F9 to the window (as a
// virtual-key code), which leaves it to the heartbeat.
class PlaceholderView : public QWidget {
    Q_OBJECT
public:
    explicit PlaceholderView(std::function<void(int virtualKey)> functionKeyReleased, QWidget* parent = nullptr);

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void(int)> functionKeyReleased_;
};

}  // namespace fenta21::gui
