#include "gui/app_state.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QPrinter>

namespace orbeta {

AppState::AppState() : currentChart(DefaultProfileChart()), inputChart(currentChart) {}
AppState::~AppState() = default;

AppState& App() {
    static AppState state;
    return state;
}

}  // namespace orbeta
