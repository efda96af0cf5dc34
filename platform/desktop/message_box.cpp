#include "platform/desktop/message_box.h"

#include <QMessageBox>

#include "core/gbk.h"
#include "platform/desktop/qt_text.h"

namespace lumora {

namespace {

MessageBoxAnswerer& answerer() {
    static MessageBoxAnswerer instance;
    return instance;
}

}  // namespace

void setMessageBoxAnswerer(MessageBoxAnswerer newAnswerer) {
    answerer() = std::move(newAnswerer);
}

int messageBox(const ByteText& text, int style) {
    if (answerer())
        return answerer()(text, style);

    QMessageBox box;
    box.setWindowTitle(toQString(gbk("信息：")));
    box.setText(toQString(text));
    const bool withCancel = style == kMessageOkCancel || style == kMessageQuestion;
    box.setStandardButtons(withCancel ? QMessageBox::Ok | QMessageBox::Cancel : QMessageBox::Ok);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    if (style == kMessageQuestion)
        box.setIcon(QMessageBox::Question);
    if (style == kMessageInformation)
        box.setIcon(QMessageBox::Information);
    // No owner: the box is application-modal over all of the program's windows.
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Ok ? kAnswerOk : kAnswerCancel;
}

}  // namespace lumora
