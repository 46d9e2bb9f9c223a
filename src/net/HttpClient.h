#pragma once

#include "net/CookieJar.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vestrino {

struct HttpRequest {
    enum class Method { Get, Post };
    Method method = Method::Post;
    std::string url;
    std::vector<std::string> headers; // "Name: value"
    std::string body;
    double timeoutSeconds = 10.0;
};

struct HttpResponse {
    long status = 0;
    std::string body;
};

// HTTPS requests over libcurl: synchronous, one call per request, safe from any thread.
// Connections and TLS sessions are reused through a small pool of easy handles (a handle serves
// one thread at a time); the process's cookies live in one jar. Only https is spoken, the peer
// and host are verified, replies larger than the cap are refused.
class HttpClient {
public:
    static constexpr std::size_t kDefaultMaxReplyBytes = 16 * 1024 * 1024;

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // The process's client.
    static HttpClient& shared();

    // The reply, or nothing when there was none: connection or TLS failure, time limit, a reply
    // over the cap, the work it runs for cancelled (CancelToken). Any HTTP status is a reply.
    std::optional<HttpResponse> perform(const HttpRequest& request);

    // The request's time limit as libcurl takes it, in milliseconds: at least 1 (libcurl reads
    // 0 as no limit at all) and at most kLongestMilliseconds; NaN gives the default 10 s.
    static long timeoutMilliseconds(double seconds);
    static constexpr long kLongestMilliseconds = 3600L * 1000;

    // A CA file to trust instead of the system's certificates (nothing: the system's).
    void setCaFile(std::optional<std::string> path);
    void setMaxReplyBytes(std::size_t bytes);
    CookieJar& cookies() { return cookies_; }
    // Closes the pooled connections (and with them the TLS sessions).
    void closeConnections();

private:
    struct Handle;
    std::unique_ptr<Handle> acquire();
    void release(std::unique_ptr<Handle> handle);
    // Puts the jar's cookies into the handle for one request; returns what it put.
    std::vector<std::string> lendCookies(Handle& handle);

    std::mutex mutex_;
    std::vector<std::unique_ptr<Handle>> idle_;
    std::optional<std::string> caFile_;
    std::size_t maxReplyBytes_ = kDefaultMaxReplyBytes;
    CookieJar cookies_;
};

} // namespace vestrino
