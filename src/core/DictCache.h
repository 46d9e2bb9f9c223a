#pragma once

#include <any>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace vestrino {

// The per-session cache: one dictionary with string keys, used from the main thread and from
// background workers. One lock guards every access, including work on the values it holds
// (with()). Emptying it keeps the object.
class DictCache {
public:
    using Entries = std::map<std::string, std::any>;

    template <typename T> std::optional<T> objectForKey(const std::string& key) const {
        std::lock_guard lock(mutex_);
        const auto it = entries_.find(key);
        if (it == entries_.end()) {
            return std::nullopt;
        }
        if (const T* value = std::any_cast<T>(&it->second)) {
            return *value;
        }
        return std::nullopt;
    }
    void setObject(const std::string& key, std::any value);
    void removeAllObjects();
    std::size_t count() const;
    bool contains(const std::string& key) const;

    // Runs `work` on the entries under the lock: reads and changes of the held lists that
    // must not meet another thread's.
    template <typename F> auto with(F&& work) {
        std::lock_guard lock(mutex_);
        return work(entries_);
    }

private:
    mutable std::mutex mutex_;
    Entries entries_;
};

} // namespace vestrino
