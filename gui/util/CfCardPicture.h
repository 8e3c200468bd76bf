#pragma once

#include <QWidget>

namespace fenta21::gui {

// The picture beside the CF card window's text: a CompactFlash card, pin edge first, the
// way it goes into the reader.
class CfCardPicture : public QWidget {
    Q_OBJECT
public:
    explicit CfCardPicture(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace fenta21::gui
