#pragma once
// The program-wide state of the desktop program, made at start-up and kept until the
// program ends.
#include <QPointer>
#include <memory>

#include "aspects/orb_file.h"
#include "core/chart_record.h"
#include "core/computation.h"
#include "data/settings.h"
#include "gui/chart_window_registry.h"

class QMainWindow;
class QMdiArea;
class QPrinter;

namespace orbeta {

class ChildWindow;

struct AppState {
    AppState();
    ~AppState();
    Settings settings;
    ChartRecord currentChart;
    ChartRecord inputChart;
    OrbTable orbTable;  // the current table: slot 0 of the profile's orb files
    ChartWindowRegistry charts;
    ChildWindow* activeChild = nullptr;
    QPointer<QMainWindow> frame;
    QPointer<QMdiArea> client;
    std::unique_ptr<QPrinter> printer;
};

AppState& App();

// The context of the profile's options: each command computes with it and tells the
// user afterwards what its computation noted (TellDiagnostics).
ChartContext ProfileContext();

}  // namespace orbeta
