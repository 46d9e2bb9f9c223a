#pragma once

#include <cstddef>
#include <functional>

namespace vestrino {

// A background task: a new detached thread that runs one piece of work (a blocking service
// call) and hands its result to the main queue. The count of tasks still running lets a
// headless script wait until the application is idle.
class BackgroundTask {
public:
    static void detach(std::function<void()> work);
    static std::size_t running();
};

} // namespace vestrino
