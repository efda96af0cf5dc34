#include "harvest/cut_steps.h"

namespace lumora {

// Position arithmetic is done in doubles and truncated back, as every count of the cut is.

ByteText textBefore(const ByteText& t, const ByteText& m) {
    return textLeft(t, toInt(textFind(t, m) - 1.0));
}

ByteText textAfter(const ByteText& t, const ByteText& m) {
    return textRight(t, toInt(double(textLength(t)) - textFind(t, m) - textLength(m) + 1));
}

ByteText textBeyond(const ByteText& t, const ByteText& m) {
    return textRight(t, toInt(double(textLength(t)) - textFind(t, m) - textLength(m)));
}

ByteText textToMarker(const ByteText& t, const ByteText& m) {
    return textLeft(t, textFind(t, m));
}

ByteText textAfterLast(const ByteText& t, const ByteText& s) {
    return textRight(t, toInt(double(textLength(t)) - textFindLast(t, s)));
}

}  // namespace lumora
