#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vestrino {

// The key of the per-user card files.
inline constexpr const char* kQvK = "Qx7vL2mZp9Rt4kWn";

// One-shot AES-128 in ECB mode with PKCS#7 padding and no IV (byte-identical to the phone's
// CCCrypt call). The key text is copied into a zero-filled 16-byte key; a key text longer than
// 16 bytes is refused. Absent on any failure (for decryption also: a length that is not a
// multiple of 16, bad padding).
std::optional<std::string> AES128EncryptWithKey(std::string_view data, std::string_view key);
std::optional<std::string> AES128DecryptWithKey(std::string_view data, std::string_view key);

} // namespace vestrino
