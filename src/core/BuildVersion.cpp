#include "core/BuildVersion.h"

namespace vestrino {

std::string versionLine(std::string_view program) {
    std::string line(program);
    line += ' ';
    line += projectVersion();
    if (const auto revision = sourceRevision(); !revision.empty()) {
        line += " (git ";
        line += revision;
        line += ')';
    }
    return line;
}

} // namespace vestrino
