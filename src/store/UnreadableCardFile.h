#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <vector>

namespace vestrino {

// Card files that could not be read are never overwritten: they are kept aside in the same
// folder as "<name>.unreadable-<UTC time>" (0600), where the person or a tool can still get at
// them, before a new file takes their name.
class UnreadableCardFile {
public:
    // Moves the file aside; the new path, or nothing when it could not be moved (then nothing
    // may be saved in its place). A name already taken gets "-2", "-3", ... added.
    static std::optional<std::filesystem::path>
    keepAside(const std::filesystem::path& file, std::chrono::system_clock::time_point now);

    // The files kept aside for `file`, oldest first.
    static std::vector<std::filesystem::path> keptAside(const std::filesystem::path& file);

    static constexpr const char* kInfix = ".unreadable-";
};

} // namespace vestrino
