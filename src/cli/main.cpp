#include "cli/ParseCommand.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"vestrino-cli: the Lumacard service, its replies and the card files from a "
                 "terminal"};
    app.require_subcommand(1);
    bool json = false;
    app.add_flag("--json", json, "Print one JSON object");

    std::string kind;
    std::string file;
    auto* parse = app.add_subcommand("parse", "Read a saved service reply");
    parse->add_option("KIND", kind, "esito, login, carte, movimenti or atm")->required();
    parse->add_option("FILE", file, "The reply; - reads standard input")->required();
    parse->add_flag("--json", json, "Print one JSON object");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    if (parse->parsed()) {
        return vestrino::ParseCommand::run(kind, file, json, std::cin, std::cout, std::cerr);
    }
    return 2;
}
