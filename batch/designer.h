#pragma once

// Windows are laid out as designed: each control at its pixel place, named as designed.

#include <QRect>
#include <QString>
#include <QWidget>
#include <utility>

namespace lumora {

// A caption or text of a control, written in the source as UTF-8.
inline QString ui(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename Control, typename... Args>
Control* placeControl(QWidget* parent, const char* designerName, QRect place, Args&&... args) {
    auto* control = new Control(std::forward<Args>(args)..., parent);
    control->setObjectName(QString::fromUtf8(designerName));
    control->setGeometry(place);
    return control;
}

// Puts a window in the middle of the screen.
void centreOnScreen(QWidget* window);

// Makes the compiled-in pictures (logo, help pictures) readable under ":/lumora".
void loadPictureResources();

}  // namespace lumora
