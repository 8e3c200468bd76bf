#pragma once

#include <QTimer>
#include <QWidget>

namespace fenta21::gui {

// The collection window's picture of a file being copied: a sheet flies from one folder to
// the other, over and over, once the transfer has started.
class CopyAnimation : public QWidget {
    Q_OBJECT
public:
    explicit CopyAnimation(QWidget* parent = nullptr);

    void start();
    bool running() const { return timer_.isActive(); }
    QSize sizeHint() const override { return {272, 60}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer timer_;
    int frame_ = 0;
};

}  // namespace fenta21::gui
