// libFuzzer target over the stand-in's form decoding: any body decodes without harm, and what
// the application's percent-encoding writes decodes back to the same bytes, also as a pair of
// fields in one body.
#include "FormData.h"
#include "net/UrlEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const lumacard::FormData form(bytes);
    for (const auto& [name, value] : form.pairs()) {
        if (name.size() > bytes.size() || value.size() > bytes.size()) {
            __builtin_trap(); // decoding never grows a text
        }
    }
    const auto half = bytes.substr(0, size / 2);
    const auto rest = bytes.substr(size / 2);
    if (lumacard::FormData::decode(vestrino::urlEncodeUsingEncoding(bytes)) != bytes) {
        __builtin_trap();
    }
    const std::string body = "a=" + vestrino::urlEncodeUsingEncoding(half) +
                             "&b=" + vestrino::urlEncodeUsingEncoding(rest);
    const lumacard::FormData pair(body);
    if (pair.value("a") != std::string(half) || pair.value("b") != std::string(rest)) {
        __builtin_trap();
    }
    return 0;
}
