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
    // (ENOENT: there is no such file), or `refused` says the path is not what it should be.
    struct Contents {
        // A path that is no regular file (a FIFO, a socket, a device, a symbolic link) is not
        // read: a FIFO would block the reader for ever, a link could lead anywhere. A file larger
        // than asked is not read either. A folder gives EISDIR, as a read of it would.
        enum class Refused { No, NotRegularFile, TooLarge };
        std::optional<std::string> bytes;
        int error = 0;
        Refused refused = Refused::No;
        std::string why() const; // for a log: the errno's text or the refusal
    };
    static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

    static bool removeFolderAtPath(const std::filesystem::path& path);
    static bool removeAllFilesInFolder(const std::filesystem::path& path);
    static bool removeFileIfExist(const std::filesystem::path& path);
    static bool saveData(std::string_view bytes, const std::filesystem::path& path);
    static bool fileExistsAtPath(const std::filesystem::path& path);
    static bool createDirectoryIfNotExists(const std::filesystem::path& path);
    static std::filesystem::path getLocalUpdateFilePath();
    static std::filesystem::path applicationDocumentsDirectory();

    static bool writeAtomically(std::string_view bytes, const std::filesystem::path& path);
    // The whole file; nothing when it is missing, cannot be read, is no regular file or is
    // larger than `maxBytes`.
    static std::optional<std::string> readFile(const std::filesystem::path& path,
                                               std::size_t maxBytes = kNoLimit);
    static Contents readContents(const std::filesystem::path& path,
                                 std::size_t maxBytes = kNoLimit);

    // Removes the temporary files that interrupted writes of `path` left behind (never one
    // that a write in progress holds); the number removed.
    static std::size_t removeStaleTemporaryFiles(const std::filesystem::path& path);
    // The same for every card file of a folder (the per-user files and carte.plist), at start.
    static std::size_t removeStaleTemporaryFilesInFolder(const std::filesystem::path& folder);
};

} // namespace vestrino
