#include "core/Paths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace vestrino {

std::filesystem::path defaultDocumentsDirectory() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* pw = getpwuid(getuid());
            home = pw ? pw->pw_dir : "/tmp";
        }
        base = std::filesystem::path(home) / ".local" / "share";
    }
    return base / "vestrino" / "Documents";
}

} // namespace vestrino
