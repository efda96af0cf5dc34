#include "core/gbk.h"

#include <iconv.h>

#include <cerrno>

namespace lumora {

namespace {

constexpr size_t kGiveUp = 0;

// One converter per direction and thread: iconv descriptors carry state and are not shared.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`. At a bad or cut-off sequence, badBytes(at, left) says how many input
    // bytes to replace by `replacement`, or kGiveUp to fail the whole conversion.
    template <typename BadBytes>
    std::optional<std::string> convert(std::string_view in, std::string_view replacement,
                                       BadBytes badBytes) {
        if (!valid())
            return std::nullopt;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            const int error = errno;
            out.append(buffer, sizeof buffer - dstLeft);
            if (rc != static_cast<size_t>(-1) || error == E2BIG)
                continue;
            const size_t skip = badBytes(src, srcLeft);
            if (skip == kGiveUp)
                return std::nullopt;
            out += replacement;
            src += skip;
            srcLeft -= skip;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    iconv_t cd_;
};

Converter& fromGbk() {
    thread_local Converter converter("UTF-8", "GBK");
    return converter;
}

Converter& toGbk() {
    thread_local Converter converter("GBK", "UTF-8");
    return converter;
}

size_t refuse(const char*, size_t) {
    return kGiveUp;
}

}  // namespace

std::optional<std::string> gbkToUtf8(std::string_view gbk) {
    return fromGbk().convert(gbk, {}, refuse);
}

std::string gbkToUtf8Lenient(std::string_view gbk) {
    // A GBK lead byte with a byte of the trail range is replaced as one character, anything
    // else byte by byte.
    auto badCharacter = [](const char* at, size_t left) -> size_t {
        const auto lead = static_cast<unsigned char>(at[0]);
        if (lead < 0x81 || lead > 0xFE || left < 2)
            return 1;
        const auto trail = static_cast<unsigned char>(at[1]);
        return (trail >= 0x40 && trail <= 0xFE && trail != 0x7F) ? 2 : 1;
    };
    return fromGbk().convert(gbk, "\xEF\xBF\xBD", badCharacter).value_or(std::string());
}

std::optional<std::string> utf8ToGbk(std::string_view utf8) {
    return toGbk().convert(utf8, {}, refuse);
}

ByteText gbk(std::string_view utf8) {
    return ByteText(utf8ToGbk(utf8).value_or(std::string()));
}

}  // namespace lumora
