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

namespace {

using namespace vestrino;

// Every value the command line can carry; the subcommands fill what they take.
struct Arguments {
    bool json = false;
    ServiceSetup setup;
    std::string kind, file;    // parse
    double probeSeconds = 3.0; // probe
    std::string user, selPan;  // cards, statement, store, cache
    ServiceCommands::ExportFiles exportFiles;
    bool byMonth = false;
    std::string numero, anno, mese;     // anon-statement
    float lat = 0, lng = 0, raggio = 0; // atm
    std::string outFile;                // banner
    std::string lang;
    bool verbose = false;
};

// The subcommands, to tell which one was given.
struct Commands {
    CLI::App* parse = nullptr;
    CLI::App* probe = nullptr;
    CLI::App* cards = nullptr;
    CLI::App* statement = nullptr;
    CLI::App* anon = nullptr;
    CLI::App* atm = nullptr;
    CLI::App* banner = nullptr;
    CLI::App* storeShow = nullptr;
    CLI::App* storeShowPlist = nullptr;
    CLI::App* cacheShow = nullptr;
    CLI::App* cacheForget = nullptr;
};

void addJson(CLI::App* command, Arguments& a) {
    command->add_flag("--json", a.json, "Print one JSON object");
}

// 0 would mean no limit at all to libcurl, and NaN or a huge value overflows the conversion:
// refused as a usage error.
std::string checkProbeSeconds(const std::string& text) {
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
    if (!(v >= ProbeCommand::kShortestSeconds && v <= ProbeCommand::kLongestSeconds)) {
        return "SECONDS must be from 0.001 to 600, not " + text;
    }
    return {};
}

void addProgramOptions(CLI::App& app, Arguments& a) {
    app.require_subcommand(1);
    app.set_version_flag("--version", versionLine("vestrino-cli"));
    app.add_flag("--json", a.json, "Print one JSON object");
    app.add_option("--host", a.setup.host, "The service host, HOST[:PORT]");
    app.add_option("--cafile", a.setup.cafile, "Trust this CA file instead of the system's");
    app.add_option("--documents", a.setup.documents, "The documents folder (card files)");
    app.add_option("--reachability", a.setup.reachability,
                   "Fixed reachability flags instead of the kernel's (2: reachable)");
    app.add_option("--lang", a.lang,
                   "The language of what is printed for a person, it or en (else the "
                   "environment's: LANGUAGE, LC_ALL, LC_MESSAGES, LANG); JSON never changes")
        ->check(CLI::IsMember({"it", "en"}));
    app.add_flag("--verbose", a.verbose,
                 "Also print what the service's replies said on their way to a failure");
}

void addReplyCommands(CLI::App& app, Arguments& a, Commands& c) {
    c.parse = app.add_subcommand("parse", "Read a saved service reply");
    c.parse->add_option("KIND", a.kind, "esito, login, carte, movimenti or atm")->required();
    c.parse->add_option("FILE", a.file, "The reply; - reads standard input")->required();
    addJson(c.parse, a);
    c.probe = app.add_subcommand("probe", "Check that the service can be reached");
    c.probe->add_option("SECONDS", a.probeSeconds, "The check's time (the probe waits twice it)")
        ->check(CLI::Validator(checkProbeSeconds, "0.001..600"));
    addJson(c.probe, a);
}

void addExports(CLI::App* command, Arguments& a) {
    command->add_option("--csv", a.exportFiles.csv, "Also write every row to this CSV file");
    command->add_option("--ofx", a.exportFiles.ofx,
                        "Also write the rows to this OFX file (GnuCash, KMyMoney, HomeBank)");
    command->add_option("--qif", a.exportFiles.qif, "Also write the rows to this QIF file");
}

void addServiceCommands(CLI::App& app, Arguments& a, Commands& c) {
    c.cards = app.add_subcommand("cards", "Log in and show the user's cards");
    c.cards->add_option("--user", a.user, "The user name (password from standard input)")
        ->required();
    addJson(c.cards, a);
    c.statement = app.add_subcommand("statement", "Log in and show a card's statement");
    c.statement->add_option("--user", a.user, "The user name (password from standard input)")
        ->required();
    c.statement->add_option("SELPAN", a.selPan, "The card's code, as `cards` lists it (Codice)")
        ->required();
    addJson(c.statement, a);
    addExports(c.statement, a);
    c.statement->add_flag("--by-month", a.byMonth,
                          "What each month adds up to (out, in, out by kind) instead of the rows");
    c.anon = app.add_subcommand("anon-statement",
                                "Statement of an anonymous card (CVV2 from standard input)");
    c.anon->add_option("NUMBER", a.numero, "The card number")->required();
    c.anon
        ->add_option("YY", a.anno,
                     "Expiry year, two digits; or the expiry as printed on the card, MM/YY")
        ->required();
    c.anon->add_option("MM", a.mese, "Expiry month, two digits (not with MM/YY)");
    addJson(c.anon, a);
    addExports(c.anon, a);
    c.atm = app.add_subcommand("atm", "Find Lumaspot cash machines near a place");
    c.atm->add_option("LAT", a.lat)->required();
    c.atm->add_option("LNG", a.lng)->required();
    c.atm->add_option("RADIUS", a.raggio)->required();
    addJson(c.atm, a);
    c.banner = app.add_subcommand(
        "banner", "Fetch the service's banner into a file, as the service sends it (PNG or JPEG)");
    c.banner->add_option("OUT", a.outFile, "The file to write")->required();
    addJson(c.banner, a);
}

void addFileCommands(CLI::App& app, Arguments& a, Commands& c) {
    auto* store = app.add_subcommand("store", "Read the card files of the documents folder");
    store->require_subcommand(1);
    c.storeShow = store->add_subcommand(
        "show", "A user's card file. Its format has a fixed key, shared by every copy of the "
                "application: no password opens it, and whoever can read the file can read the "
                "numbers (the file is kept 0600 for that reason)");
    c.storeShow->add_option("--user", a.user, "The user name")->required();
    addJson(c.storeShow, a);
    c.storeShowPlist = store->add_subcommand("show-plist", "The plain carte.plist");
    addJson(c.storeShowPlist, a);
    auto* cache = app.add_subcommand(
        "cache", "The copy kept for use without a connection (sealed with the password)");
    cache->require_subcommand(1);
    c.cacheShow = cache->add_subcommand(
        "show", "What a user's copy holds and its date (password from standard input)");
    c.cacheShow->add_option("--user", a.user, "The user name")->required();
    addJson(c.cacheShow, a);
    c.cacheForget = cache->add_subcommand("forget", "Remove a user's copy");
    c.cacheForget->add_option("--user", a.user, "The user name")->required();
}

// "04/28" as printed on the card, or year and month apart; false (said on stderr) for anything
// else.
bool splitExpiry(Arguments& a) {
    if (const auto slash = a.anno.find('/'); slash != std::string::npos && a.mese.empty()) {
        a.mese = a.anno.substr(0, slash);
        a.anno = a.anno.substr(slash + 1);
    } else if (slash != std::string::npos || a.mese.empty()) {
        std::cerr << "vestrino-cli: anon-statement takes the expiry as MM/YY or as YY MM, not "
                  << a.anno << (a.mese.empty() ? "" : " " + a.mese) << "\n";
        return false;
    }
    return true;
}

// The commands that reach the service or the card files, once the settings are in force.
int runCommand(const Commands& c, const Arguments& a) {
    const ServiceCommands::Io io{std::cin, std::cout, std::cerr, a.json};
    if (c.probe->parsed()) {
        return ProbeCommand::run(a.probeSeconds, a.json, std::cout);
    }
    if (c.cards->parsed()) {
        return ServiceCommands::cards(a.user, io);
    }
    if (c.statement->parsed()) {
        return ServiceCommands::statement(a.user, a.selPan, io, a.exportFiles, a.byMonth);
    }
    if (c.anon->parsed()) {
        return ServiceCommands::anonymousStatement(a.numero, a.anno, a.mese, io, a.exportFiles);
    }
    if (c.atm->parsed()) {
        return ServiceCommands::atm(a.lat, a.lng, a.raggio, io);
    }
    if (c.banner->parsed()) {
        return ServiceCommands::banner(a.outFile, io);
    }
    if (c.storeShow->parsed()) {
        return ServiceCommands::storeShow(a.user, io);
    }
    if (c.cacheShow->parsed()) {
        return CacheCommands::show(a.user, io);
    }
    if (c.cacheForget->parsed()) {
        return CacheCommands::forget(a.user, io);
    }
    if (c.storeShowPlist->parsed()) {
        return ServiceCommands::storeShowPlist(io);
    }
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{"vestrino-cli: the Lumacard service, its replies and the card files from a "
                 "terminal"};
    Arguments a;
    Commands c;
    addProgramOptions(app, a);
    addReplyCommands(app, a, c);
    addServiceCommands(app, a, c);
    addFileCommands(app, a, c);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e);
        return code == 0 ? 0 : 2;
    }
    if (a.verbose) {
        Log::setDebug(true);
    }
    // The language as the application chooses it, from the same catalog.
    Translation::useForProgram(a.lang, "vestrino-cli", std::cerr);
    if (c.anon->parsed() && !splitExpiry(a)) {
        return 2;
    }
    if (c.parse->parsed()) {
        return ParseCommand::run(a.kind, a.file, a.json, std::cin, std::cout, std::cerr);
    }
    std::string error;
    if (!a.setup.apply(error)) {
        std::cerr << "vestrino-cli: " << error << "\n";
        return 2;
    }
    auto delegate = CliDelegate::install(a.setup.documents);
    if (auto monitor = Reachability::reachabilityForInternetConnection()) {
        monitor->startNotifer();
        delegate->setHostReach(std::move(monitor));
    }
    return runCommand(c, a);
}
