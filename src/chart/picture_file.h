#pragma once
// A picture as a file: PNG, SVG or PDF, chosen by the file's extension, for every
// drawing that can be saved (the wheel, the graphic forecast and ephemerides). Screen
// files are the size asked for; with the printer layout a PDF is an A4 page.
#include <QPainter>
#include <QSize>
#include <functional>
#include <optional>
#include <string>

namespace orbeta {

enum class PictureFormat { Png, Svg, Pdf };

// By the extension, in any case; nullopt for any other.
std::optional<PictureFormat> PictureFormatOf(const std::string& path);

// Resolution of printer-layout pictures in PNG and SVG: an A4 page of 1240 × 1754.
constexpr int kPicturePageDpi = 150;

struct PictureRequest {
    QSize size;              // pixels; with print and PDF the A4 page decides
    bool print = false;      // the printer layout
    bool landscape = false;  // with print: the page lies on its side
};

// Paints a picture onto the device: the painter and the size to fill.
using PicturePainter = std::function<void(QPainter&, QSize)>;

// Paints into memory and writes the file whole (the old file stays when the new one
// cannot be written). False with a reason when the format is unknown, the size is
// empty or the file cannot be written.
bool WritePictureFile(const std::string& path, const PictureRequest& request,
                      const PicturePainter& paint, std::string& error);

}  // namespace orbeta
