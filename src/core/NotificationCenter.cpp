#include "core/NotificationCenter.h"

#include "core/RunLoop.h"

#include <utility>

namespace vestrino {

NotificationCenter::Observation&
NotificationCenter::Observation::operator=(Observation&& o) noexcept {
    if (this != &o) {
        reset();
        center_ = std::exchange(o.center_, nullptr);
        id_ = std::exchange(o.id_, 0);
    }
    return *this;
}

void NotificationCenter::Observation::reset() {
    if (center_) {
        center_->remove(id_);
        center_ = nullptr;
    }
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::Observation NotificationCenter::addObserver(std::string name, Handler handler) {
    std::lock_guard lock(mutex_);
    const std::size_t id = nextId_++;
    entries_.push_back({id, std::move(name), std::make_shared<Handler>(std::move(handler))});
    return Observation(this, id);
}

void NotificationCenter::remove(std::size_t id) {
    std::lock_guard lock(mutex_);
    std::erase_if(entries_, [id](const Entry& e) { return e.id == id; });
}

void NotificationCenter::postNotification(std::string name, std::shared_ptr<void> object) {
    Notification n{std::move(name), std::move(object)};
    RunLoop& loop = RunLoop::main();
    if (loop.isCurrentThread()) {
        deliver(n);
    } else {
        loop.post([this, n] { deliver(n); });
    }
}

void NotificationCenter::deliver(const Notification& n) {
    // Handlers may add or remove observers: call them from a copy, outside the lock.
    std::vector<std::shared_ptr<Handler>> handlers;
    {
        std::lock_guard lock(mutex_);
        for (const auto& e : entries_) {
            if (e.name == n.name) {
                handlers.push_back(e.handler);
            }
        }
    }
    for (const auto& h : handlers) {
        (*h)(n);
    }
}

} // namespace vestrino
