#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace vestrino {

// The process's one cookie store, shared by every request on every thread. Cookies are kept in
// libcurl's Netscape line form; each request takes a snapshot and hands back what the server
// changed, so concurrent requests do not undo each other.
class CookieJar {
public:
    std::vector<std::string> snapshot() const;
    // `sent` is the snapshot given to the request, `received` the handle's cookies after it.
    void merge(const std::vector<std::string>& sent, const std::vector<std::string>& received);
    void clear();
    std::size_t size() const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, std::string> cookies_; // key: domain, path and name
};

} // namespace vestrino
