#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace vestrino {

struct ArchivedValue;
using ArchivedRef = std::shared_ptr<const ArchivedValue>;

// An object of a keyed archive: its class and its encoded values by key.
struct ArchivedObject {
    std::string className;
    std::vector<std::string> classes; // the class and its ancestors, when the archive names them
    std::map<std::string, ArchivedRef> values;

    // The value under the key; nothing for a missing key or nil.
    ArchivedRef valueForKey(const std::string& key) const;
};

// One value of a keyed archive, with every reference resolved: nil, a plist scalar, a list (the
// NS.objects of an array or set), or an object. Values shared in the archive are shared here.
struct ArchivedValue {
    struct Nil {};
    using Data = std::vector<std::uint8_t>;
    using List = std::vector<ArchivedRef>;
    std::variant<Nil, bool, std::int64_t, double, std::string, Data, List, ArchivedObject> value;

    bool isNil() const { return std::holds_alternative<Nil>(value); }
    // A string stored inline or as an NSString / NSMutableString object.
    std::optional<std::string> asString() const;
    // A bool, or an integer 0 or 1.
    std::optional<bool> asBool() const;
    // The objects of an NSArray / NSMutableArray (NS.objects).
    const List* asArray() const;
    const ArchivedObject* asObject() const;
};

} // namespace vestrino
