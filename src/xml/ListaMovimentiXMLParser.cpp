#include "xml/ListaMovimentiXMLParser.h"

#include "xml/ElementName.h"

#include "core/StringTrim.h"
#include "core/UpperCase.h"

#include <array>
#include <string_view>
#include <utility>

namespace vestrino {

namespace {
constexpr const char* kCarta = "carta";
constexpr const char* kSaldo = "saldo";
constexpr const char* kNumero = "numero";
constexpr const char* kIntestatario = "intestatario";
constexpr const char* kSaldoAl = "saldo_al";
constexpr const char* kSaldoContabile = "saldo_contabile";
constexpr const char* kSaldoDisponibile = "saldo_disponibile";
constexpr const char* kSaldoBloccato = "saldo_bloccato";
constexpr const char* kDataContabile = "data_contabile";
constexpr const char* kDataValuta = "data_valuta";
constexpr const char* kAddebiti = "addebiti";
constexpr const char* kAccrediti = "accrediti";
constexpr const char* kDescrizione = "descrizione_operazioni";
constexpr const char* kMovimento = "movimento";

// Tested in this order: "RICARICA CARTA LUMACARD" must come before its own beginning.
constexpr std::array<std::pair<std::string_view, std::int32_t>, 5> kTipi{{
    {"PRELIEVO", 0},
    {"PAGAMENTO", 4},
    {"RICARICA TELEFONICA", 3},
    {"RICARICA CARTA LUMACARD", 2},
    {"RICARICA CARTA", 1},
}};

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
    if (isAscii(descrizione)) {
        // ASCII upper-cases letter by letter: compare without making the upper-cased copy.
        for (const auto& [keyword, tipo] : kTipi) {
            if (startsWithIgnoringAsciiCase(descrizione, keyword)) {
                return tipo;
            }
        }
        return -1;
    }
    const std::string upper = upperCased(descrizione);
    for (const auto& [keyword, tipo] : kTipi) {
        if (std::string_view(upper).starts_with(keyword)) {
            return tipo;
        }
    }
    return -1;
}

Movimento& ListaMovimentiXMLParser::currentMovimento() {
    if (!currentMovimento_) {
        currentMovimento_ = std::make_shared<Movimento>();
    }
    return *currentMovimento_;
}

void ListaMovimentiXMLParser::startMatchString(const char* name) {
    if (isElement(name, kCarta)) {
        carta_ = std::make_shared<CartaDiPagamento>();
    } else if (isElement(name, kSaldo)) {
        saldo_ = std::make_shared<Saldo>();
    }
}

void ListaMovimentiXMLParser::endMatchString(const char* name) {
    // The element's text is always taken, also when its block was never opened and the value
    // is dropped: the next element's text must not include it.
    if (isElement(name, kNumero)) {
        auto value = currentString();
        if (carta_) {
            carta_->setSerial(std::move(value));
        }
    } else if (isElement(name, kIntestatario)) {
        auto value = currentString();
        if (carta_) {
            carta_->setIntestatario(std::move(value));
        }
    } else if (isElement(name, kSaldoAl)) {
        auto value = currentString();
        if (saldo_) {
            saldo_->setSaldoAl(std::move(value));
        }
    } else if (isElement(name, kSaldoContabile)) {
        auto value = currentString();
        if (saldo_) {
            saldo_->setSaldoContabile(std::move(value));
        }
    } else if (isElement(name, kSaldoDisponibile)) {
        auto value = currentString();
        if (saldo_) {
            saldo_->setSaldoDisponibile(std::move(value));
        }
    } else if (isElement(name, kSaldoBloccato)) {
        auto value = currentString();
        if (saldo_) {
            saldo_->setSaldoBloccato(std::move(value));
        }
    } else if (isElement(name, kDataContabile) || isElement(name, kDataValuta)) {
        const auto value = currentString();
        std::optional<Date> date;
        if (value) {
            date = dateFormatter().dateFromString(*value);
        }
        if (isElement(name, kDataContabile)) {
            currentMovimento().setDataContabile(date);
        } else {
            currentMovimento().setDataValuta(date);
        }
    } else if (isElement(name, kAddebiti)) {
        currentMovimento().setAddebiti(withoutNBSP(currentString()));
    } else if (isElement(name, kAccrediti)) {
        currentMovimento().setAccrediti(withoutNBSP(currentString()));
    } else if (isElement(name, kDescrizione)) {
        currentMovimento().setDescrizione(currentString());
    } else if (isElement(name, kMovimento)) {
        Movimento& movimento = currentMovimento();
        movimento.setTipoMovimento(getTipoMovimento(movimento));
        movimenti_.push_back(std::move(currentMovimento_));
        currentMovimento_.reset();
    }
}

} // namespace vestrino
