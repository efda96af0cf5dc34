#pragma once

// The start of the batch edition: the hidden main window, the update check, and the mode
// chooser that either shows the main window or starts the single-book edition.

#include <QObject>
#include <QPointer>

#include "batch/main_window.h"
#include "batch/program_state.h"
#include "batch/update_window.h"

namespace lumora {

class BatchApp : public QObject {
    Q_OBJECT
public:
    explicit BatchApp(ProgramState& state);
    ~BatchApp() override;

    void start();

    MainWindow* mainWindow() const { return mainWindow_; }
    UpdateWindow* updateWindow() const { return updateWindow_; }

private:
    void openModeChooser();

    ProgramState& state_;
    QPointer<MainWindow> mainWindow_;
    QPointer<UpdateWindow> updateWindow_;
};

}  // namespace lumora
