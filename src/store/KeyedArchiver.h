#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vestrino {

// Writes a keyed archive in the phone's format: a binary property list with $archiver
// "NSKeyedArchiver", $version 100000, $top and $objects, "$null" as UID 0, strings inline, a
// number given as an object in its own $objects entry, arrays as NS.objects, class
// dictionaries with $classname and $classes. Encode the parts, then finish with the top key.
class KeyedArchiver {
public:
    using Uid = std::uint64_t;
    static constexpr Uid kNil = 0;

    KeyedArchiver();
    ~KeyedArchiver();
    KeyedArchiver(const KeyedArchiver&) = delete;
    KeyedArchiver& operator=(const KeyedArchiver&) = delete;

    Uid encodeString(const std::optional<std::string>& value); // absent: nil
    Uid encodeBool(bool value);
    Uid encodeArray(const std::vector<Uid>& objects, bool mutableArray);
    // Fills an entry reserved before the array's objects were encoded (the phone's order: a
    // container before what it holds).
    void setArray(Uid at, const std::vector<Uid>& objects, bool mutableArray);

    // An object of the class; its values are references, written in the order given.
    class Object {
    public:
        void encodeObject(const std::string& key, Uid value) { values_.emplace_back(key, value); }

    private:
        friend class KeyedArchiver;
        std::vector<std::pair<std::string, Uid>> values_;
    };
    Uid reserveObject(); // an entry for an object whose values are encoded after it
    void setObject(Uid at, const Object& object, const std::vector<std::string>& classes);

    // The archive's bytes with the root under the top-level key.
    std::string finish(const std::string& topKey, Uid root);

private:
    Uid classFor(const std::vector<std::string>& classes);
    Uid append(void* node);

    // The $objects entries, kept in a vector (libplist finds an array item by walking the list)
    // and handed to libplist once, at the end.
    struct Entries;
    std::unique_ptr<Entries> objects_;
    std::map<std::string, Uid> classes_;
};

} // namespace vestrino
