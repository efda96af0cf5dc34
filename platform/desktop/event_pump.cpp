#include "platform/desktop/event_pump.h"

#include <QEventLoop>
#include <QTimer>

namespace lumora {

void pumpEvents(int ms) {
    if (ms <= 0)
        return;
    // A local loop sleeps between events instead of spinning, and ends on its own timer.
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::AllEvents);
}

}  // namespace lumora
