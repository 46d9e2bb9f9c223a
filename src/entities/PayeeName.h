#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vestrino {

// A transaction's description as a finance program's import takes it: a name for the payee
// and, when the name cannot hold the whole description, the description in full as a memo.
// Both are on one line (every run of line breaks, tabs and other control characters is one
// space) and are well-formed UTF-8 (a byte that is not is a "?"). Lengths are characters, as
// OFX 1.02 counts them: a name of at most 32 (its NAME), cut after a word where that keeps
// most of it, a memo of at most 255 (its MEMO); and bytes, as libofx 0.10 holds them (a NAME in
// 96 bytes, a MEMO in 390), so that accented text is never cut inside a character by a reader.
// A memo longer than that is cut too: the rest of the description is in no field.
class PayeeName {
public:
    static constexpr std::size_t kNameLength = 32;
    static constexpr std::size_t kNameBytes = 96;
    static constexpr std::size_t kMemoLength = 255;
    static constexpr std::size_t kMemoBytes = 390;

    struct Parts {
        std::string name;
        std::string memo; // empty when the name is the whole description
    };
    static Parts of(std::string_view description);
    // The description on one line, trimmed; as `of` cleans it before it cuts.
    static std::string oneLine(std::string_view description);
};

} // namespace vestrino
