#include "core/Log.h"

#include <cstdio>
#include <mutex>
#include <utility>

namespace vestrino {

namespace {
std::mutex& logMutex() {
    static std::mutex m;
    return m;
}
Log::Sink& currentSink() {
    static Log::Sink sink;
    return sink;
}
} // namespace

void Log::write(std::string_view line) {
    std::lock_guard lock(logMutex());
    if (currentSink()) {
        currentSink()(line);
        return;
    }
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
}

Log::Sink Log::setSink(Sink sink) {
    std::lock_guard lock(logMutex());
    return std::exchange(currentSink(), std::move(sink));
}

} // namespace vestrino
