#include "platform/desktop/picture_box.h"

#include <QPainter>

namespace lumora {

QRect fittedPictureRect(QSize picture, QSize box) {
    if (picture.isEmpty() || box.isEmpty())
        return {};
    QSize shown = picture;
    if (picture.width() > box.width() || picture.height() > box.height()) {
        shown = picture.scaled(box, Qt::KeepAspectRatio);
    }
    return QRect(QPoint((box.width() - shown.width()) / 2, (box.height() - shown.height()) / 2),
                 shown);
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {}

void PictureBox::showPicture(const ByteData& bytes) {
    showPicture(QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                 static_cast<int>(bytes.size())));
}

void PictureBox::showPicture(const QImage& image) {
    picture_ = image;
    update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    if (picture_.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureRect(), picture_);
}

}  // namespace lumora
