#include "store/OfflineKey.h"

#include <mutex>
#include <sodium.h>

namespace vestrino {

bool OfflineKey::ready() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = sodium_init() >= 0; });
    return ok;
}

OfflineKey::Salt OfflineKey::freshSalt() {
    Salt salt{};
    if (ready()) {
        randombytes_buf(salt.data(), salt.size());
    }
    return salt;
}

std::optional<OfflineKey> OfflineKey::derive(std::string_view password, const Salt& salt) {
    static_assert(kSaltBytes == crypto_pwhash_SALTBYTES);
    if (!ready()) {
        return std::nullopt;
    }
    OfflineKey key(salt);
    if (crypto_pwhash(key.key_.data(), key.key_.size(), password.data(), password.size(),
                      salt.data(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                      crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0) {
        return std::nullopt;
    }
    return key;
}

OfflineKey::OfflineKey(OfflineKey&& other) noexcept
    : salt_(other.salt_), key_(other.key_), wiped_(other.wiped_) {
    other.wipe();
}

OfflineKey& OfflineKey::operator=(OfflineKey&& other) noexcept {
    if (this != &other) {
        wipe();
        salt_ = other.salt_;
        key_ = other.key_;
        wiped_ = other.wiped_;
        other.wipe();
    }
    return *this;
}

OfflineKey::~OfflineKey() {
    wipe();
}

void OfflineKey::wipe() {
    sodium_memzero(key_.data(), key_.size());
    wiped_ = true;
}

} // namespace vestrino
