#include "store/KeyedArchiver.h"

#include <plist/plist.h>
#include <stdexcept>

namespace vestrino {

struct KeyedArchiver::Entries {
    std::vector<plist_t> nodes;
    ~Entries() {
        for (plist_t n : nodes) {
            plist_free(n);
        }
    }
    void set(Uid at, plist_t node) {
        plist_free(nodes.at(at));
        nodes[at] = node;
    }
};

KeyedArchiver::KeyedArchiver() : objects_(std::make_unique<Entries>()) {
    append(plist_new_string("$null"));
}

KeyedArchiver::~KeyedArchiver() = default;

KeyedArchiver::Uid KeyedArchiver::append(void* node) {
    objects_->nodes.push_back(static_cast<plist_t>(node));
    return objects_->nodes.size() - 1;
}

KeyedArchiver::Uid KeyedArchiver::encodeString(const std::optional<std::string>& value) {
    return value ? append(plist_new_string(value->c_str())) : kNil;
}

KeyedArchiver::Uid KeyedArchiver::encodeBool(bool value) {
    return append(plist_new_bool(value ? 1 : 0));
}

KeyedArchiver::Uid KeyedArchiver::classFor(const std::vector<std::string>& classes) {
    const auto known = classes_.find(classes.front());
    if (known != classes_.end()) {
        return known->second;
    }
    plist_t dict = plist_new_dict();
    plist_dict_set_item(dict, "$classname", plist_new_string(classes.front().c_str()));
    plist_t list = plist_new_array();
    for (const auto& c : classes) {
        plist_array_append_item(list, plist_new_string(c.c_str()));
    }
    plist_dict_set_item(dict, "$classes", list);
    const Uid uid = append(dict);
    classes_[classes.front()] = uid;
    return uid;
}

KeyedArchiver::Uid KeyedArchiver::encodeArray(const std::vector<Uid>& objects, bool mutableArray) {
    const Uid at = reserveObject();
    setArray(at, objects, mutableArray);
    return at;
}

void KeyedArchiver::setArray(Uid at, const std::vector<Uid>& objects, bool mutableArray) {
    plist_t dict = plist_new_dict();
    plist_t list = plist_new_array();
    for (const Uid o : objects) {
        plist_array_append_item(list, plist_new_uid(o));
    }
    plist_dict_set_item(dict, "NS.objects", list);
    const auto classes = mutableArray
                             ? std::vector<std::string>{"NSMutableArray", "NSArray", "NSObject"}
                             : std::vector<std::string>{"NSArray", "NSObject"};
    plist_dict_set_item(dict, "$class", plist_new_uid(classFor(classes)));
    objects_->set(at, dict);
}

KeyedArchiver::Uid KeyedArchiver::reserveObject() {
    return append(plist_new_dict());
}

void KeyedArchiver::setObject(Uid at, const Object& object,
                              const std::vector<std::string>& classes) {
    plist_t dict = plist_new_dict();
    for (const auto& [key, value] : object.values_) {
        plist_dict_set_item(dict, key.c_str(), plist_new_uid(value));
    }
    plist_dict_set_item(dict, "$class", plist_new_uid(classFor(classes)));
    objects_->set(at, dict);
}

std::string KeyedArchiver::finish(const std::string& topKey, Uid root) {
    plist_t archive = plist_new_dict();
    plist_dict_set_item(archive, "$version", plist_new_uint(100000));
    plist_dict_set_item(archive, "$archiver", plist_new_string("NSKeyedArchiver"));
    plist_t top = plist_new_dict();
    plist_dict_set_item(top, topKey.c_str(), plist_new_uid(root));
    plist_dict_set_item(archive, "$top", top);
    plist_t objects = plist_new_array();
    for (plist_t& n : objects_->nodes) {
        plist_array_append_item(objects, n);
        n = nullptr; // now the array's
    }
    objects_->nodes.clear();
    plist_dict_set_item(archive, "$objects", objects);
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(archive, &bytes, &length);
    plist_free(archive);
    if (!bytes) {
        throw std::runtime_error("libplist could not write the archive");
    }
    std::string out(bytes, length);
    plist_to_bin_free(bytes);
    return out;
}

} // namespace vestrino
