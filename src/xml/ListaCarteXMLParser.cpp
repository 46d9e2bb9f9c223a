#include "xml/ListaCarteXMLParser.h"

#include <array>

namespace vestrino {

namespace {
enum Name : std::size_t { kNumero, kCodice, kCarta };
constexpr std::array<const char*, 3> kNames{"numero", "codice", "carta"};
} // namespace

ListaCarteXMLParser::ListaCarteXMLParser() : EsitoXMLParser(kNames) {}

CartaDiPagamento& ListaCarteXMLParser::currentCarta() {
    if (!currentCarta_) {
        currentCarta_ = std::make_shared<CartaDiPagamento>();
    }
    return *currentCarta_;
}

void ListaCarteXMLParser::endMatchString(const char* name) {
    if (is(name, kNumero)) {
        currentCarta().setSerial(currentString());
    } else if (is(name, kCodice)) {
        currentCarta().setDesc(currentString());
    } else if (is(name, kCarta)) {
        currentCarta();
        carte_.push_back(std::move(currentCarta_));
        currentCarta_.reset();
    }
}

} // namespace vestrino
