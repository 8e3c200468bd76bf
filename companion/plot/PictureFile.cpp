#include "companion/plot/PictureFile.h"

#include "core/base/Files.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>

namespace fenta21::plot {
namespace {

constexpr int kPdfDotsPerInch = 96;

void draw(QPaintDevice& device, QSize size, const PlotDocument& document, double from, double to,
          const PictureText& text) {
    QPainter painter(&device);
    PictureGeometry geometry = layoutPicture(document, from, to, QRectF(QPointF(0, 0), QSizeF(size)), text.font);
    paintPicture(painter, document, geometry, text, static_cast<int>(geometry.plotArea.width()));
}

}  // namespace

std::optional<PictureFormat> pictureFormatFor(const std::string& path) {
    std::string tail = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    if (tail == ".png") return PictureFormat::Png;
    if (tail == ".svg") return PictureFormat::Svg;
    if (tail == ".pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

QByteArray renderPicture(const PlotDocument& document, double from, double to, QSize size, PictureFormat format,
                         const PictureText& text) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case PictureFormat::Png: {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        draw(image, size, document, from, to, text);
        image.save(&buffer, "PNG");
        break;
    }
    case PictureFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(text.title);
        draw(svg, size, document, from, to, text);
        break;
    }
    case PictureFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(kPdfDotsPerInch);
        pdf.setTitle(text.title);
        pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(size) * 72.0 / kPdfDotsPerInch, QPageSize::Point),
                                      QPageLayout::Portrait, QMarginsF()));
        draw(pdf, size, document, from, to, text);
        break;
    }
    }
    return bytes;
}

std::string writePicture(const std::string& path, const PlotDocument& document, double from, double to, QSize size,
                         const PictureText& text) {
    std::optional<PictureFormat> format = pictureFormatFor(path);
    if (!format) return "the picture's name must end in .png, .svg or .pdf: " + path;
    QByteArray bytes = renderPicture(document, from, to, size, *format, text);
    if (bytes.isEmpty()) return "the picture could not be drawn";
    if (!writeFileAtomically(path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))))
        return "cannot write " + path;
    return {};
}

}  // namespace fenta21::plot
