#pragma once

#include <cstddef>
#include <functional>

namespace vestrino {

// A background task: a thread of its own that runs one piece of work (a blocking service call)
// and hands its result to the main queue. Tasks run side by side, never one after another; the
// thread may be one that ran an earlier task and waits for more (a few seconds), which saves
// the cost of a new thread. The count of tasks still running lets a headless script wait until
// the application is idle.
class BackgroundTask {
public:
    static void detach(std::function<void()> work);
    static std::size_t running();
};

} // namespace vestrino
