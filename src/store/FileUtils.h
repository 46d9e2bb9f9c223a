#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// File-system helpers. Writes are atomic: a temporary file in the same folder, written, synced
// and renamed into place, readable by its owner only (0600); a failed write leaves the old file
// whole.
class FileUtils {
public:
    static bool removeFolderAtPath(const std::filesystem::path& path);
    static bool removeAllFilesInFolder(const std::filesystem::path& path);
    static bool removeFileIfExist(const std::filesystem::path& path);
    static bool saveData(std::string_view bytes, const std::filesystem::path& path);
    static bool fileExistsAtPath(const std::filesystem::path& path);
    static bool createDirectoryIfNotExists(const std::filesystem::path& path);
    static std::filesystem::path getLocalUpdateFilePath();
    static std::filesystem::path applicationDocumentsDirectory();

    static bool writeAtomically(std::string_view bytes, const std::filesystem::path& path);
    // The whole file; nothing when it is missing or cannot be read.
    static std::optional<std::string> readFile(const std::filesystem::path& path);
};

} // namespace vestrino
