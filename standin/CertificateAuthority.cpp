#include "CertificateAuthority.h"

#include <cstdio>
#include <memory>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>
#include <sys/stat.h>

namespace lumacard {

namespace {

struct PkeyFree {
    void operator()(EVP_PKEY* k) const { EVP_PKEY_free(k); }
};
struct X509Free {
    void operator()(X509* x) const { X509_free(x); }
};
struct FileClose {
    void operator()(FILE* f) const { std::fclose(f); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using Cert = std::unique_ptr<X509, X509Free>;
using File = std::unique_ptr<FILE, FileClose>;

Pkey newKey() {
    return Pkey(EVP_EC_gen("P-256"));
}

bool addExtension(X509* cert, X509* issuer, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (!ext) {
        return false;
    }
    const bool ok = X509_add_ext(cert, ext, -1) == 1;
    X509_EXTENSION_free(ext);
    return ok;
}

Cert newCertificate(EVP_PKEY* key, const char* commonName, long serial, X509* issuer,
                    EVP_PKEY* issuerKey, bool isCa) {
    Cert cert(X509_new());
    if (!cert) {
        return nullptr;
    }
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), serial);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 60L * 60 * 24 * 825);
    X509_set_pubkey(cert.get(), key);
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("Lumacard stand-in"), -1, -1,
                               0);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
    X509* signer = issuer ? issuer : cert.get();
    X509_set_issuer_name(cert.get(), X509_get_subject_name(signer));
    bool ok = true;
    if (isCa) {
        ok = addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:TRUE") &&
             addExtension(cert.get(), signer, NID_key_usage, "critical,keyCertSign,cRLSign") &&
             addExtension(cert.get(), signer, NID_subject_key_identifier, "hash");
    } else {
        ok = addExtension(cert.get(), signer, NID_basic_constraints, "critical,CA:FALSE") &&
             addExtension(cert.get(), signer, NID_key_usage,
                          "critical,digitalSignature,keyEncipherment") &&
             addExtension(cert.get(), signer, NID_ext_key_usage, "serverAuth") &&
             addExtension(cert.get(), signer, NID_subject_alt_name, "DNS:localhost,IP:127.0.0.1") &&
             addExtension(cert.get(), signer, NID_authority_key_identifier, "keyid");
    }
    if (!ok || X509_sign(cert.get(), issuerKey ? issuerKey : key, EVP_sha256()) == 0) {
        return nullptr;
    }
    return cert;
}

bool writeCert(const std::filesystem::path& p, X509* cert) {
    File f(std::fopen(p.c_str(), "w"));
    return f && PEM_write_X509(f.get(), cert) == 1;
}

bool writeKey(const std::filesystem::path& p, EVP_PKEY* key) {
    const mode_t old = ::umask(077);
    File f(std::fopen(p.c_str(), "w"));
    ::umask(old);
    return f && PEM_write_PrivateKey(f.get(), key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
}

} // namespace

std::optional<CertificateAuthority::Files>
CertificateAuthority::ensure(const std::filesystem::path& folder, std::string& error) {
    Files files{folder / "ca.pem", folder / "server.pem", folder / "server.key"};
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (std::filesystem::exists(files.caCertificate) &&
        std::filesystem::exists(files.serverCertificate) &&
        std::filesystem::exists(files.serverKey)) {
        return files;
    }
    Pkey caKey = newKey();
    Pkey serverKey = newKey();
    if (!caKey || !serverKey) {
        error = "cannot make EC P-256 keys";
        return std::nullopt;
    }
    Cert ca = newCertificate(caKey.get(), "Lumacard stand-in test CA", 1, nullptr, nullptr, true);
    Cert server = newCertificate(serverKey.get(), "localhost", 2, ca.get(), caKey.get(), false);
    if (!ca || !server) {
        error = "cannot sign the test certificates";
        return std::nullopt;
    }
    if (!writeCert(files.caCertificate, ca.get()) ||
        !writeCert(files.serverCertificate, server.get()) ||
        !writeKey(files.serverKey, serverKey.get())) {
        error = "cannot write the certificates in " + folder.string();
        return std::nullopt;
    }
    return files;
}

} // namespace lumacard
