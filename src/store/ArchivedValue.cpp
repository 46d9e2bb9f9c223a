#include "store/ArchivedValue.h"

namespace vestrino {

ArchivedRef ArchivedObject::valueForKey(const std::string& key) const {
    const auto it = values.find(key);
    if (it == values.end() || !it->second || it->second->isNil()) {
        return nullptr;
    }
    return it->second;
}

std::optional<std::string> ArchivedValue::asString() const {
    if (const auto* s = std::get_if<std::string>(&value)) {
        return *s;
    }
    if (const auto* o = std::get_if<ArchivedObject>(&value)) {
        if (o->className == "NSString" || o->className == "NSMutableString") {
            if (const auto inner = o->valueForKey("NS.string")) {
                if (const auto* s = std::get_if<std::string>(&inner->value)) {
                    return *s;
                }
            }
        }
    }
    return std::nullopt;
}

std::optional<bool> ArchivedValue::asBool() const {
    if (const auto* b = std::get_if<bool>(&value)) {
        return *b;
    }
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        if (*i == 0 || *i == 1) {
            return *i == 1;
        }
    }
    return std::nullopt;
}

const ArchivedValue::List* ArchivedValue::asArray() const {
    const auto* o = std::get_if<ArchivedObject>(&value);
    if (!o || (o->className != "NSArray" && o->className != "NSMutableArray")) {
        return nullptr;
    }
    const auto objects = o->valueForKey("NS.objects");
    return objects ? std::get_if<List>(&objects->value) : nullptr;
}

const ArchivedObject* ArchivedValue::asObject() const {
    return std::get_if<ArchivedObject>(&value);
}

} // namespace vestrino
