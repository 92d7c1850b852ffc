#pragma once
// What orbeta-cli-draw draws with: Qt's window system without a display, and the
// program's two fonts from the workspace.
#include <QGuiApplication>
#include <memory>

namespace orbeta::cli {

std::unique_ptr<QGuiApplication> StartGui();

}  // namespace orbeta::cli
