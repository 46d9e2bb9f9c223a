#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vestrino {

struct Notification {
    std::string name;
    std::shared_ptr<void> object;
};

// Named notifications with an object, delivered on the main run loop's thread: a post from
// the main thread is delivered at once, a post from any other thread is queued to it.
class NotificationCenter {
    struct State;

public:
    using Handler = std::function<void(const Notification&)>;

    // Keeps an observer registered while it lives. It may outlive the center (an object still
    // held when the program's statics go): then it has nothing left to remove.
    class Observation {
    public:
        Observation() = default;
        Observation(std::weak_ptr<State> state, std::size_t id)
            : state_(std::move(state)), id_(id) {}
        Observation(Observation&& o) noexcept { *this = std::move(o); }
        Observation& operator=(Observation&& o) noexcept;
        Observation(const Observation&) = delete;
        Observation& operator=(const Observation&) = delete;
        ~Observation() { reset(); }
        void reset();

    private:
        std::weak_ptr<State> state_;
        std::size_t id_ = 0;
    };

    static NotificationCenter& defaultCenter();

    [[nodiscard]] Observation addObserver(std::string name, Handler handler);
    void postNotification(std::string name, std::shared_ptr<void> object = nullptr);

private:
    void deliver(const Notification& n);

    struct Entry {
        std::size_t id;
        std::string name;
        std::shared_ptr<Handler> handler;
    };
    struct State {
        std::mutex mutex;
        std::vector<Entry> entries;
        std::size_t nextId = 1;
        bool has(std::size_t id);
        void remove(std::size_t id);
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

} // namespace vestrino
