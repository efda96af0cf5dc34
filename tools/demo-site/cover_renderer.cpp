#include "tools/demo-site/cover_renderer.h"

#include <QBuffer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QString>

#include "core/gbk.h"
#include "tools/demo-site/seeded_random.h"

namespace lumora::demo {

namespace {

QString toQString(const ByteText& text) {
    return QString::fromStdString(gbkToUtf8Lenient(text.str()));
}

// Shadowed text stays readable on light and dark covers alike.
void drawShadowedText(QPainter& painter, const QRect& box, int flags, const QString& text) {
    painter.setPen(QColor(0, 0, 0, 170));
    painter.drawText(box.translated(1, 1), flags, text);
    painter.setPen(Qt::white);
    painter.drawText(box, flags, text);
}

QImage drawCover(const NovelEntry& novel, std::uint64_t seed) {
    SeededRandom random(seed * 41 + static_cast<std::uint64_t>(novel.ordinal));
    QImage image(kCoverWidth, kCoverHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const int hue = random.below(360);
    QLinearGradient gradient(0, 0, 0, kCoverHeight);
    gradient.setColorAt(0, QColor::fromHsv(hue, 150, 215));
    gradient.setColorAt(1, QColor::fromHsv((hue + 50) % 360, 210, 60));
    painter.fillRect(image.rect(), gradient);
    // A speckled texture and a few rings, as printed covers have; they also keep the JPEG well
    // above the 2000 bytes by which the harvest tells a cover from an error page.
    for (int i = 0; i < 500; ++i) {
        painter.setPen(QColor::fromHsv(hue, random.between(40, 255), random.between(40, 255)));
        painter.drawPoint(random.below(kCoverWidth), random.below(kCoverHeight));
    }
    for (int i = 0; i < 4; ++i) {
        painter.setPen(QPen(QColor::fromHsv((hue + 180) % 360, 120, 240, 90), 2));
        const int radius = random.between(15, 50);
        painter.drawEllipse(QPoint(random.below(kCoverWidth), random.below(kCoverHeight)), radius,
                            radius);
    }
    painter.setPen(QPen(QColor(255, 255, 255, 150), 2));
    painter.drawRect(5, 5, kCoverWidth - 10, kCoverHeight - 10);

    // Without a QGuiApplication (a plain QCoreApplication runs) there are no fonts.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QFont font("WenQuanYi Micro Hei");
        font.setBold(true);
        const QString title = toQString(novel.title);
        font.setPixelSize(title.size() <= 4 ? 24 : 18);
        painter.setFont(font);
        drawShadowedText(painter, QRect(10, 14, 100, 100), Qt::AlignCenter | Qt::TextWordWrap,
                         title);
        font.setBold(false);
        font.setPixelSize(12);
        painter.setFont(font);
        drawShadowedText(painter, QRect(8, 116, 104, 18), Qt::AlignCenter,
                         toQString(novel.author) + QString::fromUtf8(" 著"));
        font.setPixelSize(10);
        painter.setFont(font);
        drawShadowedText(painter, QRect(8, 136, 104, 14), Qt::AlignCenter,
                         QString::fromUtf8("TXT电子书"));
    }
    painter.end();
    return image;
}

}  // namespace

void CoverRenderer::prepareFonts() {
    if (QCoreApplication::instance())
        return;
    static int argc = 3;
    static char name[] = "lumora-demo-site";
    static char platformOption[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, platformOption, platform, nullptr};
    // Never deleted: covers are drawn on the server's threads until the process ends, and the
    // application has to outlive every one of them.
    new QGuiApplication(argc, argv);
}

ByteData CoverRenderer::cover(const NovelEntry& novel, std::uint64_t seed) {
    // One cover at a time: Qt's font caches are not meant for concurrent drawing, and the
    // lock also keeps each cover from being drawn twice.
    std::lock_guard lock(mutex_);
    const auto found = covers_.find(novel.ordinal);
    if (found != covers_.end())
        return found->second;

    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    drawCover(novel, seed).save(&buffer, "JPEG", 90);
    ByteData bytes(jpeg.constData(), static_cast<size_t>(jpeg.size()));
    covers_.emplace(novel.ordinal, bytes);
    return bytes;
}

}  // namespace lumora::demo
