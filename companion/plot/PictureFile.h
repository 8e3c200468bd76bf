#pragma once

#include "companion/plot/PlotPicture.h"

#include <QByteArray>
#include <QSize>

#include <optional>
#include <string>

namespace fenta21::plot {

enum class PictureFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (".png", ".svg", ".pdf", any letter case).
std::optional<PictureFormat> pictureFormatFor(const std::string& path);

// The picture of [from, to] at `size` pixels (a PDF page of that size at 96 dots per inch), as
// the bytes of the file. Drawn by the same code as the window, with no display needed.
QByteArray renderPicture(const PlotDocument& document, double from, double to, QSize size, PictureFormat format,
                         const PictureText& text);

// Renders and writes the file aside, so that a reader never sees half a picture. Returns why
// it failed, or "".
std::string writePicture(const std::string& path, const PlotDocument& document, double from, double to, QSize size,
                         const PictureText& text);

}  // namespace fenta21::plot
