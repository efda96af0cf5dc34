#pragma once

// A box that shows a JPEG or GIF given as bytes: centred, and shrunk proportionally when it is
// larger than the box. Empty or unreadable bytes clear it.

#include <QImage>
#include <QWidget>

#include "core/byte_text.h"

namespace lumora {

// Where a picture of the given size is drawn in a box of the given size.
QRect fittedPictureRect(QSize picture, QSize box);

class PictureBox : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);

    void showPicture(const ByteData& bytes);
    void showPicture(const QImage& image);
    const QImage& picture() const { return picture_; }
    QRect pictureRect() const { return fittedPictureRect(picture_.size(), size()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

}  // namespace lumora
