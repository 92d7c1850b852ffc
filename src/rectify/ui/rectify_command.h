#pragma once
// Main command 211 "Ректификация": the parameters dialog, the run with its progress
// and the rectification window with the report.
class QWidget;

namespace orbeta {

class RectifyWindow;

// Returns the window opened, nullptr when nothing was run.
RectifyWindow* RunRectificationCommand(QWidget* parent);

}  // namespace orbeta
