#pragma once

#include "store/ArchivedValue.h"

#include <string>
#include <string_view>

namespace vestrino {

// Reads a keyed archive in the phone's format (a binary property list with $archiver, $top and
// $objects) into resolved values. Hostile input (references out of range or in a cycle, wrong
// types, absurd depth or counts, strings that are not UTF-8) is refused: nothing is read.
class KeyedUnarchiver {
public:
    static constexpr std::size_t kMaxObjects = 1'000'000;
    static constexpr int kMaxDepth = 64;

    // Nothing when the bytes are not a keyed archive.
    static std::optional<KeyedUnarchiver> fromData(std::string_view bytes);

    // The value archived under a top-level key: nil for UID 0 or a missing key; nothing when
    // the archive refers to something it does not hold or nests too deep.
    std::optional<ArchivedRef> decodeObjectForKey(const std::string& key) const;

    // Every top-level value, decoded (true when the whole archive reads).
    bool decodeAll() const;

private:
    struct Table;
    explicit KeyedUnarchiver(std::shared_ptr<const Table> table) : table_(std::move(table)) {}
    std::shared_ptr<const Table> table_;
};

} // namespace vestrino
