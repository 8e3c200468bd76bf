#include "companion/plot/PlotPicture.h"

#include "core/plot/TimeText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace fenta21::plot {
namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

const QColor kGrid(0xE4, 0xE4, 0xE4);
const QColor kFrame(0x80, 0x80, 0x80);
const QColor kText(0x20, 0x20, 0x20);

// The bottom lines hold a time label and, where it changes, the date under it.
constexpr double kBottomLines = 2.4;
constexpr double kTitleLines = 1.5;
constexpr double kPaneGapLines = 0.7;

int valueTicksFor(double paneHeight, double lineHeight) {
    return std::max(2, static_cast<int>(paneHeight / (lineHeight * 2.2)));
}

// Each run of samples between gaps is one polyline: the first sample of a column, its
// extremes, its last sample, then on to the next column.
void paintLineTrace(QPainter& painter, const PlotSeries& series, const PaneGeometry& pane, const PictureGeometry& g,
                    int columns) {
    const SeriesSummary& summary = series.summary;
    const std::vector<std::int64_t>& t = summary.samples().times;
    const std::vector<double>& v = summary.samples().values;
    if (t.empty()) return;
    auto point = [&](std::size_t i) { return QPointF(g.xOf(static_cast<double>(t[i])), pane.yOf(v[i])); };
    const double columnWidth = g.plotArea.width() / columns;

    QPolygonF run;
    auto finishRun = [&] {
        if (run.size() > 1) painter.drawPolyline(run);
        else if (run.size() == 1) painter.drawPoint(run.front());
        run.clear();
    };
    std::optional<std::size_t> last;
    std::vector<EnvelopeColumn> envelope = summary.envelope(g.from, g.to, columns);
    for (std::size_t p = 0; p < envelope.size(); ++p) {
        const EnvelopeColumn& c = envelope[p];
        if (c.count == 0) continue;
        // The line comes in from the sample before, on screen or not, unless a gap lies between.
        std::size_t before = last ? *last : c.firstIndex;
        if (!last && c.firstIndex > 0) before = c.firstIndex - 1;
        if (before != c.firstIndex) {
            if (summary.gapAfter(before)) finishRun();
            else if (run.isEmpty()) run << point(before);
        }
        run << point(c.firstIndex);
        if (c.count > 1) {
            double x = g.plotArea.left() + (static_cast<double>(p) + 0.5) * columnWidth;
            run << QPointF(x, pane.yOf(c.min)) << QPointF(x, pane.yOf(c.max)) << point(c.lastIndex);
        }
        last = c.lastIndex;
    }
    // On to the sample after the visible range; with none visible, across the view.
    std::size_t after = last ? *last + 1 : summary.indexRange(g.from, g.to).begin;
    if (after > 0 && after < t.size() && !summary.gapAfter(after - 1)) {
        if (run.isEmpty()) run << point(after - 1);
        run << point(after);
    }
    finishRun();
}

void paintPointTrace(QPainter& painter, const PlotSeries& series, const PaneGeometry& pane, const PictureGeometry& g,
                     int columns) {
    const double columnWidth = g.plotArea.width() / columns;
    std::vector<EnvelopeColumn> envelope = series.summary.envelope(g.from, g.to, columns);
    QPolygonF dots;
    for (std::size_t p = 0; p < envelope.size(); ++p) {
        const EnvelopeColumn& c = envelope[p];
        if (c.count == 0) continue;
        double x = g.plotArea.left() + (static_cast<double>(p) + 0.5) * columnWidth;
        dots << QPointF(x, pane.yOf(c.min));
        if (c.max != c.min) dots << QPointF(x, pane.yOf(c.max));
    }
    painter.drawPoints(dots);
}

void paintLegend(QPainter& painter, const PlotDocument& document, const PaneGeometry& pane, const QFontMetricsF& fm) {
    double x = pane.rect.left() + 6;
    double y = pane.rect.top() + 4;
    const double line = fm.height();
    for (std::size_t i : pane.pane.series) {
        QString label = qs(document.label(i));
        double width = 18 + fm.horizontalAdvance(label) + 12;
        if (x + width > pane.rect.right() && x > pane.rect.left() + 6) {
            x = pane.rect.left() + 6;
            y += line;
        }
        painter.fillRect(QRectF(x - 2, y, width, line), QColor(255, 255, 255, 210));
        painter.setPen(QPen(seriesColor(i), 2));
        painter.drawLine(QPointF(x, y + line / 2), QPointF(x + 14, y + line / 2));
        painter.setPen(kText);
        painter.drawText(QRectF(x + 18, y, width - 18, line), Qt::AlignLeft | Qt::AlignVCenter, label);
        x += width;
    }
}

}  // namespace

double PaneGeometry::yOf(double value) const {
    double span = axis.high - axis.low;
    if (!(span > 0)) return rect.center().y();
    return rect.bottom() - (value - axis.low) / span * rect.height();
}

double PictureGeometry::xOf(double time) const {
    return plotArea.left() + (time - from) / (to - from) * plotArea.width();
}

double PictureGeometry::timeAt(double x) const {
    return from + (x - plotArea.left()) / plotArea.width() * (to - from);
}

const PaneGeometry* PictureGeometry::paneAt(QPointF point) const {
    for (const PaneGeometry& pane : panes)
        if (pane.rect.contains(point)) return &pane;
    return nullptr;
}

QFont pictureFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans"), QStringLiteral("sans-serif")});
    font.setPixelSize(12);
    return font;
}

QColor seriesColor(std::size_t series) {
    static const QColor kColors[] = {QColor(0x1F, 0x4E, 0xB4), QColor(0xD9, 0x48, 0x1C), QColor(0x2E, 0x8B, 0x3A),
                                     QColor(0x8E, 0x3C, 0xB0), QColor(0xB8, 0x86, 0x0B), QColor(0x00, 0x8B, 0x8B),
                                     QColor(0xC2, 0x18, 0x5B), QColor(0x55, 0x55, 0x55), QColor(0x6B, 0x8E, 0x23),
                                     QColor(0x46, 0x82, 0xB4)};
    return kColors[series % std::size(kColors)];
}

PictureGeometry layoutPicture(const PlotDocument& document, double from, double to, const QRectF& bounds,
                              const QFont& font) {
    PictureGeometry g;
    g.bounds = bounds;
    g.from = from;
    g.to = to > from ? to : from + 1;
    const QFontMetricsF fm(font);
    const double line = fm.height();
    std::vector<Pane> panes = document.panes();
    const double top = bounds.top() + line * kTitleLines;
    const double bottom = bounds.bottom() - line * kBottomLines;
    const double gap = line * kPaneGapLines;
    const double count = static_cast<double>(std::max<std::size_t>(1, panes.size()));
    const double paneHeight = std::max(line, (bottom - top - gap * (count - 1)) / count);

    double labelWidth = fm.horizontalAdvance(QStringLiteral("0000"));
    for (const Pane& pane : panes) {
        PaneGeometry pg{pane, document.paneAxis(pane, g.from, g.to, valueTicksFor(paneHeight, line)), {}};
        for (const Tick& tick : pg.axis.ticks) labelWidth = std::max(labelWidth, fm.horizontalAdvance(qs(tick.label)));
        g.panes.push_back(std::move(pg));
    }
    // The unit stands upright at the far left, the tick labels right-aligned beside the axis.
    const double left = bounds.left() + line + 6 + labelWidth + 6;
    const double right = bounds.right() - 14;
    g.plotArea = QRectF(QPointF(left, top), QPointF(std::max(left + 1, right), bottom));
    double y = top;
    for (PaneGeometry& pane : g.panes) {
        pane.rect = QRectF(left, y, g.plotArea.width(), paneHeight);
        y += paneHeight + gap;
    }
    const double tickWidth = fm.horizontalAdvance(QStringLiteral("0000/00/00")) + 12;
    g.timeTicks = timeTicks(g.from, g.to, std::max(2, static_cast<int>(g.plotArea.width() / tickWidth)));
    return g;
}

void paintPicture(QPainter& painter, const PlotDocument& document, const PictureGeometry& g, const PictureText& text,
                  int columns) {
    painter.save();
    painter.setFont(text.font);
    const QFontMetricsF fm(text.font);
    const double line = fm.height();
    painter.fillRect(g.bounds, Qt::white);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    painter.setPen(kText);
    QRectF titleLine(g.plotArea.left(), g.bounds.top(), g.plotArea.width(), line * kTitleLines);
    QString range = qs(timeText(static_cast<std::int64_t>(std::floor(g.from)))) + QStringLiteral(" - ") +
                    qs(timeText(static_cast<std::int64_t>(std::ceil(g.to))));
    painter.drawText(titleLine, Qt::AlignRight | Qt::AlignVCenter, range);
    QRectF titleRoom = titleLine.adjusted(0, 0, -fm.horizontalAdvance(range) - line, 0);
    painter.drawText(titleRoom, Qt::AlignLeft | Qt::AlignVCenter, fm.elidedText(text.title, Qt::ElideRight, titleRoom.width()));

    if (g.panes.empty()) {
        painter.drawText(g.plotArea, Qt::AlignCenter, QStringLiteral("表示するﾃﾞｰﾀがありません"));
        painter.restore();
        return;
    }
    columns = std::max(1, columns);
    for (const PaneGeometry& pane : g.panes) {
        painter.setPen(QPen(kGrid, 0));
        for (const Tick& tick : pane.axis.ticks)
            painter.drawLine(QPointF(pane.rect.left(), pane.yOf(tick.at)), QPointF(pane.rect.right(), pane.yOf(tick.at)));
        for (const Tick& tick : g.timeTicks)
            painter.drawLine(QPointF(g.xOf(tick.at), pane.rect.top()), QPointF(g.xOf(tick.at), pane.rect.bottom()));

        painter.setPen(kText);
        for (const Tick& tick : pane.axis.ticks) {
            QRectF label(g.bounds.left(), pane.yOf(tick.at) - line / 2, pane.rect.left() - 6 - g.bounds.left(), line);
            painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, qs(tick.label));
        }
        painter.save();
        painter.translate(g.bounds.left() + 2, pane.rect.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-pane.rect.height() / 2, 0, pane.rect.height(), line), Qt::AlignCenter, qs(pane.pane.unit));
        painter.restore();

        painter.save();
        painter.setClipRect(pane.rect);
        for (std::size_t i : pane.pane.series) {
            const PlotSeries& series = document.series()[i];
            if (series.info.type == ValueType::Number) {
                painter.setPen(QPen(seriesColor(i), 0));
                paintLineTrace(painter, series, pane, g, columns);
            } else {
                painter.setPen(QPen(seriesColor(i), 3, Qt::SolidLine, Qt::RoundCap));
                paintPointTrace(painter, series, pane, g, columns);
            }
        }
        painter.restore();
        painter.setPen(QPen(kFrame, 0));
        painter.drawRect(pane.rect);
        paintLegend(painter, document, pane, fm);
    }

    painter.setPen(kText);
    const double labelsTop = g.panes.back().rect.bottom() + 2;
    for (const Tick& tick : g.timeTicks) {
        double x = g.xOf(tick.at);
        painter.drawLine(QPointF(x, labelsTop - 2), QPointF(x, labelsTop + 2));
        painter.drawText(QRectF(x - 60, labelsTop + 2, 120, line), Qt::AlignHCenter | Qt::AlignTop, qs(tick.label));
        if (!tick.date.empty())
            painter.drawText(QRectF(x - 60, labelsTop + 2 + line, 120, line), Qt::AlignHCenter | Qt::AlignTop,
                             qs(tick.date));
    }
    painter.restore();
}

void paintCrosshair(QPainter& painter, const PlotDocument& document, const PictureGeometry& g, const Readout& readout) {
    if (!readout.at || g.panes.empty()) return;
    painter.save();
    const double x = g.xOf(static_cast<double>(*readout.at));
    painter.setPen(QPen(QColor(0, 0, 0, 150), 0, Qt::DashLine));
    painter.drawLine(QPointF(x, g.plotArea.top()), QPointF(x, g.panes.back().rect.bottom()));
    const QFontMetricsF fm(painter.font());
    QStringList lines{qs(readout.timeText)};
    for (const ReadoutRow& row : readout.rows) {
        const PlotSeries& series = document.series()[row.series];
        lines << qs(document.label(row.series)) + QStringLiteral(": ") + qs(row.text) +
                     (row.sample ? QStringLiteral(" ") + qs(series.info.unit) : QString());
        if (!row.sample) continue;
        for (const PaneGeometry& pane : g.panes) {
            if (std::find(pane.pane.series.begin(), pane.pane.series.end(), row.series) == pane.pane.series.end()) continue;
            QPointF at(g.xOf(static_cast<double>(series.summary.samples().times[*row.sample])),
                       pane.yOf(series.summary.samples().values[*row.sample]));
            painter.setPen(QPen(seriesColor(row.series), 2));
            painter.setBrush(Qt::white);
            painter.drawEllipse(at, 3.5, 3.5);
        }
    }
    // The readout box stands beside the line, on the side with more room.
    double width = 0;
    for (const QString& text : lines) width = std::max(width, fm.horizontalAdvance(text));
    width += 12;
    const double height = fm.height() * lines.size() + 8;
    double left = x + 12;
    if (left + width > g.plotArea.right()) left = x - 12 - width;
    QRectF box(left, g.plotArea.top() + 4, width, height);
    painter.setPen(QPen(kFrame, 0));
    painter.setBrush(QColor(255, 255, 240, 235));
    painter.drawRect(box);
    painter.setPen(kText);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QRectF(box.left() + 6, box.top() + 4 + fm.height() * i, width - 12, fm.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, lines[i]);
    painter.restore();
}

}  // namespace fenta21::plot
