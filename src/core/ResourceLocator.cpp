#include "core/ResourceLocator.h"

#include <cstdlib>
#include <fstream>

namespace vestrino {

std::optional<std::filesystem::path> ResourceLocator::executablePath() {
    std::error_code ec;
    auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || path.empty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<std::filesystem::path> ResourceLocator::locate(const Place& place,
                                                             std::string& error) {
    const auto exe = executablePath();
    if (!exe) {
        // Without its own path a program can still be pointed at its files.
        return locate(place, std::filesystem::path(), error);
    }
    return locate(place, *exe, error);
}

std::optional<std::filesystem::path>
ResourceLocator::locate(const Place& place, const std::filesystem::path& exe, std::string& error) {
    std::error_code ec;
    const std::string variable(place.environment);
    if (const char* value = std::getenv(variable.c_str()); value && *value) {
        const std::filesystem::path folder(value);
        if (!std::filesystem::is_directory(folder, ec)) {
            error = variable + " names \"" + folder.string() + "\", which is no folder";
            return std::nullopt;
        }
        return folder;
    }
    if (exe.empty()) {
        error =
            "the program cannot tell where it is (/proc/self/exe), and " + variable + " is not set";
        return std::nullopt;
    }
    const auto bin = exe.parent_path();
    auto installed = bin.parent_path() / "share" / "vestrino";
    if (!place.installed.empty()) {
        installed /= place.installed;
    }
    if (std::filesystem::is_directory(installed, ec)) {
        return installed;
    }
    if (std::ifstream marker(bin / kSourceTreeMarker); marker) {
        std::string tree;
        std::getline(marker, tree);
        const auto inSource = std::filesystem::path(tree) / place.inSource;
        if (!tree.empty() && std::filesystem::is_directory(inSource, ec)) {
            return inSource;
        }
        error = "the build folder " + bin.string() + " names the source tree \"" + tree +
                "\", which has no " + std::string(place.inSource) + " folder";
        return std::nullopt;
    }
    error = "no " + installed.string() + " (installed files) and no " +
            (bin / kSourceTreeMarker).string() + " (a build folder); set " + variable +
            " to the folder";
    return std::nullopt;
}

} // namespace vestrino
