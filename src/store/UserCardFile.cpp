#include "store/UserCardFile.h"

#include <array>
#include <openssl/evp.h>

namespace vestrino {

namespace {
bool safeFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.size() <= 200 &&
           name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

std::string sha256Hex(const std::string& text) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_Digest(text.data(), text.size(), digest.data(), &length, EVP_sha256(), nullptr);
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < length; ++i) {
        out += hex[digest[i] >> 4];
        out += hex[digest[i] & 15];
    }
    return out;
}
} // namespace

std::string userFileName(const std::string& user, const std::string& ending) {
    return (safeFileName(user) ? user : "u-" + sha256Hex(user)) + ending;
}

std::string userCardFileName(const std::string& user) {
    return userFileName(user, "_listaCarte");
}

} // namespace vestrino
