#pragma once

// The main window's hidden browser controls: setting an address opens the link with the
// desktop's handler. Nothing is shown in the window.

#include <QWidget>

#include "core/byte_text.h"

namespace lumora {

class LinkBrowser : public QWidget {
public:
    using QWidget::QWidget;
    void setAddress(const ByteText& url);
};

}  // namespace lumora
