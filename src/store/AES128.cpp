#include "store/AES128.h"

#include <array>
#include <cstring>
#include <memory>
#include <openssl/evp.h>

namespace vestrino {

namespace {

struct CtxFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

std::optional<std::string> run(std::string_view data, std::string_view key, bool encrypt) {
    // A 17-byte zero-filled buffer takes the key text and its terminating NUL; the first 16
    // bytes are the key.
    std::array<unsigned char, 17> keyBuffer{};
    if (key.size() + 1 > keyBuffer.size() || key.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    std::memcpy(keyBuffer.data(), key.data(), key.size());
    if (data.size() > static_cast<std::size_t>(INT32_MAX) - 32) {
        return std::nullopt;
    }
    std::unique_ptr<EVP_CIPHER_CTX, CtxFree> ctx(EVP_CIPHER_CTX_new());
    if (!ctx || EVP_CipherInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, keyBuffer.data(), nullptr,
                                  encrypt ? 1 : 0) != 1) {
        return std::nullopt;
    }
    std::string out(data.size() + 16, '\0');
    int written = 0;
    int last = 0;
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    if (EVP_CipherUpdate(ctx.get(), o, &written,
                         reinterpret_cast<const unsigned char*>(data.data()),
                         static_cast<int>(data.size())) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), o + written, &last) != 1) {
        return std::nullopt;
    }
    out.resize(static_cast<std::size_t>(written + last));
    return out;
}

} // namespace

std::optional<std::string> AES128EncryptWithKey(std::string_view data, std::string_view key) {
    return run(data, key, true);
}

std::optional<std::string> AES128DecryptWithKey(std::string_view data, std::string_view key) {
    return run(data, key, false);
}

} // namespace vestrino
