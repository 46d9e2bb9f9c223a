#pragma once

#include <memory>
#include <optional>
#include <string>

namespace vestrino {

// The balance of one card, every value the text the service sent (not trimmed, not a number).
class Saldo {
public:
    const std::optional<std::string>& saldoAl() const { return saldoAl_; }
    void setSaldoAl(std::optional<std::string> v) { saldoAl_ = std::move(v); }
    const std::optional<std::string>& saldoContabile() const { return saldoContabile_; }
    void setSaldoContabile(std::optional<std::string> v) { saldoContabile_ = std::move(v); }
    const std::optional<std::string>& saldoDisponibile() const { return saldoDisponibile_; }
    void setSaldoDisponibile(std::optional<std::string> v) { saldoDisponibile_ = std::move(v); }
    const std::optional<std::string>& saldoBloccato() const { return saldoBloccato_; }
    void setSaldoBloccato(std::optional<std::string> v) { saldoBloccato_ = std::move(v); }

    // Text form for the diagnostic log.
    std::string description() const;

private:
    std::optional<std::string> saldoAl_;
    std::optional<std::string> saldoContabile_;
    std::optional<std::string> saldoDisponibile_;
    std::optional<std::string> saldoBloccato_;
};

using SaldoPtr = std::shared_ptr<Saldo>;

} // namespace vestrino
