#include "cli/CacheCommands.h"
#include "cli/CliDelegate.h"
#include "cli/ParseCommand.h"
#include "cli/ProbeCommand.h"
#include "cli/ServiceCommands.h"
#include "core/BuildVersion.h"
#include "core/Log.h"
#include "core/Translation.h"
#include "net/Reachability.h"
#include "service/ServiceSetup.h"

#include <CLI/CLI.hpp>
#include <iostream>

int main(int argc, char** argv) {
    CLI::App app{"vestrino-cli: the Lumacard service, its replies and the card files from a "
                 "terminal"};
    app.require_subcommand(1);
    app.set_version_flag("--version", vestrino::versionLine("vestrino-cli"));
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
    // 0 would mean no limit at all to libcurl, and NaN or a huge value overflows the
    // conversion: refused here as a usage error.
    probe->add_option("SECONDS", probeSeconds, "The check's time (the probe waits twice it)")
        ->check(CLI::Validator(
            [](const std::string& text) -> std::string {
                double v = 0;
                try {
                    std::size_t used = 0;
                    v = std::stod(text, &used);
                    if (used != text.size()) {
                        return "SECONDS is a number, not " + text;
                    }
                } catch (const std::exception&) {
                    return "SECONDS is a number, not " + text;
                }
                if (!(v >= vestrino::ProbeCommand::kShortestSeconds &&
                      v <= vestrino::ProbeCommand::kLongestSeconds)) {
                    return "SECONDS must be from 0.001 to 600, not " + text;
                }
                return {};
            },
            "0.001..600"));
    probe->add_flag("--json", json, "Print one JSON object");

    std::string user;
    std::string selPan;
    auto* cards = app.add_subcommand("cards", "Log in and show the user's cards");
    cards->add_option("--user", user, "The user name (password from standard input)")->required();
    cards->add_flag("--json", json, "Print one JSON object");
    auto* statement = app.add_subcommand("statement", "Log in and show a card's statement");
    statement->add_option("--user", user, "The user name (password from standard input)")
        ->required();
    statement->add_option("SELPAN", selPan, "The card's code, as `cards` lists it (Codice)")
        ->required();
    statement->add_flag("--json", json, "Print one JSON object");
    vestrino::ServiceCommands::ExportFiles exportFiles;
    // The same three files for either statement.
    const auto addExports = [&exportFiles](CLI::App* command) {
        command->add_option("--csv", exportFiles.csv, "Also write every row to this CSV file");
        command->add_option("--ofx", exportFiles.ofx,
                            "Also write the rows to this OFX file (GnuCash, KMyMoney, HomeBank)");
        command->add_option("--qif", exportFiles.qif, "Also write the rows to this QIF file");
    };
    addExports(statement);
    bool byMonth = false;
    statement->add_flag("--by-month", byMonth,
                        "What each month adds up to (out, in, out by kind) instead of the rows");

    std::string numero, anno, mese;
    auto* anon = app.add_subcommand("anon-statement",
                                    "Statement of an anonymous card (CVV2 from standard input)");
    anon->add_option("NUMBER", numero, "The card number")->required();
    anon->add_option("YY", anno,
                     "Expiry year, two digits; or the expiry as printed on the card, MM/YY")
        ->required();
    anon->add_option("MM", mese, "Expiry month, two digits (not with MM/YY)");
    anon->add_flag("--json", json, "Print one JSON object");
    addExports(anon);

    float lat = 0, lng = 0, raggio = 0;
    auto* atm = app.add_subcommand("atm", "Find Lumaspot cash machines near a place");
    atm->add_option("LAT", lat)->required();
    atm->add_option("LNG", lng)->required();
    atm->add_option("RADIUS", raggio)->required();
    atm->add_flag("--json", json, "Print one JSON object");

    std::string outFile;
    auto* banner = app.add_subcommand(
        "banner", "Fetch the service's banner into a file, as the service sends it (PNG or JPEG)");
    banner->add_option("OUT", outFile, "The file to write")->required();
    banner->add_flag("--json", json, "Print one JSON object");

    auto* store = app.add_subcommand("store", "Read the card files of the documents folder");
    store->require_subcommand(1);
    auto* storeShow = store->add_subcommand(
        "show", "A user's card file. Its format has a fixed key, shared by every copy of the "
                "application: no password opens it, and whoever can read the file can read the "
                "numbers (the file is kept 0600 for that reason)");
    storeShow->add_option("--user", user, "The user name")->required();
    storeShow->add_flag("--json", json, "Print one JSON object");
    auto* storeShowPlist = store->add_subcommand("show-plist", "The plain carte.plist");
    storeShowPlist->add_flag("--json", json, "Print one JSON object");

    auto* cache = app.add_subcommand(
        "cache", "The copy kept for use without a connection (sealed with the password)");
    cache->require_subcommand(1);
    auto* cacheShow = cache->add_subcommand(
        "show", "What a user's copy holds and its date (password from standard input)");
    cacheShow->add_option("--user", user, "The user name")->required();
    cacheShow->add_flag("--json", json, "Print one JSON object");
    auto* cacheForget = cache->add_subcommand("forget", "Remove a user's copy");
    cacheForget->add_option("--user", user, "The user name")->required();

    std::string lang;
    app.add_option("--lang", lang,
                   "The language of what is printed for a person, it or en (else the "
                   "environment's: LANGUAGE, LC_ALL, LC_MESSAGES, LANG); JSON never changes")
        ->check(CLI::IsMember({"it", "en"}));
    bool verbose = false;
    app.add_flag("--verbose", verbose,
                 "Also print what the service's replies said on their way to a failure");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    if (verbose) {
        vestrino::Log::setDebug(true);
    }
    // The language as the application chooses it, from the same catalog.
    vestrino::Translation::useForProgram(lang, "vestrino-cli", std::cerr);
    if (anon->parsed()) {
        // "04/28" as printed on the card, or year and month apart.
        if (const auto slash = anno.find('/'); slash != std::string::npos && mese.empty()) {
            mese = anno.substr(0, slash);
            anno = anno.substr(slash + 1);
        } else if (slash != std::string::npos || mese.empty()) {
            std::cerr << "vestrino-cli: anon-statement takes the expiry as MM/YY or as YY MM, not "
                      << anno << (mese.empty() ? "" : " " + mese) << "\n";
            return 2;
        }
    }
    if (parse->parsed()) {
        return vestrino::ParseCommand::run(kind, file, json, std::cin, std::cout, std::cerr);
    }
    std::string error;
    if (!setup.apply(error)) {
        std::cerr << "vestrino-cli: " << error << "\n";
        return 2;
    }
    auto delegate = vestrino::CliDelegate::install(setup.documents);
    if (auto monitor = vestrino::Reachability::reachabilityForInternetConnection()) {
        monitor->startNotifer();
        delegate->setHostReach(std::move(monitor));
    }
    const vestrino::ServiceCommands::Io io{std::cin, std::cout, std::cerr, json};
    using vestrino::ServiceCommands;
    if (probe->parsed()) {
        return vestrino::ProbeCommand::run(probeSeconds, json, std::cout);
    }
    if (cards->parsed()) {
        return ServiceCommands::cards(user, io);
    }
    if (statement->parsed()) {
        return ServiceCommands::statement(user, selPan, io, exportFiles, byMonth);
    }
    if (anon->parsed()) {
        return ServiceCommands::anonymousStatement(numero, anno, mese, io, exportFiles);
    }
    if (atm->parsed()) {
        return ServiceCommands::atm(lat, lng, raggio, io);
    }
    if (banner->parsed()) {
        return ServiceCommands::banner(outFile, io);
    }
    if (storeShow->parsed()) {
        return ServiceCommands::storeShow(user, io);
    }
    if (cacheShow->parsed()) {
        return vestrino::CacheCommands::show(user, io);
    }
    if (cacheForget->parsed()) {
        return vestrino::CacheCommands::forget(user, io);
    }
    if (storeShowPlist->parsed()) {
        return ServiceCommands::storeShowPlist(io);
    }
    return 2;
}
