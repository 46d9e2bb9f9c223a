#pragma once

#include <filesystem>

namespace vestrino {

// The user's documents directory: $XDG_DATA_HOME/vestrino/Documents, by default
// ~/.local/share/vestrino/Documents. Not created here.
std::filesystem::path defaultDocumentsDirectory();

// The user's configuration folder: $XDG_CONFIG_HOME/vestrino, by default ~/.config/vestrino.
// Not created here.
std::filesystem::path configDirectory();

// The user's download folder as the desktop knows it: $XDG_DOWNLOAD_DIR when set, else the
// XDG_DOWNLOAD_DIR line of user-dirs.dirs in the configuration home, else ~/Downloads.
std::filesystem::path downloadDirectory();

// Creates the folder and any missing parents readable by their owner only (0700): the file
// names inside (user names) are nobody else's business. Folders already there are left as they
// are. True when the folder is there afterwards.
bool createPrivateDirectories(const std::filesystem::path& path);

} // namespace vestrino
