#include "platform/desktop/run_directory.h"

#include <QCoreApplication>
#include <QDir>

#include "platform/desktop/qt_text.h"

namespace lumora {

ByteText programRunDirectory() {
    return toByteText(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

ByteText enterRunDirectory() {
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    return programRunDirectory();
}

}  // namespace lumora
