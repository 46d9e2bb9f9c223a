#include "BenchStandin.h"

#include "net/HttpClient.h"
#include "service/Constants.h"

#include <filesystem>

namespace vestrino::bench {

std::unique_ptr<lumacard::StandinServer> startStandin(lumacard::DemoData data, std::string& error) {
    lumacard::StandinServer::Options options;
    options.tlsDir = std::filesystem::temp_directory_path() / "vestrino-bench-tls";
    options.data = std::move(data);
    auto server = std::make_unique<lumacard::StandinServer>(std::move(options));
    if (!server->start(error)) {
        return nullptr;
    }
    setServiceHost(server->hostAndPort());
    HttpClient::shared().setCaFile(server->caFile().string());
    return server;
}

std::unique_ptr<lumacard::StandinServer>
startDemoStandin(const std::function<void(lumacard::DemoData&)>& extend, std::string& error) {
    auto data = lumacard::DemoData::load(
        std::filesystem::path(VESTRINO_SOURCE_DIR) / "standin/data/demo.json", error);
    if (!data) {
        return nullptr;
    }
    extend(*data);
    return startStandin(std::move(*data), error);
}

} // namespace vestrino::bench
