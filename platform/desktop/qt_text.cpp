#include "platform/desktop/qt_text.h"

#include <QList>

#include "core/gbk.h"

namespace lumora {

QString toQString(const ByteText& text) {
    const std::string utf8 = gbkToUtf8Lenient(text.bytes());
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

ByteText toByteText(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (auto encoded = utf8ToGbk(std::string_view(utf8.constData(), utf8.size()))) {
        return ByteText(*encoded);
    }
    // Rare: a character outside GBK. Encode character by character.
    std::string out;
    for (const char32_t c : text.toUcs4()) {
        const QByteArray one = QString::fromUcs4(&c, 1).toUtf8();
        out += utf8ToGbk(std::string_view(one.constData(), one.size())).value_or("?");
    }
    return ByteText(out);
}

}  // namespace lumora
