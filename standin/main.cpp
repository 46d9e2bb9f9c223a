// lumacard-standin: the card issuer's service, on this machine, for the application and its
// tests.
#include "DemoData.h"
#include "FaultRule.h"
#include "StandinServer.h"

#include "core/BuildVersion.h"
#include "core/ResourceLocator.h"

#include <CLI/CLI.hpp>
#include <csignal>
#include <iostream>
#include <semaphore>

namespace {
std::binary_semaphore quit{0};
void onSignal(int) {
    quit.release();
}
} // namespace

int main(int argc, char** argv) {
    CLI::App app{"lumacard-standin: a stand-in for the Lumacard service over HTTPS"};
    std::string listen = "127.0.0.1:0";
    app.set_version_flag("--version", vestrino::versionLine("lumacard-standin"));
    std::string dataFile;
    std::string tlsDir;
    int idleSeconds = 600;
    app.add_option("--listen", listen, "HOST:PORT to listen on (port 0: any free port)");
    app.add_option("--data", dataFile,
                   "The demo data (JSON); by default the demo.json installed with the program");
    app.add_option("--tls-dir", tlsDir, "Folder of the test CA and server certificate")->required();
    app.add_option("--session-idle", idleSeconds, "Seconds after which an unused session ends");
    std::vector<std::string> faultSpecs;
    app.add_option("--fault", faultSpecs,
                   "Misbehave on a path, to try the application on a bad link (repeatable):\n"
                   "PATH:SETTING[,SETTING...] where PATH is login, logout, lista_carte,\n"
                   "movimenti, carta_anonima, banner, trova_atm_lumaspot, sonda, a whole path\n"
                   "(/LumaCard/login.do) or * for all of them, and SETTING is one of\n"
                   "delay=MS (answer after MS ms), hang (never answer), status=N (HTTP\n"
                   "status N), cut=N (send N bytes of the reply, then end the connection),\n"
                   "close (drop the connection before the body).\n"
                   "Example: --fault banner:delay=4000 --fault movimenti:cut=200")
        ->take_all();
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 2;
    }
    const auto colon = listen.rfind(':');
    if (colon == std::string::npos) {
        std::cerr << "lumacard-standin: --listen wants HOST:PORT, not \"" << listen << "\"\n";
        return 2;
    }
    std::string error;
    if (dataFile.empty()) {
        // Beside the installed program, or in the source tree of a build.
        const auto folder = vestrino::ResourceLocator::locate(
            {"VESTRINO_STANDIN_DATA", "standin", "standin/data"}, error);
        if (!folder) {
            std::cerr << "lumacard-standin: cannot find the demo data: " << error << "\n";
            return 1;
        }
        dataFile = (*folder / "demo.json").string();
    }
    auto data = lumacard::DemoData::load(dataFile, error);
    if (!data) {
        std::cerr << "lumacard-standin: " << error << "\n";
        return 1;
    }
    lumacard::StandinServer::Options options;
    options.host = listen.substr(0, colon);
    options.port = std::stoi(listen.substr(colon + 1));
    options.tlsDir = tlsDir;
    options.data = std::move(*data);
    lumacard::StandinServer server(std::move(options));
    for (const auto& text : faultSpecs) {
        const auto rule = lumacard::FaultRule::parse(text, error);
        if (!rule) {
            std::cerr << "lumacard-standin: --fault: " << error << "\n";
            return 2;
        }
        server.knobs().setFault(rule->path, rule->fault);
    }
    server.sessions().setIdleLimit(std::chrono::seconds(idleSeconds));
    if (!server.start(error)) {
        std::cerr << "lumacard-standin: " << error << "\n";
        return 1;
    }
    std::cout << "listening on https://" << server.hostAndPort() << "\n"
              << "ca file: " << server.caFile().string() << std::endl;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    quit.acquire();
    server.stop();
    return 0;
}
