#pragma once

// The window a harvest shows while it runs: one text box that fills it.

#include <QPlainTextEdit>
#include <QWidget>

#include "core/byte_text.h"

namespace lumora {

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* owner);

    void setText(const ByteText& text);
    QPlainTextEdit* textBox() const { return textBox_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QPlainTextEdit* textBox_;
};

}  // namespace lumora
