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
public:
    using Handler = std::function<void(const Notification&)>;

    // Keeps an observer registered while it lives.
    class Observation {
    public:
        Observation() = default;
        Observation(NotificationCenter* center, std::size_t id) : center_(center), id_(id) {}
        Observation(Observation&& o) noexcept { *this = std::move(o); }
        Observation& operator=(Observation&& o) noexcept;
        Observation(const Observation&) = delete;
        Observation& operator=(const Observation&) = delete;
        ~Observation() { reset(); }
        void reset();

    private:
        NotificationCenter* center_ = nullptr;
        std::size_t id_ = 0;
    };

    static NotificationCenter& defaultCenter();

    [[nodiscard]] Observation addObserver(std::string name, Handler handler);
    void postNotification(std::string name, std::shared_ptr<void> object = nullptr);

private:
    void deliver(const Notification& n);
    void remove(std::size_t id);

    struct Entry {
        std::size_t id;
        std::string name;
        std::shared_ptr<Handler> handler;
    };
    std::mutex mutex_;
    std::vector<Entry> entries_;
    std::size_t nextId_ = 1;
};

} // namespace vestrino
