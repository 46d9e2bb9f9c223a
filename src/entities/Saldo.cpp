#include "entities/Saldo.h"

#include "entities/DescriptionText.h"

namespace vestrino {

std::string Saldo::description() const {
    return "SaldoAl:" + describe(saldoAl_) + "\nSaldoBloccato:" + describe(saldoBloccato_) +
           "\nSaldoContabile:" + describe(saldoContabile_) +
           "\nSaldoDisponibile:" + describe(saldoDisponibile_) + "\n";
}

} // namespace vestrino
