#pragma once

#include "companion/plot/PlotPicture.h"
#include "core/plot/PlotDocument.h"
#include "core/plot/Readout.h"
#include "core/plot/TimeWindow.h"

#include <QPixmap>
#include <QPoint>
#include <QWidget>

#include <optional>

class QRubberBand;

namespace fenta21::plot {

// The plot on the screen: the picture of the document over the time window, redrawn only when
// either changes; the crosshair and its readout are drawn over it as the mouse moves.
//   wheel             zooms about the point under the cursor (with Shift: moves in time)
//   drag              moves in time
//   right drag, or Shift and drag   a rubber band: shows the range it spans
//   Home              shows all; + and - zoom, Left and Right move by a tenth
class PlotView : public QWidget {
    Q_OBJECT
public:
    PlotView(const PlotDocument& document, TimeWindow& window, QWidget* parent = nullptr);

    // The document or the time window changed from outside: draw afresh.
    void refresh();
    // The line over the panes (the sources shown).
    void setTitle(const QString& title);

    const Readout& readout() const { return readout_; }
    const PictureGeometry& geometry() const { return geometry_; }
    // The readout at a point of the widget, as the crosshair shows it there.
    void pointAt(QPoint position);

signals:
    // The visible range changed by the mouse or the keys.
    void rangeChanged();
    void readoutChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void changedRange();
    void updatePicture();
    void clearReadout();

    const PlotDocument& document_;
    TimeWindow& window_;
    PictureGeometry geometry_;
    QPixmap picture_;
    bool pictureStale_ = true;
    Readout readout_;
    QString title_;

    enum class Drag { None, Pan, Band };
    Drag drag_ = Drag::None;
    QPoint dragStart_;
    double dragFrom_ = 0;
    QRubberBand* band_ = nullptr;
};

}  // namespace fenta21::plot
