#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace vestrino {

// The terminal client's service and store commands. Commands that need a session log in
// first (password from standard input) and log out at the end. Exit code: 0 success, 1 a
// failure code (or nothing to show), 2 a usage error.
class ServiceCommands {
public:
    struct Io {
        std::istream& in;
        std::ostream& out;
        std::ostream& err;
        bool json;
    };

    // The files a statement is also written to, each in its format (StatementFile, mode 0600).
    struct ExportFiles {
        std::optional<std::string> csv, ofx, qif;
    };

    static int cards(const std::string& user, const Io& io);
    // Every row also goes to the `files` named. With `byMonth`, what each month adds up to, as
    // the statement's chart shows it, in place of the rows (text) or beside them ("mesi", JSON).
    static int statement(const std::string& user, const std::string& selPan, const Io& io,
                         const ExportFiles& files = {}, bool byMonth = false);
    static int anonymousStatement(const std::string& numero, const std::string& anno,
                                  const std::string& mese, const Io& io,
                                  const ExportFiles& files = {});
    // Nearest first; each entry with its great-circle distance from (lat, lng) ("distanzaKm").
    static int atm(float lat, float lng, float raggio, const Io& io);
    static int banner(const std::string& outFile, const Io& io);
    static int storeShow(const std::string& user, const Io& io);
    static int storeShowPlist(const Io& io);
};

} // namespace vestrino
