#include "entities/CartaDiPagamento.h"

#include "core/Utf8.h"

namespace vestrino {

namespace {
void fillIfMissing(std::optional<std::string>& mine, const std::optional<std::string>& theirs) {
    if (!mine || mine->empty()) {
        mine = theirs;
    }
}
} // namespace

void CartaDiPagamento::merge(const CartaDiPagamento& other) {
    fillIfMissing(serial_, other.serial_);
    fillIfMissing(desc_, other.desc_);
    fillIfMissing(alias_, other.alias_);
    fillIfMissing(intestatario_, other.intestatario_);
    fillIfMissing(dataAA_, other.dataAA_);
    fillIfMissing(dataMM_, other.dataMM_);
    anonima_ = other.anonima_;
}

bool CartaDiPagamento::isEqual(const CartaDiPagamento& other) const {
    return serial_.has_value() && other.serial_.has_value() && *serial_ == *other.serial_;
}

std::shared_ptr<CartaDiPagamento> CartaDiPagamento::copy() const {
    auto card = std::make_shared<CartaDiPagamento>();
    // Copy only the plain card's part, so an extended card's CVV2 never travels.
    static_cast<CartaDiPagamento&>(*card) = *this;
    return card;
}

std::string CartaDiPagamento::lastFourDigits(std::string_view serial) {
    std::string digits;
    for (const char c : lastCodePoints(serial, 4)) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    return digits;
}

} // namespace vestrino
