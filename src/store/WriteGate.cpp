#include "store/WriteGate.h"

#include <condition_variable>
#include <mutex>

namespace vestrino {

namespace {

struct GateState {
    std::mutex mutex;
    std::condition_variable drained;
    std::size_t writes = 0;
    bool closed = false;
};

GateState& state() {
    static GateState s;
    return s;
}

} // namespace

WriteGate::Pass::~Pass() {
    if (!held_) {
        return;
    }
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (--s.writes == 0) {
        s.drained.notify_all();
    }
}

std::optional<WriteGate::Pass> WriteGate::enter() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    if (s.closed) {
        return std::nullopt;
    }
    ++s.writes;
    return Pass();
}

bool WriteGate::closeAndDrain(std::chrono::milliseconds limit) {
    auto& s = state();
    std::unique_lock lock(s.mutex);
    s.closed = true;
    return s.drained.wait_for(lock, limit, [&s] { return s.writes == 0; });
}

bool WriteGate::closed() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.closed;
}

std::size_t WriteGate::inProgress() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    return s.writes;
}

void WriteGate::reopen() {
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.closed = false;
}

} // namespace vestrino
