#include "entities/Movimento.h"

#include "entities/DescriptionText.h"

namespace vestrino {

std::string Movimento::description() const {
    return "Accrediti:" + describe(accrediti_) + " Addebiti:" + describe(addebiti_) +
           " DataValuta:" + describe(dataValuta_) + " DataContabile:" + describe(dataContabile_) +
           " Descrizione:" + describe(descrizione_) + " Tipo:" + std::to_string(tipoMovimento_);
}

} // namespace vestrino
