#include "core/Log.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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
std::atomic<bool>& debugOn() {
    static std::atomic<bool> on = [] {
        const char* v = std::getenv("VESTRINO_DEBUG");
        return v && *v && std::strcmp(v, "0") != 0;
    }();
    return on;
}
} // namespace

void Log::debug(std::string_view line) {
    {
        std::lock_guard lock(logMutex());
        if (currentSink()) {
            currentSink()(line);
            return;
        }
    }
    if (debugOn()) {
        write(line);
    }
}

void Log::setDebug(bool on) {
    debugOn() = on;
}

bool Log::debugging() {
    return debugOn();
}

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
