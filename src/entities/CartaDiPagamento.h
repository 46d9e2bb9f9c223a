#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vestrino {

// A payment card: one of the account's cards (from the service) or an anonymous card the user
// added on the device. Every text may be absent, which is not the same as empty.
class CartaDiPagamento {
public:
    CartaDiPagamento() = default;
    virtual ~CartaDiPagamento() = default;

    const std::optional<std::string>& serial() const { return serial_; }
    void setSerial(std::optional<std::string> v) { serial_ = std::move(v); }
    const std::optional<std::string>& desc() const { return desc_; }
    void setDesc(std::optional<std::string> v) { desc_ = std::move(v); }
    const std::optional<std::string>& alias() const { return alias_; }
    void setAlias(std::optional<std::string> v) { alias_ = std::move(v); }
    const std::optional<std::string>& intestatario() const { return intestatario_; }
    void setIntestatario(std::optional<std::string> v) { intestatario_ = std::move(v); }
    const std::optional<std::string>& dataAA() const { return dataAA_; }
    void setDataAA(std::optional<std::string> v) { dataAA_ = std::move(v); }
    const std::optional<std::string>& dataMM() const { return dataMM_; }
    void setDataMM(std::optional<std::string> v) { dataMM_ = std::move(v); }
    bool anonima() const { return anonima_; }
    void setAnonima(bool v) { anonima_ = v; }

    // Fills every text that is absent or empty here with the other card's value (whatever it
    // is), then takes the other card's anonymous flag.
    void merge(const CartaDiPagamento& other);

    // Cards are the same card when this one has a number and the other's is equal to it;
    // a card without a number equals no card, itself included.
    bool isEqual(const CartaDiPagamento& other) const;

    // A new, independent plain card with the same seven values (never an extended card).
    std::shared_ptr<CartaDiPagamento> copy() const;

    // Only the digits among a card number's last four characters ("5670"), for a name the
    // application makes (a file's, an account's): plain whatever the service sent.
    static std::string lastFourDigits(std::string_view serial);

protected:
    CartaDiPagamento(const CartaDiPagamento&) = default;
    CartaDiPagamento& operator=(const CartaDiPagamento&) = default;

private:
    std::optional<std::string> serial_;
    std::optional<std::string> desc_;
    std::optional<std::string> alias_;
    std::optional<std::string> intestatario_;
    std::optional<std::string> dataAA_;
    std::optional<std::string> dataMM_;
    bool anonima_ = false;
};

using CartaDiPagamentoPtr = std::shared_ptr<CartaDiPagamento>;
using ListaCarte = std::vector<CartaDiPagamentoPtr>;

} // namespace vestrino
