#include "store/StoreTestSupport.h"

#include <algorithm>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace vestrino::test {

TempFolder::TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vestrino-store-XXXXXX");
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string binaryPlist(plist_t node) {
    char* bytes = nullptr;
    uint32_t length = 0;
    plist_to_bin(node, &bytes, &length);
    plist_free(node);
    std::string out(bytes, length);
    plist_to_bin_free(bytes);
    return out;
}

std::string keyedArchive(plist_t objects, std::uint64_t rootUid, const char* topKey) {
    plist_t archive = plist_new_dict();
    plist_dict_set_item(archive, "$archiver", plist_new_string("NSKeyedArchiver"));
    plist_dict_set_item(archive, "$version", plist_new_uint(100000));
    plist_t top = plist_new_dict();
    plist_dict_set_item(top, topKey, plist_new_uid(rootUid));
    plist_dict_set_item(archive, "$top", top);
    plist_dict_set_item(archive, "$objects", objects);
    return binaryPlist(archive);
}

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) {
        names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace vestrino::test
