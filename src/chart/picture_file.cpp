#include "chart/picture_file.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/text_file.h"

namespace orbeta {
namespace {

// Files of the screen layout count pixels at the usual screen resolution, so that
// text comes out at the size a window shows it.
constexpr int kScreenDpi = 96;
constexpr int kPrinterDpi = 300;

int DotsPerMeter(int dpi) {
    return static_cast<int>(std::lround(dpi / 0.0254));
}

bool PaintPng(QBuffer& out, const PictureRequest& rq, const PicturePainter& paint) {
    QImage image(rq.size, QImage::Format_RGB32);
    image.fill(Qt::white);  // paper; the screen layout paints its own background
    if (rq.print) {
        image.setDotsPerMeterX(DotsPerMeter(kPicturePageDpi));
        image.setDotsPerMeterY(DotsPerMeter(kPicturePageDpi));
    }
    {
        QPainter painter(&image);
        paint(painter, rq.size);
    }
    return image.save(&out, "PNG");
}

bool PaintSvg(QBuffer& out, const PictureRequest& rq, const PicturePainter& paint) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(rq.size);
    svg.setViewBox(QRect(QPoint(0, 0), rq.size));
    svg.setResolution(rq.print ? kPicturePageDpi : kScreenDpi);
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    if (rq.print) painter.fillRect(QRect(QPoint(0, 0), rq.size), Qt::white);
    paint(painter, rq.size);
    return painter.end();
}

bool PaintPdf(QBuffer& out, const PictureRequest& rq, const PicturePainter& paint) {
    QPdfWriter pdf(&out);
    if (rq.print) {
        pdf.setResolution(kPrinterDpi);
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4),
                                      rq.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    } else {
        pdf.setResolution(kScreenDpi);
        QSizeF points(rq.size.width() * 72.0 / kScreenDpi, rq.size.height() * 72.0 / kScreenDpi);
        pdf.setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0)));
    }
    QPainter painter;
    if (!painter.begin(&pdf)) return false;
    paint(painter, rq.print ? QSize(pdf.width(), pdf.height()) : rq.size);
    return painter.end();
}

}  // namespace

std::optional<PictureFormat> PictureFormatOf(const std::string& path) {
    auto dot = path.find_last_of('.');
    if (dot == std::string::npos) return std::nullopt;
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == "png") return PictureFormat::Png;
    if (ext == "svg") return PictureFormat::Svg;
    if (ext == "pdf") return PictureFormat::Pdf;
    return std::nullopt;
}

bool WritePictureFile(const std::string& path, const PictureRequest& rq,
                      const PicturePainter& paint, std::string& error) {
    auto format = PictureFormatOf(path);
    if (!format) {
        error = "the file name must end in .png, .svg or .pdf: " + path;
        return false;
    }
    if (rq.size.width() <= 0 || rq.size.height() <= 0) {
        error = "the picture size must not be empty";
        return false;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    switch (*format) {
        case PictureFormat::Png:
            painted = PaintPng(buffer, rq, paint);
            break;
        case PictureFormat::Svg:
            painted = PaintSvg(buffer, rq, paint);
            break;
        case PictureFormat::Pdf:
            painted = PaintPdf(buffer, rq, paint);
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
