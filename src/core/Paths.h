#pragma once

#include <filesystem>

namespace vestrino {

// The user's documents directory: $XDG_DATA_HOME/vestrino/Documents, by default
// ~/.local/share/vestrino/Documents. Not created here.
std::filesystem::path defaultDocumentsDirectory();

// Creates the folder and any missing parents readable by their owner only (0700): the file
// names inside (user names) are nobody else's business. Folders already there are left as they
// are. True when the folder is there afterwards.
bool createPrivateDirectories(const std::filesystem::path& path);

} // namespace vestrino
