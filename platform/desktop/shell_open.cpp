#include "platform/desktop/shell_open.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#include "platform/desktop/qt_text.h"
#include "platform/files.h"

namespace lumora {

namespace {

ShellOpenHandler& handler() {
    static ShellOpenHandler instance;
    return instance;
}

}  // namespace

void setShellOpenHandler(ShellOpenHandler newHandler) {
    handler() = std::move(newHandler);
}

void shellOpen(const ByteText& target) {
    if (handler()) {
        handler()(target);
        return;
    }
    const QString text = toQString(target);
    if (text.contains("://")) {
        QDesktopServices::openUrl(QUrl(text));
        return;
    }
    const auto native = nativePath(target);
    if (!native)
        return;
    const QString path = QString::fromStdString(*native);
    const QFileInfo info(path);
    if (info.isFile() && info.isExecutable()) {
        QProcess::startDetached(info.absoluteFilePath(), {}, info.absolutePath());
    } else if (info.exists()) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath()));
    }
}

}  // namespace lumora
