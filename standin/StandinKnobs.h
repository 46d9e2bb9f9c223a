#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace lumacard {

// How tests make the stand-in misbehave on one path, and what it saw.
struct Fault {
    std::chrono::milliseconds delay{0};      // wait before answering
    std::optional<int> status{};             // HTTP status instead of 200
    std::optional<std::string> body{};       // this body instead of the real reply
    std::optional<std::size_t> truncateAt{}; // send only this many bytes of the reply
    std::optional<std::size_t> replySize{};  // a reply of this many bytes
    bool closeConnection = false;            // drop the connection without a whole reply
    // With truncateAt: the headers promise the whole reply and the connection ends after the
    // first truncateAt bytes (without it the reply is whole, only shorter).
    bool cutConnection = false;
};

struct SeenRequest {
    std::string method;
    std::string body;
    std::multimap<std::string, std::string> headers;
};

class StandinKnobs {
public:
    void setFault(const std::string& path, Fault fault);
    // The path's fault, else the one set for "*" (every path).
    std::optional<Fault> fault(const std::string& path) const;
    void clearFaults();

    // Every request is counted; the last kKeptRequests of each path are kept whole, so that a
    // stand-in left running for days does not grow with every request.
    static constexpr std::size_t kKeptRequests = 32;
    void record(const std::string& path, SeenRequest request, const std::string& remote);
    std::size_t requestCount(const std::string& path) const;
    std::optional<SeenRequest> lastRequest(const std::string& path) const;
    std::vector<std::string> bodiesSeen(const std::string& path) const;
    // Distinct client connections seen (address and port).
    std::size_t connectionCount() const;
    void clearCounts();

    // Waits for the fault's delay, cut short when the server stops or the faults are cleared.
    void sleepFor(std::chrono::milliseconds delay);
    void wakeSleepers();

private:
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::uint64_t faultsCleared_ = 0; // counts the clearFaults, which end every delay

    std::map<std::string, Fault> faults_;
    struct Seen {
        std::size_t count = 0;
        std::deque<SeenRequest> last;
    };
    std::map<std::string, Seen> seen_;
    std::set<std::string> connections_;
};

} // namespace lumacard
