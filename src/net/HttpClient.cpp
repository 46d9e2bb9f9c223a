#include "net/HttpClient.h"

#include "core/CancelToken.h"

#include <cmath>
#include <curl/curl.h>
#include <mutex>

namespace vestrino {

namespace {

constexpr std::size_t kIdleHandles = 4;

void globalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct SlistDeleter {
    void operator()(curl_slist* l) const { curl_slist_free_all(l); }
};
using Slist = std::unique_ptr<curl_slist, SlistDeleter>;

void append(Slist& list, const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (!grown) {
        throw std::bad_alloc();
    }
    list.release();
    list.reset(grown);
}

struct Receiver {
    std::string body;
    std::size_t cap;
    bool overflow = false;
};

size_t receive(char* data, size_t size, size_t count, void* user) {
    auto* r = static_cast<Receiver*>(user);
    const size_t n = size * count;
    if (r->body.size() + n > r->cap) {
        r->overflow = true;
        return CURL_WRITEFUNC_ERROR;
    }
    r->body.append(data, n);
    return n;
}

// Asked by libcurl during the transfer (several times a second while data flows, about once a
// second while it waits for a connection or a reply): a non-zero answer aborts the transfer.
// The thread is the one that called perform, so the work it runs for says whether to stop.
int stillWanted(void*, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return CancelToken::currentCancelled() ? 1 : 0;
}

} // namespace

struct HttpClient::Handle {
    Handle() : curl(curl_easy_init()) {
        if (!curl) {
            throw std::bad_alloc();
        }
    }
    ~Handle() { curl_easy_cleanup(curl); }
    // The cookie engine is switched on once: the engine and its cookies survive a reset, and
    // every CURLOPT_COOKIEFILE adds to a list that a reset does not free.
    bool cookieEngine = false;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    CURL* curl;
};

HttpClient::HttpClient() {
    globalInit();
}

HttpClient::~HttpClient() = default;

HttpClient& HttpClient::shared() {
    static HttpClient client;
    return client;
}

void HttpClient::setCaFile(std::optional<std::string> path) {
    std::lock_guard lock(mutex_);
    caFile_ = std::move(path);
}

void HttpClient::setMaxReplyBytes(std::size_t bytes) {
    std::lock_guard lock(mutex_);
    maxReplyBytes_ = bytes;
}

void HttpClient::closeConnections() {
    std::vector<std::unique_ptr<Handle>> dropped;
    std::lock_guard lock(mutex_);
    dropped.swap(idle_);
}

std::unique_ptr<HttpClient::Handle> HttpClient::acquire() {
    {
        std::lock_guard lock(mutex_);
        if (!idle_.empty()) {
            auto h = std::move(idle_.back());
            idle_.pop_back();
            return h;
        }
    }
    return std::make_unique<Handle>();
}

void HttpClient::release(std::unique_ptr<Handle> handle) {
    std::lock_guard lock(mutex_);
    if (idle_.size() < kIdleHandles) {
        idle_.push_back(std::move(handle));
    }
}

long HttpClient::timeoutMilliseconds(double seconds) {
    if (std::isnan(seconds)) {
        seconds = HttpRequest{}.timeoutSeconds;
    }
    // Compared as doubles before the conversion, which would overflow for huge values.
    const double ms = std::round(seconds * 1000.0);
    if (ms < 1) {
        return 1;
    }
    if (ms > static_cast<double>(kLongestMilliseconds)) {
        return kLongestMilliseconds;
    }
    return static_cast<long>(ms);
}

namespace {

// Where the request goes and how: HTTPS only, the peer and its name checked, the time limit,
// the reply into the receiver, and the progress callback that lets a cancelled worker leave.
void setTransfer(CURL* curl, const HttpRequest& request, const std::optional<std::string>& caFile,
                 Receiver& receiver) {
    curl_easy_setopt(curl, CURLOPT_URL, request.url.c_str());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    if (caFile) {
        curl_easy_setopt(curl, CURLOPT_CAINFO, caFile->c_str());
        curl_easy_setopt(curl, CURLOPT_CAPATH, nullptr);
    }
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS,
                     HttpClient::timeoutMilliseconds(request.timeoutSeconds));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Vestrino/0.1");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, receive);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &receiver);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, stillWanted);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
}

// The method, the headers (kept in `headers`, which must outlive the transfer) and the body.
void setMessage(CURL* curl, const HttpRequest& request, Slist& headers) {
    append(headers, "Expect:");
    for (const auto& h : request.headers) {
        append(headers, h);
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
    if (request.method == HttpRequest::Method::Post) {
        curl_easy_setopt(curl, CURLOPT_POST, 1L);
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
    } else {
        curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    }
}

// The cookies the handle holds after a transfer, in libcurl's Netscape lines.
std::vector<std::string> cookiesOf(CURL* curl) {
    std::vector<std::string> received;
    curl_slist* list = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_COOKIELIST, &list) == CURLE_OK) {
        Slist owned(list);
        for (auto* l = list; l; l = l->next) {
            received.emplace_back(l->data);
        }
    }
    return received;
}

} // namespace

std::vector<std::string> HttpClient::lendCookies(Handle& handle) {
    CURL* curl = handle.curl;
    if (!handle.cookieEngine) {
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
        handle.cookieEngine = true;
    }
    curl_easy_setopt(curl, CURLOPT_COOKIELIST, "ALL");
    auto sent = cookies_.snapshot();
    for (const auto& line : sent) {
        curl_easy_setopt(curl, CURLOPT_COOKIELIST, line.c_str());
    }
    return sent;
}

std::optional<HttpResponse> HttpClient::perform(const HttpRequest& request) {
    if (CancelToken::currentCancelled()) {
        return std::nullopt; // the work was left before this request went out
    }
    std::optional<std::string> caFile;
    std::size_t cap = 0;
    {
        std::lock_guard lock(mutex_);
        caFile = caFile_;
        cap = maxReplyBytes_;
    }
    auto handle = acquire();
    CURL* curl = handle->curl;
    // A reset keeps the handle's live connections and TLS session cache: that is the reuse.
    curl_easy_reset(curl);
    Receiver receiver{{}, cap};
    setTransfer(curl, request, caFile, receiver);
    Slist headers;
    setMessage(curl, request, headers);
    // The jar's cookies go into the handle for this request, and what the server changed
    // comes back after it.
    const auto sent = lendCookies(*handle);
    const CURLcode rc = curl_easy_perform(curl);
    cookies_.merge(sent, cookiesOf(curl));

    std::optional<HttpResponse> response;
    if (rc == CURLE_OK && !receiver.overflow) {
        HttpResponse r;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &r.status);
        r.body = std::move(receiver.body);
        response = std::move(r);
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
    if (rc == CURLE_OK) {
        release(std::move(handle));
    }
    // A handle whose transfer failed is dropped with its connection.
    return response;
}

} // namespace vestrino
