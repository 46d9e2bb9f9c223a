#pragma once

#include <atomic>
#include <memory>

namespace vestrino {

// A flag that one thread raises to ask the work of another to stop: a person leaving a wait,
// the program quitting. Copies share the flag. The work that runs for a token says so with a
// CancelScope on its own thread; what blocks below it (a transfer) asks currentCancelled() and
// gives up when it is raised. Raising it never waits for the work.
class CancelToken {
public:
    CancelToken() : raised_(std::make_shared<std::atomic<bool>>(false)) {}

    void cancel() const { raised_->store(true); }
    bool cancelled() const { return raised_->load() || quitting(); }
    bool operator==(const CancelToken& other) const { return raised_ == other.raised_; }

    // True when the work running on this thread has been asked to stop: its token is raised,
    // or the program is quitting.
    static bool currentCancelled();
    // Every transfer of the process stops: the program is ending.
    static void quit();
    static bool quitting();

private:
    friend class CancelScope;
    std::shared_ptr<std::atomic<bool>> raised_;
};

// While it lives, the calling thread works for `token`.
class CancelScope {
public:
    explicit CancelScope(const CancelToken& token);
    ~CancelScope();
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    const CancelToken* previous_;
};

} // namespace vestrino
