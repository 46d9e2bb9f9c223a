#include "xml/LoginXMLParser.h"

#include <cstring>

namespace vestrino {

namespace {
constexpr const char* KMessaggio = "messaggio_benvenuto";
}

void LoginXMLParser::endMatchString(const char* name) {
    if (std::strcmp(name, KMessaggio) == 0) {
        messaggioBevenuto_ = currentString();
    }
}

} // namespace vestrino
