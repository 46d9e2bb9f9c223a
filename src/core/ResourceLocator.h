#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// Finds a program's read-only files (pictures, layouts, the stand-in's demo data), in this
// order:
//  1. the folder an environment variable names, when it is set and not empty;
//  2. installed: `<prefix>/share/vestrino/<installed>` beside the program's own
//     `<prefix>/bin/` (wherever the prefix is: /usr, /usr/local, a folder a package was
//     unpacked into);
//  3. in a build folder: `<source tree>/<inSource>`, where the source tree is the one named
//     by the build's marker file `vestrino-source-tree` beside the program.
// A program that is neither installed nor in a build folder never looks at a source tree,
// so an unpacked package cannot reach back into the tree it was built from.
class ResourceLocator {
public:
    // The marker file a build writes beside its programs: one line, the source tree.
    static constexpr std::string_view kSourceTreeMarker = "vestrino-source-tree";

    struct Place {
        std::string_view environment; // "VESTRINO_RESOURCES"
        std::string_view installed;   // below share/vestrino: "" or "standin"
        std::string_view inSource;    // below the source tree: "resources"
    };

    // The program's own file (from /proc/self/exe), or nothing when it cannot be read.
    static std::optional<std::filesystem::path> executablePath();

    // The folder, or nothing with `error` saying where it looked.
    static std::optional<std::filesystem::path> locate(const Place& place, std::string& error);
    // The same for a program at `executable` (for tests).
    static std::optional<std::filesystem::path>
    locate(const Place& place, const std::filesystem::path& executable, std::string& error);
};

} // namespace vestrino
