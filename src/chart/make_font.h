#pragma once
// Fonts of drawing: a face at a pixel height and an average character width, as the
// chart, table and report painters ask for them.
#include <QColor>
#include <QFont>
#include <optional>
#include <string>

#include "data/colours.h"

namespace orbeta {

// Regular weight, upright, no underline or strike-out, outline fonts preferred.
// width 0 keeps the face's own proportions. Parameters no font can have (height 0 or
// beyond 4096 pixels, a negative width) give no font and the journal line
// "%s, %d =NULL".
std::optional<QFont> MakeFont(const std::string& face, int height, int width);

QColor ToQColor(Colour colour);

}  // namespace orbeta
