#pragma once

#include <filesystem>

namespace vestrino {

// The user's documents directory: $XDG_DATA_HOME/vestrino/Documents, by default
// ~/.local/share/vestrino/Documents. Not created here.
std::filesystem::path defaultDocumentsDirectory();

} // namespace vestrino
