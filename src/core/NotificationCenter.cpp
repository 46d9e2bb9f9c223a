#include "core/NotificationCenter.h"

#include "core/RunLoop.h"

#include <algorithm>
#include <utility>

namespace vestrino {

NotificationCenter::Observation&
NotificationCenter::Observation::operator=(Observation&& o) noexcept {
    if (this != &o) {
        reset();
        state_ = std::exchange(o.state_, {});
        id_ = std::exchange(o.id_, 0);
    }
    return *this;
}

void NotificationCenter::Observation::reset() {
    if (auto state = state_.lock()) {
        state->remove(id_);
    }
    state_.reset();
}

bool NotificationCenter::State::has(std::size_t id) {
    std::lock_guard lock(mutex);
    return std::any_of(entries.begin(), entries.end(), [id](const Entry& e) { return e.id == id; });
}

void NotificationCenter::State::remove(std::size_t id) {
    std::lock_guard lock(mutex);
    std::erase_if(entries, [id](const Entry& e) { return e.id == id; });
}

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::Observation NotificationCenter::addObserver(std::string name, Handler handler) {
    std::lock_guard lock(state_->mutex);
    const std::size_t id = state_->nextId++;
    state_->entries.push_back({id, std::move(name), std::make_shared<Handler>(std::move(handler))});
    return Observation(state_, id);
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
    // Handlers may add or remove observers: call them from a copy, outside the lock. One whose
    // observer went while an earlier handler ran (a screen closed by it) is not called: its
    // object may be gone.
    std::vector<std::pair<std::size_t, std::shared_ptr<Handler>>> handlers;
    {
        std::lock_guard lock(state_->mutex);
        for (const auto& e : state_->entries) {
            if (e.name == n.name) {
                handlers.emplace_back(e.id, e.handler);
            }
        }
    }
    for (const auto& [id, h] : handlers) {
        if (state_->has(id)) {
            (*h)(n);
        }
    }
}

} // namespace vestrino
