#pragma once

#include <chrono>
#include <cstddef>
#include <optional>

namespace vestrino {

// Lets a program that is quitting finish the file writes in progress and start no new one:
// every write of a file holds a pass for its duration; at quit the gate closes (a write that
// asks afterwards is refused and leaves the old file as it was) and the program waits for the
// passes out. Without it a program that ends while a worker still saves would leave that
// worker's temporary file behind, half written.
class WriteGate {
public:
    class Pass {
    public:
        Pass(Pass&& other) noexcept : held_(other.held_) { other.held_ = false; }
        Pass& operator=(Pass&&) = delete;
        Pass(const Pass&) = delete;
        ~Pass();

    private:
        friend class WriteGate;
        Pass() = default;
        bool held_ = true;
    };

    // A pass for one write, or nothing once the gate has closed.
    static std::optional<Pass> enter();
    // Closes the gate and waits at most `limit` for the writes in progress; true when none is
    // left.
    static bool closeAndDrain(std::chrono::milliseconds limit);
    static bool closed();
    static std::size_t inProgress();
    // Opens the gate again (tests, which close it more than once in one process).
    static void reopen();
};

} // namespace vestrino
