#include "core/base/Cp932.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace fenta21 {
namespace {

// One conversion through iconv, replacing every byte sequence it refuses by `replacement`;
// `refused`, when given, is set when there was such a sequence.
std::string convert(std::string_view input, const char* to, const char* from, std::string_view replacement,
                    bool* refused = nullptr) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv cannot convert code page 932");
    std::string output;
    output.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        std::size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, out - buffer);
        if (rc == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL (a truncated last character): skip one byte and go on.
            if (refused) *refused = true;
            output.append(replacement);
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return output;
}

}  // namespace

std::string cp932ToUtf8(std::string_view cp932) { return convert(cp932, "UTF-8", "CP932", "?"); }

std::string utf8ToCp932(std::string_view utf8) { return convert(utf8, "CP932", "UTF-8", "?"); }

bool hasCp932Form(std::string_view utf8) {
    bool refused = false;
    convert(utf8, "CP932", "UTF-8", "?", &refused);
    return !refused;
}

bool isCp932LeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

std::size_t cp932PrefixLength(std::string_view cp932, std::size_t maxBytes) {
    std::size_t pos = 0;
    while (pos < cp932.size()) {
        std::size_t step = isCp932LeadByte(static_cast<unsigned char>(cp932[pos])) ? 2 : 1;
        if (pos + step > maxBytes || pos + step > cp932.size()) break;
        pos += step;
    }
    return pos;
}

std::string cp932FixedField(std::string_view cp932, std::size_t width, char pad) {
    std::string field(cp932.substr(0, cp932PrefixLength(cp932, width)));
    field.resize(width, pad);
    return field;
}

std::string cp932CString(std::string_view utf8, std::size_t fieldBytes) {
    if (fieldBytes == 0) return {};
    std::string field = cp932FixedField(utf8ToCp932(utf8), fieldBytes - 1, '\0');
    field.push_back('\0');
    return field;
}

std::string utf8FromCString(std::string_view field) {
    return cp932ToUtf8(field.substr(0, field.find('\0')));
}

}  // namespace fenta21
