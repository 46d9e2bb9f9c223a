#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace vestrino {

// The key that seals a user's offline copy, derived from the password typed at login with
// Argon2id (libsodium's interactive limits: some 0.2 s and 64 MiB, so never on the main thread)
// and the copy's random salt. It lives in memory only, for as long as the session, and its
// bytes are wiped when it goes (or at wipe()).
class OfflineKey {
public:
    static constexpr std::size_t kSaltBytes = 16;
    static constexpr std::size_t kKeyBytes = 32;
    using Salt = std::array<unsigned char, kSaltBytes>;

    static Salt freshSalt();
    // Nothing when libsodium cannot start or the derivation fails (out of memory).
    static std::optional<OfflineKey> derive(std::string_view password, const Salt& salt);

    OfflineKey(OfflineKey&& other) noexcept;
    OfflineKey& operator=(OfflineKey&& other) noexcept;
    OfflineKey(const OfflineKey&) = delete;
    OfflineKey& operator=(const OfflineKey&) = delete;
    ~OfflineKey();

    const Salt& salt() const { return salt_; }
    std::span<const unsigned char, kKeyBytes> bytes() const { return key_; }
    bool wiped() const { return wiped_; }
    void wipe();

    // Starts libsodium once for the process; false when it cannot.
    static bool ready();

private:
    explicit OfflineKey(const Salt& salt) : salt_(salt) {}
    Salt salt_{};
    std::array<unsigned char, kKeyBytes> key_{};
    bool wiped_ = false;
};

} // namespace vestrino
