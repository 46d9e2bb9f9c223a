#pragma once

#include "store/OfflineData.h"
#include "store/OfflineKey.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// A user's offline copy on the disk: the last card list and statements seen, sealed with a key
// derived from the password (OfflineKey), so that the file holds no readable card number,
// description or password. One file per user in the documents folder, "<user>_offline",
// written atomically, 0600, with a fresh nonce at every write:
//
//   "VSTOFFL1" | salt (16) | key check (16) | nonce (24) | XChaCha20-Poly1305 ciphertext
//
// The first 40 bytes are the ciphertext's associated data. The key check (a keyed BLAKE2b of a
// fixed text) tells a wrong password, which leaves the copy alone, from a damaged copy, which is
// set aside as a damaged card file is; a copy is opened whole or not at all.
class OfflineCopy {
public:
    enum class State { Opened, Missing, WrongPassword, Damaged, Unavailable };
    struct Opening {
        State state = State::Missing;
        std::optional<OfflineData> data;
        std::optional<OfflineKey> key; // with an opened copy: the key to write it again
    };

    static std::filesystem::path pathFor(const std::filesystem::path& folder,
                                         const std::string& user);

    // The salt of the copy at `path`, when there is one whose header can be read: a key
    // derived with it opens the copy and writes the next one.
    static std::optional<OfflineKey::Salt> saltOf(const std::filesystem::path& path);
    // The key for `user`'s copy: derived with the salt of the copy there is, or a fresh one.
    static std::optional<OfflineKey> keyFor(const std::filesystem::path& path,
                                            std::string_view password);

    // Opens with the password (the derivation takes some 0.2 s): a damaged copy is set aside.
    static Opening open(const std::filesystem::path& path, std::string_view password);
    // Opens with a key already derived (the session's).
    static Opening open(const std::filesystem::path& path, const OfflineKey& key);

    static bool write(const std::filesystem::path& path, const OfflineData& data,
                      const OfflineKey& key);
    // Removes the copy (and nothing else); true when there is none left.
    static bool forget(const std::filesystem::path& path);
    // Removes every user's copy in the folder, and the copies set aside; the count removed.
    static std::size_t forgetAll(const std::filesystem::path& folder);

    // The sealed bytes, and back (for the file and for tests of the format).
    static std::string seal(std::string_view plain, const OfflineKey& key);
    static constexpr std::string_view kMagic = "VSTOFFL1";
    static constexpr std::size_t kLargestFile = 64 * 1024 * 1024;
};

} // namespace vestrino
