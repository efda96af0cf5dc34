#include "batch/digits_only.h"

#include <QKeyEvent>

namespace lumora {

bool DigitsOnly::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        for (const QChar c : text) {
            if (c.isPrint() && !c.isDigit())
                return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace lumora
