#include "batch/mode_chooser.h"

#include <QFile>
#include <QPushButton>

#include "batch/designer.h"
#include "core/gbk.h"
#include "platform/desktop/picture_box.h"
#include "platform/desktop/shell_open.h"

namespace lumora {

namespace {

ByteData resourceBytes(const char* name) {
    QFile file(QString::fromUtf8(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

}  // namespace

ModeChooser::ModeChooser(ProgramState& state)
    : QDialog(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), state_(state) {
    loadPictureResources();
    setWindowTitle(QString());
    resize(374, 338);
    setModal(true);
    auto* batch = placeControl<QPushButton>(this, "按钮1", {32, 10, 100, 50}, ui("进入群采版"));
    auto* single = placeControl<QPushButton>(this, "按钮2", {208, 10, 100, 50}, ui("进入单本版"));
    auto* whatBatch =
        placeControl<QPushButton>(this, "按钮3", {48, 80, 80, 24}, ui("什么是群采？"));
    auto* whatSingle =
        placeControl<QPushButton>(this, "按钮4", {216, 80, 80, 24}, ui("什么是单本？"));
    helpPicture_ = placeControl<PictureBox>(this, "图片框1", {8, 120, 344, 160});
    for (QPushButton* button : {batch, single, whatBatch, whatSingle})
        button->setAutoDefault(false);

    connect(batch, &QPushButton::clicked, this, [this] {
        choice_ = batchEdition;
        accept();
    });
    connect(single, &QPushButton::clicked, this, [this] {
        choice_ = singleBookEdition;
        shellOpen(LibraryLayout(state_.runDirectory).singleBookProgram());
        accept();
    });
    connect(whatBatch, &QPushButton::clicked, this,
            [this] { helpPicture_->showPicture(resourceBytes(":/lumora/help-batch.jpg")); });
    connect(whatSingle, &QPushButton::clicked, this,
            [this] { helpPicture_->showPicture(resourceBytes(":/lumora/help-single.gif")); });
    centreOnScreen(this);
}

}  // namespace lumora
