#include "batch/progress_window.h"

#include "core/gbk.h"
#include "platform/desktop/qt_text.h"

namespace lumora {

ProgressWindow::ProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint |
                         Qt::WindowMinMaxButtonsHint) {
    setWindowTitle(toQString(gbk("小说采集页面 BY：Tamber")));
    textBox_ = new QPlainTextEdit(this);
    textBox_->setObjectName(toQString(gbk("编辑框1")));
    textBox_->setReadOnly(true);
    setText(gbk("      \r\n\r\n\r\n\r\n\r\n\r\n") + ByteText(std::string(51, ' ')) +
            gbk("捕捉页面中，请稍候。。。"));
    resize(711, 230);
}

void ProgressWindow::setText(const ByteText& text) {
    textBox_->setPlainText(toQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void ProgressWindow::resizeEvent(QResizeEvent* event) {
    // The box takes the window's outer size, border and title bar included.
    textBox_->setGeometry(QRect(QPoint(0, 0), frameGeometry().size()));
    QWidget::resizeEvent(event);
}

}  // namespace lumora
