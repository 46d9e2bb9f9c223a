#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// File-system helpers. Writes are atomic: a temporary file in the same folder (".NAME.XXXXXX"),
// written, synced and renamed into place, readable by its owner only (0600); a failed write
// leaves the old file whole. The writer holds an advisory lock on its temporary file, so a
// temporary file that nobody holds is left over from a write that was cut short (a killed
// process) and can go.
class FileUtils {
public:
    // A whole file, or why it could not be had: `error` is the errno of the open or the read
    // (ENOENT: there is no such file).
    struct Contents {
        std::optional<std::string> bytes;
        int error = 0;
    };

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
    static Contents readContents(const std::filesystem::path& path);

    // Removes the temporary files that interrupted writes of `path` left behind (never one
    // that a write in progress holds); the number removed.
    static std::size_t removeStaleTemporaryFiles(const std::filesystem::path& path);
    // The same for every card file of a folder (the per-user files and carte.plist), at start.
    static std::size_t removeStaleTemporaryFilesInFolder(const std::filesystem::path& folder);
};

} // namespace vestrino
