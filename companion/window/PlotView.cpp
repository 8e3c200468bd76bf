#include "companion/window/PlotView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QWheelEvent>

#include <cmath>

namespace fenta21::plot {
namespace {

// One notch of the wheel shows a sixth less (or more); the keys step a tenth of the view.
constexpr double kZoomPerNotch = 0.85;
constexpr double kKeyStep = 0.1;
// The crosshair takes a record as its time's when it lies within this many pixels of it.
constexpr double kSnapPixels = 4;

}  // namespace

PlotView::PlotView(const PlotDocument& document, TimeWindow& window, QWidget* parent)
    : QWidget(parent), document_(document), window_(window) {
    setObjectName("plotView");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(320, 200);
    setCursor(Qt::CrossCursor);
    band_ = new QRubberBand(QRubberBand::Rectangle, this);
}

void PlotView::refresh() {
    pictureStale_ = true;
    clearReadout();
    update();
}

void PlotView::setTitle(const QString& title) {
    title_ = title;
    refresh();
}

void PlotView::changedRange() {
    refresh();
    emit rangeChanged();
}

void PlotView::updatePicture() {
    geometry_ = layoutPicture(document_, window_.from(), window_.to(), QRectF(rect()), pictureFont());
    const qreal ratio = devicePixelRatioF();
    picture_ = QPixmap(size() * ratio);
    picture_.setDevicePixelRatio(ratio);
    QPainter painter(&picture_);
    // A column per device pixel: on a HiDPI screen the envelope is as fine as the screen.
    int columns = static_cast<int>(geometry_.plotArea.width() * ratio);
    paintPicture(painter, document_, geometry_, PictureText{title_, pictureFont()}, columns);
    pictureStale_ = false;
}

void PlotView::paintEvent(QPaintEvent*) {
    if (pictureStale_ || picture_.size() != size() * devicePixelRatioF()) updatePicture();
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture_);
    painter.setFont(pictureFont());
    paintCrosshair(painter, document_, geometry_, readout_);
}

void PlotView::resizeEvent(QResizeEvent*) {
    pictureStale_ = true;
}

void PlotView::pointAt(QPoint position) {
    if (pictureStale_) updatePicture();
    if (!geometry_.plotArea.contains(QPointF(position)) && geometry_.paneAt(QPointF(position)) == nullptr) {
        clearReadout();
        return;
    }
    double secondsPerPixel = (geometry_.to - geometry_.from) / std::max(1.0, geometry_.plotArea.width());
    readout_ = readoutAt(document_, geometry_.timeAt(position.x()), secondsPerPixel * kSnapPixels);
    update();
    emit readoutChanged();
}

void PlotView::clearReadout() {
    if (!readout_.at && readout_.rows.empty()) return;
    readout_ = Readout{};
    update();
    emit readoutChanged();
}

void PlotView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0 || document_.empty()) return;
    if (pictureStale_) updatePicture();
    if (event->modifiers() & Qt::ShiftModifier) window_.pan(-notches * kKeyStep * window_.span());
    else window_.zoom(std::pow(kZoomPerNotch, notches), geometry_.timeAt(event->position().x()));
    changedRange();
    event->accept();
}

void PlotView::mousePressEvent(QMouseEvent* event) {
    dragStart_ = event->position().toPoint();
    dragFrom_ = window_.from();
    const bool band = event->button() == Qt::RightButton ||
                      (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier));
    if (band) {
        drag_ = Drag::Band;
        band_->setGeometry(QRect(dragStart_, QSize()));
        band_->show();
    } else if (event->button() == Qt::LeftButton) {
        drag_ = Drag::Pan;
        setCursor(Qt::ClosedHandCursor);
    }
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (drag_ == Drag::Band) {
        QRect area = geometry_.plotArea.toAlignedRect();
        band_->setGeometry(QRect(QPoint(dragStart_.x(), area.top()), QPoint(at.x(), area.bottom())).normalized());
    } else if (drag_ == Drag::Pan) {
        double secondsPerPixel = window_.span() / std::max(1.0, geometry_.plotArea.width());
        double wanted = dragFrom_ - (at.x() - dragStart_.x()) * secondsPerPixel;
        window_.pan(wanted - window_.from());
        changedRange();
    }
    pointAt(at);
}

void PlotView::mouseReleaseEvent(QMouseEvent* event) {
    if (drag_ == Drag::Band) {
        band_->hide();
        int left = std::min(dragStart_.x(), event->position().toPoint().x());
        int right = std::max(dragStart_.x(), event->position().toPoint().x());
        // A click without a drag is no range.
        if (right - left >= 3) {
            window_.show(geometry_.timeAt(left), geometry_.timeAt(right));
            changedRange();
        }
    }
    drag_ = Drag::None;
    setCursor(Qt::CrossCursor);
    pointAt(event->position().toPoint());
}

void PlotView::leaveEvent(QEvent*) { clearReadout(); }

void PlotView::keyPressEvent(QKeyEvent* event) {
    const double middle = (window_.from() + window_.to()) / 2;
    switch (event->key()) {
    case Qt::Key_Home: window_.showAll(); break;
    case Qt::Key_Plus: window_.zoom(kZoomPerNotch, middle); break;
    case Qt::Key_Minus: window_.zoom(1 / kZoomPerNotch, middle); break;
    case Qt::Key_Left: window_.pan(-kKeyStep * window_.span()); break;
    case Qt::Key_Right: window_.pan(kKeyStep * window_.span()); break;
    default: QWidget::keyPressEvent(event); return;
    }
    changedRange();
}

}  // namespace fenta21::plot
