#pragma once

// Offers the newest build when the update server has one; its going opens the mode chooser.

#include <QWidget>
#include <functional>

#include "batch/program_state.h"

class QLineEdit;

namespace lumora {

// The version this build carries: its file version 1.1.9.0 without points.
inline constexpr const char* kOwnVersion = "1190";

class UpdateWindow : public QWidget {
    Q_OBJECT
public:
    // Runs checkForUpdate before it returns: the window is then shown, or on its way out.
    explicit UpdateWindow(ProgramState& state);

    void checkForUpdate();
    void startUpdater();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ProgramState& state_;
    QLineEdit* ownVersionBox_;
    QLineEdit* newestVersionBox_;
};

}  // namespace lumora
