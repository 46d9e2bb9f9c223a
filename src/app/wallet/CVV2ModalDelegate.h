#pragma once

#include <optional>
#include <string>

namespace vestrino {

// What the CVV2 dialog reports to its owner: the typed code (possibly empty, the empty text
// when the person cancelled), or nothing.
class CVV2ModalDelegate {
public:
    virtual ~CVV2ModalDelegate() = default;
    virtual void dismissWithCVV2(const std::optional<std::string>& cvv2) = 0;
};

} // namespace vestrino
