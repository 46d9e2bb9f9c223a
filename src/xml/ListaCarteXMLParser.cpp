#include "xml/ListaCarteXMLParser.h"

#include "xml/ElementName.h"
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
    if (isElement(name, kNumero)) {
        currentCarta().setSerial(currentString());
    } else if (isElement(name, kCodice)) {
        currentCarta().setDesc(currentString());
    } else if (isElement(name, kCarta)) {
        currentCarta();
        carte_.push_back(std::move(currentCarta_));
        currentCarta_.reset();
    }
}

} // namespace vestrino
