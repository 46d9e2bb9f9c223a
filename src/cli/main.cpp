#include "cli/ParseCommand.h"
#include "cli/ProbeCommand.h"
#include "cli/ServiceSetup.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"vestrino-cli: the Lumacard service, its replies and the card files from a "
                 "terminal"};
    app.require_subcommand(1);
    bool json = false;
    app.add_flag("--json", json, "Print one JSON object");
    vestrino::ServiceSetup setup;
    app.add_option("--host", setup.host, "The service host, HOST[:PORT]");
    app.add_option("--cafile", setup.cafile, "Trust this CA file instead of the system's");
    app.add_option("--documents", setup.documents, "The documents folder (card files)");
    app.add_option("--reachability", setup.reachability,
                   "Fixed reachability flags instead of the kernel's (2: reachable)");

    std::string kind;
    std::string file;
    auto* parse = app.add_subcommand("parse", "Read a saved service reply");
    parse->add_option("KIND", kind, "esito, login, carte, movimenti or atm")->required();
    parse->add_option("FILE", file, "The reply; - reads standard input")->required();
    parse->add_flag("--json", json, "Print one JSON object");

    double probeSeconds = 3.0;
    auto* probe = app.add_subcommand("probe", "Check that the service can be reached");
    probe->add_option("SECONDS", probeSeconds, "The check's time (the probe waits twice it)");
    probe->add_flag("--json", json, "Print one JSON object");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    if (parse->parsed()) {
        return vestrino::ParseCommand::run(kind, file, json, std::cin, std::cout, std::cerr);
    }
    std::string error;
    if (!setup.apply(error)) {
        std::cerr << "vestrino-cli: " << error << "\n";
        return 2;
    }
    if (probe->parsed()) {
        return vestrino::ProbeCommand::run(probeSeconds, json, std::cout);
    }
    return 2;
}
