#pragma once
// A wheel as a file: PNG, SVG or PDF, chosen by the file's extension (see
// picture_file.h). Screen files are the size asked for; with the printer layout a PDF
// is an A4 page.
#include <QSize>
#include <string>

#include "chart/wheel_params.h"

namespace orbeta {

// False with a reason when the format is unknown, the size is empty or the file
// cannot be written; the old file then stays.
bool WriteWheelFile(const std::string& path, const WheelParams& params, QSize size, bool print,
                    std::string& error);

}  // namespace orbeta
