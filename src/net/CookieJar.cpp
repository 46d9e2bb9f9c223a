#include "net/CookieJar.h"

#include <set>
#include <sstream>

namespace vestrino {

namespace {

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::string f;
    std::istringstream in(line);
    while (std::getline(in, f, '\t')) {
        out.push_back(f);
    }
    return out;
}

// domain, path and name identify a cookie; "#HttpOnly_" is only a mark on the domain.
std::string keyOf(const std::string& line) {
    auto f = fields(line);
    if (f.size() < 6) {
        return line;
    }
    std::string domain = f[0];
    constexpr std::string_view httpOnly = "#HttpOnly_";
    if (domain.rfind(httpOnly, 0) == 0) {
        domain.erase(0, httpOnly.size());
    }
    return domain + '\t' + f[2] + '\t' + f[5];
}

// libcurl hands back a cookie the server expired with the expiry time 1.
bool expired(const std::string& line) {
    const auto f = fields(line);
    return f.size() >= 5 && f[4] == "1";
}

} // namespace

std::vector<std::string> CookieJar::snapshot() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> out;
    out.reserve(cookies_.size());
    for (const auto& [key, line] : cookies_) {
        out.push_back(line);
    }
    return out;
}

void CookieJar::merge(const std::vector<std::string>& sent,
                      const std::vector<std::string>& received) {
    std::map<std::string, std::string> before;
    for (const auto& line : sent) {
        before[keyOf(line)] = line;
    }
    std::set<std::string> seen;
    std::lock_guard lock(mutex_);
    for (const auto& line : received) {
        const std::string key = keyOf(line);
        seen.insert(key);
        if (expired(line)) {
            cookies_.erase(key);
            continue;
        }
        const auto was = before.find(key);
        if (was == before.end() || was->second != line) {
            cookies_[key] = line; // new or changed by this reply
        }
    }
    // A cookie sent with the request that the handle no longer holds was removed by the
    // server; one set meanwhile by another request was not sent and stays.
    for (const auto& [key, line] : before) {
        if (!seen.count(key)) {
            const auto it = cookies_.find(key);
            if (it != cookies_.end() && it->second == line) {
                cookies_.erase(it);
            }
        }
    }
}

void CookieJar::clear() {
    std::lock_guard lock(mutex_);
    cookies_.clear();
}

std::size_t CookieJar::size() const {
    std::lock_guard lock(mutex_);
    return cookies_.size();
}

} // namespace vestrino
