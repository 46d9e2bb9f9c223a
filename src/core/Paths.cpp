#include "core/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
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

bool createPrivateDirectories(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return true;
    }
    // Parent first, then each missing level with 0700 (std::filesystem would use 0777 less
    // the umask, which is usually 0755).
    std::filesystem::path partial;
    for (const auto& part : path.lexically_normal()) {
        partial /= part;
        if (part.empty() || part == "/" || std::filesystem::is_directory(partial, ec)) {
            continue;
        }
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    }
    return std::filesystem::is_directory(path, ec);
}

} // namespace vestrino
