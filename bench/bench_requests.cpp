// 200 sequential card-list requests against the stand-in over TLS on 127.0.0.1, from one thread
// and from a new thread each time, against 200 requests on one bare libcurl handle that reuses
// its connection (the floor). Counts the connections the stand-in saw.
#include "BenchStandin.h"
#include "app/application/VestrinoAppDelegate.h"
#include "core/BackgroundTask.h"
#include "net/HttpClient.h"
#include "net/Reachability.h"
#include "service/Constants.h"
#include "service/RemoteServiceUtil.h"

#include <chrono>
#include <cstdio>
#include <curl/curl.h>
#include <filesystem>
#include <future>
#include <thread>

using namespace vestrino;

namespace {

constexpr int kCalls = 200;

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

size_t discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

int listaCarte() {
    ListaCarte carte;
    std::optional<std::string> messaggio;
    return RemoteServiceUtil::listaCarte(carte, messaggio);
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path source = argc > 1 ? argv[1] : VESTRINO_SOURCE_DIR;
    std::string error;
    auto data = lumacard::DemoData::load(source / "standin/data/demo.json", error);
    if (!data) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const auto standin = bench::startStandin(std::move(*data), error);
    if (!standin) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    lumacard::StandinServer& server = *standin;
    auto delegate = VestrinoAppDelegate::install();
    delegate->setHostReach(Reachability::reachabilityForInternetConnection());
    std::optional<std::string> messaggio;
    if (RemoteServiceUtil::login("mario.rossi", "lumacard1", messaggio) != SUCCESS) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }

    // The floor: one bare handle, the same request, its connection reused.
    const std::string url = URL_LISTACARTE();
    const std::string body = "formato=XML&agent=iPhone";
    const auto cookies = HttpClient::shared().cookies().snapshot();
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CAINFO, server.caFile().c_str());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    for (const auto& line : cookies) {
        curl_easy_setopt(curl, CURLOPT_COOKIELIST, line.c_str());
    }
    curl_easy_perform(curl); // connect once before timing, as the client has after login
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        curl_easy_perform(curl);
    }
    const double floor = seconds(std::chrono::steady_clock::now() - start);
    // The same bare handle driven from a new thread each time: what libcurl and OpenSSL cost a
    // thread by themselves.
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        std::thread([&] { curl_easy_perform(curl); }).join();
    }
    const double floorThreads = seconds(std::chrono::steady_clock::now() - start);
    curl_easy_cleanup(curl);

    server.knobs().clearCounts();
    // The HTTP client alone: the same request without the check and the parse.
    HttpRequest request;
    request.url = url;
    request.body = body;
    request.headers = {"Content-Type: application/x-www-form-urlencoded",
                       "Content-Length: " + std::to_string(body.size())};
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        HttpClient::shared().perform(request);
    }
    const double clientOnly = seconds(std::chrono::steady_clock::now() - start);

    start = std::chrono::steady_clock::now();
    int failures = 0;
    for (int i = 0; i < kCalls; ++i) {
        failures += listaCarte() != SUCCESS;
    }
    const double oneThread = seconds(std::chrono::steady_clock::now() - start);

    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        std::thread([&] { failures += listaCarte() != SUCCESS; }).join();
    }
    const double changingThreads = seconds(std::chrono::steady_clock::now() - start);
    // As the application calls: a background task each time.
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        std::promise<int> done;
        BackgroundTask::detach([&] { done.set_value(listaCarte()); });
        failures += done.get_future().get() != SUCCESS;
    }
    const double tasks = seconds(std::chrono::steady_clock::now() - start);
    const std::size_t connections = server.knobs().connectionCount();
    // Where a new thread's cost goes: the HTTP client alone from a new thread each time.
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        std::thread([&] { failures += !HttpClient::shared().perform(request); }).join();
    }
    const double clientThreads = seconds(std::chrono::steady_clock::now() - start);

    // What starting and joining a thread costs by itself, for the line above.
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCalls; ++i) {
        std::thread([] {}).join();
    }
    const double threadsAlone = seconds(std::chrono::steady_clock::now() - start);

    std::printf("%d calls of listaCarte against the stand-in (TLS, 127.0.0.1)\n", kCalls);
    std::printf("bare libcurl handle (floor): %7.1f ms  (%.2f ms a request)\n", floor * 1e3,
                floor * 1e3 / kCalls);
    std::printf("bare handle, a new thread each: %7.1f ms = %.2f x the floor\n", floorThreads * 1e3,
                floorThreads / floor);
    std::printf("HttpClient::perform alone:   %7.1f ms  = %.2f x the floor\n", clientOnly * 1e3,
                clientOnly / floor);
    std::printf("one thread:                  %7.1f ms  = %.2f x the floor (goal <= 1.3)\n",
                oneThread * 1e3, oneThread / floor);
    std::printf("a new thread each call:      %7.1f ms  = %.2f x the floor (goal <= 1.3)\n",
                changingThreads * 1e3, changingThreads / floor);
    std::printf("  of which starting %d threads: %.1f ms\n", kCalls, threadsAlone * 1e3);
    std::printf("a background task each call: %7.1f ms  = %.2f x the floor (goal <= 1.2)\n",
                tasks * 1e3, tasks / floor);
    std::printf("HttpClient::perform alone, a new thread each: %7.1f ms = %.2f x the floor\n",
                clientThreads * 1e3, clientThreads / floor);
    std::printf("connections (TLS handshakes) the stand-in saw for the %d calls: %zu (goal 1)\n",
                3 * kCalls, connections);
    std::printf("failed calls: %d\n", failures);
    // The stand-in waits for idle connections to time out (30 s) before it stops: close ours.
    HttpClient::shared().closeConnections();
    server.stop();
    return failures == 0 ? 0 : 1;
}
