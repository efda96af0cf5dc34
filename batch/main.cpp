// Lumora, the batch edition.

#include <QApplication>

#include "batch/batch_app.h"
#include "platform/desktop/run_directory.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The hidden main window stays while the update check and the chooser run.
    app.setQuitOnLastWindowClosed(false);
    lumora::ProgramState state;
    state.runDirectory = lumora::enterRunDirectory();
    state.endProgram = [](int code) { QCoreApplication::exit(code); };
    lumora::BatchApp batch(state);
    batch.start();
    return app.exec();
}
