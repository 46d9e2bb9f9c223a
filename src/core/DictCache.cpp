#include "core/DictCache.h"

namespace vestrino {

void DictCache::setObject(const std::string& key, std::any value) {
    std::lock_guard lock(mutex_);
    entries_[key] = std::move(value);
}

void DictCache::removeAllObjects() {
    Entries dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(entries_);
}

std::size_t DictCache::count() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

bool DictCache::contains(const std::string& key) const {
    std::lock_guard lock(mutex_);
    return entries_.count(key) > 0;
}

} // namespace vestrino
