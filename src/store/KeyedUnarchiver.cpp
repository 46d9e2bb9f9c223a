#include "store/KeyedUnarchiver.h"

#include "core/Utf8.h"
#include "store/BinaryPlistScan.h"

#include <cstdlib>
#include <plist/plist.h>
#include <set>

namespace vestrino {

namespace {

struct PlistFree {
    void operator()(void* p) const { plist_free(static_cast<plist_t>(p)); }
};

// Thrown inside the reader only: the archive is refused.
struct Refused {};

} // namespace

struct KeyedUnarchiver::Table {
    std::unique_ptr<void, PlistFree> root;
    plist_t top = nullptr;
    plist_t objects = nullptr;
    std::uint32_t count = 0;
    std::vector<plist_t> items; // $objects by UID (libplist walks a list to find an item)
    // Decoded values by UID; values shared in the archive stay shared.
    mutable std::map<std::uint64_t, ArchivedRef> memo;
    mutable std::set<std::uint64_t> inProgress;

    ArchivedRef decodeUid(std::uint64_t uid, int depth) const;
    ArchivedRef decodeInline(plist_t node, int depth) const;
    ArchivedRef decodeObject(plist_t dict, int depth) const;
    ArchivedValue::List decodeList(plist_t array, int depth) const;
};

namespace {

std::string stringOf(plist_t node) {
    uint64_t length = 0;
    const char* p = plist_get_string_ptr(node, &length);
    if (!p) {
        throw Refused{};
    }
    std::string s(p, length);
    if (!isValidUtf8(s)) {
        throw Refused{};
    }
    return s;
}

// The items of an array in one walk.
std::vector<plist_t> itemsOf(plist_t array) {
    std::vector<plist_t> items;
    items.reserve(plist_array_get_size(array));
    plist_array_iter iter = nullptr;
    plist_array_new_iter(array, &iter);
    std::unique_ptr<void, decltype(&std::free)> owner(iter, &std::free);
    for (;;) {
        plist_t item = nullptr;
        plist_array_next_item(array, iter, &item);
        if (!item) {
            return items;
        }
        items.push_back(item);
    }
}

std::uint64_t uidOf(plist_t node) {
    uint64_t v = 0;
    plist_get_uid_val(node, &v);
    return v;
}

const ArchivedRef& nilValue() {
    static const ArchivedRef nil = std::make_shared<ArchivedValue>();
    return nil;
}

} // namespace

ArchivedRef KeyedUnarchiver::Table::decodeUid(std::uint64_t uid, int depth) const {
    if (uid == 0) {
        return nilValue();
    }
    if (uid >= count || depth > kMaxDepth) {
        throw Refused{};
    }
    if (const auto hit = memo.find(uid); hit != memo.end()) {
        return hit->second;
    }
    if (!inProgress.insert(uid).second) {
        throw Refused{}; // a cycle
    }
    plist_t node = items[uid];
    ArchivedRef value = plist_get_node_type(node) == PLIST_DICT ? decodeObject(node, depth)
                                                                : decodeInline(node, depth);
    inProgress.erase(uid);
    memo.emplace(uid, value);
    return value;
}

ArchivedRef KeyedUnarchiver::Table::decodeInline(plist_t node, int depth) const {
    if (depth > kMaxDepth) {
        throw Refused{};
    }
    auto v = std::make_shared<ArchivedValue>();
    switch (plist_get_node_type(node)) {
    case PLIST_STRING:
        v->value = stringOf(node);
        break;
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        v->value = b != 0;
        break;
    }
    case PLIST_UINT: {
        uint64_t u = 0;
        plist_get_uint_val(node, &u);
        v->value = static_cast<std::int64_t>(u);
        break;
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        v->value = d;
        break;
    }
    case PLIST_DATE: {
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        v->value = sec + usec / 1e6;
        break;
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* p = plist_get_data_ptr(node, &length);
        v->value = ArchivedValue::Data(p, p + length);
        break;
    }
    case PLIST_UID:
        return decodeUid(uidOf(node), depth + 1);
    case PLIST_ARRAY:
        v->value = decodeList(node, depth + 1);
        break;
    default:
        throw Refused{}; // an inline dictionary, a key or an unknown type
    }
    return v;
}

ArchivedValue::List KeyedUnarchiver::Table::decodeList(plist_t array, int depth) const {
    const std::uint32_t n = plist_array_get_size(array);
    if (n > count) {
        throw Refused{};
    }
    ArchivedValue::List list;
    list.reserve(n);
    for (plist_t item : itemsOf(array)) {
        list.push_back(decodeInline(item, depth));
    }
    return list;
}

ArchivedRef KeyedUnarchiver::Table::decodeObject(plist_t dict, int depth) const {
    plist_t classRef = plist_dict_get_item(dict, "$class");
    if (!classRef || plist_get_node_type(classRef) != PLIST_UID) {
        throw Refused{};
    }
    const std::uint64_t classUid = uidOf(classRef);
    if (classUid == 0 || classUid >= count) {
        throw Refused{};
    }
    plist_t classDict = items[classUid];
    plist_t className = plist_get_node_type(classDict) == PLIST_DICT
                            ? plist_dict_get_item(classDict, "$classname")
                            : nullptr;
    if (!className || plist_get_node_type(className) != PLIST_STRING) {
        throw Refused{};
    }
    ArchivedObject object;
    object.className = stringOf(className);
    if (plist_t classes = plist_dict_get_item(classDict, "$classes")) {
        if (plist_get_node_type(classes) != PLIST_ARRAY) {
            throw Refused{};
        }
        for (plist_t c : itemsOf(classes)) {
            if (plist_get_node_type(c) != PLIST_STRING) {
                throw Refused{};
            }
            object.classes.push_back(stringOf(c));
        }
    }
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(dict, &iter);
    std::unique_ptr<void, decltype(&std::free)> iterOwner(iter, &std::free);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(dict, iter, &key, &value);
        if (!key) {
            break;
        }
        std::string name(key);
        std::free(key);
        if (name == "$class") {
            continue;
        }
        object.values[name] = decodeInline(value, depth + 1);
    }
    auto v = std::make_shared<ArchivedValue>();
    v->value = std::move(object);
    return v;
}

std::optional<KeyedUnarchiver> KeyedUnarchiver::fromData(std::string_view bytes) {
    if (bytes.size() < 8 || bytes.size() > UINT32_MAX || !binaryPlistIsSafeToRead(bytes)) {
        return std::nullopt;
    }
    plist_t root = nullptr;
    plist_from_bin(bytes.data(), static_cast<std::uint32_t>(bytes.size()), &root);
    if (!root) {
        return std::nullopt;
    }
    auto table = std::make_shared<Table>();
    table->root.reset(root);
    if (plist_get_node_type(root) != PLIST_DICT) {
        return std::nullopt;
    }
    table->top = plist_dict_get_item(root, "$top");
    table->objects = plist_dict_get_item(root, "$objects");
    if (!table->top || plist_get_node_type(table->top) != PLIST_DICT || !table->objects ||
        plist_get_node_type(table->objects) != PLIST_ARRAY) {
        return std::nullopt;
    }
    table->count = plist_array_get_size(table->objects);
    if (table->count == 0 || table->count > kMaxObjects) {
        return std::nullopt;
    }
    table->items = itemsOf(table->objects);
    if (table->items.size() != table->count) {
        return std::nullopt;
    }
    return KeyedUnarchiver(std::move(table));
}

std::optional<ArchivedRef> KeyedUnarchiver::decodeObjectForKey(const std::string& key) const {
    plist_t ref = plist_dict_get_item(table_->top, key.c_str());
    if (!ref) {
        return nilValue();
    }
    try {
        if (plist_get_node_type(ref) != PLIST_UID) {
            return std::nullopt;
        }
        return table_->decodeUid(uidOf(ref), 0);
    } catch (const Refused&) {
        table_->inProgress.clear();
        return std::nullopt;
    }
}

bool KeyedUnarchiver::decodeAll() const {
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(table_->top, &iter);
    std::unique_ptr<void, decltype(&std::free)> iterOwner(iter, &std::free);
    for (;;) {
        char* key = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(table_->top, iter, &key, &value);
        if (!key) {
            return true;
        }
        const std::string name(key);
        std::free(key);
        if (!decodeObjectForKey(name)) {
            return false;
        }
    }
}

} // namespace vestrino
