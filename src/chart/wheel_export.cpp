#include "chart/wheel_export.h"

#include "chart/picture_file.h"
#include "chart/wheel_painter.h"

namespace orbeta {

bool WriteWheelFile(const std::string& path, const WheelParams& params, QSize size, bool print,
                    std::string& error) {
    PictureRequest rq{size, print, false};
    return WritePictureFile(
        path, rq,
        [&](QPainter& painter, QSize device) {
            uint8_t state = print ? kPrintRequested : kNotPrinting;
            PaintChart(painter, params, device, print, state);
        },
        error);
}

}  // namespace orbeta
