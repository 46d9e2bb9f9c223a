#include "store/OfflineCopy.h"

#include "core/Log.h"
#include "store/FileUtils.h"
#include "store/OfflineDataCoding.h"
#include "store/UnreadableCardFile.h"
#include "store/UserCardFile.h"

#include <cerrno>
#include <cstring>
#include <sodium.h>

namespace vestrino {

namespace {

constexpr std::size_t kCheckBytes = 16;
constexpr std::size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kHeaderBytes = 8 + OfflineKey::kSaltBytes + kCheckBytes;
constexpr std::size_t kTagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr std::string_view kCheckText = "vestrino offline copy key check";

using Check = std::array<unsigned char, kCheckBytes>;

Check keyCheck(const OfflineKey& key) {
    Check check{};
    crypto_generichash(check.data(), check.size(),
                       reinterpret_cast<const unsigned char*>(kCheckText.data()), kCheckText.size(),
                       key.bytes().data(), key.bytes().size());
    return check;
}

const unsigned char* bytesOf(std::string_view s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

// The header of the copy, when the bytes have one of this program's version.
bool hasHeader(std::string_view bytes) {
    return bytes.size() >= kHeaderBytes + kNonceBytes + kTagBytes &&
           bytes.substr(0, OfflineCopy::kMagic.size()) == OfflineCopy::kMagic;
}

OfflineKey::Salt saltIn(std::string_view bytes) {
    OfflineKey::Salt salt{};
    std::memcpy(salt.data(), bytes.data() + 8, salt.size());
    return salt;
}

OfflineCopy::Opening setAside(const std::filesystem::path& path, const char* why) {
    Log::write("offline copy " + path.string() + " does not open (" + why + "): kept aside");
    if (!UnreadableCardFile::keepAside(path, std::chrono::system_clock::now())) {
        Log::write("offline copy " + path.string() + " could not be moved aside");
    }
    return {OfflineCopy::State::Damaged, std::nullopt, std::nullopt};
}

} // namespace

std::filesystem::path OfflineCopy::pathFor(const std::filesystem::path& folder,
                                           const std::string& user) {
    return folder / userFileName(user, "_offline");
}

std::optional<OfflineKey::Salt> OfflineCopy::saltOf(const std::filesystem::path& path) {
    const auto contents = FileUtils::readContents(path, kLargestFile);
    if (!contents.bytes || !hasHeader(*contents.bytes)) {
        return std::nullopt;
    }
    return saltIn(*contents.bytes);
}

std::optional<OfflineKey> OfflineCopy::keyFor(const std::filesystem::path& path,
                                              std::string_view password) {
    return OfflineKey::derive(password, saltOf(path).value_or(OfflineKey::freshSalt()));
}

namespace {

// Reads and opens the copy; with no key, only says what is there (missing, damaged, unreadable).
OfflineCopy::Opening openWith(const std::filesystem::path& path, const OfflineKey* key) {
    using State = OfflineCopy::State;
    const auto contents = FileUtils::readContents(path, OfflineCopy::kLargestFile);
    if (!contents.bytes) {
        if (contents.error == ENOENT) {
            return {State::Missing, std::nullopt, std::nullopt};
        }
        if (contents.refused == FileUtils::Contents::Refused::TooLarge) {
            return setAside(path, "too large");
        }
        Log::write("offline copy " + path.string() + " not read: " + contents.why());
        return {State::Unavailable, std::nullopt, std::nullopt};
    }
    const std::string_view bytes = *contents.bytes;
    if (!hasHeader(bytes)) {
        return setAside(path, "no header of this version");
    }
    if (!key) {
        return {State::Unavailable, std::nullopt, std::nullopt};
    }
    const Check check = keyCheck(*key);
    if (saltIn(bytes) != key->salt() ||
        sodium_memcmp(check.data(), bytes.data() + 8 + OfflineKey::kSaltBytes, check.size()) != 0) {
        return {State::WrongPassword, std::nullopt, std::nullopt};
    }
    const std::string_view sealed = bytes.substr(kHeaderBytes + kNonceBytes);
    std::string plain(sealed.size() - kTagBytes, '\0');
    unsigned long long plainSize = 0;
    const int opened = crypto_aead_xchacha20poly1305_ietf_decrypt(
        reinterpret_cast<unsigned char*>(plain.data()), &plainSize, nullptr, bytesOf(sealed),
        sealed.size(), bytesOf(bytes), kHeaderBytes, bytesOf(bytes) + kHeaderBytes,
        key->bytes().data());
    if (opened != 0) {
        return setAside(path, "its seal is broken");
    }
    plain.resize(plainSize);
    auto data = OfflineDataCoding::decode(plain);
    sodium_memzero(plain.data(), plain.size());
    if (!data) {
        return setAside(path, "its contents are not a copy");
    }
    return {State::Opened, std::move(data), std::nullopt};
}

} // namespace

OfflineCopy::Opening OfflineCopy::open(const std::filesystem::path& path,
                                       std::string_view password) {
    const auto salt = saltOf(path);
    if (!salt) {
        return openWith(path, nullptr);
    }
    auto key = OfflineKey::derive(password, *salt);
    if (!key) {
        return {State::Unavailable, std::nullopt, std::nullopt};
    }
    auto opening = openWith(path, &*key);
    if (opening.state == State::Opened) {
        opening.key = std::move(key);
    }
    return opening;
}

OfflineCopy::Opening OfflineCopy::open(const std::filesystem::path& path, const OfflineKey& key) {
    return openWith(path, &key);
}

std::string OfflineCopy::seal(std::string_view plain, const OfflineKey& key) {
    std::string out(kHeaderBytes + kNonceBytes + plain.size() + kTagBytes, '\0');
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    std::memcpy(o, kMagic.data(), kMagic.size());
    std::memcpy(o + 8, key.salt().data(), OfflineKey::kSaltBytes);
    const Check check = keyCheck(key);
    std::memcpy(o + 8 + OfflineKey::kSaltBytes, check.data(), check.size());
    randombytes_buf(o + kHeaderBytes, kNonceBytes);
    unsigned long long sealedSize = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(o + kHeaderBytes + kNonceBytes, &sealedSize,
                                               bytesOf(plain), plain.size(), o, kHeaderBytes,
                                               nullptr, o + kHeaderBytes, key.bytes().data());
    out.resize(kHeaderBytes + kNonceBytes + sealedSize);
    return out;
}

bool OfflineCopy::write(const std::filesystem::path& path, const OfflineData& data,
                        const OfflineKey& key) {
    if (key.wiped() || !OfflineKey::ready()) {
        return false;
    }
    std::string plain = OfflineDataCoding::encode(data);
    const std::string sealed = seal(plain, key);
    sodium_memzero(plain.data(), plain.size());
    if (!FileUtils::writeAtomically(sealed, path)) {
        Log::write("offline copy not written to " + path.string());
        return false;
    }
    return true;
}

std::size_t OfflineCopy::forgetAll(const std::filesystem::path& folder) {
    std::size_t removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        // The copies and those set aside as damaged ("<name>.unreadable-<time>").
        const bool copy =
            name.ends_with("_offline") ||
            name.find(std::string("_offline") + UnreadableCardFile::kInfix) != std::string::npos;
        if (copy && entry.is_regular_file(ec) && forget(entry.path())) {
            ++removed;
        }
    }
    return removed;
}

bool OfflineCopy::forget(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return !ec && !std::filesystem::exists(path, ec);
}

} // namespace vestrino
