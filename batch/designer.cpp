#include "batch/designer.h"

#include <QGuiApplication>
#include <QScreen>

// Resources compiled into a static library are registered by name, from the global namespace.
static void registerLumoraResources() {
    Q_INIT_RESOURCE(lumora);
}

namespace lumora {

void loadPictureResources() {
    static const bool loaded = (registerLumoraResources(), true);
    (void)loaded;
}

void centreOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

}  // namespace lumora
