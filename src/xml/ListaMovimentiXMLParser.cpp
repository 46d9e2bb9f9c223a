#include "xml/ListaMovimentiXMLParser.h"

#include "core/StringTrim.h"
#include "core/UpperCase.h"
#include "core/Utf8.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace vestrino {

namespace {
enum Name : std::size_t {
    kCarta,
    kSaldo,
    kNumero,
    kIntestatario,
    kSaldoAl,
    kSaldoContabile,
    kSaldoDisponibile,
    kSaldoBloccato,
    kDataContabile,
    kDataValuta,
    kAddebiti,
    kAccrediti,
    kDescrizione,
    kMovimento,
};
constexpr std::array<const char*, 14> kNames{"carta",
                                             "saldo",
                                             "numero",
                                             "intestatario",
                                             "saldo_al",
                                             "saldo_contabile",
                                             "saldo_disponibile",
                                             "saldo_bloccato",
                                             "data_contabile",
                                             "data_valuta",
                                             "addebiti",
                                             "accrediti",
                                             "descrizione_operazioni",
                                             "movimento"};

// Tested in this order: "RICARICA CARTA LUMACARD" must come before its own beginning.
constexpr std::array<std::pair<std::string_view, std::int32_t>, 5> kTipi{{
    {"PRELIEVO", 0},
    {"PAGAMENTO", 4},
    {"RICARICA TELEFONICA", 3},
    {"RICARICA CARTA LUMACARD", 2},
    {"RICARICA CARTA", 1},
}};

constexpr std::size_t kLongestKeyword = [] {
    std::size_t longest = 0;
    for (const auto& [keyword, tipo] : kTipi) {
        longest = std::max(longest, keyword.size());
    }
    return longest;
}();

bool isAscii(std::string_view s) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

// The keyword is upper case ASCII.
bool startsWithIgnoringAsciiCase(std::string_view text, std::string_view keyword) {
    if (text.size() < keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != keyword[i]) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> withoutNBSP(const std::optional<std::string>& s) {
    if (!s) {
        return std::nullopt;
    }
    return trimNBSP(*s);
}

} // namespace

std::int32_t ListaMovimentiXMLParser::getTipoMovimento(const Movimento& movimento) {
    if (!movimento.descrizione()) {
        return -1;
    }
    const std::string& descrizione = *movimento.descrizione();
    // Only the start of the upper-cased text is compared, so only as much as the longest
    // keyword is upper-cased. While that start is ASCII, upper-casing is letter by letter:
    // compare without a copy.
    const std::string_view start = std::string_view(descrizione).substr(0, kLongestKeyword);
    if (isAscii(start)) {
        for (const auto& [keyword, tipo] : kTipi) {
            if (startsWithIgnoringAsciiCase(descrizione, keyword)) {
                return tipo;
            }
        }
        return -1;
    }
    // A code point upper-cases to one or more, never to none (the root locale's mappings need
    // no context): the first kLongestKeyword code points give at least as many upper-cased.
    const std::string upper = upperCased(firstCodePoints(descrizione, kLongestKeyword));
    for (const auto& [keyword, tipo] : kTipi) {
        if (std::string_view(upper).starts_with(keyword)) {
            return tipo;
        }
    }
    return -1;
}

ListaMovimentiXMLParser::ListaMovimentiXMLParser() : EsitoXMLParser(kNames) {}

Movimento& ListaMovimentiXMLParser::currentMovimento() {
    if (!currentMovimento_) {
        currentMovimento_ = std::make_shared<Movimento>();
    }
    return *currentMovimento_;
}

void ListaMovimentiXMLParser::startMatchString(const char* name) {
    if (is(name, kCarta)) {
        carta_ = std::make_shared<CartaDiPagamento>();
    } else if (is(name, kSaldo)) {
        saldo_ = std::make_shared<Saldo>();
    }
}

void ListaMovimentiXMLParser::endMatchString(const char* name) {
    // The element's text is always taken, also when its block was never opened and the value
    // is dropped: the next element's text must not include it.
    if (is(name, kNumero)) {
        auto value = currentString();
        if (carta_) {
            carta_->setSerial(std::move(value));
        }
    } else if (is(name, kIntestatario)) {
        auto value = currentString();
        if (carta_) {
            carta_->setIntestatario(std::move(value));
        }
    } else if (is(name, kSaldoAl)) {
        auto value = currentString();
        if (saldo_) {
            saldo_->setSaldoAl(std::move(value));
        }
    } else if (is(name, kSaldoContabile)) {
        auto value = currentString();
        if (saldo_) {
            saldo_->setSaldoContabile(std::move(value));
        }
    } else if (is(name, kSaldoDisponibile)) {
        auto value = currentString();
        if (saldo_) {
            saldo_->setSaldoDisponibile(std::move(value));
        }
    } else if (is(name, kSaldoBloccato)) {
        auto value = currentString();
        if (saldo_) {
            saldo_->setSaldoBloccato(std::move(value));
        }
    } else if (is(name, kDataContabile) || is(name, kDataValuta)) {
        const auto value = currentString();
        std::optional<Date> date;
        if (value) {
            date = dateFormatter().dateFromString(*value);
        }
        if (is(name, kDataContabile)) {
            currentMovimento().setDataContabile(date);
        } else {
            currentMovimento().setDataValuta(date);
        }
    } else if (is(name, kAddebiti)) {
        currentMovimento().setAddebiti(withoutNBSP(currentString()));
    } else if (is(name, kAccrediti)) {
        currentMovimento().setAccrediti(withoutNBSP(currentString()));
    } else if (is(name, kDescrizione)) {
        currentMovimento().setDescrizione(currentString());
    } else if (is(name, kMovimento)) {
        Movimento& movimento = currentMovimento();
        movimento.setTipoMovimento(getTipoMovimento(movimento));
        movimenti_.push_back(std::move(currentMovimento_));
        currentMovimento_.reset();
    }
}

} // namespace vestrino
