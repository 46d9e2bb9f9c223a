#include "xml/LoginXMLParser.h"

#include <array>

namespace vestrino {

namespace {
constexpr std::array<const char*, 1> kNames{"messaggio_benvenuto"};
}

LoginXMLParser::LoginXMLParser() : EsitoXMLParser(kNames) {}

void LoginXMLParser::endMatchString(const char* name) {
    if (is(name, 0)) {
        messaggioBevenuto_ = currentString();
    }
}

} // namespace vestrino
