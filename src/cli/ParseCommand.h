#pragma once

#include <iosfwd>
#include <string>

namespace vestrino {

// `vestrino-cli parse KIND FILE`: reads a saved service reply through the same decoding and
// parser as the application and prints what was read, as a summary or as one JSON object.
class ParseCommand {
public:
    // The kinds of reply, one per parser.
    static bool isKind(const std::string& kind);

    // Exit code: 0 the document was read, 1 it was not, 2 the file could not be opened.
    static int run(const std::string& kind, const std::string& file, bool json, std::istream& in,
                   std::ostream& out, std::ostream& err);
};

} // namespace vestrino
