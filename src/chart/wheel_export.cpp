#include "chart/wheel_export.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

#include "chart/wheel_painter.h"
#include "platform/text_file.h"

namespace orbeta {
namespace {

// Files of the screen layout count pixels at the usual screen resolution, so that
// text comes out at the size a window shows it.
constexpr int kScreenDpi = 96;
constexpr int kPrinterDpi = 300;

void Paint(QPainter& painter, const WheelParams& params, QSize size, bool print) {
    uint8_t state = print ? kPrintRequested : kNotPrinting;
    PaintChart(painter, params, size, print, state);
}

bool PaintPng(QBuffer& out, const WheelParams& params, QSize size, bool print) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);  // paper; the screen layout paints its own background
    {
        QPainter painter(&image);
        Paint(painter, params, size, print);
    }
    return image.save(&out, "PNG");
}

bool PaintSvg(QBuffer& out, const WheelParams& params, QSize size, bool print) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kScreenDpi);
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    if (print) painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    Paint(painter, params, size, print);
    return painter.end();
}

bool PaintPdf(QBuffer& out, const WheelParams& params, QSize size, bool print) {
    QPdfWriter pdf(&out);
    if (print) {
        pdf.setResolution(kPrinterDpi);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    } else {
        pdf.setResolution(kScreenDpi);
        QSizeF points(size.width() * 72.0 / kScreenDpi, size.height() * 72.0 / kScreenDpi);
        pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    }
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    QSize device(pdf.width(), pdf.height());
    Paint(painter, params, print ? device : size, print);
    return painter.end();
}

}  // namespace

std::optional<WheelFileFormat> WheelFileFormatOf(const std::string& path) {
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos) return std::nullopt;
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png") return WheelFileFormat::Png;
    if (ext == "svg") return WheelFileFormat::Svg;
    if (ext == "pdf") return WheelFileFormat::Pdf;
    return std::nullopt;
}

bool WriteWheelFile(const std::string& path, const WheelParams& params, QSize size, bool print,
                    std::string& error) {
    auto format = WheelFileFormatOf(path);
    if (!format) {
        error = "the file name must end in .png, .svg or .pdf: " + path;
        return false;
    }
    if (size.width() <= 0 || size.height() <= 0) {
        error = "the picture size must not be empty";
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    switch (*format) {
        case WheelFileFormat::Png:
            painted = PaintPng(buffer, params, size, print);
            break;
        case WheelFileFormat::Svg:
            painted = PaintSvg(buffer, params, size, print);
            break;
        case WheelFileFormat::Pdf:
            painted = PaintPdf(buffer, params, size, print);
            break;
    }
    buffer.close();
    if (!painted || bytes.isEmpty()) {
        error = "the picture could not be made: " + path;
        return false;
    }
    if (!WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()))) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace orbeta
