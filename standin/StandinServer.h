#pragma once

#include "DemoData.h"
#include "SessionStore.h"
#include "StandinKnobs.h"

#include <filesystem>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class SSLServer;
struct Request;
struct Response;
} // namespace httplib

namespace lumacard {

// A stand-in for the card issuer's HTTPS service on this machine: the probe and the eight
// operations with their bodies, code words and replies, cookie sessions, demo data, and knobs
// for tests. Runs on a thread of its own until stopped.
class StandinServer {
public:
    struct Options {
        std::string host = "127.0.0.1";
        int port = 0; // 0: any free port
        std::filesystem::path tlsDir;
        DemoData data;
    };

    static constexpr const char* kSessionCookie = "LUMASESSIONID";

    explicit StandinServer(Options options);
    ~StandinServer();
    StandinServer(const StandinServer&) = delete;
    StandinServer& operator=(const StandinServer&) = delete;

    // Makes the certificates if needed, listens and serves; false with the reason otherwise.
    bool start(std::string& error);
    void stop();

    int port() const { return port_; }
    std::string hostAndPort() const;
    std::filesystem::path caFile() const { return caFile_; }

    StandinKnobs& knobs() { return knobs_; }
    SessionStore& sessions() { return sessions_; }
    DemoData& data() { return options_.data; }

private:
    using Handler = std::string (StandinServer::*)(const httplib::Request&, httplib::Response&);
    void route(const char* method, const std::string& path, Handler handler);
    std::optional<std::string> sessionUser(const httplib::Request& req) const;

    std::string probe(const httplib::Request&, httplib::Response&);
    std::string login(const httplib::Request&, httplib::Response&);
    std::string logout(const httplib::Request&, httplib::Response&);
    std::string listaCarte(const httplib::Request&, httplib::Response&);
    std::string movimenti(const httplib::Request&, httplib::Response&);
    std::string cartaAnonima(const httplib::Request&, httplib::Response&);
    std::string banner(const httplib::Request&, httplib::Response&);
    std::string trovaAtm(const httplib::Request&, httplib::Response&);

    Options options_;
    std::unique_ptr<httplib::SSLServer> server_;
    std::thread thread_;
    int port_ = -1;
    std::filesystem::path caFile_;
    StandinKnobs knobs_;
    mutable SessionStore sessions_;
};

} // namespace lumacard
