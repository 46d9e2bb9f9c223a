#include "core/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace vestrino {

namespace {

std::filesystem::path homeDirectory() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return home;
}

std::filesystem::path configHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        return xdg;
    }
    return homeDirectory() / ".config";
}

} // namespace

std::filesystem::path configDirectory() {
    return configHome() / "vestrino";
}

std::filesystem::path downloadDirectory() {
    if (const char* dir = std::getenv("XDG_DOWNLOAD_DIR"); dir && *dir == '/') {
        return dir;
    }
    // Lines such as XDG_DOWNLOAD_DIR="$HOME/Scaricati"; only $HOME is expanded, as
    // xdg-user-dirs writes it.
    std::ifstream dirs(configHome() / "user-dirs.dirs");
    for (std::string line; std::getline(dirs, line);) {
        constexpr std::string_view key = "XDG_DOWNLOAD_DIR=\"";
        if (!line.starts_with(key) || line.size() < key.size() + 1 || line.back() != '"') {
            continue;
        }
        std::string value = line.substr(key.size(), line.size() - key.size() - 1);
        if (value.starts_with("$HOME")) {
            return homeDirectory() / std::filesystem::path(value.substr(5)).relative_path();
        }
        if (value.starts_with("/")) {
            return value;
        }
    }
    return homeDirectory() / "Downloads";
}

std::filesystem::path defaultDocumentsDirectory() {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else {
        base = homeDirectory() / ".local" / "share";
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
