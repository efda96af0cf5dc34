#include "batch/batch_app.h"

#include <QTimer>

#include "batch/main_window.h"
#include "batch/mode_chooser.h"
#include "batch/update_window.h"

namespace lumora {

BatchApp::BatchApp(ProgramState& state) : state_(state) {}

BatchApp::~BatchApp() {
    delete updateWindow_;
    delete mainWindow_;
}

void BatchApp::start() {
    mainWindow_ = new MainWindow(state_);
    updateWindow_ = new UpdateWindow(state_);
    // The chooser opens once the update window has gone, outside any handler of its own.
    connect(updateWindow_, &QObject::destroyed, this,
            [this] { QTimer::singleShot(0, this, &BatchApp::openModeChooser); });
}

void BatchApp::openModeChooser() {
    ModeChooser chooser(state_);
    chooser.exec();
    if (chooser.choice() == ModeChooser::batchEdition && mainWindow_) {
        mainWindow_->show();
        return;
    }
    // The single-book edition was started, or the choice was closed: nothing is left to show.
    state_.endProgram(0);
}

}  // namespace lumora
