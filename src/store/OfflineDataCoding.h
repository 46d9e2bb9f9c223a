#pragma once

#include "store/OfflineData.h"

#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// The offline copy's contents as JSON text, before sealing and after opening. Reading is
// strict: a value of the wrong kind anywhere, or a card list or statement missing its parts,
// gives nothing at all, never a copy in part.
class OfflineDataCoding {
public:
    static std::string encode(const OfflineData& data);
    static std::optional<OfflineData> decode(std::string_view text);
};

} // namespace vestrino
