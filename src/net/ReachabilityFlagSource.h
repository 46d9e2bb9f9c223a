#pragma once

#include "net/NetworkSnapshot.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace vestrino {

// Where reachability flags come from: the kernel's tables in the application, a fixed value in
// tests and with the --reachability option. Listeners are told, on the source's own thread,
// that the network may have changed.
class ReachabilityFlagSource {
public:
    virtual ~ReachabilityFlagSource() = default;

    // The flags of the target now, or nothing when they cannot be read.
    virtual std::optional<std::uint32_t> flags(const ReachabilityTarget& target) = 0;

    using Listener = std::function<void()>;
    std::size_t addListener(Listener listener);
    void removeListener(std::size_t id);

    // The process's source: the kernel's tables unless replaced.
    static std::shared_ptr<ReachabilityFlagSource> system();
    static void setSystem(std::shared_ptr<ReachabilityFlagSource> source);

protected:
    void notifyListeners();

private:
    std::mutex listenersMutex_;
    std::map<std::size_t, std::shared_ptr<Listener>> listeners_;
    std::size_t nextId_ = 1;
};

// Flags set by hand, the same for every target; nothing when unset.
class FixedFlagSource : public ReachabilityFlagSource {
public:
    explicit FixedFlagSource(std::optional<std::uint32_t> flags) : flags_(flags) {}
    std::optional<std::uint32_t> flags(const ReachabilityTarget& target) override;
    // Changes the flags and tells the listeners.
    void set(std::optional<std::uint32_t> flags);

private:
    std::mutex mutex_;
    std::optional<std::uint32_t> flags_;
};

} // namespace vestrino
