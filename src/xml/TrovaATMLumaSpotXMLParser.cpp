#include "xml/TrovaATMLumaSpotXMLParser.h"

#include <array>

namespace vestrino {

namespace {
enum Name : std::size_t { kAtm, kFrazionario, kUfficio, kProvincia, kCap, kLat, kLng };
constexpr std::array<const char*, 7> kNames{"atm_lumaspot", "frazionario", "ufficio", "provincia",
                                            "cap",          "lat",         "lng"};
} // namespace

TrovaATMLumaSpotXMLParser::TrovaATMLumaSpotXMLParser() : EsitoXMLParser(kNames) {}

ATMLumaspot& TrovaATMLumaSpotXMLParser::currentATM() {
    if (!currentATM_) {
        currentATM_ = std::make_shared<ATMLumaspot>();
    }
    return *currentATM_;
}

void TrovaATMLumaSpotXMLParser::endMatchString(const char* name) {
    if (is(name, kAtm)) {
        currentATM();
        lumaspot_.push_back(std::move(currentATM_));
        currentATM_.reset();
    } else if (is(name, kFrazionario)) {
        currentATM().setFrazionario(currentString());
    } else if (is(name, kUfficio)) {
        currentATM().setUfficio(currentString());
    } else if (is(name, kProvincia)) {
        currentATM().setProvincia(currentString());
    } else if (is(name, kCap)) {
        currentATM().setCap(currentString());
    } else if (is(name, kLat)) {
        currentATM().setLatitudine(currentString());
    } else if (is(name, kLng)) {
        currentATM().setLongitudine(currentString());
    }
}

} // namespace vestrino
