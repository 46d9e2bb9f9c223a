#pragma once

#include <filesystem>
#include <plist/plist.h>
#include <string>
#include <vector>

namespace vestrino::test {

// A new empty folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Binary plist bytes of a node (which is freed).
std::string binaryPlist(plist_t node);

// An archive {$archiver, $version, $top: {root: UID(rootUid)}, $objects: objects}.
std::string keyedArchive(plist_t objects, std::uint64_t rootUid, const char* topKey = "root");

std::string readWhole(const std::filesystem::path& path);
// The names of a folder's entries, sorted.
std::vector<std::string> namesIn(const std::filesystem::path& folder);

} // namespace vestrino::test
