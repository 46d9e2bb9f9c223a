#include "xml/TrovaATMLumaSpotXMLParser.h"

#include "xml/ElementName.h"

namespace vestrino {

namespace {
constexpr const char* kATM = "atm_lumaspot";
constexpr const char* kFrazionario = "frazionario";
constexpr const char* kUfficio = "ufficio";
constexpr const char* kProvincia = "provincia";
constexpr const char* kCap = "cap";
constexpr const char* kLat = "lat";
constexpr const char* kLng = "lng";
} // namespace

ATMLumaspot& TrovaATMLumaSpotXMLParser::currentATM() {
    if (!currentATM_) {
        currentATM_ = std::make_shared<ATMLumaspot>();
    }
    return *currentATM_;
}

void TrovaATMLumaSpotXMLParser::endMatchString(const char* name) {
    if (isElement(name, kATM)) {
        currentATM();
        lumaspot_.push_back(std::move(currentATM_));
        currentATM_.reset();
    } else if (isElement(name, kFrazionario)) {
        currentATM().setFrazionario(currentString());
    } else if (isElement(name, kUfficio)) {
        currentATM().setUfficio(currentString());
    } else if (isElement(name, kProvincia)) {
        currentATM().setProvincia(currentString());
    } else if (isElement(name, kCap)) {
        currentATM().setCap(currentString());
    } else if (isElement(name, kLat)) {
        currentATM().setLatitudine(currentString());
    } else if (isElement(name, kLng)) {
        currentATM().setLongitudine(currentString());
    }
}

} // namespace vestrino
