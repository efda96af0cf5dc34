#pragma once

#include <QObject>

namespace lumora {

// Lets only digits be typed into a text box; text set by the program stays as it is (a box may
// start with a hint such as "默认为：1").
class DigitsOnly : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace lumora
