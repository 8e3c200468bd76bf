#pragma once

#include "core/plot/PlotDocument.h"
#include "core/plot/Readout.h"

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

#include <vector>

class QPainter;

namespace fenta21::plot {

// Where everything of a picture goes: the panes stacked over one time axis, each with its own
// value axis. Made once per frame; the window also maps the mouse through it.
struct PaneGeometry {
    Pane pane;
    ValueAxis axis;
    QRectF rect;

    double yOf(double value) const;
};

struct PictureGeometry {
    QRectF bounds;
    QRectF plotArea;  // the panes' common left and right edges, from the top pane to the bottom
    double from = 0;
    double to = 1;
    std::vector<PaneGeometry> panes;
    std::vector<Tick> timeTicks;

    double xOf(double time) const;
    double timeAt(double x) const;
    // The pane under a point, or null.
    const PaneGeometry* paneAt(QPointF point) const;
};

// The title over the panes and the font the picture is lettered in.
struct PictureText {
    QString title;
    QFont font;
};

// The lettering of pictures: a sans-serif face that has Japanese, sized in pixels so that a
// picture looks the same on every screen and in every file.
QFont pictureFont();

// A trace's colour: the same series keeps its colour whatever else is switched on.
QColor seriesColor(std::size_t series);

PictureGeometry layoutPicture(const PlotDocument& document, double from, double to, const QRectF& bounds,
                              const QFont& font);

// Draws the picture: axes, grid, legends, and each visible trace as a min/max envelope per
// pixel column, its lines broken at gaps; directions and times of day as points. `columns` is
// the number of pixel columns the traces are computed for (the device's pixels across).
void paintPicture(QPainter& painter, const PlotDocument& document, const PictureGeometry& geometry,
                  const PictureText& text, int columns);

// The crosshair over a picture: a line at the readout's time, a mark on each trace.
void paintCrosshair(QPainter& painter, const PlotDocument& document, const PictureGeometry& geometry,
                    const Readout& readout);

}  // namespace fenta21::plot
