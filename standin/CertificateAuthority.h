#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace lumacard {

// The stand-in's own test certificate authority and the server certificate it signs for
// 127.0.0.1 and localhost, made with OpenSSL in a folder on first start and reused after.
class CertificateAuthority {
public:
    struct Files {
        std::filesystem::path caCertificate; // what clients trust (--cafile)
        std::filesystem::path serverCertificate;
        std::filesystem::path serverKey;
    };

    // Makes the files that are missing; nothing when they cannot be made (the error says why).
    static std::optional<Files> ensure(const std::filesystem::path& folder, std::string& error);
};

} // namespace lumacard
