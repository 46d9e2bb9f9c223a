#include "core/ReplyText.h"

#include "core/StringTrim.h"
#include "core/Utf8.h"

namespace vestrino {

std::optional<std::string> decodeReplyText(std::string_view body) {
    if (!isValidUtf8(body)) {
        return std::nullopt;
    }
    return trimNBSP(body);
}

} // namespace vestrino
