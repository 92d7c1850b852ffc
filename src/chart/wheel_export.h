#pragma once
// A wheel as a file: PNG, SVG or PDF, chosen by the file's extension. Screen files
// are the size asked for; with the printer layout a PDF is an A4 page.
#include <QSize>
#include <optional>
#include <string>

#include "chart/wheel_params.h"

namespace orbeta {

enum class WheelFileFormat { Png, Svg, Pdf };

// By the extension, in any case; nullopt for any other.
std::optional<WheelFileFormat> WheelFileFormatOf(const std::string& path);

// Paints into memory and writes the file whole (the old file stays when the new one
// cannot be written). False with a reason when the format is unknown, the size is
// empty or the file cannot be written.
bool WriteWheelFile(const std::string& path, const WheelParams& params, QSize size, bool print,
                    std::string& error);

}  // namespace orbeta
