#include "batch/update_window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "batch/designer.h"
#include "batch/links.h"
#include "core/gbk.h"
#include "platform/desktop/blocking_fetch.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/qt_text.h"
#include "platform/desktop/shell_open.h"
#include "platform/executable_file.h"
#include "platform/files.h"

namespace lumora {

namespace {

QLineEdit* versionBox(QWidget* parent, const char* name, QRect place, const char* text,
                      const char* background) {
    auto* box = placeControl<QLineEdit>(parent, name, place, ui(text));
    box->setReadOnly(true);
    box->setStyleSheet(QStringLiteral("background: %1").arg(background));
    return box;
}

}  // namespace

UpdateWindow::UpdateWindow(ProgramState& state)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint),
      state_(state) {
    setWindowTitle(ui("Lumora-程序更新"));
    resize(189, 148);
    setAttribute(Qt::WA_DeleteOnClose);
    placeControl<QLineEdit>(this, "编辑框1", {0, 0, 72, 32}, ui("本程序版本"));
    ownVersionBox_ = versionBox(this, "编辑框2", {72, 0, 48, 32}, kOwnVersion, "silver");
    placeControl<QLineEdit>(this, "编辑框4", {0, 40, 72, 32}, ui("本程序最新版本"));
    newestVersionBox_ = versionBox(this, "编辑框3", {72, 40, 48, 32}, "1120", "yellow");
    auto* quit = placeControl<QPushButton>(this, "按钮2", {136, 0, 48, 72}, ui("退出"));
    auto* update =
        placeControl<QPushButton>(this, "按钮1", {0, 80, 184, 32}, ui("已有最新版本，是否更新"));
    connect(quit, &QPushButton::clicked, this, &QWidget::deleteLater);
    connect(update, &QPushButton::clicked, this, &UpdateWindow::startUpdater);
    centreOnScreen(this);
    checkForUpdate();
}

void UpdateWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        deleteLater();
        return;
    }
    QWidget::keyPressEvent(event);
}

void UpdateWindow::checkForUpdate() {
    const ByteText newest =
        textOf(fetchBlocking(state_.profile.updateBase() + ByteText("/shelfnote/banben")).body);
    newestVersionBox_->setText(toQString(newest));
    const double own = toNumber(toByteText(ownVersionBox_->text()));
    if (numberAtLeast(own, toNumber(toByteText(newestVersionBox_->text())))) {
        deleteLater();  // never shown; its going opens the mode chooser
        return;
    }
    show();
}

void UpdateWindow::startUpdater() {
    hide();
    if (messageBox(gbk("Lumora文件是没有毒的，是否查看文件查杀结果？"), kMessageQuestion) ==
        kAnswerOk) {
        shellOpen(ByteText(links::kVirusScanReport));
    }
    if (messageBox(gbk("更新文件不知道怎么回事一直误报，放心绝对没有毒，如果更新请确认！！"),
                   kMessageOkCancel) != kAnswerOk) {
        deleteLater();
        return;
    }
    const ByteText path = LibraryLayout(state_.runDirectory).updaterProgram();
    const ByteText updaterUrl =
        textOf(fetchBlocking(state_.profile.updateBase() + ByteText("/shelfnote/gengxincx")).body);
    const HttpResponse program = updaterUrl.empty() ? HttpResponse() : fetchBlocking(updaterUrl);
    // A failed download never replaces an updater that is already there.
    if (program.succeeded()) {
        writeFile(path, program.body);
        makeExecutable(path);
    }
    shellOpen(path);
    state_.endProgram(0);
}

}  // namespace lumora
