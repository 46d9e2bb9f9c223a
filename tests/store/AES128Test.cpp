#include "store/AES128.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>

using namespace vestrino;

namespace {
std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (const int b : list) {
        s += static_cast<char>(b);
    }
    return s;
}
std::string hex(std::string_view s) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (const unsigned char c : s) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}
} // namespace

TEST(AES128, KnownAnswerOfFips197) {
    // FIPS-197 appendix B: key 2b7e1516 28aed2a6 abf71588 09cf4f3c, plaintext 3243f6a8 885a308d
    // 313198a2 e0370734, ciphertext 3925841d 02dc09fb dc118597 196a0b32.
    const std::string key = bytes({0x2b, 0x7e, 0x15, 0x16, 0x28, 0xae, 0xd2, 0xa6, 0xab, 0xf7, 0x15,
                                   0x88, 0x09, 0xcf, 0x4f, 0x3c});
    const std::string plain = bytes({0x32, 0x43, 0xf6, 0xa8, 0x88, 0x5a, 0x30, 0x8d, 0x31, 0x31,
                                     0x98, 0xa2, 0xe0, 0x37, 0x07, 0x34});
    const auto cipher = AES128EncryptWithKey(plain, key);
    ASSERT_TRUE(cipher);
    ASSERT_EQ(cipher->size(), 32u); // a whole block of padding follows an aligned input
    EXPECT_EQ(hex(cipher->substr(0, 16)), "3925841d02dc09fbdc118597196a0b32");
    // The padding block is sixteen 0x10 bytes encrypted alone (ECB: no chaining).
    EXPECT_EQ(cipher->substr(16), AES128EncryptWithKey("", key));
    EXPECT_EQ(AES128DecryptWithKey(*cipher, key), plain);
}

TEST(AES128, PaddingLengthsAndKeys) {
    for (std::size_t n = 0; n <= 48; ++n) {
        const std::string plain(n, 'x');
        const auto cipher = AES128EncryptWithKey(plain, kQvK);
        ASSERT_TRUE(cipher);
        EXPECT_EQ(cipher->size(), 16 * (n / 16 + 1)) << n;
        EXPECT_EQ(AES128DecryptWithKey(*cipher, kQvK), plain) << n;
        // A key that differs in one byte never gives the text back.
        EXPECT_NE(AES128DecryptWithKey(*cipher, "Qx7vL2mZp9Rt4kWm"), plain) << n;
    }
    // A short key text is padded with zero bytes: the same as OpenSSL with "abc" and 13 zeros.
    const unsigned char padded[16] = {'a', 'b', 'c'};
    unsigned char expected[32];
    int n1 = 0, n2 = 0;
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(ctx, EVP_aes_128_ecb(), nullptr, padded, nullptr);
    EVP_EncryptUpdate(ctx, expected, &n1, reinterpret_cast<const unsigned char*>("dati"), 4);
    EVP_EncryptFinal_ex(ctx, expected + n1, &n2);
    EVP_CIPHER_CTX_free(ctx);
    EXPECT_EQ(AES128EncryptWithKey("dati", "abc"),
              std::string(reinterpret_cast<char*>(expected), static_cast<std::size_t>(n1 + n2)));
    // A key text longer than 16 bytes does not fit and is refused.
    EXPECT_FALSE(AES128EncryptWithKey("dati", "Qx7vL2mZp9Rt4kWnX"));
    EXPECT_TRUE(AES128EncryptWithKey("dati", kQvK));
    // Damaged ciphertexts: not a multiple of 16, empty, or a changed last block.
    auto cipher = *AES128EncryptWithKey("una lista di carte", kQvK);
    EXPECT_FALSE(AES128DecryptWithKey(cipher.substr(0, cipher.size() - 1), kQvK));
    EXPECT_FALSE(AES128DecryptWithKey("", kQvK));
    cipher.back() = static_cast<char>(cipher.back() ^ 0x5a);
    EXPECT_NE(AES128DecryptWithKey(cipher, kQvK), "una lista di carte");
}
