#include "xml/ListaCarteXMLParser.h"

#include <cstring>

namespace vestrino {

namespace {
constexpr const char* kNumero = "numero";
constexpr const char* kCodice = "codice";
constexpr const char* kCarta = "carta";
} // namespace

CartaDiPagamento& ListaCarteXMLParser::currentCarta() {
    if (!currentCarta_) {
        currentCarta_ = std::make_shared<CartaDiPagamento>();
    }
    return *currentCarta_;
}

void ListaCarteXMLParser::endMatchString(const char* name) {
    if (std::strcmp(name, kNumero) == 0) {
        currentCarta().setSerial(currentString());
    } else if (std::strcmp(name, kCodice) == 0) {
        currentCarta().setDesc(currentString());
    } else if (std::strcmp(name, kCarta) == 0) {
        currentCarta();
        carte_.push_back(std::move(currentCarta_));
        currentCarta_.reset();
    }
}

} // namespace vestrino
