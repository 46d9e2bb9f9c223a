#pragma once

#include "core/Date.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vestrino {

// One transaction of a statement. Amounts stay the text the service sent; the two dates are
// dates; the type is set from the description when the transaction is read.
class Movimento {
public:
    const std::optional<Date>& dataContabile() const { return dataContabile_; }
    void setDataContabile(std::optional<Date> v) { dataContabile_ = v; }
    const std::optional<Date>& dataValuta() const { return dataValuta_; }
    void setDataValuta(std::optional<Date> v) { dataValuta_ = v; }
    const std::optional<std::string>& addebiti() const { return addebiti_; }
    void setAddebiti(std::optional<std::string> v) { addebiti_ = std::move(v); }
    const std::optional<std::string>& accrediti() const { return accrediti_; }
    void setAccrediti(std::optional<std::string> v) { accrediti_ = std::move(v); }
    const std::optional<std::string>& descrizione() const { return descrizione_; }
    void setDescrizione(std::optional<std::string> v) { descrizione_ = std::move(v); }
    std::int32_t tipoMovimento() const { return tipoMovimento_; }
    void setTipoMovimento(std::int32_t v) { tipoMovimento_ = v; }

    // Text form for the diagnostic log.
    std::string description() const;

private:
    std::optional<Date> dataContabile_;
    std::optional<Date> dataValuta_;
    std::optional<std::string> addebiti_;
    std::optional<std::string> accrediti_;
    std::optional<std::string> descrizione_;
    std::int32_t tipoMovimento_ = 0;
};

using MovimentoPtr = std::shared_ptr<Movimento>;
using ListaMovimenti = std::vector<MovimentoPtr>;

} // namespace vestrino
