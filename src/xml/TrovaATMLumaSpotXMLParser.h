#pragma once

#include "entities/ATMLumaspot.h"
#include "xml/EsitoXMLParser.h"

namespace vestrino {

// Reads the cash-machine search reply: one record per `atm_lumaspot` group.
class TrovaATMLumaSpotXMLParser : public EsitoXMLParser {
public:
    TrovaATMLumaSpotXMLParser();
    void endMatchString(const char* name) override;

    const ListaLumaspot& lumaspot() const { return lumaspot_; }
    ListaLumaspot& lumaspot() { return lumaspot_; }

private:
    ATMLumaspot& currentATM();

    ATMLumaspotPtr currentATM_;
    ListaLumaspot lumaspot_;
};

} // namespace vestrino
