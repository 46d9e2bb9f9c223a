#include "xml/TrovaATMLumaSpotXMLParser.h"

#include <cstring>

namespace vestrino {

namespace {
constexpr const char* kATM = "atm_lumaspot";
constexpr const char* kFrazionario = "frazionario";
constexpr const char* kUfficio = "ufficio";
constexpr const char* kProvincia = "provincia";
constexpr const char* kCap = "cap";
constexpr const char* kLat = "lat";
constexpr const char* kLng = "lng";

bool is(const char* name, const char* constant) {
    return std::strcmp(name, constant) == 0;
}
} // namespace

ATMLumaspot& TrovaATMLumaSpotXMLParser::currentATM() {
    if (!currentATM_) {
        currentATM_ = std::make_shared<ATMLumaspot>();
    }
    return *currentATM_;
}

void TrovaATMLumaSpotXMLParser::endMatchString(const char* name) {
    if (is(name, kATM)) {
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
