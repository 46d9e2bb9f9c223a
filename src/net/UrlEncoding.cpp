#include "net/UrlEncoding.h"

#include <curl/curl.h>
#include <memory>
#include <new>

namespace vestrino {

std::string urlEncodeUsingEncoding(std::string_view text, StringEncoding /*encoding*/) {
    // The text is held in UTF-8, the only encoding the service is sent, so the bytes are
    // already those to escape.
    if (text.empty()) {
        return {};
    }
    std::unique_ptr<char, decltype(&curl_free)> escaped(
        curl_easy_escape(nullptr, text.data(), static_cast<int>(text.size())), &curl_free);
    if (!escaped) {
        throw std::bad_alloc();
    }
    return std::string(escaped.get());
}

} // namespace vestrino
