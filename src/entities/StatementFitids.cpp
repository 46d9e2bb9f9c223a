#include "entities/StatementFitids.h"

#include "entities/Importo.h"
#include "entities/LocalDays.h"

#include <openssl/evp.h>

#include <array>
#include <memory>
#include <stdexcept>
#include <unordered_map>

namespace vestrino {

namespace {

// The fields an id is made of, each after its length, so that no two different rows give the
// same bytes ("AB" + "C" and "A" + "BC" differ).
void appendField(std::string& key, std::string_view field) {
    key += std::to_string(field.size());
    key += ':';
    key += field;
    key += ';';
}

// SHA-256 fetched once and a context kept for a whole statement: fetching the digest for
// every row is most of what an id costs.
class RowDigest {
public:
    RowDigest() : md_(EVP_MD_fetch(nullptr, "SHA256", nullptr)), ctx_(EVP_MD_CTX_new()) {
        if (!md_ || !ctx_) {
            throw std::runtime_error("SHA-256 is not available for statement row ids");
        }
    }

    // The first `digits` hex digits of the key's SHA-256.
    std::string hex(const std::string& key, std::size_t digits) {
        std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
        unsigned length = 0;
        if (EVP_DigestInit_ex(ctx_.get(), md_.get(), nullptr) != 1 ||
            EVP_DigestUpdate(ctx_.get(), key.data(), key.size()) != 1 ||
            EVP_DigestFinal_ex(ctx_.get(), digest.data(), &length) != 1) {
            // Not expected of a built-in digest; an id that is not the row's own would make
            // an importer book the row twice, so the export fails instead (the caller says so).
            throw std::runtime_error("SHA-256 of a statement row failed");
        }
        static constexpr char kHex[] = "0123456789abcdef";
        std::string out;
        for (unsigned i = 0; i < length && out.size() < digits; ++i) {
            out += kHex[digest[i] >> 4];
            out += kHex[digest[i] & 0xF];
        }
        return out;
    }

private:
    struct FreeMd {
        void operator()(EVP_MD* md) const { EVP_MD_free(md); }
    };
    struct FreeCtx {
        void operator()(EVP_MD_CTX* ctx) const { EVP_MD_CTX_free(ctx); }
    };
    std::unique_ptr<EVP_MD, FreeMd> md_;
    std::unique_ptr<EVP_MD_CTX, FreeCtx> ctx_;
};

} // namespace

std::vector<std::string> StatementFitids::of(std::span<const MovimentoPtr> rows,
                                             std::string_view cardNumber) {
    std::vector<std::string> ids(rows.size());
    LocalDays days;
    RowDigest digest;
    std::unordered_map<std::string, int> seen; // a row's hash: how many equal rows came before
    // From the oldest (the end of the list) to the newest: a twin added later counts on.
    for (std::size_t i = rows.size(); i-- > 0;) {
        const auto& m = rows[i];
        if (!m) {
            continue;
        }
        std::string key;
        appendField(key, cardNumber);
        appendField(key, days.compact(m->dataContabile()));
        appendField(key, days.compact(m->dataValuta()));
        // Cents where the amount is one, so that "1.234,50" and "1234,5" are the same row;
        // the service's text otherwise.
        const auto cents = Importo::signedCents(*m);
        appendField(key,
                    cents ? std::to_string(*cents)
                          : "?" + m->accrediti().value_or("") + "/" + m->addebiti().value_or(""));
        appendField(key, m->descrizione().value_or(""));
        const std::string hash = digest.hex(key, 20);
        const int place = ++seen[hash];
        const std::string day =
            days.compact(m->dataContabile() ? m->dataContabile() : m->dataValuta());
        ids[i] = (day.empty() ? std::string("00000000") : day) + "-" + hash + "-" +
                 std::to_string(place);
    }
    return ids;
}

} // namespace vestrino
